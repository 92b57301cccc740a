#pragma once

#include "core/Settings.h"
#include "runtime/Clock.h"
#include "runtime/IniFile.h"

#include <string>
#include <string_view>

class SendWindow;

// The record of a sent SMS: its copy in the folder "Sent" of the data folder, the time of the send
// and the monthly count in user.ini. Names and texts are code-page text.

// The date-time text made fit for a file name: "24.12.2002 18:05:09" gives "24-12-2002_18-05-09".
std::string FileTimeStamp(const DateTime& value);

// The recipient part of an archive file's name for a contact: the full name with every blank,
// "/" and "\" replaced by "_", so that the file always lands inside "Sent".
std::string ContactArchiveName(std::string_view fullName);
// The recipient part for a typed number: "00" and the normalised number.
std::string NumberArchiveName(std::string_view normalisedNumber);

// "<recipient part>_<FileTimeStamp>.SMS".
std::string ArchiveFileName(std::string_view recipientName, const DateTime& sentAt);

// The folder of the archive files: the data folder (ending in "/") and "Sent".
std::string SentFolderPath(const std::string& dataFolder);

// Creates the folder "Sent" when it is missing, then creates or replaces the archive file with the
// text and CR LF. The code-page file name becomes UTF-8, the file system's encoding, in the path.
// Raises EInOutError with the German text of the failing step.
void WriteArchiveFile(const std::string& dataFolder, std::string_view fileName, std::string_view text);

// A sent SMS as the record names and stores it.
struct SentSms
{
    std::string RecipientName; // ContactArchiveName or NumberArchiveName
    std::string Text;          // the whole message, all parts, without the format token
    DateTime SentAt;
};

// After the last part of an SMS went out: the archive file when AutoSave is on, with the status
// "SMS gesendet und gespeichert."; LastSentSMS := the time of the send; the window's label shows
// SMSThisMonth; user.ini gets LastSentSMS, then SMSThisMonth. An error ends the record where it
// happens, so a failed archive file leaves LastSentSMS, the label and user.ini as they were.
void RecordSend(const SentSms& sms, const std::string& dataFolder, TSettings& settings, IniFile& userIni,
                SendWindow& window);
