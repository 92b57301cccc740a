#include "ActiveWindow.h"
#include "TestProgramFolder.h"

#include "runtime/IniFile.h"
#include "ui/SetupControls.h"
#include "ui/SetupDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <filesystem>
#include <map>
#include <variant>

class SetupDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pagesAndCaptions();
    void labelsStandBesideTheirBoxes();
    void headingsAndCheckBoxes();
    void buttonsAndTheirKeys();
    void tabOrderOfTheAccountPage();
    void loadsTheRecordIntoTheControls();
    void acceptStoresEveryKeyInMemoryAndFile();
    void everyControlShowsAndStoresItsKey();
    void lengthWithLeadingZerosIsStoredPlain();
    void lengthThatIsNoIntegerStopsAfterTheFormatToken();
    void savePasswordBoxTogglesThePasswordBox();
    void uncheckedSavePasswordStoresTheMarker();
    void escapeReloadsAndStaysOpen();
    void enterClosesWithoutStoring();

private:
    template <class T> T* Find(TFSetupDialog& dialog, const char* name)
    {
        return FindControl<T>(dialog, name);
    }
    std::string IniPath() const { return SettingsFilePath(folder_->Path()); }
    QStringList Errors() const { return captured_->Texts(); }
    void ShowActive(TFSetupDialog& dialog);
    // Shows the dialog on its first page and puts `name` into the account box, which has the focus.
    QLineEdit* ChangeAccountNameInShownDialog(TFSetupDialog& dialog, const QString& name)
    {
        Activate(dialog);
        Find<QTabWidget>(dialog, "PCSetupDialog")->setCurrentIndex(0);
        auto* account = Find<QLineEdit>(dialog, "EAccountID");
        account->setFocus();
        account->setText(name);
        return account;
    }

    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<CapturedMessages> captured_;
    TSettings settings_;
};

void SetupDialogTest::init()
{
    folder_ = std::make_unique<TestProgramFolder>();
    captured_ = std::make_unique<CapturedMessages>();
    settings_ = TSettings{};
    settings_.POP3Server = "pop.beispiel.de";
    settings_.SMTPServer = "smtp.beispiel.de";
    settings_.SMSServer = "sms.beispiel.de";
    settings_.FormatToken = "#";
    settings_.MaxSMSLength = 150;
    settings_.LoginPassword = "geheim";
}

void SetupDialogTest::cleanup()
{
    captured_.reset();
    folder_.reset();
}

void SetupDialogTest::pagesAndCaptions()
{
    TFSetupDialog dialog(settings_, IniPath());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Einstellungen"));
    QVERIFY(dialog.width() >= 541 && dialog.height() >= 298);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    auto* pages = Find<QTabWidget>(dialog, "PCSetupDialog");
    QCOMPARE(pages->count(), 4);
    const char* names[] = {"TSeMailAccount", "TSSMS", "TSAdressbook", "TSConnection"};
    const char* captions[] = {"eMail Konto", "SMS", "Adressbuch", "Verbindung"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(pages->widget(i)->objectName(), QString::fromLatin1(names[i]));
        QCOMPARE(pages->tabText(i), QString::fromUtf8(captions[i]));
    }
    QCOMPARE(pages->currentIndex(), 2);
}

void SetupDialogTest::labelsStandBesideTheirBoxes()
{
    TFSetupDialog dialog(settings_, IniPath());
    QMap<QString, QString> labelOf;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy()) labelOf[label->buddy()->objectName()] = label->text();
    const QMap<QString, QString> expected = {
        {"EAccountID", "Benutzername:"},
        {"EPassword", "Kennwort:"},
        {"EUserName", "Ihr Name:"},
        {"EeMailAdress", "eMail-Adresse:"},
        {"EPOP3Server", "Posteingangserver (POP3):"},
        {"ESMTPServer", "Postausgangserver (SMTP):"},
        {"ESMSProvider", "SMS @-Adresse:"},
        {"EFormatToken", "Format-Zeichen vor Nachricht:"},
        {"EMaxSMSLength", "Maximale Länge:"},
        {"ESMTPPort", "SMTP-Port:"},
        {"ComboBoxSMTPSecurity", "SMTP-Verschlüsselung:"},
        {"EPOP3Port", "POP3-Port:"},
        {"ComboBoxPOP3Security", "POP3-Verschlüsselung:"},
    };
    QCOMPARE(labelOf, expected);
    for (const QString& name : expected.keys()) {
        QCOMPARE(dialog.findChild<QWidget*>(name)->width(), 121);
        if (auto* box = dialog.findChild<QLineEdit*>(name)) QCOMPARE(box->echoMode(), QLineEdit::Normal);
    }
}

