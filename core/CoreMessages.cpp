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

ESmsPartlySent::ESmsPartlySent(const std::string& errorMessage, const std::vector<bool>& partsSent)
    : Exception(errorMessage + "\r\n" + PartsSentSentence(partsSent))
{
}
