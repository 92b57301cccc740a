#pragma once

#include <string>
#include <string_view>

// The fixed German texts of the SMS core, gathered in one place.

// Status texts when no usable recipient number is at hand (nothing is sent).
inline constexpr const char* InvalidNumberStatus = "Bitte gültige Nummer eingeben oder Kontakt auswählen";
inline constexpr const char* ContactWithoutMobileStatus =
    "Kontakt hat keine Handynummer. SMS nicht geschickt.";
// A contact's mobile number holding line breaks or other control characters, which no mail
// command may carry.
inline constexpr const char* ContactMobileWithControlCharactersStatus =
    "Die Handynummer des Kontakts enthält Steuerzeichen. SMS nicht geschickt.";

// The status texts of a send.
inline constexpr const char* SmtpConnectedStatus = "Verbunden";
inline constexpr const char* SendingStatus = "sende...";
inline constexpr const char* SmsSendingStatus = "SMS senden";
inline constexpr const char* SmsSentStatus = "SMS gesendet";
inline constexpr const char* SmsSentAndSavedStatus = "SMS gesendet und gespeichert.";

// The refusal of a maximum SMS length below 1; `value` is the code-page text that was read.
std::string SmsLengthTooSmallMessage(std::string_view value);
