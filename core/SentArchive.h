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
// is never replaced, also when several processes write in the same second (each name is created
// exclusively). Raises EInOutError with the German text of the failing step.
void WriteArchiveFile(const std::string& dataFolder, const SentSms& sms);

// The monthly count after a send, as one read-modify-write of user.ini under UserIniLock: the count
// the file holds now (0 when its LastSentSMS lies in another month than `sentAt`) plus
// `partsCounted`, the parts this program counted since it last recorded a send; so counts that other
// copies of the program wrote meanwhile are kept. Writes it and LastSentSMS := `sentAt`, LastSentSMS
// first, and then sets both in `settings`. Raises EUserIniLockError or EIniFileError, leaving
// `settings` as it was.
void RecordCount(IniFile& userIni, TSettings& settings, int partsCounted, const DateTime& sentAt);

// The count and the time of the last send as user.ini holds them now, another copy of the program
// having perhaps sent meanwhile, with the month check; for the window's label.
void ReadCount(const IniFile& userIni, TSettings& settings, const Clock& clock);

// After the last part of an SMS went out: the archive file when AutoSave is on, with the status
// "SMS gesendet und gespeichert."; then RecordCount; the window's label shows SMSThisMonth. The SMS
// went out, so an archive file that cannot be written is only reported in the status bar
// (ArchiveNotWrittenStatus), the record goes on and false is returned; a failure of RecordCount
// raises its error.
bool RecordSend(const SentSms& sms, int partsCounted, const std::string& dataFolder, TSettings& settings,
                IniFile& userIni, SendWindow& window);