void SetupDialogTest::headingsAndCheckBoxes()
{
    TFSetupDialog dialog(settings_, IniPath());
    const QMap<QString, QStringList> headingsOf = {
        {"TSeMailAccount", {"Anmeldeinformationen", "Benutzerinformationen", "Serverinformationen"}},
        {"TSSMS", {"Empfängeradresse", "Format", "Versandtoptionen"}},
        {"TSAdressbook", {"Adressbuch"}},
        {"TSConnection", {"Postausgangsserver (SMTP)", "Posteingangsserver (POP3)"}},
    };
    for (const QString& page : headingsOf.keys()) {
        QStringList headings;
        for (QLabel* label : dialog.findChild<QWidget*>(page)->findChildren<QLabel*>()) {
            if (label->buddy()) continue;
            QVERIFY2(label->font().bold(), qPrintable(label->text()));
            headings << label->text();
        }
        QCOMPARE(headings, headingsOf[page]);
    }
    const QMap<QString, QString> checkBoxes = {
        {"CBSavePassword", "Passwort Speichern (ACHTUNG! unsicher)"},
        {"CBPOP3First", "Beim Posteingangsserver zuerst anmelden"},
        {"CBLastSMSFirst", "Bei MultiSMS letzte SMS zuerst senden"},
        {"CBSMSAutoSave", "SMS nach versandt automatisch speichern"},
        {"CBUseOutlookAdressbook", "Adressbuch (Kontakte.vcf) verwenden"},
        {"CBSMTPAuth", "Am Postausgangsserver anmelden (SMTP AUTH)"},
    };
    for (const QString& name : checkBoxes.keys())
        QCOMPARE(dialog.findChild<QCheckBox*>(name)->text(), checkBoxes[name]);
}

void SetupDialogTest::buttonsAndTheirKeys()
{
    TFSetupDialog dialog(settings_, IniPath());
    dialog.show();
    int left = dialog.width() / 2;
    for (auto [name, caption] : {std::pair{"BAccept", "Übernehmen"}, std::pair{"BDecline", "Verwerfen"},
                                 std::pair{"BClose", "Schließen"}}) {
        auto* button = Find<QPushButton>(dialog, name);
        QCOMPARE(button->text(), QString::fromUtf8(caption));
        QVERIFY2(button->x() > left, name);
        QVERIFY(button->y() > dialog.height() / 2);
        left = button->x();
    }
    QVERIFY(Find<QPushButton>(dialog, "BClose")->isDefault());
}

void SetupDialogTest::tabOrderOfTheAccountPage()
{
    TFSetupDialog dialog(settings_, IniPath());
    Find<QTabWidget>(dialog, "PCSetupDialog")->setCurrentIndex(0);
    Activate(dialog);
    Find<QLineEdit>(dialog, "EPOP3Server")->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, QStringList({"EPOP3Server", "ESMTPServer", "EAccountID", "EPassword", "EeMailAdress",
                                 "EUserName", "CBPOP3First", "CBSavePassword"}));
}

void SetupDialogTest::loadsTheRecordIntoTheControls()
{
    settings_.LoginName = "hans";
    settings_.UserName = "Hans M\xFCller";
    settings_.eMailAdress = "hans@beispiel.de";
    settings_.Pop3First = false;
    settings_.AutoSave = false;
    settings_.LastSMSFirst = true;
    settings_.UseOutlookAdressbook = false;
    TFSetupDialog dialog(settings_, IniPath());
    const QMap<QString, QString> texts = {
        {"EAccountID", "hans"},
        {"EPassword", "geheim"},
        {"EUserName", "Hans Müller"},
        {"EeMailAdress", "hans@beispiel.de"},
        {"EPOP3Server", "pop.beispiel.de"},
        {"ESMTPServer", "smtp.beispiel.de"},
        {"ESMSProvider", "sms.beispiel.de"},
        {"EFormatToken", "#"},
        {"EMaxSMSLength", "150"},
    };
    for (const QString& name : texts.keys())
        QCOMPARE(dialog.findChild<QLineEdit*>(name)->text(), texts[name]);
    QVERIFY(!Find<QLineEdit>(dialog, "EPassword")->isReadOnly());
    QVERIFY(Find<QCheckBox>(dialog, "CBSavePassword")->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog, "CBPOP3First")->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog, "CBSMSAutoSave")->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, "CBLastSMSFirst")->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog, "CBUseOutlookAdressbook")->isChecked());
}

