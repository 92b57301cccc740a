// Sends 100 messages over one connection to a real local SMTP server (aiosmtpd), once with this
// program's SMTP client and once with Python's smtplib, and prints the time per message of each
// and their ratio: in plain text, and over STARTTLS with AUTH (smtplib's starttls() and login(),
// both trusting the test CA). A run with Nagle's algorithm switched on shows what the delayed
// acknowledgement would cost. Then times one click's exchange over STARTTLS (connect, greeting,
// STARTTLS, AUTH, one message, Quit) and the TLS handshake alone, and prints the handshake's
// share of the click.

#include "mail/IdSMTP.h"
#include "runtime/CodePage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/RealServers.h"

#include <sys/resource.h>

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

// The same exchange with smtplib: connect and ehlo (with a user: STARTTLS, trust store from
// SSL_CERT_FILE as for the program, and AUTH), then per message Rset, MAIL, RCPT, DATA with the
// message and ".", finally QUIT. Prints the seconds it took.
const char* const SmtplibRun = R"(
import smtplib, ssl, sys, time
port, count, message = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3].encode("latin-1")
start = time.perf_counter()
client = smtplib.SMTP("127.0.0.1", port)
client.ehlo()
if len(sys.argv) > 4:
    client.starttls(context=ssl.create_default_context())
    client.login(sys.argv[4], sys.argv[5])
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

double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What one run connects with: plain on Port(), or STARTTLS with AUTH on StartTlsPort().
struct Connection
{
    bool encrypted = false;
    bool useNagle = false;
};

void SendOverOneConnection(const RealSmtpServer& server, TIdMessage& message, int count,
                           Connection connection)
{
    TIdSMTP smtp;
    smtp.SetUseNagle(connection.useNagle);
    smtp.SetHost("127.0.0.1");
    smtp.SetPort(server.Port());
    if (connection.encrypted) {
        smtp.SetPort(server.StartTlsPort());
        smtp.SetSecurity(TIdSecurity::StartTls);
        smtp.SetAuthenticationType(TAuthenticationType::atAutoSelect);
        smtp.SetUserId(User);
        smtp.SetPassword(Password);
    }
    smtp.OpenConnection();
    for (int i = 0; i < count; ++i) smtp.Send(message);
    smtp.CloseConnection();
}

double SmtplibSeconds(const RealSmtpServer& server, const std::string& messageText, bool encrypted)
{
    std::vector<std::string> arguments = {std::to_string(encrypted ? server.StartTlsPort() : server.Port()),
                                          std::to_string(MessagesPerRun),
                                          CodePageToUtf8(messageText, CodePage::Windows1252)};
    if (encrypted) arguments.insert(arguments.end(), {User, Password});
    return std::stod(RunPython(SmtplibRun, arguments));
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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double PerMessageMs(double seconds)
{
    return seconds * 1000.0 / MessagesPerRun;
}

// Median per-message times of both clients, alternating runs; prints them and their ratio.
void Compare(const char* title, const RealSmtpServer& server, TIdMessage& message,
             const std::string& messageText, bool encrypted, double target)
{
    std::vector<double> own, python;
    for (int run = 0; run < Runs; ++run) {
        own.push_back(
            SecondsOf([&] { SendOverOneConnection(server, message, MessagesPerRun, {encrypted}); }));
        python.push_back(SmtplibSeconds(server, messageText, encrypted));
    }
    const double ownMs = PerMessageMs(Median(own)), pythonMs = PerMessageMs(Median(python));
    std::printf("%d messages per connection to aiosmtpd on loopback, %s, median of %d runs\n", MessagesPerRun,
                title, Runs);
    std::printf("  TIdSMTP (TCP_NODELAY)    %7.3f ms per message\n", ownMs);
    std::printf("  Python smtplib           %7.3f ms per message\n", pythonMs);
    std::printf("  ratio TIdSMTP / smtplib  %7.2f (target: at most %.2f)\n", ownMs / pythonMs, target);
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
        message.SetSubject(Latin1("SMS: Schöne Grüße aus München, bis morgen!"));
        std::string messageText;
        for (const std::string& line : message.BuildHeader().Lines()) messageText += line + "\r\n";
        messageText += "\r\n";

        Compare("plain text", server, message, messageText, false, 1.5);
        const double nagle = SecondsOf([&] {
            SendOverOneConnection(server, message, MessagesPerRun, {false, true});
        });
        std::printf("  TIdSMTP with Nagle on    %7.3f ms per message (one run)\n", PerMessageMs(nagle));
        Compare("STARTTLS with AUTH", server, message, messageText, true, 1.0);

        std::vector<double> clicks, handshakes;
        for (int click = 0; click < Clicks; ++click) {
            clicks.push_back(SecondsOf([&] { SendOverOneConnection(server, message, 1, {true}); }));
            handshakes.push_back(HandshakeSeconds(server));
        }
        const double clickMs = Median(clicks) * 1000.0, handshakeMs = Median(handshakes) * 1000.0;
        std::printf(
            "One click over STARTTLS (connect, greeting, STARTTLS, AUTH, one message, Quit), median of "
            "%d\n",
            Clicks);
        std::printf("  click                    %7.3f ms\n", clickMs);
        std::printf("  TLS handshake alone      %7.3f ms (%.0f %% of the click)\n", handshakeMs,
                    100.0 * handshakeMs / clickMs);

        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("Peak resident memory of this program: %ld KiB\n", usage.ru_maxrss);
        std::printf(
            "Messages received by the server: %zu\n",
            server.WaitForMessages(static_cast<size_t>(MessagesPerRun * (4 * Runs + 1) + Clicks)).size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
