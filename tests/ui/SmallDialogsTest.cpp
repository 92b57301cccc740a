#include "ActiveWindow.h"

#include "ui/InfoDialog.h"
#include "ui/PasswordDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class SmallDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void passwordPromptTexts();
    void okTakesTheTypedPasswordIntoMemory();
    void okWithAnEmptyBoxGivesAnEmptyPassword();
    void enterInThePasswordBoxDoesNotConfirm();
    void closingThePromptKeepsTheMarker();
    void aboutBoxTexts();
    void aboutBoxClosesAndShowsTheSameTextAgain();
};

void SmallDialogsTest::passwordPromptTexts()
{
    TSettings settings;
    TFPasswordDialog dialog(settings);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Kennworteingabe"));
    auto* label = dialog.findChild<QLabel*>("LPassword");
    QCOMPARE(label->text(), QStringLiteral("Kennwort:"));
    auto* password = dialog.findChild<QLineEdit*>("EPassword");
    QCOMPARE(label->buddy(), password);
    QCOMPARE(password->text(), QString());
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
    QCOMPARE(dialog.findChild<QPushButton*>("Button1")->text(), QStringLiteral("OK"));
}

void SmallDialogsTest::okTakesTheTypedPasswordIntoMemory()
{
    TSettings settings;
    TFPasswordDialog dialog(settings);
    Activate(dialog);
    dialog.findChild<QLineEdit*>("EPassword")->setText(QStringLiteral("sträng geheim"));
    QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(settings.LoginPassword, std::string("str\xE4ng geheim"));
    QVERIFY(!dialog.isVisible());
}

void SmallDialogsTest::okWithAnEmptyBoxGivesAnEmptyPassword()
{
    TSettings settings;
    TFPasswordDialog dialog(settings);
    QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(settings.LoginPassword, std::string());
}

void SmallDialogsTest::enterInThePasswordBoxDoesNotConfirm()
{
    TSettings settings;
    TFPasswordDialog dialog(settings);
    Activate(dialog);
    auto* password = dialog.findChild<QLineEdit*>("EPassword");
    QCOMPARE(QApplication::focusWidget(), password);
    QTest::keyClicks(password, QStringLiteral("abc"));
    QTest::keyClick(password, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(settings.LoginPassword, std::string(PasswordMarker));
}

void SmallDialogsTest::closingThePromptKeepsTheMarker()
{
    TSettings settings;
    TFPasswordDialog dialog(settings);
    Activate(dialog);
    QTest::keyClicks(dialog.findChild<QLineEdit*>("EPassword"), QStringLiteral("abc"));
    dialog.close();
    QCOMPARE(settings.LoginPassword, std::string(PasswordMarker));
}

void SmallDialogsTest::aboutBoxTexts()
{
    TFInfoDialog dialog({"/home/eva/.config/Tickerpost/", "/home/eva/.local/share/Tickerpost/"});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Info"));
    auto* info = dialog.findChild<QPlainTextEdit*>("MInfo");
    QCOMPARE(info->toPlainText(), QStringLiteral("Tickerpost Version 2.0\n"
                                                 "\n"
                                                 "bekannte Bugs:\n"
                                                 "-öffnet man einen Kontakt und verändert sowohl \n"
                                                 "FullName als auch MobileTelephoneNumber so \n"
                                                 "wird der geänderte Kontakt nicht im \n"
                                                 "Adresseingabefeld angezeigt.\n"
                                                 "\n"
                                                 "Einstellungen: /home/eva/.config/Tickerpost/\n"
                                                 "Kontakte und Archiv: /home/eva/.local/share/Tickerpost/"));
    QVERIFY(info->isReadOnly());
    QCOMPARE(info->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(info->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(dialog.findChild<QPushButton*>("BClose")->text(), QStringLiteral("Schliessen"));
}

void SmallDialogsTest::aboutBoxClosesAndShowsTheSameTextAgain()
{
    QString firstText;
    for (int i = 0; i < 2; ++i) {
        TFInfoDialog dialog(std::string("/media/stick/Tickerpost/"));
        Activate(dialog);
        const QString text = dialog.findChild<QPlainTextEdit*>("MInfo")->toPlainText();
        if (i == 0) firstText = text;
        QVERIFY(text.endsWith(QStringLiteral("\n\nDateien: /media/stick/Tickerpost/")));
        QCOMPARE(text, firstText);
        QTest::mouseClick(dialog.findChild<QPushButton*>("BClose"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
}

int RunSmallDialogsTest(int argc, char** argv)
{
    SmallDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SmallDialogsTest.moc"