void SetupDialogTest::acceptStoresEveryKeyInMemoryAndFile()
{
    TFSetupDialog dialog(settings_, IniPath());
    Find<QLineEdit>(dialog, "EAccountID")->setText("neu");
    Find<QLineEdit>(dialog, "EUserName")->setText("Jörg");
    Find<QLineEdit>(dialog, "ESMSProvider")->setText("gw.beispiel.de");
    Find<QCheckBox>(dialog, "CBPOP3First")->setChecked(false);
    Find<QCheckBox>(dialog, "CBLastSMSFirst")->setChecked(false);
    Find<QCheckBox>(dialog, "CBUseOutlookAdressbook")->setChecked(false);
    Activate(dialog);
    QTest::mouseClick(Find<QPushButton>(dialog, "BAccept"), Qt::LeftButton);

    QVERIFY(Errors().isEmpty());
    QVERIFY(dialog.isVisible());
    QCOMPARE(settings_.LoginName, std::string("neu"));
    QCOMPARE(settings_.UserName, std::string("J\xF6rg"));
    QCOMPARE(settings_.SMSServer, std::string("gw.beispiel.de"));
    QVERIFY(!settings_.Pop3First);
    QVERIFY(!settings_.LastSMSFirst);
    QVERIFY(!settings_.UseOutlookAdressbook);
    const IniFile ini(IniPath());
    QCOMPARE(ini.ReadString("eMailAccount", "LoginName", ""), std::string("neu"));
    QCOMPARE(ini.ReadString("eMailAccount", "LoginPassword", ""), std::string("geheim"));
    QCOMPARE(ini.ReadString("eMailAccount", "UserName", ""), std::string("J\xF6rg"));
    QCOMPARE(ini.ReadString("eMailAccount", "Pop3First", ""), std::string("0"));
    QCOMPARE(ini.ReadString("SMS", "SMSServer", ""), std::string("gw.beispiel.de"));
    QCOMPARE(ini.ReadString("SMS", "FormatToken", ""), std::string("#"));
    QCOMPARE(ini.ReadString("SMS", "MaxSMSLength", ""), std::string("150"));
    QCOMPARE(ini.ReadString("SMS", "LastSMSFirst", ""), std::string("0"));
    QCOMPARE(ini.ReadString("Adressbook", "UseOutlookAdressbook", ""), std::string("0"));
    QCOMPARE(ini.ReadString("SMS", "LastSentSMS", "nie"), std::string("nie"));
    QCOMPARE(ini.ReadString("SMS", "SMSThisMonth", "nie"), std::string("nie"));
}

// Row i of the table holds 100 + i (or i odd, or entry i mod 3) in the record and gets 200 + i (or
// i even, or entry i + 1 mod 3) in its control: each row's control shows its key and stores what it
// holds under that key, so a row the dialog skips, or a control bound to a field of another type,
// shows. Which control belongs to which key the tests above pin by name.
void SetupDialogTest::everyControlShowsAndStoresItsKey()
{
    for (size_t i = 0; i < SetupControls.size(); ++i) {
        const bool entry = QString::fromLatin1(SetupControls[i].ControlName).startsWith("ComboBox");
        auto assign = [n = 100 + static_cast<int>(i), entry](auto& value) {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, bool>)
                value = n % 2 != 0;
            else if constexpr (std::is_same_v<Value, std::string>)
                value = std::to_string(n);
            else
                value = entry ? (n - 100) % 3 : n;
        };
        std::visit([&](auto field) { assign(settings_.*field); }, SetupControls[i].Field);
    }
    TFSetupDialog dialog(settings_, IniPath());
    std::map<std::string_view, std::string> expected;
    for (size_t i = 0; i < SetupControls.size(); ++i) {
        const char* name = SetupControls[i].ControlName;
        std::string_view key = SettingDefinitionOf(SetupControls[i].Field).Name;
        if (auto* box = dialog.findChild<QCheckBox*>(name)) {
            QVERIFY2(box->isChecked() == (i % 2 != 0), name);
            box->setChecked(i % 2 == 0);
            expected[key] = i % 2 == 0 ? "1" : "0";
        } else if (auto* entries = dialog.findChild<QComboBox*>(name)) {
            QCOMPARE(entries->currentIndex(), int(i % 3));
            entries->setCurrentIndex(int(i + 1) % 3);
            expected[key] = std::to_string((i + 1) % 3);
        } else {
            auto* edit = Find<QLineEdit>(dialog, name);
            QCOMPARE(edit->text(), QString::number(100 + i));
            edit->setText(QString::number(200 + i));
            expected[key] = std::to_string(200 + i);
        }
    }
    // CBSavePassword now stands unchecked, so the password box stores the marker.
    QVERIFY(!Find<QCheckBox>(dialog, "CBSavePassword")->isChecked());
    expected["LoginPassword"] = PasswordMarker;
    dialog.SaveControlsToSettings();

    const IniFile ini(IniPath());
    for (const SetupControl& control : SetupControls) {
        const SettingDefinition& key = SettingDefinitionOf(control.Field);
        QCOMPARE(ini.ReadString(key.Section, key.Name, "fehlt"), expected[key.Name]);
    }
    TSettings reloaded;
    LoadSettings(reloaded, ini, FixedClock({2002, 1, 1, 0, 0, 0}));
    QVERIFY(reloaded == settings_);
}

