// Times one click of "SMS Senden" sending a 3-part SMS (350 characters with umlauts) to a real
// local SMTP server (aiosmtpd): connect, greet, three mails, the archive file, user.ini, Quit.
// Beside it, Python's smtplib sends the same three mails over one connection per run, so the
// ratio shows what a click adds to the server's own time. Last, the record's user.ini update as
// one replacement against the two single-key replacements it used to be.

#include "core/SendWorkflow.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/mail/MailTestText.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RealServers.h"
#include "tests/support/TempFolder.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

namespace {

constexpr int Clicks = 50;
constexpr int UserIniWrites = 100;

// Per run: connect and ehlo, the three mails, QUIT. Prints the seconds of each run, one a line.
const char* const SmtplibClicks = R"(
import smtplib, sys, time
port, runs, messages = int(sys.argv[1]), int(sys.argv[2]), [m.encode("ascii") for m in sys.argv[3:]]
for _ in range(runs):
    start = time.perf_counter()
    client = smtplib.SMTP("127.0.0.1", port)
    client.ehlo()
    for message in messages:
        client.sendmail("ich@example.de", ["491711234567@sms.example"], message)
    client.quit()
    print(time.perf_counter() - start)
)";

std::string ThreePartMessage()
{
    std::string text;
    while (text.size() < 350)
        text += Cp("Schöne Grüße aus Köln, wo die Straßen nass sind; Übermorgen fahren wir. ");
    return text.substr(0, 350);
}

TSettings LoopbackSettings()
{
    TSettings settings;
    settings.LoginPassword = "geheim";
    settings.SMTPServer = "127.0.0.1";
    settings.Pop3First = false;
    settings.eMailAdress = "ich@example.de";
    settings.SMSServer = "sms.example";
    settings.FormatToken = "SMS:";
    settings.UseOutlookAdressbook = false;
    return settings;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Ms(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double MedianMs(int runs, const std::function<void()>& run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) ms.push_back(Ms(run));
    return Median(ms);
}

double SmtplibMedianMs(const RealSmtpServer& server, const std::vector<std::string>& mails)
{
    std::vector<std::string> arguments{std::to_string(server.Port()), std::to_string(Clicks)};
    arguments.insert(arguments.end(), mails.begin(), mails.end());
    std::istringstream output(RunPython(SmtplibClicks, arguments));
    std::vector<double> ms;
    for (double seconds; output >> seconds;) ms.push_back(seconds * 1000.0);
    return Median(ms);
}

} // namespace

int main()
{
    try {
        RealSmtpServer server;
        TempFolder folder("tickerpost-bench");
        SystemClock clock;
        TIdSMTP smtp;
        TIdPOP3 pop3;
        TIdMessage email(clock);
        TSettings settings = LoopbackSettings();
        settings.SMTPPort = server.Port();
        NoContactForm contactForm;
        AddressBookLink addressBook(ContactsFilePath(folder.Path() + "/"), contactForm);
        FakeSendWindow window;
        TSendWorkflow workflow({smtp, pop3, email, settings, addressBook, clock, folder.Path() + "/"},
                               window);
        const std::string text = ThreePartMessage();

        const double clickMs = MedianMs(Clicks, [&] {
            window.Recipient = "01711234567";
            window.Message = text;
            workflow.Send();
        });
        const std::vector<std::string> clickMails = server.WaitForMessages(static_cast<size_t>(3 * Clicks));
        const double smtplibMs = SmtplibMedianMs(server, {clickMails.end() - 3, clickMails.end()});

        IniFile userIni(SettingsFilePath(folder.Path() + "/"));
        // Taken in turns, so that both see the same state of the disk.
        std::vector<double> oneWrite, twoWrites;
        for (int i = 0; i < UserIniWrites; ++i) {
            oneWrite.push_back(Ms([&] {
                WriteSettings(userIni, settings, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
            }));
            twoWrites.push_back(Ms([&] {
                WriteSetting(userIni, settings, &TSettings::LastSentSMS);
                WriteSetting(userIni, settings, &TSettings::SMSThisMonth);
            }));
        }
        const double oneWriteMs = Median(oneWrite), twoWritesMs = Median(twoWrites);

        std::printf("A 3-part SMS to aiosmtpd on loopback, median of %d runs\n", Clicks);
        std::printf("  one click of \"SMS Senden\"       %7.3f ms\n", clickMs);
        std::printf("  Python smtplib, the same mails  %7.3f ms\n", smtplibMs);
        std::printf("  ratio click / smtplib           %7.2f\n", clickMs / smtplibMs);
        std::printf("user.ini after a send, median of %d runs\n", UserIniWrites);
        std::printf("  both keys in one replacement    %7.3f ms (as a click does)\n", oneWriteMs);
        std::printf("  one replacement per key         %7.3f ms\n", twoWritesMs);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("  peak resident memory of this program: %ld KiB\n", usage.ru_maxrss);
        std::printf("  messages received by the server: %zu\n",
                    server.WaitForMessages(static_cast<size_t>(6 * Clicks)).size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
