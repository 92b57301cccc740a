#include "addressbook/ContactDisplay.h"
#include "addressbook/ContactItem.h"
#include "addressbook/Outlook.h"
#include "core/CoreMessages.h"
#include "mail/IdExceptions.h"
#include "runtime/TextFile.h"
#include "tests/core/SendWorkflowFixture.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

const std::string UserIniBefore = "[SMS]\r\nLastSentSMS=01.12.2026 08:00:00\r\nSMSThisMonth=4\r\n";
const std::string ArchiveOfTypedNumber = "Sent/00491711234567_07-12-2026_05-13-07.SMS";

// What the client writes for one message whose Subject line is `subjectLine`.
std::vector<std::string> MessageLines(const std::string& subjectLine,
                                      const std::string& to = "491711234567@sms.example")
{
    return {"Rset",
            "Mail from:<ich@example.de>",
            "RCPT to:<" + to + ">",
            "Data",
            "From: \"Dein Name\" <ich@example.de>",
            subjectLine,
            "To: " + to,
            "Date: Mon, 7 Dec 2026 05:13:07 +0100",
            "X-Priority: 3",
            "X-Library: Tickerpost 2.0",
            "",
            "."};
}

using Texts = std::vector<std::string>;

class SendWorkflowTest : public SendWorkflowFixture
{
protected:
    void SetUp() override
    {
        SendWorkflowFixture::SetUp();
        if (IsSkipped()) return;
        settings.Pop3First = false;
        settings.FormatToken = "T:";
        settings.MaxSMSLength = 10;
        settings.SMSThisMonth = 4;
        WriteBytes(folder.File("user.ini"), UserIniBefore);
        window.Recipient = "01711234567";
    }

    // The SMTP server the send uses: the greeting, then for each entry of `rcptReplies` one
    // transaction whose recipient gets that reply; a "250 ok" recipient is followed by a message.
    std::unique_ptr<ScriptedServer> UseSmtpServer(const std::vector<std::string>& rcptReplies)
    {
        std::vector<std::string> replies = {"220 gw", "250 gw"};
        for (const std::string& rcptReply : rcptReplies) {
            replies.insert(replies.end(), {"250 reset", "250 sender ok", rcptReply});
            if (rcptReply == "250 ok") replies.insert(replies.end(), {"354 go ahead", "250 queued"});
        }
        auto server = std::make_unique<ScriptedServer>(replies);
        settings.SMTPPort = server->Port();
        return server;
    }
    std::string Ehlo() { return "ehlo " + smtp.LocalHostName(); }
    std::string File(const std::string& name) const { return ReadBytes(folder.File(name)); }
};

} // namespace

TEST_F(SendWorkflowTest, PartsGoOutOneMailEachInTheChosenOrderAndTheSendIsRecorded)
{
    struct Case
    {
        const char* label;
        bool lastSmsFirst;
        std::vector<int> order;
    };
    const std::string text = "abcdefghij"
                             "klmnopqrst"
                             "uvwxy";
    const std::string subjects[] = {"Subject: T:abcdefghij", "Subject: T:klmnopqrst", "Subject: T:uvwxy"};
    const SmsPartRange ranges[] = {{0, 10}, {10, 10}, {20, 5}};
    for (const Case& c : {Case{"last part first", true, {2, 1, 0}}, Case{"text order", false, {0, 1, 2}}}) {
        SCOPED_TRACE(c.label);
        auto server = UseSmtpServer({"250 ok", "250 ok", "250 ok"});
        settings.LastSMSFirst = c.lastSmsFirst;
        settings.SMSThisMonth = 4;
        WriteBytes(folder.File("user.ini"), UserIniBefore);
        window = FakeSendWindow();
        window.Recipient = "01711234567";
        window.Message = text;

        workflow.Send();

        std::vector<std::string> expected = {Ehlo()};
        for (int k : c.order) expected = Concat({expected, MessageLines(subjects[k])});
        expected.push_back("Quit");
        EXPECT_EQ(server->Received(), expected);
        EXPECT_EQ(window.Selections,
                  (std::vector<SmsPartRange>{ranges[c.order[0]], ranges[c.order[1]], ranges[c.order[2]]}));
        EXPECT_EQ(window.StatusTexts,
                  Texts({"Verbunden", "sende...", "SMS gesendet", "sende...", "SMS gesendet", "sende...",
                         "SMS gesendet", "SMS gesendet und gespeichert."}));
        EXPECT_EQ(settings.SMSThisMonth, 7);
        EXPECT_EQ(window.SMSThisMonthLabel, "7");
        EXPECT_EQ(settings.LastSentSMS, "07.12.2026 05:13:07");
        EXPECT_EQ(File("user.ini"), "[SMS]\r\nLastSentSMS=07.12.2026 05:13:07\r\nSMSThisMonth=7\r\n");
        EXPECT_EQ(File(ArchiveOfTypedNumber), text + "\r\n");
        EXPECT_EQ(window.Message, "");
        EXPECT_FALSE(smtp.IsConnected());
        EXPECT_EQ(window.PasswordPrompts, 0);
    }
}

