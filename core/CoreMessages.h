#pragma once

#include <string>
#include <string_view>

// The fixed German texts of the SMS core, gathered in one place.

// Status texts when no usable recipient number is at hand (nothing is sent).
inline constexpr const char* InvalidNumberStatus = "Bitte gültige Nummer eingeben oder Kontakt auswählen";
inline constexpr const char* ContactWithoutMobileStatus =
    "Kontakt hat keine Handynummer. SMS nicht geschickt.";

// The refusal of a maximum SMS length below 1; `value` is the code-page text that was read.
std::string SmsLengthTooSmallMessage(std::string_view value);
