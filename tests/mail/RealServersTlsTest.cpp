#include "mail/IdExceptions.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "tests/mail/MailTestText.h"
#include "tests/support/RealServers.h"
#include "tests/support/ReceivedMail.h"
#include "tests/support/TestCertificates.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char* const User = "ich";
const char* const Password = "geheim";

// Sends the two parts of an SMS with umlauts, authenticated, as the program does, and checks
// what the server received as Python's email package reads it.
void SendTwoPartsOver(TIdSecurity security, std::uint16_t port, const RealSmtpServer& server)
{
    FixedClock clock({2026, 12, 8, 9, 30, 0}, 60);
    TIdMessage message(clock);
    message.From().SetAddress("ich@example.de");
    message.From().SetName(Cp("Jürgen Müller"));
    message.Recipients().Add().SetAddress("49171@sms.example");
    const std::string parts[] = {Cp("(1/2) Schöne Grüße aus München, über den Bodensee"),
                                 Cp("(2/2) und zurück: Äpfel, Öl, Übermut, ß")};
    TIdSMTP smtp;
    smtp.SetHost("localhost");
    smtp.SetPort(port);
    smtp.SetSecurity(security);
    smtp.SetAuthenticationType(TAuthenticationType::atAutoSelect);
    smtp.SetUserId(User);
    smtp.SetPassword(Password);
    smtp.OpenConnection();
    EXPECT_EQ(smtp.AuthMechanism(), "PLAIN");
    ASSERT_NE(smtp.TlsInfo(), nullptr);
    EXPECT_EQ(smtp.TlsInfo()->Fingerprint, TestCertificates::Get().Good.Fingerprint);
    for (const std::string& part : parts) {
        message.SetSubject(part);
        smtp.Send(message);
    }
    smtp.CloseConnection();

    const std::vector<std::string> received = server.WaitForMessages(std::size(parts));
    ASSERT_EQ(received.size(), std::size(parts));
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        SCOPED_TRACE(i);
        const ReceivedMail mail = ReadAsPythonDoes(received[i]);
        EXPECT_EQ(mail.From, "Jürgen Müller <ich@example.de>");
        EXPECT_EQ(mail.To, "49171@sms.example");
        EXPECT_EQ(mail.Subject, CodePageToUtf8(parts[i], CodePage::Windows1252));
        EXPECT_EQ(mail.Defects, 0);
    }
}

void LogInAndOut(TIdSecurity security, std::uint16_t port)
{
    TIdPOP3 pop3;
    pop3.SetHost("localhost");
    pop3.SetPort(port);
    pop3.SetSecurity(security);
    pop3.SetUserId(User);
    pop3.SetPassword(Password);
    pop3.OpenConnection();
    EXPECT_TRUE(pop3.IsConnected());
    ASSERT_NE(pop3.TlsInfo(), nullptr);
    EXPECT_EQ(pop3.TlsInfo()->Subject, "O = Tickerpost Test, CN = localhost");
    pop3.CloseConnection();
    EXPECT_FALSE(pop3.IsConnected());
}

// A listener on ::1 that takes one connection and sends a greeting; none when the machine has no
// IPv6 loopback address.
class Ipv6Listener
{
public:
    Ipv6Listener()
    {
        fd_ = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_loopback;
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd_, 1) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin6_port);
    }
    ~Ipv6Listener()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Ipv6Listener(const Ipv6Listener&) = delete;
    Ipv6Listener& operator=(const Ipv6Listener&) = delete;

    std::uint16_t Port() const { return port_; }
    void Greet()
    {
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        ::send(client, "220 sechs\r\n", 11, MSG_NOSIGNAL);
        ::close(client);
    }

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace

TEST(RealServersTlsTest, SmtpSendsOverStartTlsWithAuth)
{
    RealSmtpServer server(User, Password);
    SendTwoPartsOver(TIdSecurity::StartTls, server.StartTlsPort(), server);
}

TEST(RealServersTlsTest, SmtpSendsOverTlsWithAuth)
{
    RealSmtpServer server(User, Password);
    SendTwoPartsOver(TIdSecurity::ImplicitTls, server.TlsPort(), server);
}

TEST(RealServersTlsTest, Pop3LogsInOverStls)
{
    RealPop3Server server(User, Password, Pop3Tls::On);
    LogInAndOut(TIdSecurity::StartTls, server.Port());
}

TEST(RealServersTlsTest, Pop3LogsInOverTls)
{
    RealPop3Server server(User, Password, Pop3Tls::On);
    LogInAndOut(TIdSecurity::ImplicitTls, server.TlsPort());
}

TEST(RealServersTlsTest, ConnectsToAnIpv6Literal)
{
    Ipv6Listener listener;
    if (listener.Port() == 0) GTEST_SKIP() << "this machine has no IPv6 loopback address";
    TIdTCPClient client;
    client.SetHost("::1");
    client.SetPort(listener.Port());
    client.OpenConnection();
    listener.Greet();
    EXPECT_EQ(client.SocketHandle().PeerAddress(), "::1");
    EXPECT_EQ(client.SocketHandle().LocalAddress(), "::1");
    EXPECT_EQ(client.ReadReply({220}), 220);
    client.CloseConnection();
}
