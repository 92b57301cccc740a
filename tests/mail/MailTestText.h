#pragma once

#include "runtime/CodePage.h"

#include <string>
#include <string_view>

// Test texts are written in UTF-8 in the sources; the mail layer works on Windows-1252 bytes.
inline std::string Cp(std::string_view utf8)
{
    std::string unmappable;
    return Utf8ToCodePage(utf8, unmappable, CodePage::Windows1252);
}
