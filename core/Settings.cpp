#include "core/Settings.h"

#include "core/CoreMessages.h"
#include "runtime/AsciiText.h"
#include "runtime/Convert.h"
#include "runtime/Exception.h"
#include "runtime/RuntimeMessages.h"

#include <algorithm>

namespace {

// The integer of `length` characters from 1-based position `first` of a date-time text, converted
// strictly. A text too short to hold them raises the conversion error on what it does hold.
int DateTimeField(const std::string& text, size_t first, size_t length)
{
    size_t start = std::min(first - 1, text.size());
    std::string_view field = std::string_view(text).substr(start, length);
    if (field.size() < length) throw EConvertError(NotAnIntegerMessage(field));
    return StrToInt(field);
}

int GetYear(const std::string& dateTimeText)
{
    return DateTimeField(dateTimeText, 7, 4);
}

void ReadSetting(TSettings& settings, const IniFile& ini, const SettingDefinition& entry)
{
    const TSettings defaults;
    switch (entry.Type) {
    case SettingType::Text: {
        auto field = std::get<std::string TSettings::*>(entry.Field);
        settings.*field = ini.ReadString(entry.Section, entry.Name, defaults.*field);
        break;
    }
    case SettingType::Boolean: {
        auto field = std::get<bool TSettings::*>(entry.Field);
        settings.*field = ini.ReadBool(entry.Section, entry.Name, defaults.*field);
        break;
    }
    case SettingType::Integer: {
        auto field = std::get<int TSettings::*>(entry.Field);
        settings.*field = ini.ReadInteger(entry.Section, entry.Name, defaults.*field);
        break;
    }
    case SettingType::SmsLength: {
        auto field = std::get<int TSettings::*>(entry.Field);
        std::string text = ini.ReadString(entry.Section, entry.Name, std::to_string(defaults.*field));
        settings.*field = ParseMaxSmsLength(text);
        break;
    }
    }
}

void AddSetting(IniChanges& changes, const TSettings& settings, const SettingDefinition& entry)
{
    switch (entry.Type) {
    case SettingType::Text:
        changes.SetString(entry.Section, entry.Name,
                          settings.*std::get<std::string TSettings::*>(entry.Field));
        break;
    case SettingType::Boolean:
        changes.SetBool(entry.Section, entry.Name, settings.*std::get<bool TSettings::*>(entry.Field));
        break;
    case SettingType::Integer:
    case SettingType::SmsLength:
        changes.SetInteger(entry.Section, entry.Name, settings.*std::get<int TSettings::*>(entry.Field));
        break;
    }
}

// True for a text of the form "dd.mm.yyyy hh:nn:ss", with a digit where each letter stands.
bool IsDateTimeText(std::string_view text)
{
    constexpr std::string_view Form = "00.00.0000 00:00:00";
    if (text.size() != Form.size()) return false;
    for (size_t i = 0; i < Form.size(); ++i) {
        bool matches = Form[i] == '0' ? IsAsciiDigit(text[i]) : text[i] == Form[i];
        if (!matches) return false;
    }
    return true;
}

} // namespace

const SettingDefinition& SettingDefinitionOf(SettingField field)
{
    return *std::find_if(SettingsTable.begin(), SettingsTable.end(),
                         [field](const SettingDefinition& entry) { return entry.Field == field; });
}

std::string SettingsFilePath(const std::string& settingsFolder)
{
    return settingsFolder + "user.ini";
}

void LoadSettings(TSettings& settings, const IniFile& ini, const Clock& clock)
{
    settings = TSettings{};
    for (const SettingDefinition& entry : SettingsTable) {
        if (entry.Field == SettingField(&TSettings::UseOutlookAdressbook)) MonthCheck(settings, clock);
        ReadSetting(settings, ini, entry);
    }
}

void WriteSetting(IniFile& ini, const TSettings& settings, SettingField field)
{
    WriteSettings(ini, settings, {field});
}

void WriteSettings(IniFile& ini, const TSettings& settings, std::initializer_list<SettingField> fields)
{
    IniChanges changes;
    for (SettingField field : fields) AddSetting(changes, settings, SettingDefinitionOf(field));
    ini.Write(changes);
}

void ReadSettings(const IniFile& ini, TSettings& settings, std::initializer_list<SettingField> fields)
{
    for (SettingField field : fields) ReadSetting(settings, ini, SettingDefinitionOf(field));
}

int ParseMaxSmsLength(std::string_view text)
{
    int value = StrToInt(text);
    if (value < 1) throw EConvertError(SmsLengthTooSmallMessage(text));
    return value;
}

int GetMonth(const std::string& dateTimeText)
{
    return DateTimeField(dateTimeText, 4, 2);
}

bool MonthChanged(const TSettings& settings, const Clock& clock)
{
    return MonthChanged(settings.LastSentSMS, clock.Now());
}

bool MonthChanged(const std::string& lastSentSMS, const DateTime& now)
{
    if (!IsDateTimeText(lastSentSMS)) return true;
    const std::string nowText = DateTimeText(now);
    return GetMonth(nowText) != GetMonth(lastSentSMS) || GetYear(nowText) != GetYear(lastSentSMS);
}

void MonthCheck(TSettings& settings, const Clock& clock)
{
    if (MonthChanged(settings, clock)) settings.SMSThisMonth = 0;
}
