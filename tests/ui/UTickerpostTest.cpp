#include "ActiveWindow.h"
#include "ScriptedFileDialogs.h"
#include "TestProgramFolder.h"

#include "runtime/Clock.h"
#include "ui/UTickerpost.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

Q_DECLARE_METATYPE(DateTime)

namespace {

QByteArray IniWithMaxLength(const QByteArray& maxLength)
{
    return "[SMS]\r\nMaxSMSLength=" + maxLength + "\r\n";
}

} // namespace

class UTickerpostTest : public QObject
{
    Q_OBJECT

private:
    FixedClock clock_{DateTime{2024, 3, 20, 12, 0, 0}};

    QString Label(TFSMS& window, const char* name) { return window.findChild<QLabel*>(name)->text(); }
    QPlainTextEdit* Message(TFSMS& window) { return window.findChild<QPlainTextEdit*>("MSMS"); }
    QLineEdit* RecipientEdit(TFSMS& window)
    {
        return window.findChild<QComboBox*>("ComboBoxReceiverAdress")->lineEdit();
    }

    void SelectInMessage(TFSMS& window, int start, int length)
    {
        QTextCursor cursor = Message(window)->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        Message(window)->setTextCursor(cursor);
    }

private slots:
    void StartUpShowsTheDesignedCountersAndSizesTheMessageBox_data()
    {
        QTest::addColumn<QByteArray>("userIni");
        QTest::addColumn<int>("width");
        QTest::newRow("no user.ini") << QByteArray() << 280;
        QTest::newRow("160 characters") << IniWithMaxLength("160") << 280;
        QTest::newRow("70 characters") << IniWithMaxLength("70") << 136;
        QTest::newRow("4 characters") << IniWithMaxLength("4") << 24;
    }

