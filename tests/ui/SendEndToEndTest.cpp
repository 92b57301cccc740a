#include "TestProgramFolder.h"

#include "runtime/CodePage.h"
#include "tests/mail/support/ScriptedServer.h"
#include "tests/support/RealServers.h"
#include "tests/support/ReceivedMail.h"
#include "ui/ProgramStart.h"
#include "ui/QtCodePage.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace {

// Sent on 7 December 2026 at 05:13:07; the last send was in the same month.
const DateTime SendTime{2026, 12, 7, 5, 13, 7};

QByteArray UserIni(int pop3Port, const QByteArray& sms)
{
    return "[eMailAccount]\r\n"
           "LoginName=ich\r\n"
           "SavePassword=1\r\n"
           "LoginPassword=geheim\r\n"
           "POP3Server=127.0.0.1\r\n"
           "SMTPServer=127.0.0.1\r\n"
           "Pop3First=" +
           QByteArray(pop3Port ? "1" : "0") +
           "\r\n"
           "UserName=Dein Name\r\n"
           "eMailAdress=ich@example.de\r\n"
           "[SMS]\r\n"
           "SMSServer=sms.example\r\n" +
           sms +
           "AutoSave=1\r\n"
           "LastSentSMS=02.12.2026 09:30:00\r\n"
           "SMSThisMonth=5\r\n"
           "[Adressbook]\r\n"
           "UseOutlookAdressbook=0\r\n";
}

std::string CodePageBytes(const QString& text)
{
    std::string unmappable;
    return Utf8ToCodePage(text.toStdString(), unmappable, CodePage::Windows1252);
}

} // namespace

class SendEndToEndTest : public QObject
{
    Q_OBJECT

private:
    FixedClock clock_{SendTime};

    static QString Label(TFSMS& window, const char* name) { return window.findChild<QLabel*>(name)->text(); }
    static QPlainTextEdit* Message(TFSMS& window) { return window.findChild<QPlainTextEdit*>("MSMS"); }

