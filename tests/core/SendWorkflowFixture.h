#pragma once

#include "core/SendWorkflow.h"
#include "mail/IdHeaderCoder.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

// A send workflow with its own components and a fake window, in a temporary program folder. The
// account sends from "ich@example.de" to the gateway "sms.example", over servers on 127.0.0.1 (the
// tests set the ports), on 7 December 2026 at 05:13:07, German winter time.
class SendWorkflowFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        if (MailCharsetForLocale().Letter != 'Q')
            GTEST_SKIP() << "needs a locale with the ISO-8859-1 charset";
        settings.LoginName = "ich";
        settings.LoginPassword = "geheim";
        settings.POP3Server = "127.0.0.1";
        settings.SMTPServer = "127.0.0.1";
        settings.eMailAdress = "ich@example.de";
        settings.SMSServer = "sms.example";
        settings.LastSentSMS = "01.12.2026 08:00:00";
        settings.UseOutlookAdressbook = false;
    }

    std::string ProgramFolder() const { return folder.Path() + "/"; }

    TempFolder folder;
    FixedClock clock{{2026, 12, 7, 5, 13, 7}, 60};
    TIdSMTP smtp;
    TIdPOP3 pop3;
    TIdMessage email{clock};
    TSettings settings;
    NoContactForm contactForm;
    AddressBookLink addressBook{ContactsFilePath(ProgramFolder()), contactForm};
    FakeSendWindow window;
    TSendWorkflow workflow{{smtp, pop3, email, settings, addressBook, clock, ProgramFolder()}, window};
};
