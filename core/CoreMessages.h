#pragma once

#include "runtime/Exception.h"

#include <string>
#include <string_view>
#include <vector>

// The fixed German texts of the SMS core, gathered in one place.

// Status texts when no usable recipient number is at hand (nothing is sent).
inline constexpr const char* InvalidNumberStatus = "Bitte gültige Nummer eingeben oder Kontakt auswählen";
inline constexpr const char* ContactWithoutMobileStatus =
    "Kontakt hat keine Handynummer. SMS nicht geschickt.";
// Status texts when a setting cannot go into a mail command as it stands (nothing is sent); they
// name the boxes of the settings dialog.
inline constexpr const char* SenderAddressUnusableStatus =
    "Die eMail-Adresse in den Einstellungen enthält Leerzeichen, Steuerzeichen, \"<\" oder \">\". "
    "SMS nicht geschickt.";
inline constexpr const char* GatewayDomainUnusableStatus =
    "Die SMS @-Adresse in den Einstellungen enthält Leerzeichen, Steuerzeichen, \"<\" oder \">\". "
    "SMS nicht geschickt.";

// The status texts of a send.
inline constexpr const char* SmtpConnectedStatus = "Verbunden";
inline constexpr const char* SendingStatus = "sende...";
inline constexpr const char* SmsSendingStatus = "SMS senden";
inline constexpr const char* SmsSentStatus = "SMS gesendet";
inline constexpr const char* SmsSentAndSavedStatus = "SMS gesendet und gespeichert.";
// After every part went out, the archive file or user.ini could not be written; `reason` is the
// error's message.
std::string ArchiveNotWrittenStatus(std::string_view reason);
std::string SendNotRecordedStatus(std::string_view reason);

// The lock beside user.ini (`path`, UTF-8) was held by another send all the time.
std::string UserIniLockedMessage(const std::string& path);

// The refusal of a maximum SMS length below 1; `value` is the code-page text that was read.
std::string SmsLengthTooSmallMessage(std::string_view value);

// A send that failed after some of its parts went out: the error's message, then a sentence that
// names the parts sent (`partsSent` by part, in text order) and says that the next click sends
// only the others.
class ESmsPartlySent : public Exception
{
public:
    ESmsPartlySent(const std::string& errorMessage, const std::vector<bool>& partsSent);
};
