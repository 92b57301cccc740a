#include "mail/IdExceptions.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "tests/support/TlsTestServer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Step = TlsTestServer::Step;

std::vector<Step> Concat(std::initializer_list<std::vector<Step>> parts)
{
    std::vector<Step> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

enum class Protocol { Smtp, Pop3 };

struct Case
{
    const char* label;
    std::vector<Step> script;
    std::string error;                            // empty: the log-in succeeds
    std::vector<std::string> written;             // every line the client wrote, "EHLO" for its ehlo line
    const TestCertificate* certificate = nullptr; // the test CA's good one when null
    std::string pin{};
    Protocol protocol = Protocol::Smtp;
    TIdSecurity security = TIdSecurity::StartTls;
    bool clientHelloFollows = false; // the server records the first TLS bytes after the lines
};

} // namespace

// Each case fails at one point of the way to an encrypted, authenticated connection; nothing may
// go out after that point: no "Quit", no AUTH, no MAIL, no USER.
TEST(TlsFailuresTest, NothingMoreIsSentAfterTheFailurePoint)
{
    const TestCertificates& pki = TestCertificates::Get();
    const std::string plainAuth = "AUTH PLAIN AGljaABnZWhlaW0="; // "\0ich\0geheim"
    const std::vector<Step> starttlsAgreed = {Step::Send("220 gw ESMTP\r\n"), Step::ReadLine(),
                                              Step::Send("250-gw\r\n250-STARTTLS\r\n250 8BITMIME\r\n"),
                                              Step::ReadLine(), Step::Send("220 go ahead\r\n")};
    const std::vector<Step> encryptedEhlo = {Step::StartTls(), Step::ReadLine()};
    const std::string untrusted = "Das Zertifikat von localhost ist nicht vertrauenswürdig: ";
    const std::vector<std::string> toHandshake = {"EHLO", "STARTTLS"};
    const std::vector<std::string> toAuth = {"EHLO", "STARTTLS", "EHLO", plainAuth};
    const Case cases[] = {
        {"STARTTLS not offered",
         {Step::Send("220 gw\r\n"), Step::ReadLine(), Step::Send("250-gw\r\n250 AUTH PLAIN\r\n")},
         "Der Server localhost bietet keine Verschlüsselung (STARTTLS) an; es wurde nichts gesendet.",
         {"EHLO"}},
        {"STARTTLS answered 454",
         {Step::Send("220 gw\r\n"), Step::ReadLine(), Step::Send("250-gw\r\n250 STARTTLS\r\n"),
          Step::ReadLine(), Step::Send("454 4.7.0 TLS not available\r\n")},
         "454 4.7.0 TLS not available",
         toHandshake},
        {.label = "handshake cut off",
         .script = Concat({starttlsAgreed, {Step::CutHandshake()}}),
         .error =
             "Die TLS-Verbindung zu localhost ist gescheitert: der Server hat die Verbindung während des "
             "Aushandelns geschlossen.",
         .written = toHandshake,
         .clientHelloFollows = true},
        {"certificate for another name", Concat({starttlsAgreed, encryptedEhlo}),
         untrusted +
             "ausgestellt für einen anderen Namen. SHA-256-Fingerabdruck: " + pki.OtherName.Fingerprint,
         toHandshake, &pki.OtherName},
        {"expired certificate", Concat({starttlsAgreed, encryptedEhlo}),
         untrusted + "abgelaufen. SHA-256-Fingerabdruck: " + pki.Expired.Fingerprint, toHandshake,
         &pki.Expired},
        {"self-signed certificate", Concat({starttlsAgreed, encryptedEhlo}),
         untrusted + "selbst signiert. SHA-256-Fingerabdruck: " + pki.SelfSigned.Fingerprint, toHandshake,
         &pki.SelfSigned},
        {"self-signed certificate, pinned",
         Concat({starttlsAgreed,
                 encryptedEhlo,
                 {Step::Send("250-gw\r\n250 AUTH PLAIN LOGIN\r\n"), Step::ReadLine(),
                  Step::Send("235 ok\r\n")}}),
         "",
         {"EHLO", "STARTTLS", "EHLO", plainAuth, "Quit"},
         &pki.SelfSigned,
         pki.SelfSigned.Fingerprint},
        {"bytes smuggled behind the 220 to STARTTLS",
         {Step::Send("220 gw\r\n"), Step::ReadLine(), Step::Send("250-gw\r\n250 STARTTLS\r\n"),
          Step::ReadLine(), Step::Send("220 go ahead\r\n250-gw\r\n250 AUTH PLAIN\r\n"), Step::StartTls()},
         "Der Server localhost hat nach seiner Zusage zur Verschlüsselung unverschlüsselte Daten gesendet; "
         "die "
         "Verbindung wurde getrennt.",
         toHandshake},
        {"AUTH not offered",
         Concat({starttlsAgreed, encryptedEhlo, {Step::Send("250-gw\r\n250 8BITMIME\r\n")}}),
         "Der Server localhost bietet keine Anmeldung (SMTP AUTH mit PLAIN oder LOGIN) an; es wurde keine "
         "Nachricht gesendet.",
         {"EHLO", "STARTTLS", "EHLO"}},
        {"AUTH refused with 535",
         Concat({starttlsAgreed,
                 encryptedEhlo,
                 {Step::Send("250-gw\r\n250 AUTH LOGIN PLAIN\r\n"), Step::ReadLine(),
                  Step::Send("535 5.7.8 Authentication credentials invalid\r\n")}}),
         "535 5.7.8 Authentication credentials invalid", toAuth},
        {.label = "AUTH configured on a plain connection",
         .script = {},
         .error =
             "Die Anmeldung am Postausgangsserver (SMTP AUTH) ist nur über eine verschlüsselte Verbindung "
             "möglich; es wurde nichts gesendet.",
         .written = {},
         .security = TIdSecurity::None},
        {.label = "POP3 STLS refused",
         .script = {Step::Send("+OK POP3 ready\r\n"), Step::ReadLine(),
                    Step::Send("-ERR Command not permitted\r\n")},
         .error = "-ERR Command not permitted",
         .written = {"STLS"},
         .protocol = Protocol::Pop3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TlsTestServer server(c.certificate ? *c.certificate : pki.Good, c.script);
        std::unique_ptr<TIdMessageClient> client;
        if (c.protocol == Protocol::Smtp) {
            auto smtp = std::make_unique<TIdSMTP>();
            smtp->SetAuthenticationType(TAuthenticationType::atAutoSelect);
            client = std::move(smtp);
        } else {
            client = std::make_unique<TIdPOP3>();
        }
        std::vector<std::string> statuses;
        client->OnStatus = [&](TIdComponent&, TIdStatus, const std::string& text) {
            statuses.push_back(text);
        };
        client->SetHost("localhost");
        client->SetPort(server.Port());
        client->SetSecurity(c.security);
        client->SetCertificatePin(c.pin);
        client->SetUserId("ich");
        client->SetPassword("geheim");
        client->SetReplyTimeout(5000);
        try {
            client->OpenConnection();
            EXPECT_EQ(c.error, "");
            client->CloseConnection();
        } catch (const EIdException& e) {
            EXPECT_EQ(e.Message(), c.error);
            EXPECT_EQ(e.Message().find("geheim"), std::string::npos);
            EXPECT_FALSE(client->IsConnected());
        }
        if (c.script.empty()) {
            EXPECT_TRUE(statuses.empty()) << "nothing may be connected";
            continue;
        }
        std::vector<std::string> expected = c.written;
        for (std::string& line : expected)
            if (line == "EHLO") line = "ehlo " + client->LocalHostName();
        const std::string written = server.Received();
        const std::string lines = Joined(expected);
        if (c.clientHelloFollows) { // a TLS handshake record
            EXPECT_EQ(written.substr(0, lines.size() + 1), lines + '\x16');
        } else {
            EXPECT_EQ(written, lines);
        }
    }
}
