#pragma once

#include "runtime/Clock.h"
#include "runtime/IniFile.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// The exact text in LoginPassword that means no password is stored.
inline constexpr const char* PasswordMarker = "nicht gespeichert";

// The in-memory record of user.ini: one field per key, named like the key. The initialisers are
// the values of missing keys.
struct TSettings
{
    std::string LoginName = "Dein Login";
    bool SavePassword = true;
    std::string LoginPassword = PasswordMarker;
    std::string POP3Server = "pop3.example.com";
    std::string SMTPServer = "smtp.example.com";
    bool Pop3First = true;
    std::string UserName = "Dein Name";
    std::string eMailAdress = "dein.name@example.com";
    int SMTPPort = 25;
    int POP3Port = 110;
    int SMTPSecurity = 0; // 0 none, 1 STARTTLS, 2 SSL/TLS
    int POP3Security = 0;
    bool SMTPAuth = false;
    std::string SMTPCertificateSHA256; // a pinned fingerprint, hex with or without colons
    std::string POP3CertificateSHA256;
    std::string SMSServer = "sms.example.com";
    std::string FormatToken;
    int MaxSMSLength = 160;
    bool AutoSave = true;
    bool LastSMSFirst = true;
    std::string LastSentSMS = "01.01.2002 00:00:00";
    int SMSThisMonth = 0;
    bool UseOutlookAdressbook = true;

    bool operator==(const TSettings&) const = default;
};

// How a key is stored: Text unchanged; Boolean as 1/0, read as a profile integer; Integer in
// decimal, read as a profile integer (no integer gives the default); SmsLength read as text and
// converted strictly by ParseMaxSmsLength, written in decimal.
enum class SettingType { Text, Boolean, Integer, SmsLength };

// A key of user.ini, named by its field in the record.
using SettingField = std::variant<std::string TSettings::*, bool TSettings::*, int TSettings::*>;

// One key of user.ini. Its default is the initialiser of its field in TSettings.
struct SettingDefinition
{
    std::string_view Name;
    std::string_view Section;
    SettingType Type;
    SettingField Field;
};

// Every key of user.ini in the order in which LoadSettings reads them.
inline constexpr std::array<SettingDefinition, 23> SettingsTable{{
    {"LoginName", "eMailAccount", SettingType::Text, &TSettings::LoginName},
    {"SavePassword", "eMailAccount", SettingType::Boolean, &TSettings::SavePassword},
    {"LoginPassword", "eMailAccount", SettingType::Text, &TSettings::LoginPassword},
    {"POP3Server", "eMailAccount", SettingType::Text, &TSettings::POP3Server},
    {"SMTPServer", "eMailAccount", SettingType::Text, &TSettings::SMTPServer},
    {"Pop3First", "eMailAccount", SettingType::Boolean, &TSettings::Pop3First},
    {"UserName", "eMailAccount", SettingType::Text, &TSettings::UserName},
    {"eMailAdress", "eMailAccount", SettingType::Text, &TSettings::eMailAdress},
    {"SMTPPort", "eMailAccount", SettingType::Integer, &TSettings::SMTPPort},
    {"POP3Port", "eMailAccount", SettingType::Integer, &TSettings::POP3Port},
    {"SMTPSecurity", "eMailAccount", SettingType::Integer, &TSettings::SMTPSecurity},
    {"POP3Security", "eMailAccount", SettingType::Integer, &TSettings::POP3Security},
    {"SMTPAuth", "eMailAccount", SettingType::Boolean, &TSettings::SMTPAuth},
    {"SMTPCertificateSHA256", "eMailAccount", SettingType::Text, &TSettings::SMTPCertificateSHA256},
    {"POP3CertificateSHA256", "eMailAccount", SettingType::Text, &TSettings::POP3CertificateSHA256},
    {"SMSServer", "SMS", SettingType::Text, &TSettings::SMSServer},
    {"FormatToken", "SMS", SettingType::Text, &TSettings::FormatToken},
    {"MaxSMSLength", "SMS", SettingType::SmsLength, &TSettings::MaxSMSLength},
    {"AutoSave", "SMS", SettingType::Boolean, &TSettings::AutoSave},
    {"LastSMSFirst", "SMS", SettingType::Boolean, &TSettings::LastSMSFirst},
    {"LastSentSMS", "SMS", SettingType::Text, &TSettings::LastSentSMS},
    {"SMSThisMonth", "SMS", SettingType::Integer, &TSettings::SMSThisMonth},
    {"UseOutlookAdressbook", "Adressbook", SettingType::Boolean, &TSettings::UseOutlookAdressbook},
}};

const SettingDefinition& SettingDefinitionOf(SettingField field);

// The full path of user.ini: the settings folder (ending in "/") followed by "user.ini".
std::string SettingsFilePath(const std::string& settingsFolder);

// Starts `settings` from the defaults and reads every key of the table in order; between
// SMSThisMonth and UseOutlookAdressbook it runs MonthCheck. A MaxSMSLength that ParseMaxSmsLength
// refuses raises EConvertError there: the keys read before keep their values, MaxSMSLength stays
// 160 and the keys after it keep their defaults.
// The caller shows SMSThisMonth (the label is the window's business).
void LoadSettings(TSettings& settings, const IniFile& ini, const Clock& clock);

// Writes the record's current value of one key to the file (EIniFileError when refused).
void WriteSetting(IniFile& ini, const TSettings& settings, SettingField field);
// Writes the record's current values of the keys, in this order, in one replacement of the file:
// all of them or, when refused (EIniFileError), none.
void WriteSettings(IniFile& ini, const TSettings& settings, std::initializer_list<SettingField> fields);

// Reads the file's current values of the keys into the record, as LoadSettings reads them.
void ReadSettings(const IniFile& ini, TSettings& settings, std::initializer_list<SettingField> fields);

// A maximum SMS length: a strict integer of at least 1. Raises EConvertError with
// "'<text>' ist kein gültiger Integerwert" for no integer, and a message naming the value for one
// below 1 (which would divide the message by zero).
int ParseMaxSmsLength(std::string_view text);

// The month of a date-time text "dd.mm.yyyy hh:nn:ss": characters 4 and 5 converted strictly.
// Raises EConvertError when they are no integer or the text is too short to hold them.
int GetMonth(const std::string& dateTimeText);

// True when the current month or year differs from that of LastSentSMS (the year is characters 7
// to 10; a count from March of one year does not go on in March of the next), and when LastSentSMS
// is no date-time text "dd.mm.yyyy hh:nn:ss" (a locale-formatted time of an older version, or a
// text edited by hand), so the count starts afresh and the next send writes a readable time.
bool MonthChanged(const TSettings& settings, const Clock& clock);
// The same rule for a LastSentSMS text and the time `now`.
bool MonthChanged(const std::string& lastSentSMS, const DateTime& now);

// When MonthChanged: SMSThisMonth := 0, in memory only.
void MonthCheck(TSettings& settings, const Clock& clock);