    // Types `text` key by key as a user does; QTest's own typing takes ASCII only.
    static void Type(QWidget* widget, const QString& text)
    {
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Types the number and the message, then presses "SMS Senden".
    static void TypeAndSend(TFSMS& window, const QString& number, const QString& message)
    {
        Type(window.findChild<QComboBox*>("ComboBoxReceiverAdress")->lineEdit(), number);
        Type(Message(window), message);
        QTest::mouseClick(window.findChild<QPushButton*>("BSendSMS"), Qt::LeftButton);
    }

private slots:
    void ATypedNumberAndThreeHundredFiftyCharactersArriveAsThreeMails()
    {
        RealSmtpServer smtpServer;
        RealPop3Server pop3Server("ich", "geheim");
        const QByteArray userIni = UserIni(pop3Server.Port(), "FormatToken=SMS:\r\nLastSMSFirst=1\r\n");
        TestProgramFolder folder(userIni);
        CapturedMessages captured;
        std::unique_ptr<TFSMS> window = CreateMainWindow(clock_, folder.Path());
        QVERIFY(window);
        window->Settings().SMTPPort = smtpServer.Port();
        window->Settings().POP3Port = pop3Server.Port();
        window->show();

        QString text;
        while (text.size() < 350) text += QString::fromUtf8("Schöne Grüße aus Köln; übermorgen fahren wir. ");
        text.truncate(350);
        TypeAndSend(*window, QStringLiteral("01711234567"), text);

        QCOMPARE(captured.Messages().size(), 0);
        const std::vector<std::string> mails = smtpServer.WaitForMessages(3);
        QCOMPARE(mails.size(), size_t(3));
        const QString subjects[] = {text.mid(320), text.mid(160, 160), text.left(160)};
        for (size_t i = 0; i < 3; ++i) {
            const ReceivedMail mail = ReadAsPythonDoes(mails[i]);
            QCOMPARE(mail.From, std::string("Dein Name <ich@example.de>"));
            QCOMPARE(mail.To, std::string("491711234567@sms.example"));
            QCOMPARE(QString::fromStdString(mail.Subject), QStringLiteral("SMS:") + subjects[i]);
            QCOMPARE(mail.Body, std::string());
            QCOMPARE(mail.Defects, 0);
        }
        QCOMPARE(folder.Read("Sent/00491711234567_07-12-2026_05-13-07.SMS"),
                 QByteArray::fromStdString(CodePageBytes(text) + "\r\n"));
        QCOMPARE(Label(*window, "LESMSMonth"), QStringLiteral("8"));
        QByteArray expectedIni = userIni;
        expectedIni.replace("LastSentSMS=02.12.2026 09:30:00", "LastSentSMS=07.12.2026 05:13:07");
        expectedIni.replace("SMSThisMonth=5", "SMSThisMonth=8");
        QCOMPARE(folder.Read("user.ini"), expectedIni);
        QCOMPARE(window->StatusText(), QStringLiteral("SMS gesendet und gespeichert."));
        QCOMPARE(Message(*window)->toPlainText(), QString());
        QCOMPARE(Label(*window, "LESMSCount"), QStringLiteral("1"));
        QCOMPARE(Label(*window, "LELastingChars"), QStringLiteral("160"));
    }

    // A refused second part: the error box shows the server's reply, the first part stays counted
    // in memory only, and the text stays with the selection on the part taken last.
    void ARefusedPartKeepsTheTextWithTheLastPartTakenSelected()
    {
        ScriptedServer server({"220 gw", "250 gw", "250 reset", "250 sender ok", "250 ok", "354 go ahead",
                               "250 queued", "250 reset", "250 sender ok", "550 unbekannt"});
        const QByteArray userIni = UserIni(0, "MaxSMSLength=4\r\nLastSMSFirst=0\r\n");
        TestProgramFolder folder(userIni);
        CapturedMessages captured;
        std::unique_ptr<TFSMS> window = CreateMainWindow(clock_, folder.Path());
        QVERIFY(window);
        window->Settings().SMTPPort = server.Port();
        window->show();
        Message(*window)->setPlainText(QString::fromUtf8("äb\ncd"));

        TypeAndSend(*window, QStringLiteral("+491711234567"), QString());

        QCOMPARE(captured.Messages().size(), 1);
        QCOMPARE(
            captured.Messages()[0].second,
            QString::fromUtf8("550 unbekannt\r\nGesendet wurde Teil 1 von 2; ein erneuter Klick sendet nur "
                              "den übrigen Teil."));
        QCOMPARE(Message(*window)->toPlainText(), QString::fromUtf8("äb\ncd"));
        // The second part, "cd", starts 4 characters into the text as sent ("äb", CR LF).
        QCOMPARE(Message(*window)->textCursor().selectionStart(), 3);
        QCOMPARE(Message(*window)->textCursor().selectionEnd(), 5);
        QCOMPARE(window->Settings().SMSThisMonth, 6);
        QCOMPARE(Label(*window, "LESMSMonth"), QStringLiteral("5"));
        QCOMPARE(folder.Read("user.ini"), userIni);
        QCOMPARE(window->StatusText(), QStringLiteral("SMS gesendet"));
        const std::vector<std::string> received = server.Received();
        QVERIFY(std::find(received.begin(), received.end(), "Subject: =?ISO-8859-1?Q?=E4b=0D=0A?=") !=
                received.end());
    }

    // Characters the code page cannot hold give one notice, and it comes before anything connects:
    // here the POP3 log-in is refused.
    void OneNoticeAboutUnmappableCharactersComesBeforeAnyConnection()
    {
        RefusingPort pop3Port;
        TestProgramFolder folder(UserIni(pop3Port.Port(), ""));
        CapturedMessages captured;
        std::unique_ptr<TFSMS> window = CreateMainWindow(clock_, folder.Path());
        QVERIFY(window);
        window->Settings().POP3Port = pop3Port.Port();
        window->show();
        window->findChild<QComboBox*>("ComboBoxReceiverAdress")
            ->setEditText(QString::fromUtf8("01711234567"));
        Message(*window)->setPlainText(QString::fromUtf8("Haken ✓ und ✓"));

        QTest::mouseClick(window->findChild<QPushButton*>("BSendSMS"), Qt::LeftButton);

        QCOMPARE(captured.Messages().size(), 2);
        QCOMPARE(captured.Messages()[0].first, MessageKind::Notice);
        QVERIFY(captured.Messages()[0].second.endsWith(QString::fromUtf8(": ✓")));
        QCOMPARE(captured.Messages()[1].first, MessageKind::Error);
        QVERIFY(captured.Messages()[1].second.startsWith(QStringLiteral("Socket-Fehler # 10061")));
    }
};

int RunSendEndToEndTest(int argc, char** argv)
{
    PrepareApplication(*qApp);
    SendEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SendEndToEndTest.moc"
