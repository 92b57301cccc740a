#include "core/CoreMessages.h"

#include "runtime/CodePage.h"

#include <algorithm>

namespace {

// "1", "1 und 2", "1, 2 und 4": the numbers of the parts sent, counted from 1.
std::string PartNumbers(const std::vector<bool>& partsSent)
{
    std::vector<std::string> numbers;
    for (std::size_t k = 0; k < partsSent.size(); ++k)
        if (partsSent[k]) numbers.push_back(std::to_string(k + 1));
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += i + 1 == numbers.size() ? " und " : ", ";
        text += numbers[i];
    }
    return text;
}

std::string PartsSentSentence(const std::vector<bool>& partsSent)
{
    const auto sent = static_cast<std::size_t>(std::count(partsSent.begin(), partsSent.end(), true));
    const std::string total = std::to_string(partsSent.size());
    return (sent == 1 ? "Gesendet wurde Teil " : "Gesendet wurden die Teile ") + PartNumbers(partsSent) +
           " von " + total + "; ein erneuter Klick sendet nur " +
           (partsSent.size() - sent == 1 ? "den übrigen Teil." : "die übrigen Teile.");
}

} // namespace

std::string ArchiveNotWrittenStatus(std::string_view reason)
{
    return "SMS gesendet, aber nicht gespeichert: " + std::string(reason);
}

std::string SendNotRecordedStatus(std::string_view reason)
{
    return "SMS gesendet. " + std::string(reason);
}

std::string UserIniLockedMessage(const std::string& path)
{
    return "Der Zähler in user.ini ist gesperrt: ein anderer Versand gibt die Sperre " + path + " nicht frei";
}

std::string SmsLengthTooSmallMessage(std::string_view value)
{
    return "'" + CodePageToUtf8(value) + "' ist keine gültige SMS-Länge (mindestens 1)";
}

std::string InvalidPortMessage(std::string_view server, std::string_view port)
{
    return "Der " + std::string(server) + "-Port '" + CodePageToUtf8(port) +
           "' ist ungültig; möglich sind ganze Zahlen von 1 bis 65535.";
}

std::string InvalidSecurityMessage(std::string_view server, int security)
{
    return "Die " + std::string(server) + "-Verschlüsselung " + std::to_string(security) +
           " in den Einstellungen ist unbekannt; möglich sind Keine (0), STARTTLS (1) und SSL/TLS (2).";
}

std::string Pop3ServerHeading(std::string_view host)
{
    return "Posteingangsserver (POP3) " + std::string(host) + ":";
}

std::string SmtpServerHeading(std::string_view host)
{
    return "Postausgangsserver (SMTP) " + std::string(host) + ":";
}

std::string ConnectedToLine(std::string_view address, int port)
{
    return "Verbunden mit " + std::string(address) + ", Port " + std::to_string(port);
}

std::string TlsLine(std::string_view version, std::string_view cipher)
{
    return "Verschlüsselt mit " + std::string(version) + " (" + std::string(cipher) + ")";
}

std::string CertificateSubjectLine(std::string_view subject)
{
    return "Zertifikat: " + std::string(subject);
}

std::string CertificateIssuerLine(std::string_view issuer)
{
    return "Ausgestellt von: " + std::string(issuer);
}

std::string AuthMechanismLine(std::string_view mechanism)
{
    return "Anmeldeverfahren: AUTH " + std::string(mechanism);
}

std::string ErrorLine(const std::string& message)
{
    return "Fehler: " + ErrorBoxText(message);
}

ESmsPartlySent::ESmsPartlySent(const std::string& errorMessage, const std::vector<bool>& partsSent)
    : Exception(errorMessage + "\r\n" + PartsSentSentence(partsSent))
{
}
