#include "core/ConnectionTest.h"
#include "mail/IdSMTP.h"
#include "tests/core/SendWorkflowFixture.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Texts = std::vector<std::string>;

std::string Ehlo()
{
    return "ehlo " + TIdSMTP().LocalHostName();
}

std::string Connected(int port)
{
    return "Verbunden mit 127.0.0.1, Port " + std::to_string(port);
}

// The fixture's account on 127.0.0.1; its workflow stays unused.
class ConnectionTestTest : public SendWorkflowFixture
{
};

} // namespace

// Each server's paragraph says how far it got, or ends with the error a send shows; the SMTP
// server is tried whatever POP3 did, and no mail command is ever sent. A server without replies
// refuses the connection.
TEST_F(ConnectionTestTest, ReportsPerServerWhatWasReachedOrTheErrorOfASend)
{
    struct Case
    {
        const char* label;
        bool pop3First;
        std::vector<std::string> pop3Replies, smtpReplies;
        std::function<void(TSettings&)> change;
        std::function<std::string(int pop3Port, int smtpPort)> report;
        Texts pop3Lines, smtpLines, status;
    };
    const std::string pop3Heading = "Posteingangsserver (POP3) 127.0.0.1:\n";
    const std::string smtpHeading = "\n\nPostausgangsserver (SMTP) 127.0.0.1:\n";
    const Texts bothTested = {"Teste Posteingangsserver (POP3)...", "Verbunden",
                              "Teste Postausgangsserver (SMTP)...", "Verbunden", "Verbindungstest beendet"};
    const Case cases[] = {
        {"POP3 first off",
         false,
         {},
         {"220 gw", "250 gw"},
         [](TSettings&) {},
         [&](int, int smtpPort) {
             return pop3Heading + "Nicht getestet, da \"Beim Posteingangsserver zuerst anmelden\" aus ist." +
                    smtpHeading + Connected(smtpPort) +
                    "\nUnverschlüsselt\nKeine Anmeldung (SMTP AUTH ist aus)";
         },
         {},
         {Ehlo(), "Quit"},
         {"Teste Postausgangsserver (SMTP)...", "Verbunden", "Verbindungstest beendet"}},
        {"POP3 refuses the password",
         true,
         {"+OK bereit", "+OK Benutzer", "-ERR falsches Kennwort"},
         {"220 gw", "250 gw"},
         [](TSettings&) {},
         [&](int pop3Port, int smtpPort) {
             return pop3Heading + Connected(pop3Port) + "\nFehler: -ERR falsches Kennwort." + smtpHeading +
                    Connected(smtpPort) + "\nUnverschlüsselt\nKeine Anmeldung (SMTP AUTH ist aus)";
         },
         {"USER ich", "PASS geheim", "Quit"},
         {Ehlo(), "Quit"},
         bothTested},
        {"SMTP refuses the connection",
         true,
         {"+OK bereit", "+OK Benutzer", "+OK angemeldet"},
         {},
         [](TSettings&) {},
         [&](int pop3Port, int) {
             return pop3Heading + Connected(pop3Port) + "\nUnverschlüsselt\nAnmeldung erfolgreich" +
                    smtpHeading + "Fehler: Socket-Fehler # 10061\r\nVerbindung abgelehnt.";
         },
         {"USER ich", "PASS geheim", "Quit"},
         {},
         {"Teste Posteingangsserver (POP3)...", "Verbunden", "Teste Postausgangsserver (SMTP)...",
          "Verbindungstest beendet"}},
        {"AUTH meant for a plain connection",
         false,
         {},
         {},
         [](TSettings& s) { s.SMTPAuth = true; },
         [&](int, int) {
             return pop3Heading + "Nicht getestet, da \"Beim Posteingangsserver zuerst anmelden\" aus ist." +
                    smtpHeading +
                    "Fehler: Die Anmeldung am Postausgangsserver (SMTP AUTH) ist nur über eine "
                    "verschlüsselte "
                    "Verbindung möglich; es wurde nichts gesendet.";
         },
         {},
         {},
         {"Teste Postausgangsserver (SMTP)...", "Verbindungstest beendet"}},
        {"connection keys no connection can use",
         true,
         {},
         {},
         [](TSettings& s) { s.POP3Port = 0, s.SMTPSecurity = 5; },
         [&](int, int) {
             return pop3Heading +
                    "Fehler: Der POP3-Port '0' ist ungültig; möglich sind ganze Zahlen von 1 bis 65535." +
                    smtpHeading +
                    "Fehler: Die SMTP-Verschlüsselung 5 in den Einstellungen ist unbekannt; möglich sind "
                    "Keine (0), "
                    "STARTTLS (1) und SSL/TLS (2).";
         },
         {},
         {},
         {"Teste Posteingangsserver (POP3)...", "Teste Postausgangsserver (SMTP)...",
          "Verbindungstest beendet"}},
    };
    RefusingPort refusing;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<ScriptedServer> pop3, smtp;
        if (!c.pop3Replies.empty()) pop3 = std::make_unique<ScriptedServer>(c.pop3Replies);
        if (!c.smtpReplies.empty()) smtp = std::make_unique<ScriptedServer>(c.smtpReplies);
        TSettings tested = settings;
        tested.Pop3First = c.pop3First;
        tested.POP3Port = pop3 ? pop3->Port() : refusing.Port();
        tested.SMTPPort = smtp ? smtp->Port() : refusing.Port();
        const int pop3Port = tested.POP3Port, smtpPort = tested.SMTPPort;
        c.change(tested);
        Texts status;

        const std::string report =
            TestConnection(tested, [&](const std::string& text) { status.push_back(text); });

        EXPECT_EQ(report, c.report(pop3Port, smtpPort));
        EXPECT_EQ(status, c.status);
        if (pop3) {
            EXPECT_EQ(pop3->Received(), c.pop3Lines);
        }
        if (smtp) {
            EXPECT_EQ(smtp->Received(), c.smtpLines);
        }
    }
}
