#include "mail/IdTlsSession.h"

#include "mail/IdExceptions.h"
#include "mail/IdSocketHandle.h"
#include "mail/MailMessages.h"
#include "tests/support/TlsTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

using Step = TlsTestServer::Step;

// A socket connected to a loopback server, for a TLS session through the socket handle.
struct TlsClient
{
    explicit TlsClient(std::uint16_t port)
    {
        socket.AllocateSocket();
        socket.SetPeer("127.0.0.1", port);
        if (socket.Connect(5000) == -1)
            throw std::runtime_error("cannot connect to the test server: " +
                                     std::to_string(SocketLayer().LastError()));
    }
    TIdSocketHandle socket;
};

std::string LowercaseWithoutColons(std::string fingerprint)
{
    std::erase(fingerprint, ':');
    std::transform(fingerprint.begin(), fingerprint.end(), fingerprint.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return fingerprint;
}

class IdTlsSessionTest : public ::testing::Test
{
protected:
    void SetUp() override { StartSocketLayer(); }
    void TearDown() override { StopSocketLayer(); }

    const TestCertificates& pki = TestCertificates::Get(); // before the first handshake
};

TEST_F(IdTlsSessionTest, AcceptsExactlyTrustedOrPinnedCertificates)
{
    auto untrusted = [](const std::string& host, const std::string& reason,
                        const TestCertificate& certificate) {
        return "Das Zertifikat von " + host + " ist nicht vertrauenswürdig: " + reason +
               ". SHA-256-Fingerabdruck: " + certificate.Fingerprint;
    };
    const std::string failed = "Die TLS-Verbindung zu localhost ist gescheitert: ";
    const std::vector<Step> tls = {Step::StartTls()};
    struct Case
    {
        const char* label;
        const TestCertificate& certificate;
        std::string host, pin;
        std::vector<Step> script;
        std::string error; // empty: the handshake succeeds
        int timeoutMs = 5000;
    };
    const Case cases[] = {
        {"trusted chain", pki.Good, "localhost", "", tls, ""},
        {"trusted chain, address literal", pki.Good, "127.0.0.1", "", tls, ""},
        {"trusted chain, pin of another certificate", pki.Good, "localhost", pki.SelfSigned.Fingerprint, tls,
         ""},
        {"unknown issuer", pki.UnknownIssuer, "localhost", "", tls,
         untrusted("localhost", "unbekannter Aussteller", pki.UnknownIssuer)},
        {"self-signed", pki.SelfSigned, "localhost", "", tls,
         untrusted("localhost", "selbst signiert", pki.SelfSigned)},
        {"self-signed, pinned", pki.SelfSigned, "localhost", pki.SelfSigned.Fingerprint, tls, ""},
        {"self-signed, pinned without colons in lower case", pki.SelfSigned, "localhost",
         LowercaseWithoutColons(pki.SelfSigned.Fingerprint), tls, ""},
        {"self-signed, pin of another certificate", pki.SelfSigned, "localhost", pki.Good.Fingerprint, tls,
         untrusted("localhost", "selbst signiert", pki.SelfSigned)},
        {"expired", pki.Expired, "localhost", "", tls, untrusted("localhost", "abgelaufen", pki.Expired)},
        {"expired, pinned", pki.Expired, "localhost", pki.Expired.Fingerprint, tls, ""},
        {"not yet valid", pki.NotYetValid, "localhost", "", tls,
         untrusted("localhost", "noch nicht gültig", pki.NotYetValid)},
        {"another name", pki.OtherName, "localhost", "", tls,
         untrusted("localhost", "ausgestellt für einen anderen Namen", pki.OtherName)},
        {"another address", pki.OtherName, "127.0.0.1", "", tls,
         untrusted("127.0.0.1", "ausgestellt für einen anderen Namen", pki.OtherName)},
        {"another name, pinned", pki.OtherName, "localhost", pki.OtherName.Fingerprint, tls, ""},
        {"handshake cut off",
         pki.Good,
         "localhost",
         "",
         {Step::CutHandshake()},
         failed + "der Server hat die Verbindung während des Aushandelns geschlossen."},
        {"server offering TLS 1.1 at most",
         pki.Good,
         "localhost",
         "",
         {Step::StartOldTls()},
         failed + "der Server bietet kein TLS 1.2 oder neuer an."},
        {"server without TLS",
         pki.Good,
         "localhost",
         "",
         {Step::Send("220 mail.example.de ESMTP\r\n")},
         failed + "der Server antwortet nicht mit TLS."},
        {"silent server",
         pki.Good,
         "localhost",
         "",
         {Step::Stall()},
         MailMessages::SocketErrorText(WSAETIMEDOUT),
         300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TlsTestServer server(c.certificate, c.script);
        TlsClient client(server.Port());
        try {
            client.socket.StartTls(c.host, c.pin, c.timeoutMs);
            EXPECT_EQ(c.error, "");
            EXPECT_EQ(client.socket.TlsInfo()->Fingerprint, c.certificate.Fingerprint);
            client.socket.CloseSocket();
            server.Received();
            EXPECT_EQ(server.ServerName(), c.host == "127.0.0.1" ? "" : c.host); // no SNI for an address
        } catch (const EIdException& e) {
            EXPECT_EQ(e.Message(), c.error);
            EXPECT_FALSE(client.socket.IsOpen()) << "nothing more may go over a failed session's socket";
        }
    }
}

TEST_F(IdTlsSessionTest, CarriesApplicationBytesBothWaysAndClosesCleanly)
{
    TlsTestServer server(pki.Good, {Step::StartTls(), Step::Send(std::string(100, 'g')), Step::Echo()});
    TlsClient client(server.Port());
    TIdSocketHandle& socket = client.socket;
    socket.StartTls("localhost", "", 5000);
    EXPECT_EQ(socket.TlsInfo()->Version, "TLSv1.3");
    EXPECT_EQ(socket.TlsInfo()->Subject, "O = Tickerpost Test, CN = localhost");
    EXPECT_EQ(socket.TlsInfo()->Issuer, "O = Tickerpost Test, CN = ca");

    char buffer[16384];
    ASSERT_TRUE(socket.Readable(5000));
    EXPECT_EQ(socket.Receive(buffer, 10), 10);
    EXPECT_TRUE(socket.Readable(0)); // the 90 bytes left of the record are decrypted already
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 90);
    EXPECT_FALSE(socket.Readable(100)); // the socket tickets that follow hold no application bytes

    const std::string sent(40000, 'x'); // more than two records
    EXPECT_EQ(socket.Send(sent.data(), static_cast<int>(sent.size())), static_cast<int>(sent.size()));
    std::string echoed;
    while (echoed.size() < sent.size() && socket.Readable(5000)) {
        const int n = socket.Receive(buffer, sizeof buffer);
        if (n <= 0) break;
        echoed.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(echoed, sent);
    socket.CloseSocket();
    EXPECT_EQ(server.Received(), sent);
    EXPECT_TRUE(server.ClientSentCloseNotify());
}

} // namespace
