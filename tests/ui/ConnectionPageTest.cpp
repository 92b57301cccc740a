#include "TestProgramFolder.h"

#include "mail/IdSMTP.h"
#include "runtime/IniFile.h"
#include "tests/mail/support/ScriptedServer.h"
#include "tests/support/RealServers.h"
#include "ui/SetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <filesystem>

// The settings dialog's page "Verbindung": its entries, the ports that follow the encryption, the
// refusal of a port that is none, and "Verbindung testen" against scripted servers.
class ConnectionPageTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheStoredKeysAndTheEntries();
    void aStandardPortFollowsTheEncryptionATypedOneStays();
    void anUnusablePortOrEncryptionIsRefusedAndNothingIsStored();
    void acceptKeepsThePinnedCertificates();
    void testButtonReachesTheServersShownAndSendsNoMail();
    void testButtonReportsTlsAndAuthOfTheRealServers();

private:
    template <class T> T* Find(TFSetupDialog& dialog, const char* name)
    {
        return FindControl<T>(dialog, name);
    }
    std::string IniPath() const { return SettingsFilePath(folder_->Path()); }
    QStringList Messages() const { return captured_->Texts(); }
    // Picks entry `index` with the keyboard, as a user does: each step is a choice of the user.
    static void Choose(QComboBox* box, int index)
    {
        box->setFocus();
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
    }

    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<CapturedMessages> captured_;
    TSettings settings_;
};

void ConnectionPageTest::init()
{
    folder_ = std::make_unique<TestProgramFolder>();
    captured_ = std::make_unique<CapturedMessages>();
    settings_ = TSettings{};
    settings_.LoginName = "ich";
    settings_.LoginPassword = "geheim";
}

void ConnectionPageTest::cleanup()
{
    captured_.reset();
    folder_.reset();
}

void ConnectionPageTest::showsTheStoredKeysAndTheEntries()
{
    settings_.SMTPPort = 25; // a standard port beside another encryption's: loading moves nothing
    settings_.SMTPSecurity = 2;
    settings_.SMTPAuth = true;
    settings_.POP3Port = 1995;
    settings_.POP3Security = 7; // no entry of its own
    TFSetupDialog dialog(settings_, IniPath());
    for (const char* name : {"ComboBoxSMTPSecurity", "ComboBoxPOP3Security"}) {
        auto* box = Find<QComboBox>(dialog, name);
        QCOMPARE(box->count(), 3);
        QCOMPARE(QStringList({box->itemText(0), box->itemText(1), box->itemText(2)}),
                 QStringList({"Keine", "STARTTLS", "SSL/TLS"}));
    }
    QCOMPARE(Find<QLineEdit>(dialog, "ESMTPPort")->text(), QStringLiteral("25"));
    QCOMPARE(Find<QComboBox>(dialog, "ComboBoxSMTPSecurity")->currentIndex(), 2);
    QVERIFY(Find<QCheckBox>(dialog, "CBSMTPAuth")->isChecked());
    QCOMPARE(Find<QLineEdit>(dialog, "EPOP3Port")->text(), QStringLiteral("1995"));
    QCOMPARE(Find<QComboBox>(dialog, "ComboBoxPOP3Security")->currentIndex(), -1);
    QCOMPARE(Find<QPushButton>(dialog, "BTestConnection")->text(), QStringLiteral("Verbindung testen"));
    QCOMPARE(Find<QTabWidget>(dialog, "PCSetupDialog")->currentIndex(), 2);
}

void ConnectionPageTest::aStandardPortFollowsTheEncryptionATypedOneStays()
{
    struct Case
    {
        const char* label;
        const char* server;
        const char* port;
        int from, to;
        const char* shown;
    };
    const Case cases[] = {
        {"SMTP 25 to STARTTLS", "SMTP", "25", 0, 1, "587"},
        {"SMTP 587 to SSL/TLS", "SMTP", "587", 1, 2, "465"},
        {"SMTP 465 to none", "SMTP", "465", 2, 0, "25"},
        {"SMTP 25 to SSL/TLS", "SMTP", "25", 0, 2, "465"},
        {"SMTP typed 2525", "SMTP", "2525", 0, 2, "2525"},
        {"SMTP text that is no port", "SMTP", "smtp", 0, 1, "smtp"},
        {"POP3 110 to SSL/TLS", "POP3", "110", 0, 2, "995"},
        {"POP3 995 to STARTTLS", "POP3", "995", 2, 1, "110"},
        {"POP3 typed 1110", "POP3", "1110", 1, 2, "1110"},
    };
    for (const Case& c : cases) {
        TFSetupDialog dialog(settings_, IniPath());
        const QString server = QString::fromLatin1(c.server);
        auto* port = dialog.findChild<QLineEdit*>("E" + server + "Port");
        auto* security = dialog.findChild<QComboBox*>("ComboBox" + server + "Security");
        security->setCurrentIndex(c.from);
        port->setText(QString::fromLatin1(c.port));
        Choose(security, c.to);
        QVERIFY2(port->text() == QString::fromLatin1(c.shown), c.label);
    }
}

