#include "ui/SetupDialog.h"

#include "core/MailClientSetup.h"
#include "core/UserIniLock.h"
#include "runtime/Convert.h"
#include "runtime/IniFile.h"
#include "ui/ErrorGuard.h"
#include "ui/PasswordDialog.h"
#include "ui/QtCodePage.h"
#include "ui/SetupControls.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <optional>
#include <variant>

namespace {

constexpr int EditWidth = 121;
constexpr int DesignedWidth = 541;
constexpr int DesignedHeight = 298;
constexpr int ButtonWidth = 74;

// The two groups of a page, side by side: the grid columns of their labels (boxes stand one
// column further right, column 2 keeps the groups apart).
enum class Side { Left = 0, Right = 3 };

// A page laid out as designed: headings, labelled edit boxes and check boxes in rows of a left and
// a right group. The grid follows the font, so no caption is cut off on a platform whose font is
// wider than the one the dialog was designed with.
class PageGrid
{
public:
    explicit PageGrid(QWidget* page) : page_(page), grid_(new QGridLayout(page))
    {
        grid_->setColumnMinimumWidth(2, 24);
        grid_->setColumnStretch(5, 1);
    }

    void Heading(int row, Side side, const char* text)
    {
        auto* heading = new QLabel(QString::fromUtf8(text), page_);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid_->addWidget(heading, row, Column(side), 1, 2);
    }

    // An edit box with its label to the left; the label is the box's buddy.
    QLineEdit* Edit(int row, Side side, const char* name, const char* labelText)
    {
        auto* box = new QLineEdit(page_);
        Labelled(row, side, box, name, labelText);
        return box;
    }

    // A drop-down box of fixed entries, labelled like an edit box.
    QComboBox* Combo(int row, Side side, const char* name, const char* labelText,
                     std::initializer_list<const char*> entries)
    {
        auto* box = new QComboBox(page_);
        for (const char* entry : entries) box->addItem(QString::fromUtf8(entry));
        Labelled(row, side, box, name, labelText);
        return box;
    }

    QPushButton* Button(int row, Side side, const char* name, const char* caption)
    {
        auto* button = new QPushButton(QString::fromUtf8(caption), page_);
        button->setObjectName(QString::fromLatin1(name));
        grid_->addWidget(button, row, Column(side), 1, 2, Qt::AlignLeft);
        return button;
    }

    // Checked as designed; the settings overwrite that when the dialog is created.
    QCheckBox* CheckBox(int row, Side side, const char* name, const char* text)
    {
        auto* box = new QCheckBox(QString::fromUtf8(text), page_);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(true);
        grid_->addWidget(box, row, Column(side), 1, 2);
        return box;
    }

    void Gap(int row) { grid_->setRowMinimumHeight(row, 12); }

    void End(int row) { grid_->setRowStretch(row, 1); }

private:
    static int Column(Side side) { return static_cast<int>(side); }

    void Labelled(int row, Side side, QWidget* box, const char* name, const char* labelText)
    {
        box->setObjectName(QString::fromLatin1(name));
        box->setFixedWidth(EditWidth);
        auto* label = new QLabel(QString::fromUtf8(labelText), page_);
        label->setBuddy(box);
        grid_->addWidget(label, row, Column(side));
        grid_->addWidget(box, row, Column(side) + 1);
    }

    QWidget* page_;
    QGridLayout* grid_;
};

QWidget* NewPage(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

QPushButton* NewButton(QWidget* dialog, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), dialog);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(ButtonWidth);
    return button;
}

void ShowValue(QWidget* control, const std::string& value)
{
    qobject_cast<QLineEdit*>(control)->setText(FromCodePage(value));
}

void ShowValue(QWidget* control, bool value)
{
    qobject_cast<QCheckBox*>(control)->setChecked(value);
}

// A combo box shows no entry for a value that has none, so "Übernehmen" refuses it.
void ShowValue(QWidget* control, int value)
{
    if (auto* box = qobject_cast<QComboBox*>(control)) {
        box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
        return;
    }
    qobject_cast<QLineEdit*>(control)->setText(QString::number(value));
}

void ReadValue(const QWidget* control, std::string& value, SettingField)
{
    value = ToCodePage(qobject_cast<const QLineEdit*>(control)->text());
}

