#include "TestProgramFolder.h"

#include "tests/support/OrdinaryUser.h"
#include "tests/support/RealServers.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestLocale.h"
#include "ui/ProgramStart.h"
#include "ui/SetupDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <sys/stat.h>

namespace {

unsigned ModeOf(const std::string& path)
{
    struct stat status
    {
    };
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Fills in the settings dialog that is open, for a send to 127.0.0.1 without POP3, and presses
// "Übernehmen", then "Schließen".
void AcceptSettingsForLoopback()
{
    auto* dialog = qobject_cast<TFSetupDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto set = [dialog](const char* name, const char* text) {
        dialog->findChild<QLineEdit*>(name)->setText(QString::fromUtf8(text));
    };
    set("ESMTPServer", "127.0.0.1");
    set("EeMailAdress", "ich@example.de");
    set("ESMSProvider", "sms.example");
    set("EPassword", "geheim");
    dialog->findChild<QCheckBox*>("CBSavePassword")->setChecked(true);
    dialog->findChild<QCheckBox*>("CBPOP3First")->setChecked(false);
    QTest::mouseClick(dialog->findChild<QPushButton*>("BAccept"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("BClose"), Qt::LeftButton);
}

} // namespace

// The program started as the entry starts it, from a folder without user.ini that the user may
// not write (the test gives up root first), as an installed copy runs.
class PerUserFilesTest : public QObject
{
    Q_OBJECT

public:
    // The SMTP server's script, read while still root: the checkout may be closed to others.
    explicit PerUserFilesTest(std::string smtpServerScript) : smtpServerScript_(std::move(smtpServerScript))
    {
    }

private slots:
    void SettingsAndTheArchiveGoToPrivateXdgFoldersBelowTheHome()
    {
        TempFolder home("tickerpost-home");
        qputenv("HOME", QByteArray::fromStdString(home.Path()));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        home.Write("smtp_server.py", smtpServerScript_);
        RealSmtpServer smtpServer(home.File("smtp_server.py"));
        CapturedMessages captured;
        FixedClock clock{DateTime{2026, 12, 7, 5, 13, 7}};
        std::unique_ptr<TFSMS> window = CreateMainWindow(clock);
        QVERIFY(window);
        QCOMPARE(window->windowIcon().availableSizes().size(), 8);
        window->Settings().SMTPPort = smtpServer.Port();
        window->show();

        QTimer::singleShot(0, AcceptSettingsForLoopback);
        window->findChild<QAction*>("AEinstellungen")->trigger();
        QTest::keyClicks(window->findChild<QComboBox*>("ComboBoxReceiverAdress")->lineEdit(), "01711234567");
        QTest::keyClicks(window->findChild<QPlainTextEdit*>("MSMS"), "Hallo");
        QTest::mouseClick(window->findChild<QPushButton*>("BSendSMS"), Qt::LeftButton);

        QCOMPARE(captured.Messages().size(), 0);
        QCOMPARE(smtpServer.WaitForMessages(1).size(), size_t(1));
        const std::string config = home.File(".config/Tickerpost/");
        const std::string data = home.File(".local/share/Tickerpost/");
        QCOMPARE(ModeOf(config), 0700u);
        QCOMPARE(ModeOf(config + "user.ini"), 0600u);
        QCOMPARE(ModeOf(data), 0700u);
        QVERIFY(home.Read(".config/Tickerpost/user.ini").find("SMTPServer=127.0.0.1") != std::string::npos);
        QCOMPARE(home.Read(".local/share/Tickerpost/Sent/00491711234567_07-12-2026_05-13-07.SMS"),
                 std::string("Hallo\r\n"));
    }

private:
    std::string smtpServerScript_;
};

int main(int argc, char** argv)
{
    const std::string smtpServerScript = ReadBytes(SmtpServerScript());
    if (!BecomeOrdinaryUser()) return 99;
    UseTestLocaleAndZone();
    QApplication application(argc, argv);
    PrepareApplication(application);
    PerUserFilesTest test(smtpServerScript);
    return QTest::qExec(&test, argc, argv);
}

#include "PerUserFilesTest.moc"
