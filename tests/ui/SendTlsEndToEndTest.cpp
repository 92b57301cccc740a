#include "TestProgramFolder.h"

#include "tests/support/RealServers.h"
#include "tests/support/ReceivedMail.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The program started as the entry starts it, with a user.ini set for a provider that wants
// STARTTLS or TLS and SMTP AUTH, sending through the window to aiosmtpd after logging in at
// Dovecot over the same encryption.
class SendTlsEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void ATwoPartSmsWithUmlautsArrivesOverStartTlsAndOverTlsWithAuth()
    {
        RealSmtpServer smtp("ich", "geheim");
        RealPop3Server pop3("ich", "geheim", Pop3Tls::On);
        struct Case
        {
            const char* label;
            int security;
            int smtpPort, pop3Port;
        };
        const Case cases[] = {{"STARTTLS", 1, smtp.StartTlsPort(), pop3.Port()},
                              {"SSL/TLS", 2, smtp.TlsPort(), pop3.TlsPort()}};
        QString text;
        while (text.size() < 200) text += QString::fromUtf8("Grüße aus Köln, übermorgen fährt Jürgen. ");
        text.truncate(200);
        std::size_t received = 0;
        for (const Case& c : cases) {
            const QByteArray security = QByteArray::number(c.security);
            TestProgramFolder folder("[eMailAccount]\r\n"
                                     "LoginName=ich\r\n"
                                     "LoginPassword=geheim\r\n"
                                     "POP3Server=localhost\r\n"
                                     "SMTPServer=localhost\r\n"
                                     "eMailAdress=ich@example.de\r\n"
                                     "SMTPPort=" +
                                     QByteArray::number(c.smtpPort) + "\r\nSMTPSecurity=" + security +
                                     "\r\nSMTPAuth=1\r\nPOP3Port=" + QByteArray::number(c.pop3Port) +
                                     "\r\nPOP3Security=" + security +
                                     "\r\n[SMS]\r\nSMSServer=sms.example\r\nLastSMSFirst=0\r\nAutoSave=0\r\n"
                                     "[Adressbook]\r\nUseOutlookAdressbook=0\r\n");
            CapturedMessages captured;
            FixedClock clock({2026, 12, 8, 10, 0, 0});
            std::unique_ptr<TFSMS> window = CreateMainWindow(clock, folder.Path());
            QVERIFY(window);
            window->show();
            window->findChild<QComboBox*>("ComboBoxReceiverAdress")->setEditText("01711234567");
            window->findChild<QPlainTextEdit*>("MSMS")->setPlainText(text);
            QTest::mouseClick(window->findChild<QPushButton*>("BSendSMS"), Qt::LeftButton);

            QVERIFY2(captured.Messages().isEmpty(),
                     qPrintable(captured.Messages().isEmpty() ? QString() : captured.Messages()[0].second));
            const std::vector<std::string> mails = smtp.WaitForMessages(received + 2);
            QVERIFY2(mails.size() == received + 2, c.label);
            for (std::size_t k = 0; k < 2; ++k) {
                const ReceivedMail mail = ReadAsPythonDoes(mails[received + k]);
                QCOMPARE(mail.From, std::string("Dein Name <ich@example.de>"));
                QCOMPARE(mail.To, std::string("491711234567@sms.example"));
                QCOMPARE(QString::fromStdString(mail.Subject), text.mid(160 * int(k), 160));
                QCOMPARE(mail.Defects, 0);
            }
            received += 2;
            QCOMPARE(window->StatusText(), QStringLiteral("SMS gesendet"));
        }
    }
};

int RunSendTlsEndToEndTest(int argc, char** argv)
{
    PrepareApplication(*qApp);
    SendTlsEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SendTlsEndToEndTest.moc"
