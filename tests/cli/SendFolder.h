#pragma once

#include "core/Settings.h"
#include "runtime/Clock.h"
#include "tests/mail/MailTestText.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>
#include <vector>

// The folder tickerpost-send gets with --dir: a user.ini (address book on) for servers on 127.0.0.1
// with a count of 5 in the current month, and Kontakte.vcf with "Eva Krüger" (+49 1719876543) and "Ohne
// Nummer".
class SendFolder
{
public:
    // Each of `changes` ("Key=value", UTF-8) replaces the line of its key, or joins [SMS].
    SendFolder(int smtpPort, int pop3Port, bool pop3First, const std::vector<std::string>& changes = {})
    {
        std::string ini =
            "[eMailAccount]\r\nLoginName=ich\r\nLoginPassword=geheim\r\nPOP3Server=127.0.0.1\r\n"
            "SMTPServer=127.0.0.1\r\nSMTPPort=" +
            std::to_string(smtpPort) + "\r\nPOP3Port=" + std::to_string(pop3Port) +
            "\r\nPop3First=" + (pop3First ? "1" : "0") +
            "\r\nUserName=Jürgen Müller\r\neMailAdress=ich@example.de\r\n[SMS]\r\n"
            "SMSServer=sms.example\r\nFormatToken=SMS:\r\nLastSentSMS=" +
            DateTimeText(SystemClock().Now()) + "\r\nSMSThisMonth=5\r\n";
        for (const std::string& change : changes) {
            const std::size_t key = ini.find("\n" + change.substr(0, change.find('=') + 1));
            if (key == std::string::npos)
                ini.insert(ini.find("[SMS]\r\n") + 7, change + "\r\n");
            else
                ini.replace(key + 1, ini.find('\r', key) - key - 1, change);
        }
        folder.Write("user.ini", Cp(ini));
        folder.Write("Kontakte.vcf",
                     "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Eva Krüger\r\nTEL;TYPE=cell:+49 1719876543\r\n"
                     "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ohne Nummer\r\nEND:VCARD\r\n");
    }

    std::vector<std::string> Args(std::vector<std::string> args) const
    {
        args.insert(args.begin(), "--dir=" + folder.Path());
        return args;
    }
    int Count() const { return IniFile(folder.File("user.ini")).ReadInteger("SMS", "SMSThisMonth", -1); }
    std::vector<std::string> ArchiveFiles() const
    {
        std::vector<std::string> names;
        if (std::filesystem::exists(folder.File("Sent")))
            for (const auto& entry : std::filesystem::directory_iterator(folder.File("Sent")))
                names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder folder;
};