TEST_F(SendWorkflowTest, AnEmptyTextSendsOneMailWithTheTokenAlone)
{
    auto server = UseSmtpServer({"250 ok"});
    window.Message = "";

    workflow.Send();

    EXPECT_EQ(server->Received(), Concat({{Ehlo()}, MessageLines("Subject: T:"), {"Quit"}}));
    EXPECT_EQ(settings.SMSThisMonth, 5);
    EXPECT_EQ(File(ArchiveOfTypedNumber), "\r\n");
}

TEST_F(SendWorkflowTest, ALineBreakTravelsEncodedInTheSubjectOfItsPart)
{
    auto server = UseSmtpServer({"250 ok", "250 ok"});
    settings.MaxSMSLength = 4;
    settings.LastSMSFirst = false;
    settings.FormatToken = "";
    window.Message = "ab\r\ncd";

    workflow.Send();

    // The line break of the first part is encoded into the Subject; it never ends a line on the wire.
    EXPECT_EQ(server->Received(), Concat({{Ehlo()},
                                          MessageLines("Subject: =?ISO-8859-1?Q?ab=0D=0A?="),
                                          MessageLines("Subject: cd"),
                                          {"Quit"}}));
    EXPECT_EQ(File(ArchiveOfTypedNumber), "ab\r\ncd\r\n");
}

// Checked before anything connects: POP3 and SMTP servers that refuse every connection are never
// tried.
TEST_F(SendWorkflowTest, UnusableRecipientsAndAddressesSendNothingAndConnectNowhere)
{
    const std::string invalid = "Bitte gültige Nummer eingeben oder Kontakt auswählen";
    const std::string noMobile = "Kontakt hat keine Handynummer. SMS nicht geschickt.";
    const std::string badSender =
        "Die eMail-Adresse in den Einstellungen enthält Leerzeichen, Steuerzeichen, "
        "\"<\" oder \">\". SMS nicht geschickt.";
    const std::string badGateway = "Die SMS @-Adresse in den Einstellungen enthält Leerzeichen, "
                                   "Steuerzeichen, \"<\" oder \">\". SMS nicht geschickt.";
    const std::string sender = "ich@example.de";
    const std::string gateway = "sms.example";
    struct Case
    {
        const char* label;
        std::string typed;
        std::optional<std::string> contactMobile;
        std::string sender;
        std::string gateway;
        std::string status;
    };
    const Case cases[] = {
        {"no leading 0 or +", "171234567", std::nullopt, sender, gateway, invalid},
        {"a name while the address book is off", "Eva", std::nullopt, sender, gateway, invalid},
        {"blank inside", "0171 234567", std::nullopt, sender, gateway, invalid},
        {"00 alone", "00", std::nullopt, sender, gateway, invalid},
        {"contact without mobile number", "Eva", "+", sender, gateway, noMobile},
        {"contact number with a line break", "Eva", "+49 171\r\nRCPT to:<x@y.de>", sender, gateway, noMobile},
        {"contact number with an address", "Eva", "0171<x@y.de>", sender, gateway, noMobile},
        {"sender with a blank", "01711234567", std::nullopt, "ich@example.de SIZE=1", gateway, badSender},
        {"sender with NUL", "01711234567", std::nullopt, std::string("ich@example.de\0x", 16), gateway,
         badSender},
        {"sender in angle brackets", "01711234567", std::nullopt, "<ich@example.de>", gateway, badSender},
        {"gateway with a line break", "01711234567", std::nullopt, sender, "sms.example\r\nDATA", badGateway},
        {"gateway with a tab", "01711234567", std::nullopt, sender, "sms\t.example", badGateway},
        {"gateway with >", "01711234567", std::nullopt, sender, "sms.example>", badGateway},
    };
    RefusingPort pop3Port, smtpPort;
    settings.POP3Port = pop3Port.Port();
    settings.SMTPPort = smtpPort.Port();
    settings.Pop3First = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        window = FakeSendWindow();
        window.Recipient = c.typed;
        window.Message = "Hallo";
        settings.eMailAdress = c.sender;
        settings.SMSServer = c.gateway;
        addressBook.ForgetRecipient();
        if (c.contactMobile)
            addressBook.Choose(std::make_shared<ContactItem>(VCardContact{"Eva", *c.contactMobile, ""}));

        workflow.Send();

        EXPECT_EQ(window.StatusTexts, Texts({c.status}));
        EXPECT_EQ(window.TextReads, 1);
        EXPECT_EQ(window.Message, "Hallo");
        EXPECT_TRUE(window.Selections.empty());
        EXPECT_EQ(settings.SMSThisMonth, 4);
        EXPECT_EQ(window.SMSThisMonthLabel, "0");
        EXPECT_EQ(File("user.ini"), UserIniBefore);
        EXPECT_FALSE(std::filesystem::exists(folder.File("Sent")));
    }
}