void SetupDialogTest::lengthWithLeadingZerosIsStoredPlain()
{
    TFSetupDialog dialog(settings_, IniPath());
    Find<QLineEdit>(dialog, "EMaxSMSLength")->setText("0160");
    dialog.SaveControlsToSettings();
    QCOMPARE(settings_.MaxSMSLength, 160);
    QCOMPARE(IniFile(IniPath()).ReadString("SMS", "MaxSMSLength", ""), std::string("160"));
}

void SetupDialogTest::lengthThatIsNoIntegerStopsAfterTheFormatToken()
{
    TFSetupDialog dialog(settings_, IniPath());
    Find<QLineEdit>(dialog, "EFormatToken")->setText("*");
    Find<QLineEdit>(dialog, "EMaxSMSLength")->setText("viele");
    Find<QCheckBox>(dialog, "CBSMSAutoSave")->setChecked(false);
    Find<QCheckBox>(dialog, "CBUseOutlookAdressbook")->setChecked(false);
    QTest::mouseClick(Find<QPushButton>(dialog, "BAccept"), Qt::LeftButton);

    QCOMPARE(Errors(), QStringList{"'viele' ist kein gültiger Integerwert."});
    QCOMPARE(settings_.FormatToken, std::string("*"));
    QCOMPARE(settings_.MaxSMSLength, 150);
    QVERIFY(settings_.AutoSave);
    QVERIFY(settings_.UseOutlookAdressbook);
    const IniFile ini(IniPath());
    QCOMPARE(ini.ReadString("SMS", "FormatToken", ""), std::string("*"));
    QCOMPARE(ini.ReadString("SMS", "MaxSMSLength", "fehlt"), std::string("fehlt"));
    QCOMPARE(ini.ReadString("SMS", "AutoSave", "fehlt"), std::string("fehlt"));
    QCOMPARE(ini.ReadString("Adressbook", "UseOutlookAdressbook", "fehlt"), std::string("fehlt"));
}

void SetupDialogTest::savePasswordBoxTogglesThePasswordBox()
{
    settings_.SavePassword = false;
    TFSetupDialog dialog(settings_, IniPath());
    auto* password = Find<QLineEdit>(dialog, "EPassword");
    auto* savePassword = Find<QCheckBox>(dialog, "CBSavePassword");
    QCOMPARE(password->text(), QStringLiteral("nicht gespeichert"));
    QVERIFY(password->isReadOnly());

    savePassword->click();
    QCOMPARE(password->text(), QString());
    QVERIFY(!password->isReadOnly());
    password->setText("neu");
    dialog.SaveControlsToSettings();
    QCOMPARE(settings_.LoginPassword, std::string("neu"));
    QVERIFY(settings_.SavePassword);

    savePassword->click();
    QCOMPARE(password->text(), QStringLiteral("nicht gespeichert"));
    QVERIFY(password->isReadOnly());
}

void SetupDialogTest::uncheckedSavePasswordStoresTheMarker()
{
    TFSetupDialog dialog(settings_, IniPath());
    Find<QCheckBox>(dialog, "CBSavePassword")->click();
    dialog.SaveControlsToSettings();
    QCOMPARE(settings_.LoginPassword, std::string("nicht gespeichert"));
    const IniFile ini(IniPath());
    QCOMPARE(ini.ReadString("eMailAccount", "LoginPassword", ""), std::string("nicht gespeichert"));
    QCOMPARE(ini.ReadString("eMailAccount", "SavePassword", ""), std::string("0"));
}

void SetupDialogTest::escapeReloadsAndStaysOpen()
{
    TFSetupDialog dialog(settings_, IniPath());
    QLineEdit* account = ChangeAccountNameInShownDialog(dialog, "verworfen");
    Find<QCheckBox>(dialog, "CBSavePassword")->click();
    QTest::keyClick(account, Qt::Key_Escape);

    QVERIFY(dialog.isVisible());
    QCOMPARE(account->text(), QStringLiteral("Dein Login"));
    QCOMPARE(Find<QLineEdit>(dialog, "EPassword")->text(), QStringLiteral("geheim"));
    QVERIFY(Find<QCheckBox>(dialog, "CBSavePassword")->isChecked());
    QVERIFY(!std::filesystem::exists(IniPath()));
}

void SetupDialogTest::enterClosesWithoutStoring()
{
    TFSetupDialog dialog(settings_, IniPath());
    QLineEdit* account = ChangeAccountNameInShownDialog(dialog, "geändert");
    QTest::keyClick(account, Qt::Key_Return);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(settings_.LoginName, std::string("Dein Login"));
    QVERIFY(!std::filesystem::exists(IniPath()));
}

int RunSetupDialogTest(int argc, char** argv)
{
    SetupDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SetupDialogTest.moc"
