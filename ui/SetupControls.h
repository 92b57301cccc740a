#pragma once

#include "core/Settings.h"

#include <array>

// A control of the settings dialog and the key of the record it edits. A line edit edits a text key,
// or an integer key in decimal (the SMS length, a port); a combo box edits an integer key as the
// index of its entry (an encryption); a check box edits a Boolean key.
struct SetupControl
{
    SettingField Field;
    const char* ControlName;
};

// Every control that edits a key, in the order in which "Übernehmen" stores them. The two exceptions
// stay with the dialog: without SavePassword the password box shows and stores PasswordMarker, and
// a length that ParseMaxSmsLength refuses stops the series. The pinned certificates have no
// control; their keys stay as they are.
inline constexpr std::array<SetupControl, 19> SetupControls{{
    {&TSettings::LoginName, "EAccountID"},
    {&TSettings::SavePassword, "CBSavePassword"},
    {&TSettings::LoginPassword, "EPassword"},
    {&TSettings::POP3Server, "EPOP3Server"},
    {&TSettings::SMTPServer, "ESMTPServer"},
    {&TSettings::Pop3First, "CBPOP3First"},
    {&TSettings::UserName, "EUserName"},
    {&TSettings::eMailAdress, "EeMailAdress"},
    {&TSettings::SMSServer, "ESMSProvider"},
    {&TSettings::FormatToken, "EFormatToken"},
    {&TSettings::MaxSMSLength, "EMaxSMSLength"},
    {&TSettings::AutoSave, "CBSMSAutoSave"},
    {&TSettings::LastSMSFirst, "CBLastSMSFirst"},
    {&TSettings::UseOutlookAdressbook, "CBUseOutlookAdressbook"},
    {&TSettings::SMTPPort, "ESMTPPort"},
    {&TSettings::SMTPSecurity, "ComboBoxSMTPSecurity"},
    {&TSettings::SMTPAuth, "CBSMTPAuth"},
    {&TSettings::POP3Port, "EPOP3Port"},
    {&TSettings::POP3Security, "ComboBoxPOP3Security"},
}};
