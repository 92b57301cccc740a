#pragma once

#include "core/Settings.h"
#include "runtime/Clock.h"
#include "runtime/IniFile.h"

#include <string>
#include <string_view>

class SendWindow;

// The record of a sent SMS: its copy in the folder "Sent" of the data folder, the time of the send
// and the monthly count in user.ini. Names and texts are code-page text, except where said.

// The date-time text made fit for a file name: "24.12.2002 18:05:09" gives "24-12-2002_18-05-09".
std::string FileTimeStamp(const DateTime& value);

// The recipient part of an archive file's name for a contact: the full name with every blank,
// "/" and "\" replaced by "_", so that the file always lands inside "Sent".
std::string ContactArchiveName(std::string_view fullName);
// The recipient part for a typed number: "00" and the normalised number.
std::string NumberArchiveName(std::string_view normalisedNumber);

// The most bytes a file name may have on the usual file systems (255 UTF-16 units on Windows).
inline constexpr std::size_t MaxFileNameBytes = 255;

// An archive file's name as the file system holds it, in UTF-8: "<recipient part>_<FileTimeStamp>.SMS",
// and for a `copy` above 1 "<recipient part>_<FileTimeStamp>_<copy>.SMS". A recipient part too long
// for that is shortened between characters, so that the whole name stays within MaxFileNameBytes.
std::string ArchiveFileName(std::string_view recipientName, const DateTime& sentAt, int copy = 1);

// The folder of the archive files: the data folder (ending in "/") and "Sent".
std::string SentFolderPath(const std::string& dataFolder);

// A sent SMS as the record names and stores it.
struct SentSms
{
    std::string RecipientName; // ContactArchiveName or NumberArchiveName
    std::string Text;          // the whole message, all parts, without the format token
    DateTime SentAt;
};

// Creates the folder "Sent" when it is missing, then a new archive file with the text and CR LF,
// named by the first copy (counted from 1) whose ArchiveFileName names no file yet: an archive file
// is never replaced. Raises EInOutError with the German text of the failing step.
void WriteArchiveFile(const std::string& dataFolder, const SentSms& sms);

// After the last part of an SMS went out: the archive file when AutoSave is on, with the status
// "SMS gesendet und gespeichert."; LastSentSMS := the time of the send; the window's label shows
// SMSThisMonth; user.ini gets LastSentSMS, then SMSThisMonth. The SMS went out, so an archive file
// that cannot be written is only reported in the status bar (ArchiveNotWrittenStatus) and the
// record goes on; a failure to write user.ini raises its error.
void RecordSend(const SentSms& sms, const std::string& dataFolder, TSettings& settings, IniFile& userIni,
                SendWindow& window);
