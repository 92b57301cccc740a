#include "core/SendWorkflow.h"
#include "mail/IdGlobal.h"
#include "tests/cli/SendFolder.h"
#include "tests/cli/SendProcess.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/support/RealServersTest.h"
#include "tests/support/ReceivedMail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <thread>

namespace {

class SendCommandRealServersTest : public RealServersTest<>
{
protected:
    void SetUp() override { MarkReceived(); }
};

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// One mail's header as the wire carries it, with the Date line of `sentAt`.
std::string MailHeader(const std::string& subject, const std::string& to, const DateTime& sentAt)
{
    return "From: =?ISO-8859-1?Q?J=FCrgen_M=FCller?= <ich@example.de>\r\nSubject: " + subject +
           "\r\nTo: " + to + "\r\nDate: " + DateTimeToMailDate(sentAt, SystemClock()) +
           "\r\nX-Priority: 3\r\nX-Library: Tickerpost 2.0\r\n\r\n";
}

} // namespace

TEST_F(SendCommandRealServersTest, TextFromStandardInputWithThePasswordFromTheEnvironment)
{
    SendFolder files(smtpServer->Port(), pop3Server->Port(), true, {"LoginPassword=nicht gespeichert"});

    const SendRun run =
        RunSend(files.Args({"01711234567"}), "Grüße aus Köln\nbis morgen\n", {"TICKERPOST_PASSWORD=geheim"});

    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "SMS gesendet und gespeichert.\n");
    const std::vector<std::string> received = NewMessages(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(ReadAsPythonDoes(received[0]),
              (ReceivedMail{"Jürgen Müller <ich@example.de>", "491711234567@sms.example",
                            "SMS:Grüße aus Köln\r\nbis morgen", "", 0}));
    const std::vector<std::string> archive = files.ArchiveFiles();
    ASSERT_EQ(archive.size(), 1u);
    EXPECT_EQ(files.folder.Read("Sent/" + archive[0]), Cp("Grüße aus Köln\r\nbis morgen\r\n"));
    EXPECT_EQ(files.Count(), 6);
}

TEST_F(SendCommandRealServersTest, ThreeRecipientsOverOneLogInAndOneConnectionWithTheDialogueMasked)
{
    SendFolder files(smtpServer->Port(), pop3Server->Port(), true);

    const SendRun run =
        RunSend(files.Args({"--verbose", "01711234567", "Eva Krüger", "+491609999999", "-m", "Hallo"}));

    EXPECT_EQ(run.Status, 0) << run.Err;
    std::vector<std::string> to;
    for (const std::string& message : NewMessages(3)) to.push_back(ReadAsPythonDoes(message).To);
    EXPECT_EQ(to, (std::vector<std::string>{"491711234567@sms.example", "491719876543@sms.example",
                                            "491609999999@sms.example"}));
    for (const char* line :
         {"01711234567: SMS gesendet und gespeichert.\n", "Eva Krüger: SMS gesendet und gespeichert.\n",
          "+491609999999: SMS gesendet und gespeichert.\n", "POP3 > PASS ********\n"})
        EXPECT_EQ(Occurrences(run.Err, line), 1u) << line;
    EXPECT_EQ(Occurrences(run.Err, "POP3 > USER ich\n"), 1u);
    EXPECT_EQ(Occurrences(run.Err, "SMTP > ehlo "), 1u);
    EXPECT_EQ(Occurrences(run.Err, "SMTP > Quit\n"), 1u);
    EXPECT_EQ(Occurrences(run.Err, "geheim"), 0u);
    EXPECT_EQ(files.Count(), 8);
    const std::vector<std::string> archive = files.ArchiveFiles();
    EXPECT_EQ(archive.size(), 3u);
    EXPECT_EQ(std::count_if(archive.begin(), archive.end(),
                            [](const std::string& name) { return name.starts_with("Eva_Krüger_"); }),
              1);
}

