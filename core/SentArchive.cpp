#include "core/SentArchive.h"

#include "core/CoreMessages.h"
#include "core/SendWindow.h"
#include "core/Stringparser.h"
#include "core/UserIniLock.h"
#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"
#include "runtime/FileSystem.h"
#include "runtime/TextFile.h"

#include <cerrno>

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
    const std::string content = sms.Text + "\r\n";
    for (int copy = 1;; ++copy) {
        const std::string path = folder + "/" + ArchiveFileName(sms.RecipientName, sms.SentAt, copy);
        const int error = CreateNewFile(path, content);
        if (error == 0) return;
        if (error != EEXIST) throw InOutErrorForPath(error, path);
    }
}

void RecordCount(IniFile& userIni, TSettings& settings, int partsCounted, const DateTime& sentAt)
{
    const UserIniLock lock(userIni.Path());
    TSettings stored;
    ReadSettings(userIni, stored, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
    const int countBefore = MonthChanged(stored.LastSentSMS, sentAt) ? 0 : stored.SMSThisMonth;
    TSettings recorded = settings;
    recorded.SMSThisMonth = countBefore + partsCounted;
    recorded.LastSentSMS = DateTimeText(sentAt);
    WriteSettings(userIni, recorded, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
    settings = std::move(recorded);
}

void ReadCount(const IniFile& userIni, TSettings& settings, const Clock& clock)
{
    ReadSettings(userIni, settings, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
    MonthCheck(settings, clock);
}

bool RecordSend(const SentSms& sms, int partsCounted, const std::string& dataFolder, TSettings& settings,
                IniFile& userIni, SendWindow& window)
{
    bool archived = true;
    if (settings.AutoSave) {
        try {
            WriteArchiveFile(dataFolder, sms);
            window.ShowStatusText(SmsSentAndSavedStatus);
        } catch (const Exception& error) {
            window.ShowStatusText(ArchiveNotWrittenStatus(error.Message()));
            archived = false;
        }
    }
    RecordCount(userIni, settings, partsCounted, sms.SentAt);
    window.ShowSMSThisMonth(settings.SMSThisMonth);
    return archived;
}
