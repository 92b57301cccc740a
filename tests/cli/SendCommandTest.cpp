#include "cli/DialogueLog.h"
#include "tests/cli/SendFolder.h"
#include "tests/cli/SendProcess.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const std::string UsageLines = "Aufruf: tickerpost-send [Optionen] EMPFÄNGER... [-m TEXT]\n"
                               "„tickerpost-send --help“ zeigt alle Optionen.\n";

} // namespace

TEST(SendCommandTest, UsageAndTextRefusals)
{
    SendFolder files(1, 1, false);
    struct Case
    {
        const char* label;
        std::vector<std::string> args;
        int status;
        std::string err, outStart;
    };
    const Case cases[] = {
        {"no recipient", {}, 1, "Kein Empfänger angegeben.\n" + UsageLines, ""},
        {"unknown long option",
         {"--bogus", "0171"},
         1,
         "Unbekannte oder mehrdeutige Option: --bogus\n" + UsageLines,
         ""},
        {"unknown short option",
         {"-x", "0171"},
         1,
         "Unbekannte oder mehrdeutige Option: -x\n" + UsageLines,
         ""},
        {"ambiguous abbreviation",
         {"--ver", "0171"},
         1,
         "Unbekannte oder mehrdeutige Option: --ver\n" + UsageLines,
         ""},
        {"value missing", {"0171", "-m"}, 1, "Die Option -m braucht einen Wert.\n" + UsageLines, ""},
        {"value not taken",
         {"--dry-run=ja", "0171"},
         1,
         "Die Option --dry-run nimmt keinen Wert.\n" + UsageLines,
         ""},
        {"version", {"--version"}, 0, "", "tickerpost-send (Tickerpost) 2.0\n"},
        {"help", {"--help"}, 0, "", "Aufruf: tickerpost-send [Optionen] EMPFÄNGER... [-m TEXT]\nSendet"},
        {"a character the code page lacks",
         {"-m", "Grüße ☃ und ☃ €", "0171"},
         1,
         "Diese Zeichen kann der Zeichensatz des Systems nicht darstellen: ☃ (mit --replace werden sie durch "
         "„?“ ersetzt).\n",
         ""},
        {"after -- an option is a recipient", files.Args({"--dry-run", "--", "-m"}), 2,
         "Bitte gültige Nummer eingeben oder Kontakt auswählen\n", ""},
        {"values as --opt value and --opt=value, options after recipients",
         {"--dir", files.folder.Path(), "--dry-run", "01711234567", "--text", "x", "--replace"},
         0,
         "",
         "Empfänger: 491711234567@sms.example\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const SendRun run = RunSend(c.args);
        EXPECT_EQ(run.Status, c.status);
        EXPECT_EQ(run.Err, c.err);
        EXPECT_EQ(run.Out.substr(0, c.outStart.size()), c.outStart);
    }
}

// Each kind of failure gives its exit status and the text the window's error box or status bar
// would show; with several recipients each gets its line and the first failure gives the status.
TEST(SendCommandTest, EachFailureHasItsExitStatusAndMessage)
{
    using Step = ScriptedServer::Step;
    using Server = std::unique_ptr<ScriptedServer>;
    struct Case
    {
        const char* label;
        std::function<Server()> smtp, pop3;
        std::vector<std::string> iniLines, args;
        int status;
        std::string err;
    };
    auto none = [] { return Server(); };
    auto dialogue = [](std::vector<std::string> replies) {
        return [replies] { return std::make_unique<ScriptedServer>(replies); };
    };
    const Case cases[] = {
        {"connection refused",
         none,
         none,
         {},
         {"01711234567"},
         3,
         "Socket-Fehler # 10061\nVerbindung abgelehnt.\n"},
        {"greeting refused",
         dialogue({"554 geschlossen"}),
         none,
         {},
         {"01711234567"},
         4,
         "554 geschlossen.\n"},
        {"recipient refused by the server",
         dialogue({"220 gw", "250 gw", "250 ok", "250 ok", "550 unbekannt"}),
         none,
         {},
         {"01711234567"},
         4,
         "550 unbekannt.\n"},
        {"connection closed during the send",
         [] {
             return ScriptedServer::FromSteps({Step::Reply("220 gw"), Step::ReadLine(), Step::Reply("250 gw"),
                                               Step::ReadLine(), Step::Close()});
         },
         none,
         {},
         {"01711234567"},
         3,
         "Die Verbindung wurde erfolgreich geschlossen.\n"},
        {"a part refused after another went out",
         [] {
             std::vector<Step> steps = {Step::Reply("220 gw")};
             auto answer = [&steps](const char* reply, int lines) {
                 for (int i = 0; i < lines; ++i) steps.push_back(Step::ReadLine());
                 steps.push_back(Step::Reply(reply));
             };
             for (const char* reply : {"250 gw", "250 ok", "250 ok", "250 ok", "354 weiter"})
                 answer(reply, 1);
             answer("250 angenommen", 8); // the header's six lines, the blank line and "."
             for (const char* reply : {"250 ok", "250 ok", "550 unbekannt"}) answer(reply, 1);
             return ScriptedServer::FromSteps(steps);
         },
         none,
         {"MaxSMSLength=3"},
         {"01711234567"},
         4,
         "550 unbekannt\nGesendet wurde Teil 2 von 2; ein erneuter Klick sendet nur den übrigen Teil.\n"},
        {"POP3 log-in refused",
         none,
         dialogue({"+OK", "+OK", "-ERR falsch"}),
         {},
         {"01711234567"},
         4,
         "-ERR falsch.\n"},
        {"contact without a mobile number",
         none,
         none,
         {},
         {"Ohne Nummer"},
         2,
         "Kontakt hat keine Handynummer. SMS nicht geschickt.\n"},
        {"unknown contact",
         none,
         none,
         {},
         {"Niemand Bekanntes"},
         2,
         "Bitte gültige Nummer eingeben oder Kontakt auswählen\n"},
        {"settings error",
         none,
         none,
         {"MaxSMSLength=abc"},
         {"01711234567"},
         5,
         "'abc' ist kein gültiger Integerwert.\n"},
        {"no password and no terminal",
         none,
         none,
         {"LoginPassword=nicht gespeichert"},
         {"01711234567"},
         5,
         "Kein Passwort: user.ini enthält keines („nicht gespeichert“), TICKERPOST_PASSWORD ist nicht "
         "gesetzt und "
         "die Standardeingabe ist kein Terminal.\n"},
        {"several recipients: one line each, the first failure's status",
         none,
         none,
         {},
         {"0", "01711234567"},
         2,
         "0: Bitte gültige Nummer eingeben oder Kontakt auswählen\n"
         "01711234567: Socket-Fehler # 10061 Verbindung abgelehnt.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RefusingPort refusing;
        const Server smtp = c.smtp(), pop3 = c.pop3();
        SendFolder files(smtp ? smtp->Port() : refusing.Port(), pop3 ? pop3->Port() : refusing.Port(),
                         pop3 != nullptr, c.iniLines);
        const SendRun run = RunSend(files.Args(c.args), "Hallo");
        EXPECT_EQ(run.Status, c.status);
        EXPECT_EQ(run.Err, c.err);
        EXPECT_EQ(files.Count(), 5);
    }
}

TEST(SendCommandTest, TheDialogueLogMasksPasswordsAndAuthPayloads)
{
    struct Case
    {
        const char* label;
        std::string line;
        bool answersChallenge;
        std::string shown;
    };
    for (const Case& c :
         {Case{"POP3 password", "PASS geheim", false, "PASS ********"},
          Case{"in any case", "pass geheim", false, "pass ********"},
          Case{"AUTH with an initial response", "AUTH PLAIN AGljaABnZWhlaW0=", false, "AUTH PLAIN ********"},
          Case{"AUTH without a payload", "auth LOGIN", false, "auth LOGIN"},
          Case{"an answer to a 334 challenge", "Z2VoZWlt", true, "********"},
          Case{"any other line", "USER ich", false, "USER ich"}}) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MaskedLine(c.line, c.answersChallenge), c.shown);
    }
}
