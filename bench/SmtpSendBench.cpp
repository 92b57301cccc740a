// Sends 100 messages over one connection to a real local SMTP server (aiosmtpd), once with this
// program's SMTP client and once with Python's smtplib, and prints the time per message of each
// and their ratio. A run with Nagle's algorithm switched on shows what the delayed
// acknowledgement would cost.

#include "mail/IdSMTP.h"
#include "runtime/CodePage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RealServers.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int MessagesPerRun = 100;
constexpr int Runs = 5;

// The same exchange with smtplib: connect and ehlo, then per message Rset, MAIL, RCPT, DATA with
// the message and ".", finally QUIT. Prints the seconds it took.
const char* const SmtplibRun = R"(
import smtplib, sys, time
port, count, message = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3].encode("latin-1")
start = time.perf_counter()
client = smtplib.SMTP("127.0.0.1", port)
client.ehlo()
for _ in range(count):
    client.rset()
    client.sendmail("ich@example.de", ["491711234567@sms.example"], message)
client.quit()
print(time.perf_counter() - start)
)";

std::string Latin1(const char* utf8)
{
    std::string unmappable;
    return Utf8ToCodePage(utf8, unmappable, CodePage::Windows1252);
}

double OwnClientSeconds(const RealSmtpServer& server, TIdMessage& message, bool useNagle)
{
    const auto start = std::chrono::steady_clock::now();
    TIdSMTP smtp;
    smtp.SetUseNagle(useNagle);
    smtp.SetHost("127.0.0.1");
    smtp.SetPort(server.Port());
    smtp.OpenConnection();
    for (int i = 0; i < MessagesPerRun; ++i) smtp.Send(message);
    smtp.CloseConnection();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double SmtplibSeconds(const RealSmtpServer& server, const std::string& messageText)
{
    return std::stod(RunPython(SmtplibRun, {std::to_string(server.Port()), std::to_string(MessagesPerRun),
                                            CodePageToUtf8(messageText, CodePage::Windows1252)}));
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double PerMessageMs(double seconds)
{
    return seconds * 1000.0 / MessagesPerRun;
}

} // namespace

int main()
{
    try {
        RealSmtpServer server;
        FixedClock clock({2026, 12, 7, 5, 13, 7}, 60);
        TIdMessage message(clock);
        message.From().SetAddress("ich@example.de");
        message.From().SetName("Dein Name");
        message.Recipients().Add().SetAddress("491711234567@sms.example");
        message.SetSubject(Latin1("SMS: Schöne Grüße aus München, bis morgen!"));
        std::string messageText;
        for (const std::string& line : message.BuildHeader().Lines()) messageText += line + "\r\n";
        messageText += "\r\n";

        std::vector<double> own, python;
        for (int run = 0; run < Runs; ++run) {
            own.push_back(OwnClientSeconds(server, message, false));
            python.push_back(SmtplibSeconds(server, messageText));
        }
        const double nagle = OwnClientSeconds(server, message, true);
        const double ownMs = PerMessageMs(Median(own)), pythonMs = PerMessageMs(Median(python));
        std::printf("%d messages per connection to aiosmtpd on loopback, median of %d runs\n", MessagesPerRun,
                    Runs);
        std::printf("  TIdSMTP (TCP_NODELAY)    %7.3f ms per message\n", ownMs);
        std::printf("  Python smtplib           %7.3f ms per message\n", pythonMs);
        std::printf("  ratio TIdSMTP / smtplib  %7.2f (target: at most 1.50)\n", ownMs / pythonMs);
        std::printf("  TIdSMTP with Nagle on    %7.3f ms per message (one run)\n", PerMessageMs(nagle));
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("  peak resident memory of this program: %ld KiB\n", usage.ru_maxrss);
        std::printf("  messages received by the server: %zu\n",
                    server.WaitForMessages(static_cast<size_t>(MessagesPerRun * (2 * Runs + 1))).size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