void ConnectionPageTest::anUnusablePortOrEncryptionIsRefusedAndNothingIsStored()
{
    struct Case
    {
        const char* label;
        const char* control;
        const char* text;
        QString message;
    };
    const QString range = QStringLiteral("' ist ungültig; möglich sind ganze Zahlen von 1 bis 65535.");
    const Case cases[] = {
        {"SMTP port 0", "ESMTPPort", "0", "Der SMTP-Port '0" + range},
        {"SMTP port 65536", "ESMTPPort", "65536", "Der SMTP-Port '65536" + range},
        {"SMTP port empty", "ESMTPPort", "", "Der SMTP-Port '" + range},
        {"SMTP port with a letter", "ESMTPPort", "58x", "Der SMTP-Port '58x" + range},
        {"POP3 port negative", "EPOP3Port", "-110", "Der POP3-Port '-110" + range},
        {"POP3 port a word", "EPOP3Port", "pop", "Der POP3-Port 'pop" + range},
        {"SMTP encryption without entry", nullptr, nullptr,
         QStringLiteral("Die SMTP-Verschlüsselung 3 in den Einstellungen ist unbekannt; möglich sind Keine "
                        "(0), STARTTLS (1) und SSL/TLS (2).")},
    };
    for (const Case& c : cases) {
        captured_.reset(); // before the next one takes over the sink
        captured_ = std::make_unique<CapturedMessages>();
        TSettings before = settings_;
        if (!c.control) before.SMTPSecurity = 3;
        TSettings edited = before;
        TFSetupDialog dialog(edited, IniPath());
        Find<QLineEdit>(dialog, "EAccountID")->setText("neu");
        Find<QCheckBox>(dialog, "CBSMTPAuth")->setChecked(true);
        if (c.control) Find<QLineEdit>(dialog, c.control)->setText(QString::fromLatin1(c.text));
        QTest::mouseClick(Find<QPushButton>(dialog, "BAccept"), Qt::LeftButton);

        QVERIFY2(Messages() == QStringList{c.message}, c.label);
        QVERIFY2(edited == before, c.label);
        QVERIFY2(!std::filesystem::exists(IniPath()), c.label);
    }
}

void ConnectionPageTest::acceptKeepsThePinnedCertificates()
{
    settings_.SMTPCertificateSHA256 = "AB:CD:EF";
    settings_.POP3CertificateSHA256 = "0123";
    IniFile ini(IniPath());
    WriteSettings(ini, settings_, {&TSettings::SMTPCertificateSHA256, &TSettings::POP3CertificateSHA256});
    TFSetupDialog dialog(settings_, IniPath());
    Find<QLineEdit>(dialog, "ESMTPPort")->setText("587");
    dialog.SaveControlsToSettings();

    QCOMPARE(settings_.SMTPPort, 587);
    QCOMPARE(ini.ReadString("eMailAccount", "SMTPPort", ""), std::string("587"));
    QCOMPARE(settings_.SMTPCertificateSHA256, std::string("AB:CD:EF"));
    QCOMPARE(ini.ReadString("eMailAccount", "SMTPCertificateSHA256", ""), std::string("AB:CD:EF"));
    QCOMPARE(ini.ReadString("eMailAccount", "POP3CertificateSHA256", ""), std::string("0123"));
}

// The values shown count, not those stored: the servers, the ports and POP3 first as edited. The
// password box shows the marker, so the password typed at an earlier prompt serves.
void ConnectionPageTest::testButtonReachesTheServersShownAndSendsNoMail()
{
    ScriptedServer pop3({"+OK bereit", "+OK Benutzer", "+OK angemeldet", "+OK tschüss"});
    ScriptedServer smtp({"220 gw", "250 gw", "221 tschüss"});
    settings_.Pop3First = false;
    settings_.SavePassword = false;
    settings_.LoginPassword = "getippt";
    const TSettings stored = settings_;
    std::vector<std::string> statusTexts;
    TFSetupDialog dialog(settings_, IniPath(), nullptr,
                         [&](const std::string& text) { statusTexts.push_back(text); });
    Find<QLineEdit>(dialog, "EPOP3Server")->setText("127.0.0.1");
    Find<QLineEdit>(dialog, "ESMTPServer")->setText("127.0.0.1");
    Find<QCheckBox>(dialog, "CBPOP3First")->setChecked(true);
    Find<QLineEdit>(dialog, "EPOP3Port")->setText(QString::number(pop3.Port()));
    Find<QLineEdit>(dialog, "ESMTPPort")->setText(QString::number(smtp.Port()));
    QTest::mouseClick(Find<QPushButton>(dialog, "BTestConnection"), Qt::LeftButton);

    const QString report = "Posteingangsserver (POP3) 127.0.0.1:\nVerbunden mit 127.0.0.1, Port " +
                           QString::number(pop3.Port()) +
                           "\nUnverschlüsselt\nAnmeldung erfolgreich\n\n"
                           "Postausgangsserver (SMTP) 127.0.0.1:\nVerbunden mit 127.0.0.1, Port " +
                           QString::number(smtp.Port()) +
                           "\nUnverschlüsselt\nKeine Anmeldung (SMTP AUTH ist aus)";
    QCOMPARE(captured_->Messages().size(), 1);
    QCOMPARE(captured_->Messages()[0].first, MessageKind::Information);
    QCOMPARE(captured_->Messages()[0].second, report);
    QCOMPARE(pop3.Received(), std::vector<std::string>({"USER ich", "PASS getippt", "Quit"}));
    QCOMPARE(smtp.Received(), std::vector<std::string>({"ehlo " + TIdSMTP().LocalHostName(), "Quit"}));
    QCOMPARE(statusTexts, std::vector<std::string>({"Teste Posteingangsserver (POP3)...", "Verbunden",
                                                    "Teste Postausgangsserver (SMTP)...", "Verbunden",
                                                    "Verbindungstest beendet"}));
    QVERIFY(settings_ == stored);
    QVERIFY(!std::filesystem::exists(IniPath()));
}

