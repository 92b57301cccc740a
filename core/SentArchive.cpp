#include "core/SentArchive.h"

#include "core/CoreMessages.h"
#include "core/SendWindow.h"
#include "core/Stringparser.h"
#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"
#include "runtime/FileSystem.h"
#include "runtime/TextFile.h"

namespace {

// `utf8` cut to at most `maxBytes` bytes, never inside a character.
std::string Utf8Prefix(std::string utf8, std::size_t maxBytes)
{
    if (utf8.size() <= maxBytes) return utf8;
    std::size_t end = maxBytes;
    while (end > 0 && IsUtf8Continuation(utf8[end])) --end;
    utf8.resize(end);
    return utf8;
}

} // namespace

std::string FileTimeStamp(const DateTime& value)
{
    std::string text = DateTimeText(value);
    for (int position : {3, 6, 14, 17}) text[position - 1] = '-';
    text[11 - 1] = '_';
    return text;
}

std::string ContactArchiveName(std::string_view fullName)
{
    std::string name(fullName);
    for (char separator : {' ', '/', '\\'}) name = ReplaceChar(name, separator, '_');
    return name;
}

std::string NumberArchiveName(std::string_view normalisedNumber)
{
    return "00" + std::string(normalisedNumber);
}

std::string ArchiveFileName(std::string_view recipientName, const DateTime& sentAt, int copy)
{
    const std::string ending =
        "_" + FileTimeStamp(sentAt) + (copy > 1 ? "_" + std::to_string(copy) : std::string()) + ".SMS";
    return Utf8Prefix(CodePageToUtf8(recipientName), MaxFileNameBytes - ending.size()) + ending;
}

std::string SentFolderPath(const std::string& dataFolder)
{
    return dataFolder + "Sent";
}

void WriteArchiveFile(const std::string& dataFolder, const SentSms& sms)
{
    const std::string folder = SentFolderPath(dataFolder);
    CreateFolderIfMissing(folder);
    std::string path;
    int copy = 1;
    do path = folder + "/" + ArchiveFileName(sms.RecipientName, sms.SentAt, copy++);
    while (NameTaken(path));
    WriteTextFile(path, sms.Text + "\r\n");
}

void RecordSend(const SentSms& sms, const std::string& dataFolder, TSettings& settings, IniFile& userIni,
                SendWindow& window)
{
    if (settings.AutoSave) {
        try {
            WriteArchiveFile(dataFolder, sms);
            window.ShowStatusText(SmsSentAndSavedStatus);
        } catch (const Exception& error) {
            window.ShowStatusText(ArchiveNotWrittenStatus(error.Message()));
        }
    }
    settings.LastSentSMS = DateTimeText(sms.SentAt);
    window.ShowSMSThisMonth(settings.SMSThisMonth);
    WriteSettings(userIni, settings, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
}
