#pragma once

#include <optional>
#include <string>
#include <string_view>

// Strict text-to-integer conversion as the settings and dialogs use it: optional leading blanks,
// an optional sign, decimal digits or a hexadecimal number after "$", "0x" or "0X"; nothing may
// follow and the value must fit a signed 32-bit integer. "0160" is 160.
std::optional<int> TryStrToInt(std::string_view text);

// As TryStrToInt, raising EConvertError "'<text>' ist kein gültiger Integerwert" when the text
// is no integer. The text is code-page text; the message quotes it in UTF-8.
int StrToInt(std::string_view text);
