// Times one click of "SMS Senden" sending a 3-part SMS (350 characters with umlauts) to a real
// local SMTP server (aiosmtpd): connect, greet, three mails, the archive file, user.ini, Quit.
// Prints the median time per click and the spread.

#include "core/SendWorkflow.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/mail/MailTestText.h"
#include "tests/support/RealServers.h"
#include "tests/support/TempFolder.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Clicks = 50;

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

} // namespace

int main()
{
    try {
        RealSmtpServer server;
        TempFolder folder("tickerpost-bench");
        SystemClock clock;
        TIdSMTP smtp;
        smtp.SetPort(server.Port());
        TIdPOP3 pop3;
        TIdMessage email(clock);
        TSettings settings = LoopbackSettings();
        NoContactForm contactForm;
        AddressBookLink addressBook(ContactsFilePath(folder.Path() + "/"), contactForm);
        FakeSendWindow window;
        TSendWorkflow workflow({smtp, pop3, email, settings, addressBook, clock, folder.Path() + "/"},
                               window);
        const std::string text = ThreePartMessage();

        std::vector<double> ms;
        for (int click = 0; click < Clicks; ++click) {
            window.Recipient = "01711234567";
            window.Message = text;
            const auto start = std::chrono::steady_clock::now();
            workflow.BSendSMSClick();
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%d clicks, each sending a 3-part SMS to aiosmtpd on loopback\n", Clicks);
        std::printf("  median %7.3f ms per click (fastest %.3f, slowest %.3f)\n", ms[ms.size() / 2],
                    ms.front(), ms.back());
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("  peak resident memory of this program: %ld KiB\n", usage.ru_maxrss);
        std::printf("  messages received by the server: %zu\n",
                    server.WaitForMessages(static_cast<size_t>(3 * Clicks)).size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