TEST_F(SendWorkflowTest, TheMarkerAsksForThePasswordAndServesAsOneWhenThePromptIsClosed)
{
    struct Case
    {
        const char* label;
        std::function<void()> prompt;
        std::string passLine;
        std::string passwordAfter;
    };
    const Case cases[] = {
        {"closed without OK", [] {}, "PASS nicht gespeichert", "nicht gespeichert"},
        {"OK with a password", [this] { settings.LoginPassword = "neu"; }, "PASS neu", "neu"},
        {"OK with an empty box", [this] { settings.LoginPassword = ""; }, "PASS ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer pop3Server({"+OK bereit", "+OK Benutzer", "+OK angemeldet"});
        auto smtpServer = UseSmtpServer({"250 ok"});
        settings.POP3Port = pop3Server.Port();
        settings.Pop3First = true;
        settings.LoginPassword = PasswordMarker;
        window = FakeSendWindow();
        window.Recipient = "01711234567";
        window.OnPasswordPrompt = c.prompt;

        workflow.Send();

        EXPECT_EQ(window.PasswordPrompts, 1);
        EXPECT_EQ(pop3Server.Received(), Texts({"USER ich", c.passLine, "Quit"}));
        EXPECT_EQ(smtp.Password(), c.passwordAfter);
        EXPECT_EQ(settings.LoginPassword, c.passwordAfter);
    }
}

TEST_F(SendWorkflowTest, AFailedPop3LogInEndsTheClickBeforeAnySmtpConnection)
{
    ScriptedServer pop3Server({"+OK bereit", "+OK Benutzer", "-ERR falsches Kennwort"});
    settings.POP3Port = pop3Server.Port();
    settings.SMTPPort = 1; // never reached
    settings.Pop3First = true;
    window.Message = "Hallo";

    EXPECT_THROW_MESSAGE(workflow.Send(), EIdProtocolReplyError, "-ERR falsches Kennwort");

    // The texts were read, and any notice about them shown, before the POP3 server was contacted.
    EXPECT_EQ(window.TextReads, 1);
    EXPECT_FALSE(smtp.IsConnected());
    EXPECT_TRUE(window.StatusTexts.empty());
    EXPECT_EQ(window.Message, "Hallo");
}

TEST_F(SendWorkflowTest, ARefusedRecipientLeavesTheConnectionOpenAndTheNextClickUsesIt)
{
    auto server = UseSmtpServer({"550 unbekannt", "250 ok"});
    window.Message = "Hallo";

    EXPECT_THROW_MESSAGE(workflow.Send(), EIdProtocolReplyError, "550 unbekannt");
    EXPECT_TRUE(smtp.IsConnected());
    EXPECT_EQ(window.Message, "Hallo");
    EXPECT_EQ(settings.SMSThisMonth, 4);
    EXPECT_EQ(File("user.ini"), UserIniBefore);

    window.StatusTexts.clear();
    workflow.Send();
    // Sent over the open connection, which this click did not open and so leaves open.
    EXPECT_TRUE(smtp.IsConnected());
    EXPECT_EQ(window.StatusTexts, Texts({"sende...", "SMS gesendet", "SMS gesendet und gespeichert."}));
    EXPECT_EQ(settings.SMSThisMonth, 5);

    smtp.CloseConnection();
    EXPECT_EQ(server->Received(),
              Concat({{Ehlo(), "Rset", "Mail from:<ich@example.de>", "RCPT to:<491711234567@sms.example>"},
                      MessageLines("Subject: T:Hallo"),
                      {"Quit"}}));
}

TEST_F(SendWorkflowTest, PartsOfAFailedFirstSendOfANewMonthCountForThatMonth)
{
    struct Case
    {
        const char* label;
        DateTime nextClick;
        int countAfterNextClick;
    };
    const Case cases[] = {
        {"next click in the same month", {2026, 12, 9, 10, 0, 0}, 2},
        {"next click in the month after", {2027, 1, 2, 10, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto server = UseSmtpServer({"250 ok", "550 unbekannt", "250 ok"});
        clock.Set({2026, 12, 7, 5, 13, 7});
        settings.LastSentSMS = "20.11.2026 10:00:00";
        settings.SMSThisMonth = 40;
        WriteBytes(folder.File("user.ini"),
                   "[SMS]\r\nLastSentSMS=20.11.2026 10:00:00\r\nSMSThisMonth=40\r\n");
        settings.LastSMSFirst = false;
        window.Message = "abcdefghij"
                         "klm";

        EXPECT_THROW(workflow.Send(), ESmsPartlySent);
        EXPECT_EQ(settings.SMSThisMonth, 1);

        clock.Set(c.nextClick);
        workflow.Send();
        EXPECT_EQ(settings.SMSThisMonth, c.countAfterNextClick);
        EXPECT_EQ(window.SMSThisMonthLabel, std::to_string(c.countAfterNextClick));
        smtp.CloseConnection();
    }
}

// Once every part went out, nothing may look like a failed send: the text goes, the count is
// recorded as far as it can be, and the status bar says what could not be written.
TEST_F(SendWorkflowTest, ARecordThatCannotBeWrittenAfterTheSendIsOnlyReported)
{
    struct Case
    {
        const char* label;
        std::string blocked; // a folder or file that stands where the record writes
        std::string status;
        // The time and count in memory follow user.ini: they change only when it is written.
        std::string lastSentAfter, labelAfter;
    };
    const Case cases[] = {
        {"a file in the place of the folder Sent", "Sent",
         "SMS gesendet, aber nicht gespeichert: Ungültiger Dateiname", "07.12.2026 05:13:07", "6"},
        {"a folder in the place of user.ini", "user.ini",
         "SMS gesendet. In " + folder.File("user.ini") + " kann nicht geschrieben werden",
         "01.12.2026 08:00:00", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto server = UseSmtpServer({"250 ok", "250 ok"});
        std::filesystem::remove_all(folder.File("user.ini"));
        std::filesystem::remove_all(folder.File("Sent"));
        WriteBytes(folder.File("user.ini"), UserIniBefore);
        std::filesystem::remove(folder.File(c.blocked));
        if (c.blocked == "Sent")
            WriteBytes(folder.File("Sent"), "");
        else
            std::filesystem::create_directory(folder.File(c.blocked));
        settings.SMSThisMonth = 4;
        settings.LastSentSMS = "01.12.2026 08:00:00";
        window = FakeSendWindow();
        window.Recipient = "01711234567";
        window.Message = "abcdefghij"
                         "k";

        workflow.Send();

        EXPECT_EQ(window.StatusTexts.back(), c.status);
        EXPECT_EQ(settings.SMSThisMonth, 6);
        EXPECT_EQ(settings.LastSentSMS, c.lastSentAfter);
        EXPECT_EQ(window.SMSThisMonthLabel, c.labelAfter);
        if (c.blocked == "Sent") {
            EXPECT_EQ(File("user.ini"), "[SMS]\r\nLastSentSMS=07.12.2026 05:13:07\r\nSMSThisMonth=6\r\n");
        }
        EXPECT_EQ(window.Message, "");
        EXPECT_FALSE(smtp.IsConnected());
    }
}

// The server refuses the middle part of three. The error box says which part went out, and the
// next click with the same text to the same number sends only the other two, over the connection
// that stayed open; a changed text or number sends every part afresh.
TEST_F(SendWorkflowTest, APartlySentSmsSendsOnlyTheRestOnTheNextClick)
{
    const std::string text = "abcdefghij"
                             "klmnopqrst"
                             "uvwxy";
    const std::string part1 = "Subject: T:abcdefghij", part2 = "Subject: T:klmnopqrst";
    const std::string part3 = "Subject: T:uvwxy";
    struct Case
    {
        const char* label;
        bool lastSmsFirst;
        std::string retryNumber, retryText;
        std::vector<std::string> retried;
    };
    const Case cases[] = {
        {"text order", false, "01711234567", text, {part2, part3}},
        {"last part first", true, "01711234567", text, {part2, part1}},
        {"changed text", false, "01711234567", text + "!", {part1, part2, part3 + "!"}},
        {"changed number", false, "01719876543", text, {part1, part2, part3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> rcptReplies = {"250 ok", "550 unbekannt"};
        rcptReplies.resize(2 + c.retried.size(), "250 ok");
        auto server = UseSmtpServer(rcptReplies);
        settings.LastSMSFirst = c.lastSmsFirst;
        settings.SMSThisMonth = 4;
        WriteBytes(folder.File("user.ini"), UserIniBefore);
        window.Recipient = "01711234567";
        window.Message = text;

        EXPECT_THROW_MESSAGE(workflow.Send(), ESmsPartlySent,
                             std::string("550 unbekannt\r\nGesendet wurde Teil ") +
                                 (c.lastSmsFirst ? "3" : "1") +
                                 " von 3; ein erneuter Klick sendet nur die übrigen Teile.");
        EXPECT_EQ(window.Message, text);
        window.Recipient = c.retryNumber;
        window.Message = c.retryText;
        workflow.Send();

        EXPECT_EQ(settings.SMSThisMonth, 5 + static_cast<int>(c.retried.size()));
        EXPECT_EQ(window.Message, "");
        smtp.CloseConnection();
        std::vector<std::string> expected =
            Concat({{Ehlo()},
                    MessageLines(c.lastSmsFirst ? part3 : part1),
                    {"Rset", "Mail from:<ich@example.de>", "RCPT to:<491711234567@sms.example>"}});
        for (const std::string& subject : c.retried)
            expected =
                Concat({expected, MessageLines(subject, "49" + c.retryNumber.substr(1) + "@sms.example")});
        expected.push_back("Quit");
        EXPECT_EQ(server->Received(), expected);
    }
}

// A name of 250 characters makes an archive name within the file system's limit of 255 bytes.
TEST_F(SendWorkflowTest, ContactsOfTheAddressBookNameTheRecipientAndTheArchive)
{
    const std::string longName(250, 'L');
    WriteBytes(folder.File("Kontakte.vcf"), "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Max Mustermann\r\n"
                                            "TEL;TYPE=cell:+49 1711234567\r\nEND:VCARD\r\n"
                                            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:AC/DC Fan\r\n"
                                            "TEL;TYPE=cell:+49 (160) 987-6543\r\nEND:VCARD\r\n"
                                            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:" +
                                                longName + "\r\nTEL;TYPE=cell:0171/555123\r\nEND:VCARD\r\n");
    addressBook.Open();
    settings.UseOutlookAdressbook = true;

    struct Case
    {
        const char* label;
        std::string typed;
        bool chosenByName;
        std::string recipientAfter;
        std::string gateway;
        std::string archive;
    };
    const Case cases[] = {
        {"typed number of a contact", "01711234567", false, "Max Mustermann", "491711234567@sms.example",
         "Sent/Max_Mustermann_07-12-2026_05-13-07.SMS"},
        {"contact with separators chosen by a name with a slash", "AC/DC Fan", true, "AC/DC Fan",
         "491609876543@sms.example", "Sent/AC_DC_Fan_07-12-2026_05-13-07.SMS"},
        {"contact with a long name", longName, true, longName, "49171555123@sms.example",
         "Sent/" + longName.substr(0, 231) + "_07-12-2026_05-13-07.SMS"},
        {"number of no contact", "015112345678", false, "015112345678", "4915112345678@sms.example",
         "Sent/004915112345678_07-12-2026_05-13-07.SMS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto server = UseSmtpServer({"250 ok"});
        window = FakeSendWindow();
        window.Recipient = c.typed;
        window.Message = "Hallo";
        addressBook.ForgetRecipient();
        if (c.chosenByName) addressBook.ChooseByFullName(c.typed);

        workflow.Send();

        EXPECT_EQ(window.Recipient, c.recipientAfter);
        EXPECT_EQ(server->Received(),
                  Concat({{Ehlo()}, MessageLines("Subject: T:Hallo", c.gateway), {"Quit"}}));
        EXPECT_EQ(File(c.archive), "Hallo\r\n");
    }
}
