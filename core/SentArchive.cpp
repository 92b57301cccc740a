#include "core/SentArchive.h"

#include "core/CoreMessages.h"
#include "core/SendWindow.h"
#include "core/Stringparser.h"
#include "runtime/CodePage.h"
#include "runtime/TextFile.h"

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

std::string ArchiveFileName(std::string_view recipientName, const DateTime& sentAt)
{
    return std::string(recipientName) + "_" + FileTimeStamp(sentAt) + ".SMS";
}

std::string SentFolderPath(const std::string& programFolder)
{
    return programFolder + "Sent";
}

void WriteArchiveFile(const std::string& programFolder, std::string_view fileName, std::string_view text)
{
    const std::string folder = SentFolderPath(programFolder);
    CreateFolderIfMissing(folder);
    WriteTextFile(folder + "/" + CodePageToUtf8(fileName), std::string(text) + "\r\n");
}

void RecordSend(const SentSms& sms, const std::string& programFolder, TSettings& settings, IniFile& userIni,
                SendWindow& window)
{
    if (settings.AutoSave) {
        WriteArchiveFile(programFolder, ArchiveFileName(sms.RecipientName, sms.SentAt), sms.Text);
        window.ShowStatusText(SmsSentAndSavedStatus);
    }
    settings.LastSentSMS = DateTimeText(sms.SentAt);
    window.ShowSMSThisMonth(settings.SMSThisMonth);
    WriteSettings(userIni, settings, {SettingKey::LastSentSMS, SettingKey::SMSThisMonth});
}
