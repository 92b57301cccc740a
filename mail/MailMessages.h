#pragma once

#include <cstddef>
#include <string>

// The fixed German texts of the mail transport, gathered in one place. Server names are code-page
// text as the user typed them and are converted to UTF-8 here.
namespace MailMessages {

// ---- Socket layer ----

// "Socket-Fehler # <number>", CR LF, then the German text for that Windows Sockets error number
// (nothing after the line break for numbers without a text, such as the name lookup errors).
std::string SocketErrorText(int errorNumber);
inline constexpr const char* InvalidSocket = "Socket kann nicht zugewiesen werden.";
inline constexpr const char* CouldNotBindSocket =
    "Socket konnte nicht gebunden werden. Adresse und Port werden bereits benutzt.";
inline constexpr const char* StackSetSizeExceeded = "Mengengröße überschritten.";

// ---- Line connection ----

inline constexpr const char* ConnClosedGracefully = "Die Verbindung wurde erfolgreich geschlossen.";
inline constexpr const char* AlreadyConnected = "Verbindung besteht bereits.";
inline constexpr const char* NotEnoughDataInBuffer = "Nicht genügend Daten im Puffer.";
inline constexpr const char* NoDataToRead = "Keine Daten für den Lesezugriff.";
inline constexpr const char* LineBreakInLine =
    "Eine Zeile an den Server darf keinen Zeilenumbruch enthalten; es wurde nichts gesendet.";
std::string ReplyLineTooLong(std::size_t maxLineLength);

// The status texts of a component; "%s" stands for the host name or the peer's address.
inline constexpr const char* ResolvingStatus = "Host-Name %s wird aufgelöst.";
inline constexpr const char* ConnectingStatus = "Verbinden mit %s.";
inline constexpr const char* ConnectedStatus = "Verbunden.";
inline constexpr const char* DisconnectingStatus = "Verbindung zu %s wird getrennt.";
inline constexpr const char* DisconnectedStatus = "Nicht verbunden.";
inline constexpr const char* EncodingTextStatus = "Text wird codiert";

// ---- SMTP AUTH ----

inline constexpr const char* AuthNeedsTls =
    "Die Anmeldung am Postausgangsserver (SMTP AUTH) ist nur über eine verschlüsselte Verbindung möglich; "
    "es wurde nichts gesendet.";
std::string AuthNotOffered(const std::string& server);

// ---- Message writer and header text ----

inline constexpr const char* FailedToRetreiveTimeZoneInfo =
    "Einlesen der Zeitzonen-Informationen ist fehlgeschlagen.";
inline constexpr const char* TextInvalidCount = "Ungültige Anzahl für Text. TIdText muß größer als 1 sein";
inline constexpr const char* MessagePartsNotSupported =
    "Nachrichten mit Anlagen oder mehreren Textteilen können nicht gesendet werden.";

// ---- TLS ----

// Why a certificate failed the check; `openSslText` is OpenSSL's text of a check without one here.
inline constexpr const char* UnknownIssuer = "unbekannter Aussteller";
inline constexpr const char* SelfSigned = "selbst signiert";
inline constexpr const char* Expired = "abgelaufen";
inline constexpr const char* NotYetValid = "noch nicht gültig";
inline constexpr const char* IssuedForOtherName = "ausgestellt für einen anderen Namen";
std::string CertificateCheckFailed(const char* openSslText);
// The certificate of `server` failed the check for `reason`; the message ends with the
// certificate's SHA-256 fingerprint, which the user may pin.
std::string UntrustedCertificate(const std::string& server, const std::string& reason,
                                 const std::string& fingerprint);

// Why a handshake or an encrypted connection failed; `openSslText` is OpenSSL's text of the error,
// or null.
inline constexpr const char* NoTlsReply = "der Server antwortet nicht mit TLS";
inline constexpr const char* NoModernTls = "der Server bietet kein TLS 1.2 oder neuer an";
inline constexpr const char* ClosedDuringHandshake =
    "der Server hat die Verbindung während des Aushandelns geschlossen";
std::string TlsProtocolError(const char* openSslText);
// The TLS connection to `server` failed for `reason`.
std::string TlsFailed(const std::string& server, const std::string& reason);

std::string StartTlsNotOffered(const std::string& server);
std::string PlainBytesAfterStartTls(const std::string& server);

} // namespace MailMessages
