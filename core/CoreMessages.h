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

// The connection keys of a server (`server` "SMTP" or "POP3"): a port that is no integer from 1 to
// 65535 (`port` as code-page text) and an encryption that is none of 0, 1 and 2.
std::string InvalidPortMessage(std::string_view server, std::string_view port);
std::string InvalidSecurityMessage(std::string_view server, int security);
// "Verbindung testen": its status texts, and the lines of its report (UTF-8 arguments).
inline constexpr const char* TestingPop3Status = "Teste Posteingangsserver (POP3)...";
inline constexpr const char* TestingSmtpStatus = "Teste Postausgangsserver (SMTP)...";
inline constexpr const char* ConnectionTestDoneStatus = "Verbindungstest beendet";
std::string Pop3ServerHeading(std::string_view host);
std::string SmtpServerHeading(std::string_view host);
inline constexpr const char* Pop3NotTestedLine =
    "Nicht getestet, da \"Beim Posteingangsserver zuerst anmelden\" aus ist.";
std::string ConnectedToLine(std::string_view address, int port);
inline constexpr const char* UnencryptedLine = "Unverschlüsselt";
std::string TlsLine(std::string_view version, std::string_view cipher);
std::string CertificateSubjectLine(std::string_view subject);
std::string CertificateIssuerLine(std::string_view issuer);
std::string AuthMechanismLine(std::string_view mechanism);
inline constexpr const char* LoggedInLine = "Anmeldung erfolgreich";
inline constexpr const char* NoSmtpAuthLine = "Keine Anmeldung (SMTP AUTH ist aus)";
// A step that failed: the error's message as the error box of a send shows it.
std::string ErrorLine(const std::string& message);

// A send that failed after some of its parts went out: the error's message, then a sentence that
// names the parts sent (`partsSent` by part, in text order) and says that the next click sends
// only the others.
class ESmsPartlySent : public Exception
{
public:
    ESmsPartlySent(const std::string& errorMessage, const std::vector<bool>& partsSent);
};