    void StartUpShowsTheDesignedCountersAndSizesTheMessageBox()
    {
        QFETCH(QByteArray, userIni);
        QFETCH(int, width);
        TestProgramFolder folder(userIni);
        CapturedMessages captured;
        TFSMS window(folder.Path(), clock_);
        QVERIFY(captured.Messages().isEmpty());
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("160"));
        QCOMPARE(Label(window, "LESMSCount"), QStringLiteral("1"));
        QCOMPARE(Message(window)->width(), width);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tickerpost"));
    }

    void HugeMaxLengthKeepsTheMessageBoxOnTheScreen()
    {
        TestProgramFolder folder(IniWithMaxLength("2147483647"));
        TFSMS window(folder.Path(), clock_);
        const int width = Message(window)->width();
        QVERIFY2(width > 280 && width <= window.screen()->availableGeometry().width(),
                 qPrintable(QString::number(width)));
    }

    void RefusedMaxLengthShowsTheGermanMessageAndTheWindowStillWorks_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("word") << QByteArray("abc") << QStringLiteral("'abc' ist kein gültiger Integerwert.");
        QTest::newRow("empty") << QByteArray("") << QStringLiteral("'' ist kein gültiger Integerwert.");
        QTest::newRow("zero") << QByteArray("0") << QString();
    }

    void RefusedMaxLengthShowsTheGermanMessageAndTheWindowStillWorks()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, message);
        TestProgramFolder folder(IniWithMaxLength(value) + "SMSThisMonth=7\r\n");
        CapturedMessages captured;
        TFSMS window(folder.Path(), clock_);
        QCOMPARE(captured.Messages().size(), 1);
        QCOMPARE(captured.Messages().first().first, MessageKind::Error);
        if (!message.isEmpty()) QCOMPARE(captured.Messages().first().second, message);
        QCOMPARE(window.Settings().MaxSMSLength, 160);
        QCOMPARE(Message(window)->width(), 280);
        QCOMPARE(Label(window, "LESMSMonth"), QStringLiteral("0"));
        QTest::keyClicks(Message(window), QStringLiteral("Hallo"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("155"));
    }

    void MonthlyCountIsShownAndStartsAgainInANewMonth_data()
    {
        QTest::addColumn<DateTime>("now");
        QTest::addColumn<QString>("shown");
        QTest::newRow("same month") << DateTime{2024, 3, 28, 9, 0, 0} << QStringLiteral("12");
        QTest::newRow("next month") << DateTime{2024, 4, 1, 0, 0, 0} << QStringLiteral("0");
        QTest::newRow("same month a year later") << DateTime{2025, 3, 2, 9, 0, 0} << QStringLiteral("0");
    }

    void MonthlyCountIsShownAndStartsAgainInANewMonth()
    {
        QFETCH(DateTime, now);
        QFETCH(QString, shown);
        TestProgramFolder folder("[SMS]\r\nLastSentSMS=15.03.2024 10:00:00\r\nSMSThisMonth=12\r\n");
        FixedClock clock(now);
        TFSMS window(folder.Path(), clock);
        QCOMPARE(Label(window, "LESMSMonth"), shown);
    }

    void CountersFollowTyping_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("count");
        QTest::newRow("one character") << 1 << "159"
                                       << "1";
        QTest::newRow("one full part") << 160 << "160"
                                       << "1";
        QTest::newRow("one over") << 161 << "159"
                                  << "2";
        QTest::newRow("two full parts") << 320 << "160"
                                        << "2";
    }

    void CountersFollowTyping()
    {
        QFETCH(int, typed);
        QFETCH(QString, left);
        QFETCH(QString, count);
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        QTest::keyClicks(Message(window), QString(typed, QChar(u'x')));
        QCOMPARE(Label(window, "LELastingChars"), left);
        QCOMPARE(Label(window, "LESMSCount"), count);
    }

    void BackspaceAndALineBreakUpdateTheCounters()
    {
        TestProgramFolder folder(IniWithMaxLength("4"));
        TFSMS window(folder.Path(), clock_);
        QTest::keyClicks(Message(window), QStringLiteral("abcde"));
        QCOMPARE(Label(window, "LESMSCount"), QStringLiteral("2"));
        QTest::keyClick(Message(window), Qt::Key_Backspace);
        QCOMPARE(Label(window, "LESMSCount"), QStringLiteral("1"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("4"));

        // Two lines of two characters: 2 + CR LF + 2 = 6 characters, parts of 4 and 2.
        Message(window)->setPlainText(QStringLiteral("ab\ncd"));
        QCOMPARE(window.Metrics().SMSLength, 6);
        QCOMPARE(Label(window, "LESMSCount"), QStringLiteral("2"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("2"));
    }

    // The counters count what the send gets: an emoji goes out as one "?", U+2028 as CR LF.
    void CountersCountWhatTheSendGets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("emoji") << QStringLiteral("😀") << 1;
        QTest::newRow("pasted line separator") << QStringLiteral("a\u2028b") << 4;
        QTest::newRow("umlaut, euro sign, line break") << QStringLiteral("ä€\n") << 4;
    }

    void CountersCountWhatTheSendGets()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        CapturedMessages captured;
        Message(window)->insertPlainText(text);
        QCOMPARE(window.Metrics().SMSLength, length);
        QCOMPARE(int(window.LogicWindow().TextsToSend().Message.size()), length);
    }

    void EnterNeverBreaksALine_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier);
        QTest::newRow("Alt+Return") << int(Qt::Key_Return) << int(Qt::AltModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }

    void EnterNeverBreaksALine()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClicks(Message(window), QStringLiteral("ab"));
        QTest::keyClick(Message(window), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(Message(window)->toPlainText(), QStringLiteral("ab"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("158"));
    }

    void ClipboardKeysActOnTheMessageWhileTheRecipientBoxHasTheFocus()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        Message(window)->setPlainText(QStringLiteral("Hallo Welt"));
        QLineEdit* recipient = RecipientEdit(window);
        recipient->setText(QStringLiteral("0171 2345"));
        recipient->setFocus();
        recipient->selectAll();
        QClipboard* clipboard = QApplication::clipboard();

        SelectInMessage(window, 0, 5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("Hallo"));
        QCOMPARE(window.StatusText(), QStringLiteral("Der markiete Text wurde in die Ablage kopiert"));

        SelectInMessage(window, 5, 5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral(" Welt"));
        QCOMPARE(Message(window)->toPlainText(), QStringLiteral("Hallo"));
        QCOMPARE(window.StatusText(), QStringLiteral("Der markiete Text wurde in die Ablage verschoben"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("155"));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Message(window)->toPlainText(), QStringLiteral("Hallo Welt"));
        QCOMPARE(window.StatusText(), QStringLiteral("Der Text aus der Ablage wurde eingefügt"));
        QCOMPARE(Label(window, "LELastingChars"), QStringLiteral("150"));

        QCOMPARE(recipient->text(), QStringLiteral("0171 2345"));
        QVERIFY(recipient->hasFocus());
    }

    void ClipboardCommandsWithoutSelectionOrText()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        Message(window)->setPlainText(QStringLiteral("Hallo"));
        QApplication::clipboard()->setText(QStringLiteral("alt"));

        QTest::keyClick(Message(window), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(window.StatusText(), QStringLiteral("Sie müssen erst den zu kopierenden Text makieren"));
        QTest::keyClick(Message(window), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(window.StatusText(), QStringLiteral("Sie müssen erst den auszuschneidenden Text makieren"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alt"));
        QCOMPARE(Message(window)->toPlainText(), QStringLiteral("Hallo"));

        QApplication::clipboard()->clear();
        QTest::keyClick(Message(window), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window.StatusText(), QStringLiteral("Der Text aus der Ablage wurde eingefügt"));
        QCOMPARE(Message(window)->toPlainText(), QStringLiteral("Hallo"));
    }

    void MenusCarryTheirCaptionsInOrder()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        auto captions = [](const QList<QAction*>& actions) {
            QStringList texts;
            for (const QAction* action : actions)
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            return texts;
        };
        QCOMPARE(captions(window.menuBar()->actions()),
                 QStringList({"&Datei", "&Bearbeiten", "&Einstellungen", "?"}));
        QCOMPARE(captions(window.findChild<QMenu*>("Datei")->actions()),
                 QStringList({"&Neu", "&Öffnen", "-", "&Speichern", "Speichern &unter...", "-",
                              "&Archivordner öffnen", "-", "&Beenden"}));
        QCOMPARE(captions(window.findChild<QMenu*>("Bearbeiten")->actions()),
                 QStringList({"&Ausschneiden", "&Kopieren", "&Einfügen"}));
        QStringList toolbarCaptions;
        for (const QAction* action : window.findChild<QToolBar*>("ToolBar")->actions())
            toolbarCaptions << (action->isSeparator() ? QStringLiteral("-") : action->iconText());
        QCOMPARE(toolbarCaptions, QStringList({"Neu", "Öffnen", "Speichern", "-", "Ausschneiden", "Kopieren",
                                               "Einfügen", "-"}));
    }

    void ShortcutsTriggerTheirCommands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("key");
        QTest::newRow("Neu") << "ANew" << int(Qt::Key_N);
        QTest::newRow("Öffnen") << "AOpen" << int(Qt::Key_O);
        QTest::newRow("Speichern") << "ASave" << int(Qt::Key_S);
        QTest::newRow("Ausschneiden") << "ACut" << int(Qt::Key_X);
        QTest::newRow("Kopieren") << "ACopy" << int(Qt::Key_C);
        QTest::newRow("Einfügen") << "APaste" << int(Qt::Key_V);
    }

    void ShortcutsTriggerTheirCommands()
    {
        QFETCH(QString, action);
        QFETCH(int, key);
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        window.Drafts().SetFileDialogs(std::make_unique<ScriptedFileDialogs>()); // Open and Save cancel
        Activate(window);
        QSignalSpy triggered(window.findChild<QAction*>(action), &QAction::triggered);
        QTest::keyClick(Message(window), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
    }

    void LongStatusTextKeepsTheWindowWidth()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        const int width = window.width();
        window.SetStatusText(QString(400, QChar(u'x')));
        window.layout()->activate();
        QCOMPARE(window.width(), width);
    }

    // A contact named like markup is shown by name, not rendered.
    void StatusTextIsPlainText()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        window.SetStatusText(QStringLiteral("Kontakt <b>Anna</b> wurde erstellt"));
        QCOMPARE(window.findChild<QLabel*>("StatusText")->textFormat(), Qt::PlainText);
    }

    void TabOrderStartsWithTheMessage()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, QStringList({"MSMS", "ComboBoxReceiverAdress", "BNewContact", "BSendSMS"}));
        QCOMPARE(Message(window)->toPlainText(), QString());
    }

    void ExitClosesTheWindow()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        window.findChild<QAction*>("AExit")->trigger();
        QVERIFY(!window.isVisible());
    }

    void ControlsHaveSensibleAccessibleNames()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        auto name = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QCOMPARE(name(window.findChild<QComboBox*>("ComboBoxReceiverAdress")), QStringLiteral("An:"));
        QCOMPARE(name(Message(window)), QStringLiteral("SMS-Text"));
        QCOMPARE(name(window.findChild<QWidget*>("BSendSMS")), QStringLiteral("SMS Senden"));
        QWidget* count = window.findChild<QWidget*>("LESMSCount");
        QCOMPARE(name(count), QStringLiteral("1"));
        QCOMPARE(QAccessible::queryAccessibleInterface(count)->text(QAccessible::Description),
                 QStringLiteral("Anzahl der SMS"));
        QCOMPARE(name(window.findChild<QToolBar*>("ToolBar")->widgetForAction(
                     window.findChild<QAction*>("APaste"))),
                 QStringLiteral("Einfügen"));

        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus) continue;
            QVERIFY2(!name(widget).isEmpty(), qPrintable(widget->metaObject()->className() +
                                                         QStringLiteral(" ") + widget->objectName()));
        }
    }
};

int RunUTickerpostTest(int argc, char** argv)
{
    UTickerpostTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "UTickerpostTest.moc"