TEST_F(SendCommandRealServersTest, DryRunPrintsTheMailsByteForByteAndTouchesNothing)
{
    SendFolder files(smtpServer->Port(), pop3Server->Port(), true, {"MaxSMSLength=10"});
    const std::string iniBefore = files.folder.Read("user.ini");
    SystemClock clock;
    const DateTime before = clock.Now();

    const SendRun run =
        RunSend(files.Args({"--dry-run", "01711234567", "Eva Krüger", "-m", "abcdefghijklm"}));

    const DateTime after = clock.Now();
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    // The mails carry the time of the run: one of the seconds from before to after it.
    auto expected = [](const DateTime& at) {
        const std::string to1 = "491711234567@sms.example", to2 = "491719876543@sms.example";
        return "Empfänger: " + to1 + "\r\n" + MailHeader("SMS:klm", to1, at) +
               MailHeader("SMS:abcdefghij", to1, at) + "Empfänger: " + to2 + "\r\n" +
               MailHeader("SMS:klm", to2, at) + MailHeader("SMS:abcdefghij", to2, at);
    };
    bool matched = run.Out == expected(before) || run.Out == expected(after);
    EXPECT_TRUE(matched) << run.Out << "\nexpected:\n" << expected(before);
    EXPECT_EQ(files.folder.Read("user.ini"), iniBefore);
    EXPECT_EQ(files.ArchiveFiles().size(), 0u);
    EXPECT_FALSE(std::filesystem::exists(files.folder.File("user.ini.lock")));
    EXPECT_FALSE(std::filesystem::exists(files.folder.File("Sent")));
    EXPECT_EQ(ReceivedSinceMark(), 0u);
}

// Twenty alerts fired at once while the window sends: every part is counted once, and every SMS
// has its own archive file, although all go to one number within the same few seconds.
TEST_F(SendCommandRealServersTest, TwentyProcessesAndTheWindowCountEveryPartAndKeepEveryArchiveFile)
{
    constexpr int Processes = 20;
    const std::string windowText(200, 'w'); // two parts
    SendFolder files(smtpServer->Port(), 0, false);
    std::vector<std::unique_ptr<SendProcess>> processes;
    for (int i = 0; i < Processes; ++i)
        processes.push_back(
            std::make_unique<SendProcess>(files.Args({"01711234567", "-m", "Alarm " + std::to_string(i)})));
    std::thread windowThread([&] {
        SystemClock clock;
        TSettings settings;
        LoadSettings(settings, IniFile(files.folder.File("user.ini")), clock);
        TIdSMTP smtp;
        TIdPOP3 pop3;
        TIdMessage email(clock);
        NoContactForm form;
        AddressBookLink addressBook(files.folder.File("Kontakte.vcf"), form);
        FakeSendWindow window;
        TSendWorkflow workflow({smtp, pop3, email, settings, addressBook, clock, files.folder.Folder()},
                               window);
        for (int click = 0; click < 2; ++click) {
            window.Recipient = "01711234567";
            window.Message = windowText;
            workflow.Send();
        }
    });
    std::vector<int> statuses;
    for (auto& process : processes) statuses.push_back(process->Wait().Status);
    windowThread.join();

    EXPECT_EQ(statuses, std::vector<int>(Processes, 0));
    EXPECT_EQ(NewMessages(Processes + 4).size(), static_cast<std::size_t>(Processes + 4));
    EXPECT_EQ(files.Count(), 5 + Processes + 4);
    std::multiset<std::string> texts;
    for (const std::string& name : files.ArchiveFiles()) texts.insert(files.folder.Read("Sent/" + name));
    std::multiset<std::string> expected = {windowText + "\r\n", windowText + "\r\n"};
    for (int i = 0; i < Processes; ++i) expected.insert("Alarm " + std::to_string(i) + "\r\n");
    EXPECT_EQ(texts, expected);
}
