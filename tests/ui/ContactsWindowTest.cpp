#include "ActiveWindow.h"
#include "TestProgramFolder.h"

#include "addressbook/AddressBookMessages.h"
#include "runtime/Clock.h"
#include "runtime/Exception.h"
#include "tests/support/ContactCard.h"
#include "ui/RecipientBox.h"
#include "ui/UTickerpost.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// A vCard 3.0 card; `name` and `number` in Windows-1252.
QByteArray Card(const char* name, const char* number)
{
    return QByteArray::fromStdString(ContactCard(name, number));
}

const QByteArray AddressBookOff = "[Adressbook]\r\nUseOutlookAdressbook=0\r\n";

} // namespace

class ContactsWindowTest : public QObject
{
    Q_OBJECT

private:
    FixedClock clock_{DateTime{2024, 3, 20, 12, 0, 0}};

    static QComboBox* Box(TFSMS& window) { return window.findChild<QComboBox*>("ComboBoxReceiverAdress"); }
    static QStringList Entries(TFSMS& window)
    {
        QStringList entries;
        for (int i = 0; i < Box(window)->count(); ++i) entries << Box(window)->itemText(i);
        return entries;
    }

    // Clicks the contact button and runs `user` on the contact form it shows; false when it shows none.
    static bool UseContactForm(TFSMS& window, std::function<void(QWidget* form)> user)
    {
        auto shown = std::make_shared<bool>(false);
        QTimer::singleShot(0, [user = std::move(user), shown] {
            QWidget* form = QApplication::activeModalWidget();
            *shown = form && form->objectName() == QStringLiteral("FContactForm");
            if (*shown) user(form);
        });
        QTest::mouseClick(window.findChild<QPushButton*>("BNewContact"), Qt::LeftButton);
        return *shown;
    }