// Dovecot and aiosmtpd, each with STARTTLS and with TLS from the first byte, through the button as
// a user sets the page; a refused AUTH is reported as a send shows it. The cipher is the servers'
// choice, so only its TLS version is compared.
void ConnectionPageTest::testButtonReportsTlsAndAuthOfTheRealServers()
{
    RealSmtpServer smtp("ich", "geheim");
    RealPop3Server pop3("ich", "geheim", Pop3Tls::On);
    struct Case
    {
        const char* label;
        int security;
        int pop3Port, smtpPort; // POP3 -1: POP3 first off
        const char* password;
        QStringList pop3Lines, smtpLines;
    };
    const QString certificate = "Zertifikat: O = Tickerpost Test, CN = localhost";
    const QString issuer = "Ausgestellt von: O = Tickerpost Test, CN = ca";
    auto connected = [](int port) { return "Verbunden mit 127.0.0.1, Port " + QString::number(port); };
    const Case cases[] = {
        {"STARTTLS",
         1,
         pop3.Port(),
         smtp.StartTlsPort(),
         "geheim",
         {connected(pop3.Port()), "TLS", certificate, issuer, "Anmeldung erfolgreich"},
         {connected(smtp.StartTlsPort()), "TLS", certificate, issuer, "Anmeldeverfahren: AUTH PLAIN",
          "Anmeldung erfolgreich"}},
        {"SSL/TLS",
         2,
         pop3.TlsPort(),
         smtp.TlsPort(),
         "geheim",
         {connected(pop3.TlsPort()), "TLS", certificate, issuer, "Anmeldung erfolgreich"},
         {connected(smtp.TlsPort()), "TLS", certificate, issuer, "Anmeldeverfahren: AUTH PLAIN",
          "Anmeldung erfolgreich"}},
        {"wrong password at SMTP only",
         2,
         -1,
         smtp.TlsPort(),
         "falsch",
         {"Nicht getestet, da \"Beim Posteingangsserver zuerst anmelden\" aus ist."},
         {connected(smtp.TlsPort()), "TLS", certificate, issuer,
          "Fehler: 535 5.7.8 Authentication credentials invalid."}},
    };
    for (const Case& c : cases) {
        captured_.reset();
        captured_ = std::make_unique<CapturedMessages>();
        TFSetupDialog dialog(settings_, IniPath());
        Find<QLineEdit>(dialog, "EPassword")->setText(QString::fromLatin1(c.password));
        Find<QLineEdit>(dialog, "EPOP3Server")->setText("127.0.0.1");
        Find<QLineEdit>(dialog, "ESMTPServer")->setText("127.0.0.1");
        Find<QCheckBox>(dialog, "CBPOP3First")->setChecked(c.pop3Port != -1);
        Find<QCheckBox>(dialog, "CBSMTPAuth")->setChecked(true);
        Choose(Find<QComboBox>(dialog, "ComboBoxPOP3Security"), c.security);
        Choose(Find<QComboBox>(dialog, "ComboBoxSMTPSecurity"), c.security);
        if (c.pop3Port != -1) Find<QLineEdit>(dialog, "EPOP3Port")->setText(QString::number(c.pop3Port));
        Find<QLineEdit>(dialog, "ESMTPPort")->setText(QString::number(c.smtpPort));
        QTest::mouseClick(Find<QPushButton>(dialog, "BTestConnection"), Qt::LeftButton);

        QVERIFY2(captured_->Messages().size() == 1, c.label);
        QStringList lines = captured_->Messages()[0].second.split('\n');
        for (QString& line : lines)
            if (line.startsWith(QStringLiteral("Verschlüsselt mit TLSv1."))) line = "TLS";
        const QStringList expected = QStringList{"Posteingangsserver (POP3) 127.0.0.1:"} + c.pop3Lines +
                                     QStringList{"", "Postausgangsserver (SMTP) 127.0.0.1:"} + c.smtpLines;
        QCOMPARE(lines, expected);
    }
    QVERIFY(smtp.Messages().empty());
}

int RunConnectionPageTest(int argc, char** argv)
{
    ConnectionPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ConnectionPageTest.moc"
