#include "mail/MailMessages.h"

#include "runtime/CodePage.h"

#include <string_view>

namespace {

struct SocketErrorEntry
{
    int number;
    std::string_view text;
};

// The Windows Sockets error numbers and their German texts. Numbers not listed (the name lookup
// errors 11001 to 11004 among them) have no text.
constexpr SocketErrorEntry SocketErrors[] = {
    {10004, "Unterbrochener Systemaufruf."},
    {10009, "Falsche Dateinummer."},
    {10013, "Zugriff verweigert."},
    {10014, "Falsche Adresse."},
    {10022, "Ungültiges Argument."},
    {10024, "Zu viele geöffnete Dateien."},
    {10035, "Die Operation würde blockieren. "},
    {10036, "Die Operation wird gerade durchgeführt."},
    {10037, "Die Operation wird bereits durchgeführt."},
    {10038, "Socket-Operation auf Nicht-Socket."},
    {10039, "Zieladresse erforderlich."},
    {10040, "Die Botschaft ist zu lang."},
    {10041, "Das Protokoll hat für Socket den falschen Typ."},
    {10042, "Falsche Protokolloption."},
    {10043, "Protokoll wird nicht unterstützt."},
    {10044, "Socket-Typ wird nicht unterstützt."},
    {10045, "Die Operation wird bei Socket nicht unterstützt."},
    {10046, "Die Protokollfamilie wird nicht unterstützt."},
    {10047, "Die Adreßfamilie wird von der Protokollfamilie nicht unterstützt."},
    {10048, "Die Adresse ist bereits in Gebrauch."},
    {10049, "Die angeforderte Adresse kann nicht zugewiesen werden."},
    {10050, "Netzwerk ist ausgefallen."},
    {10051, "Netzwerk ist nicht erreichbar."},
    {10052, "Netz hat die Verbindung verloren oder zurückgesetzt."},
    {10053, "Die Software hat den Abbruch der Verbindung verursacht."},
    {10054, "Die Verbindung wurde von Peer zurückgesetzt."},
    {10055, "Es ist kein Pufferplatz verfügbar."},
    {10056, "Socket ist bereits verbunden."},
    {10057, "Socket ist nicht verbunden."},
    {10058, "Nach Schließen des Socket kann weder gesendet noch empfangen werden."},
    {10059, "Zu viele Referenzen."},
    {10060, "Zeitüberschreitung bei Verbindung."},
    {10061, "Verbindung abgelehnt."},
    {10062, "Zu viele Ebenen von symbolischen Links."},
    {10063, "Dateiname ist zu lang."},
    {10064, "Der Host ist ausgefallen."},
    {10065, "Keine Route zum Host."},
    {10066, "Verzeichnis ist nicht leer"},
};

} // namespace

namespace MailMessages {

std::string SocketErrorText(int errorNumber)
{
    std::string message = "Socket-Fehler # " + std::to_string(errorNumber) + "\r\n";
    for (const auto& entry : SocketErrors)
        if (entry.number == errorNumber) message += entry.text;
    return message;
}

std::string ReplyLineTooLong(std::size_t maxLineLength)
{
    return "Der Server hat eine Zeile von mehr als " + std::to_string(maxLineLength) +
           " Bytes gesendet; die Verbindung wurde getrennt.";
}

std::string AuthNotOffered(const std::string& server)
{
    return "Der Server " + CodePageToUtf8(server) +
           " bietet keine Anmeldung (SMTP AUTH mit PLAIN oder LOGIN) an; es wurde keine Nachricht gesendet.";
}

std::string CertificateCheckFailed(const char* openSslText)
{
    return std::string("die Prüfung ist fehlgeschlagen (") + openSslText + ")";
}

std::string UntrustedCertificate(const std::string& server, const std::string& reason,
                                 const std::string& fingerprint)
{
    return "Das Zertifikat von " + CodePageToUtf8(server) + " ist nicht vertrauenswürdig: " + reason +
           ". SHA-256-Fingerabdruck: " + fingerprint;
}

std::string TlsProtocolError(const char* openSslText)
{
    if (!openSslText) return "Fehler im TLS-Protokoll";
    return std::string("Fehler im TLS-Protokoll (") + openSslText + ")";
}

std::string TlsFailed(const std::string& server, const std::string& reason)
{
    return "Die TLS-Verbindung zu " + CodePageToUtf8(server) + " ist gescheitert: " + reason + ".";
}

std::string StartTlsNotOffered(const std::string& server)
{
    return "Der Server " + CodePageToUtf8(server) +
           " bietet keine Verschlüsselung (STARTTLS) an; es wurde nichts gesendet.";
}

std::string PlainBytesAfterStartTls(const std::string& server)
{
    return "Der Server " + CodePageToUtf8(server) +
           " hat nach seiner Zusage zur Verschlüsselung unverschlüsselte Daten gesendet; die Verbindung "
           "wurde "
           "getrennt.";
}

} // namespace MailMessages
