// Sends 100 messages over one STARTTLS connection with AUTH to a real local SMTP server (aiosmtpd
// with the test certificates), once with this program's SMTP client and once with Python's
// smtplib (starttls() and login()), and prints the time per message of each and their ratio.
// Then times one click's exchange (connect, greeting, STARTTLS, AUTH, one message, Quit) and the
// TLS handshake alone, and prints the handshake's share of the click.

#include "mail/IdSMTP.h"
#include "runtime/CodePage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RealServers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int MessagesPerRun = 100;
constexpr int Runs = 5;
constexpr int Clicks = 21;
const char* const User = "ich";
const char* const Password = "geheim";

// The same exchange with smtplib: connect, ehlo, STARTTLS (trust store from SSL_CERT_FILE, as
// for the program), ehlo, AUTH, then per message Rset, MAIL, RCPT, DATA with the message and ".",
// finally QUIT. Prints the seconds it took.
const char* const SmtplibRun = R"(
import smtplib, ssl, sys, time
port, count, message = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3].encode("latin-1")
start = time.perf_counter()
client = smtplib.SMTP("127.0.0.1", port)
client.starttls(context=ssl.create_default_context())
client.login(sys.argv[4], sys.argv[5])
for _ in range(count):
    client.rset()
    client.sendmail("ich@example.de", ["491711234567@sms.example"], message)
client.quit()
print(time.perf_counter() - start)
)";

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Configure(TIdSMTP& smtp, const RealSmtpServer& server)
{
    smtp.SetHost("127.0.0.1");
    smtp.SetPort(server.StartTlsPort());
    smtp.SetSecurity(TIdSecurity::StartTls);
    smtp.SetAuthenticationType(TAuthenticationType::atAutoSelect);
    smtp.SetUserId(User);
    smtp.SetPassword(Password);
}

void SendOverOneConnection(const RealSmtpServer& server, TIdMessage& message, int count)
{
    TIdSMTP smtp;
    Configure(smtp, server);
    smtp.OpenConnection();
    for (int i = 0; i < count; ++i) smtp.Send(message);
    smtp.CloseConnection();
}

// The handshake alone, on a connection that has just had its 220 to STARTTLS.
double HandshakeSeconds(const RealSmtpServer& server)
{
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(server.StartTlsPort());
    client.OpenConnection();
    client.ReadReply({220});
    client.SendCommand("ehlo " + client.LocalHostName(), 250);
    client.SendCommand("STARTTLS", 220);
    const double seconds = SecondsOf([&] { client.StartTls("127.0.0.1", ""); });
    client.CloseConnection();
    return seconds;
}

double SmtplibSeconds(const RealSmtpServer& server, const std::string& messageText)
{
    return std::stod(
        RunPython(SmtplibRun, {std::to_string(server.StartTlsPort()), std::to_string(MessagesPerRun),
                               CodePageToUtf8(messageText, CodePage::Windows1252), User, Password}));
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    try {
        RealSmtpServer server(User, Password);
        FixedClock clock({2026, 12, 7, 5, 13, 7}, 60);
        TIdMessage message(clock);
        message.From().SetAddress("ich@example.de");
        message.From().SetName("Dein Name");
        message.Recipients().Add().SetAddress("491711234567@sms.example");
        std::string unmappable;
        message.SetSubject(
            Utf8ToCodePage("SMS: Schöne Grüße aus München, bis morgen!", unmappable, CodePage::Windows1252));
        std::string messageText;
        for (const std::string& line : message.BuildHeader().Lines()) messageText += line + "\r\n";
        messageText += "\r\n";

        std::vector<double> own, python, clicks, handshakes;
        for (int run = 0; run < Runs; ++run) {
            own.push_back(SecondsOf([&] { SendOverOneConnection(server, message, MessagesPerRun); }));
            python.push_back(SmtplibSeconds(server, messageText));
        }
        for (int click = 0; click < Clicks; ++click) {
            clicks.push_back(SecondsOf([&] { SendOverOneConnection(server, message, 1); }));
            handshakes.push_back(HandshakeSeconds(server));
        }
        const double ownMs = Median(own) * 1000.0 / MessagesPerRun;
        const double pythonMs = Median(python) * 1000.0 / MessagesPerRun;
        const double clickMs = Median(clicks) * 1000.0, handshakeMs = Median(handshakes) * 1000.0;
        std::printf(
            "%d messages over one STARTTLS connection with AUTH to aiosmtpd on loopback, median of %d "
            "runs\n",
            MessagesPerRun, Runs);
        std::printf("  TIdSMTP                  %7.3f ms per message (%.1f ms per run)\n", ownMs,
                    Median(own) * 1000.0);
        std::printf("  Python smtplib           %7.3f ms per message (%.1f ms per run)\n", pythonMs,
                    Median(python) * 1000.0);
        std::printf("  ratio TIdSMTP / smtplib  %7.2f (target: at most 1.00)\n", ownMs / pythonMs);
        std::printf("One click (connect, greeting, STARTTLS, AUTH, one message, Quit), median of %d\n",
                    Clicks);
        std::printf("  click                    %7.3f ms\n", clickMs);
        std::printf("  TLS handshake alone      %7.3f ms (%.0f %% of the click)\n", handshakeMs,
                    100.0 * handshakeMs / clickMs);
        std::printf("  messages received by the server: %zu\n",
                    server.WaitForMessages(static_cast<size_t>(2 * MessagesPerRun * Runs + Clicks)).size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