void ReadValue(const QWidget* control, bool& value, SettingField)
{
    value = qobject_cast<const QCheckBox*>(control)->isChecked();
}

const ServerConnectionKeys& ServerOfPort(SettingField port)
{
    return port == SettingField(SmtpConnectionKeys.Port) ? SmtpConnectionKeys : Pop3ConnectionKeys;
}

// The entry chosen in a combo box (none chosen leaves `value`); the text of an edit box converted
// strictly, as the SMS length or as a port. A refused text leaves `value` unchanged.
void ReadValue(const QWidget* control, int& value, SettingField field)
{
    if (auto* box = qobject_cast<const QComboBox*>(control)) {
        if (box->currentIndex() >= 0) value = box->currentIndex();
        return;
    }
    const std::string text = ToCodePage(qobject_cast<const QLineEdit*>(control)->text());
    value = field == SettingField(&TSettings::MaxSMSLength) ? ParseMaxSmsLength(text)
                                                            : ParsePort(text, ServerOfPort(field));
}

} // namespace

TFSetupDialog::TFSetupDialog(TSettings& settings, std::string settingsFilePath, QWidget* parent,
                             StatusDisplay showStatus)
    : QDialog(parent), settings_(settings), settingsFilePath_(std::move(settingsFilePath)),
      showStatus_(showStatus ? std::move(showStatus) : [](const std::string&) {})
{
    setObjectName(QStringLiteral("FSetupDialog"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    // Shown from the main window, the dialog takes the window's font.
    setAttribute(Qt::WA_WindowPropagation);

    PCSetupDialog = new QTabWidget(this);
    PCSetupDialog->setObjectName(QStringLiteral("PCSetupDialog"));
    PCSetupDialog->addTab(CreateEMailAccountPage(), QStringLiteral("eMail Konto"));
    PCSetupDialog->addTab(CreateSmsPage(), QStringLiteral("SMS"));
    PCSetupDialog->addTab(CreateAdressbookPage(), QStringLiteral("Adressbuch"));
    PCSetupDialog->addTab(CreateConnectionPage(), QStringLiteral("Verbindung"));
    PCSetupDialog->setCurrentIndex(2);
    auto* dialogLayout = new QVBoxLayout(this);
    dialogLayout->addWidget(PCSetupDialog);
    dialogLayout->addLayout(CreateButtons());
    SetAccountPageTabOrder();
    // A fixed border: the designed size, or more where the font needs it.
    setFixedSize(sizeHint().expandedTo(QSize(DesignedWidth, DesignedHeight)));

    LoadSettingsToControls();
}

QWidget* TFSetupDialog::CreateEMailAccountPage()
{
    QWidget* page = NewPage("TSeMailAccount");
    PageGrid grid(page);
    grid.Heading(0, Side::Left, "Anmeldeinformationen");
    grid.Edit(1, Side::Left, "EAccountID", "Benutzername:");
    EPassword = grid.Edit(2, Side::Left, "EPassword", "Kennwort:");
    CBSavePassword = grid.CheckBox(3, Side::Left, "CBSavePassword", "Passwort Speichern (ACHTUNG! unsicher)");
    grid.Gap(4);
    grid.Heading(5, Side::Left, "Benutzerinformationen");
    grid.Edit(6, Side::Left, "EUserName", "Ihr Name:");
    grid.Edit(7, Side::Left, "EeMailAdress", "eMail-Adresse:");
    grid.Heading(0, Side::Right, "Serverinformationen");
    grid.Edit(1, Side::Right, "EPOP3Server", "Posteingangserver (POP3):");
    grid.Edit(2, Side::Right, "ESMTPServer", "Postausgangserver (SMTP):");
    grid.CheckBox(3, Side::Right, "CBPOP3First", "Beim Posteingangsserver zuerst anmelden");
    grid.End(8);

    connect(CBSavePassword, &QCheckBox::clicked, this, &TFSetupDialog::CBSavePasswordClick);
    return page;
}

QWidget* TFSetupDialog::CreateSmsPage()
{
    QWidget* page = NewPage("TSSMS");
    PageGrid grid(page);
    grid.Heading(0, Side::Left, "Empfängeradresse");
    grid.Edit(1, Side::Left, "ESMSProvider", "SMS @-Adresse:");
    grid.Heading(0, Side::Right, "Format");
    grid.Edit(1, Side::Right, "EFormatToken", "Format-Zeichen vor Nachricht:");
    grid.Edit(2, Side::Right, "EMaxSMSLength", "Maximale Länge:");
    grid.Gap(3);
    grid.Heading(4, Side::Left, "Versandtoptionen");
    grid.CheckBox(5, Side::Left, "CBLastSMSFirst", "Bei MultiSMS letzte SMS zuerst senden");
    grid.CheckBox(6, Side::Left, "CBSMSAutoSave", "SMS nach versandt automatisch speichern");
    grid.End(7);
    return page;
}

QWidget* TFSetupDialog::CreateAdressbookPage()
{
    QWidget* page = NewPage("TSAdressbook");
    PageGrid grid(page);
    grid.Heading(0, Side::Left, "Adressbuch");
    grid.CheckBox(1, Side::Left, "CBUseOutlookAdressbook", "Adressbuch (Kontakte.vcf) verwenden");
    grid.End(2);
    return page;
}

QWidget* TFSetupDialog::CreateConnectionPage()
{
    QWidget* page = NewPage("TSConnection");
    PageGrid grid(page);
    std::initializer_list<const char*> securities = {"Keine", "STARTTLS", "SSL/TLS"};
    grid.Heading(0, Side::Left, "Postausgangsserver (SMTP)");
    grid.Edit(1, Side::Left, "ESMTPPort", "SMTP-Port:");
    QComboBox* smtpSecurity =
        grid.Combo(2, Side::Left, "ComboBoxSMTPSecurity", "SMTP-Verschlüsselung:", securities);
    grid.CheckBox(3, Side::Left, "CBSMTPAuth", "Am Postausgangsserver anmelden (SMTP AUTH)");
    grid.Heading(0, Side::Right, "Posteingangsserver (POP3)");
    grid.Edit(1, Side::Right, "EPOP3Port", "POP3-Port:");
    QComboBox* pop3Security =
        grid.Combo(2, Side::Right, "ComboBoxPOP3Security", "POP3-Verschlüsselung:", securities);
    grid.Gap(4);
    BTestConnection = grid.Button(5, Side::Left, "BTestConnection", "Verbindung testen");
    grid.End(6);

    // Only the user's choice moves the port; loading the controls shows the stored one.
    connect(smtpSecurity, &QComboBox::activated, this,
            [this](int security) { SecurityChosen(SmtpConnectionKeys, security); });
    connect(pop3Security, &QComboBox::activated, this,
            [this](int security) { SecurityChosen(Pop3ConnectionKeys, security); });
    connect(BTestConnection, &QPushButton::clicked, this, &TFSetupDialog::BTestConnectionClick);
    return page;
}

// Set once the pages sit in the dialog: moving a page into the page control would reorder its chain.
void TFSetupDialog::SetAccountPageTabOrder()
{
    const char* order[] = {"EPOP3Server",  "ESMTPServer", "EAccountID",  "EPassword",
                           "EeMailAdress", "EUserName",   "CBPOP3First", "CBSavePassword"};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(ControlNamed(order[i - 1]), ControlNamed(order[i]));
}

// "Übernehmen", "Verwerfen" and "Schließen" at the bottom right; "Schließen" answers Enter.
QLayout* TFSetupDialog::CreateButtons()
{
    BAccept = NewButton(this, "BAccept", "Übernehmen");
    BDecline = NewButton(this, "BDecline", "Verwerfen");
    BClose = NewButton(this, "BClose", "Schließen");
    BClose->setDefault(true);
    connect(BAccept, &QPushButton::clicked, this, &TFSetupDialog::BAcceptClick);
    connect(BDecline, &QPushButton::clicked, this, &TFSetupDialog::BDeclineClick);
    connect(BClose, &QPushButton::clicked, this, &TFSetupDialog::BCloseClick);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : {BAccept, BDecline, BClose}) row->addWidget(button);
    return row;
}

void TFSetupDialog::LoadSettingsToControls()
{
    // Setting CBSavePassword from the record does not run CBSavePasswordClick, so "Verwerfen"
    // brings back the stored password rather than an emptied box.
    for (const SetupControl& control : SetupControls)
        std::visit([&](auto field) { ShowValue(ControlNamed(control.ControlName), settings_.*field); },
                   control.Field);
    if (settings_.SavePassword)
        EPassword->setReadOnly(false);
    else
        ShowPasswordMarker();
}

// Under the lock beside user.ini: a send that records its count meanwhile (a command-line send)
// and these writes would otherwise each replace the file with a copy that lacks the other's change.
void TFSetupDialog::SaveControlsToSettings()
{
    CheckConnectionPage();
    const UserIniLock lock(settingsFilePath_);
    IniFile ini(settingsFilePath_);
    for (const SetupControl& control : SetupControls) {
        ReadControl(control, settings_);
        WriteSetting(ini, settings_, control.Field);
    }
}

// Without SavePassword (read before it) the password is the marker, whatever the box holds.
void TFSetupDialog::ReadControl(const SetupControl& control, TSettings& into) const
{
    std::visit([&](auto field) { ReadValue(ControlNamed(control.ControlName), into.*field, control.Field); },
               control.Field);
    if (control.Field == SettingField(&TSettings::LoginPassword) && !into.SavePassword)
        into.LoginPassword = PasswordMarker;
}

// The record as the controls show it, but for the SMS length, which a connection does not use and
// which may not be a number yet. A port that is none raises its refusal.
TSettings TFSetupDialog::ShownSettings() const
{
    TSettings shown = settings_;
    for (const SetupControl& control : SetupControls)
        if (control.Field != SettingField(&TSettings::MaxSMSLength)) ReadControl(control, shown);
    return shown;
}

void TFSetupDialog::CheckConnectionPage() const
{
    const TSettings shown = ShownSettings();
    CheckConnectionKeys(shown, SmtpConnectionKeys);
    CheckConnectionKeys(shown, Pop3ConnectionKeys);
}

// A port that holds a standard port of its server follows the encryption chosen; a typed one stays.
void TFSetupDialog::SecurityChosen(const ServerConnectionKeys& server, int security)
{
    auto* portBox = qobject_cast<QLineEdit*>(ControlOf(server.Port));
    if (const std::optional<int> port = TryStrToInt(ToCodePageQuietly(portBox->text())))
        portBox->setText(QString::number(PortForSecurity(server, *port, security)));
}

void TFSetupDialog::keyPressEvent(QKeyEvent* event)
{
    // Esc is the key of "Verwerfen": it reloads the controls and the dialog stays open.
    if (event->matches(QKeySequence::Cancel)) {
        BDecline->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFSetupDialog::BAcceptClick()
{
    Guarded([this] { SaveControlsToSettings(); });
}

void TFSetupDialog::BDeclineClick()
{
    Guarded([this] { LoadSettingsToControls(); });
}

void TFSetupDialog::BCloseClick()
{
    accept();
}

// The password the box shows; when it shows the marker, the one in memory, and when that is the
// marker too and a server gets it, the prompt asks for it as a send does (in memory only).
void TFSetupDialog::BTestConnectionClick()
{
    Guarded([this] {
        TSettings shown = ShownSettings();
        if (shown.LoginPassword == PasswordMarker) {
            if (settings_.LoginPassword == PasswordMarker && UsesPassword(shown))
                TFPasswordDialog(settings_, this).exec();
            shown.LoginPassword = settings_.LoginPassword;
        }
        ShowInformation(QString::fromStdString(TestConnection(shown, showStatus_)));
    });
}

void TFSetupDialog::CBSavePasswordClick(bool checked)
{
    if (checked) {
        EPassword->setReadOnly(false);
        EPassword->clear();
    } else {
        ShowPasswordMarker();
    }
}

QWidget* TFSetupDialog::ControlNamed(const char* name) const
{
    return findChild<QWidget*>(QString::fromLatin1(name));
}

QWidget* TFSetupDialog::ControlOf(SettingField field) const
{
    return ControlNamed(
        std::find_if(SetupControls.begin(), SetupControls.end(), [field](const SetupControl& control) {
            return control.Field == field;
        })->ControlName);
}

void TFSetupDialog::ShowPasswordMarker()
{
    EPassword->setText(QString::fromUtf8(PasswordMarker));
    EPassword->setReadOnly(true);
}