    static void Fill(QWidget* form, const char* field, const QString& text)
    {
        form->findChild<QLineEdit*>(field)->setText(text);
    }
    static void Click(QWidget* form, const char* button)
    {
        QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
    }

private slots:
    void ListIsSortedGermanIgnoringCaseWithEqualNamesKept()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Zoe", "+49 1") + Card("\xC4rger Anna", "+49 2") +
                                         Card("anna", "+49 3") + Card("Bernd", "+49 4") +
                                         Card("Anna", "+49 5") + Card("anna", "+49 6"));
        CapturedMessages captured;
        TFSMS window(folder.Path(), clock_);
        QVERIFY(captured.Messages().isEmpty());
        QCOMPARE(Entries(window), QStringList({"", "anna", "Anna", "anna", "Ärger Anna", "Bernd", "Zoe"}));
        QCOMPARE(Box(window)->currentIndex(), 0);
        QCOMPARE(Box(window)->currentText(), QString());
        QVERIFY(!window.AddressBook().RecipientIsContact());
    }

    void TypingCompletesAndLooksUpOnlyWhenTheEntryChanges()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna Schmidt", "+49 1701") + Card("Anton", "+49 1702") +
                                         Card("\xDC"
                                              "bel",
                                              "+49 1703"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QSignalSpy lookups(window.findChild<TRecipientBox*>(), &TRecipientBox::Edited);
        QLineEdit* edit = Box(window)->lineEdit();

        struct Step
        {
            const char* label;
            std::function<void()> key;
            QString text;
            QString highlighted;
            int lookups;
            bool chosen;
        };
        auto type = [&](char c) { return [&, c] { QTest::keyClick(Box(window), c); }; };
        auto press = [&](Qt::Key key) { return [&, key] { QTest::keyClick(Box(window), key); }; };
        const Step steps[] = {
            {"first letter chooses at once", type('a'), "Anna Schmidt", "nna Schmidt", 1, true},
            {"same entry: no new lookup", type('n'), "Anna Schmidt", "na Schmidt", 1, true},
            {"another entry", type('t'), "Anton", "on", 2, true},
            {"no entry begins so", type('x'), "Antx", "", 3, false},
            {"backspace before the caret", press(Qt::Key_Backspace), "Ant", "", 4, false},
            {"typing on completes again", type('o'), "Anton", "n", 5, true},
            {"backspace removes the remainder", press(Qt::Key_Backspace), "Anto", "", 6, false},
        };
        for (const Step& step : steps) {
            step.key();
            QVERIFY2(edit->text() == step.text, step.label);
            QVERIFY2(edit->selectedText() == step.highlighted, step.label);
            QVERIFY2(lookups.count() == step.lookups, step.label);
            QVERIFY2(window.AddressBook().RecipientIsContact() == step.chosen, step.label);
        }

        edit->clear();
        QTest::keyClick(Box(window), 'u'); // case and umlaut: "u" does not begin "Übel"
        QCOMPARE(edit->text(), QStringLiteral("u"));
        QTest::keyClick(Box(window), Qt::Key_Backspace);
        QTest::sendKeyEvent(QTest::Click, Box(window), Qt::Key_Udiaeresis, QStringLiteral("ü"),
                            Qt::NoModifier);
        QCOMPARE(edit->text(), QStringLiteral("Übel"));
        QVERIFY(window.AddressBook().RecipientIsContact());
        QCOMPARE(window.AddressBook().Contact().MobileTelephoneNumber(), std::string("+49 1703"));
    }

    void TypingACharacterTheCodePageCannotHoldLooksUpWithoutANotice()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Lukas", "+49 1701"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        CapturedMessages captured;
        QTest::sendKeyEvent(QTest::Click, Box(window), Qt::Key_unknown, QStringLiteral("Ł"), Qt::NoModifier);
        QTest::keyClicks(Box(window), QStringLiteral("ukas"));
        QCOMPARE(Box(window)->currentText(), QStringLiteral("Łukas"));
        QVERIFY(!window.AddressBook().RecipientIsContact());
        QVERIFY(captured.Messages().isEmpty());
    }

    void ChoosingFromTheListLooksUp()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701") + Card("Bernd", "+49 1702"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClick(Box(window), Qt::Key_Down); // from the empty entry to "Anna"
        QCOMPARE(Box(window)->currentText(), QStringLiteral("Anna"));
        QVERIFY(window.AddressBook().RecipientIsContact());
        QTest::keyClick(Box(window), Qt::Key_Up);
        QVERIFY(!window.AddressBook().RecipientIsContact());
    }

    void RenamingAContactInTheFormReplacesItsEntry()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna Schmidt", "+49 1701") + Card("Bernd", "+49 1702"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClicks(Box(window), QStringLiteral("An"));
        QVERIFY(UseContactForm(window, [](QWidget* form) {
            QCOMPARE(form->findChild<QLineEdit*>("EMobileTelephoneNumber")->text(),
                     QStringLiteral("+49 1701"));
            Fill(form, "EFullName", QStringLiteral("Anna Bäcker"));
            Click(form, "BSave");
        }));
        QCOMPARE(Entries(window), QStringList({"", "Anna Bäcker", "Bernd"}));
        QCOMPARE(Box(window)->currentText(), QStringLiteral("Anna Bäcker"));
        QCOMPARE(window.StatusText(), QStringLiteral("Kontakt Anna Schmidt wurde in Anna Bäcker geändert"));
        // A changed name is written as UTF-8.
        QCOMPARE(folder.Read("Kontakte.vcf"), Card("Anna Bäcker", "+49 1701") + Card("Bernd", "+49 1702"));
    }

    void DeletingTheContactInTheFormRemovesItsEntry()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701") + Card("Bernd", "+49 1702"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClicks(Box(window), QStringLiteral("B"));
        QVERIFY(UseContactForm(window, [](QWidget* form) { Click(form, "BDelete"); }));
        QCOMPARE(Entries(window), QStringList({"", "Anna"}));
        QCOMPARE(Box(window)->currentText(), QString());
        QCOMPARE(window.StatusText(), QStringLiteral("Kontakt Bernd wurde gelöscht/komplett verändert"));
        QCOMPARE(folder.Read("Kontakte.vcf"), Card("Anna", "+49 1701"));
    }

    void NewContactFromATypedNumberIsSavedAndChosen()
    {
        TestProgramFolder folder;
        TFSMS window(folder.Path(), clock_); // no address book file yet: an empty one
        Activate(window);
        QTest::keyClicks(Box(window), QStringLiteral("01709999"));
        QVERIFY(UseContactForm(window, [](QWidget* form) {
            QCOMPARE(form->findChild<QLineEdit*>("EMobileTelephoneNumber")->text(),
                     QStringLiteral("+491709999"));
            Fill(form, "EFullName", QStringLiteral("Dora"));
            Click(form, "BSave");
        }));
        QCOMPARE(window.StatusText(), QStringLiteral("Kontakt Dora wurde erstellt"));
        QCOMPARE(Entries(window), QStringList({"", "Dora"}));
        QVERIFY(window.AddressBook().RecipientIsContact());
        QVERIFY(folder.Read("Kontakte.vcf").contains("FN:Dora\r\n"));
    }

    void FailedSaveIsShownAndTheFormStaysOpen()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClicks(Box(window), QStringLiteral("Anna"));
        CapturedMessages captured;
        bool stayedOpen = false;
        const QByteArray changedElsewhere = Card("Anna", "+49 1709");
        QVERIFY(UseContactForm(window, [&](QWidget* form) {
            folder.Write("Kontakte.vcf", changedElsewhere); // another program changes the card meanwhile
            Fill(form, "EFullName", QStringLiteral("Anna Neu"));
            Click(form, "BSave");
            stayedOpen = form->isVisible();
            Click(form, "BClose");
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(captured.Messages().size(), 1);
        QCOMPARE(captured.Messages().first().second,
                 QString::fromStdString(ErrorBoxText(AddressBookMessages::ChangedElsewhere("Anna"))));
        QCOMPARE(window.StatusText(), QString()); // the name did not change
        QCOMPARE(folder.Read("Kontakte.vcf"), changedElsewhere);
    }

    void UnreadableAddressBookLeavesAUsableWindow()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", "kein Adressbuch\r\n");
        CapturedMessages captured;
        {
            TFSMS window(folder.Path(), clock_);
            QCOMPARE(captured.Messages().size(), 1);
            QVERIFY(captured.Messages().first().second.startsWith(QStringLiteral("Das Adressbuch ")));
            QCOMPARE(Entries(window), QStringList({""}));
            QVERIFY(!window.AddressBook().ContactsFolder());
            Activate(window);
            QTest::keyClicks(Box(window), QStringLiteral("0170123"));
            QCOMPARE(Box(window)->currentText(), QStringLiteral("0170123"));
            QVERIFY(!window.AddressBook().RecipientIsContact());
            QCOMPARE(window.LogicWindow().RecipientText(), std::string("0170123"));
            QTest::mouseClick(window.findChild<QPushButton*>("BNewContact"), Qt::LeftButton);
            QCOMPARE(captured.Messages().size(), 2);
            QCOMPARE(captured.Messages().last().second, QStringLiteral("Keine Verbindung zum Adressbuch."));
        }
        QCOMPARE(captured.Messages().size(), 2); // closing released only what was held, quietly
    }

    void SwitchingTheAddressBookOffAndOnRereadsIt()
    {
        TestProgramFolder folder;
        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QTest::keyClicks(Box(window), QStringLiteral("Anna"));
        QVERIFY(window.AddressBook().RecipientIsContact());
        auto switchTo = [&window](bool on) {
            QTimer::singleShot(0, [on] {
                QWidget* dialog = QApplication::activeModalWidget();
                dialog->findChild<QCheckBox*>("CBUseOutlookAdressbook")->setChecked(on);
                Click(dialog, "BAccept");
                Click(dialog, "BClose");
            });
            window.findChild<QAction*>("AEinstellungen")->trigger();
        };

        switchTo(false);
        QCOMPARE(Box(window)->count(), 0);
        QCOMPARE(Box(window)->currentText(), QString());
        QVERIFY(!window.AddressBook().RecipientIsContact());
        QVERIFY(!window.AddressBook().ContactsFolder() && !window.AddressBook().Connected());

        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701") + Card("Bernd", "+49 1702"));
        switchTo(true);
        QCOMPARE(Entries(window), QStringList({"", "Anna", "Bernd"}));
        QCOMPARE(Box(window)->currentIndex(), 0);
        QVERIFY(window.AddressBook().ContactsFolder());
    }

    void WithTheAddressBookOffTheBoxIsPlain()
    {
        TestProgramFolder folder(AddressBookOff);
        folder.Write("Kontakte.vcf", Card("Anna", "+49 1701"));
        TFSMS window(folder.Path(), clock_);
        Activate(window);
        QCOMPARE(Box(window)->count(), 0);
        QTest::keyClicks(Box(window), QStringLiteral("Anna"));
        QVERIFY(!window.AddressBook().RecipientIsContact());
        QTest::mouseClick(window.findChild<QPushButton*>("BNewContact"), Qt::LeftButton);
        QCOMPARE(window.StatusText(), QStringLiteral("Sie haben kein Adressbuch ausgewählt."));
    }
};

int RunContactsWindowTest(int argc, char** argv)
{
    ContactsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ContactsWindowTest.moc"
