#include "core/Settings.h"

#include "core/CoreMessages.h"
#include "runtime/Convert.h"
#include "runtime/Exception.h"

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

} // namespace

const SettingDefinition& SettingDefinitionOf(SettingKey key)
{
    return *std::find_if(SettingsTable.begin(), SettingsTable.end(),
                         [key](const SettingDefinition& entry) { return entry.Key == key; });
}

std::string SettingsFilePath(const std::string& settingsFolder)
{
    return settingsFolder + "user.ini";
}

void LoadSettings(TSettings& settings, const IniFile& ini, const Clock& clock)
{
    settings = TSettings{};
    for (const SettingDefinition& entry : SettingsTable) {
        if (entry.Key == SettingKey::UseOutlookAdressbook) MonthCheck(settings, clock);
        ReadSetting(settings, ini, entry);
    }
}

void WriteSetting(IniFile& ini, const TSettings& settings, SettingKey key)
{
    const SettingDefinition& entry = SettingDefinitionOf(key);
    switch (entry.Type) {
    case SettingType::Text:
        ini.WriteString(entry.Section, entry.Name, settings.*std::get<std::string TSettings::*>(entry.Field));
        break;
    case SettingType::Boolean:
        ini.WriteBool(entry.Section, entry.Name, settings.*std::get<bool TSettings::*>(entry.Field));
        break;
    case SettingType::Integer:
    case SettingType::SmsLength:
        ini.WriteInteger(entry.Section, entry.Name, settings.*std::get<int TSettings::*>(entry.Field));
        break;
    }
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
    std::string now = DateTimeText(clock.Now());
    return GetMonth(now) != GetMonth(settings.LastSentSMS) || GetYear(now) != GetYear(settings.LastSentSMS);
}

void MonthCheck(TSettings& settings, const Clock& clock)
{
    if (MonthChanged(settings, clock)) settings.SMSThisMonth = 0;
}
