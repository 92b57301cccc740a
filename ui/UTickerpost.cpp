#include "ui/UTickerpost.h"

#include "addressbook/ContactEditing.h"
#include "addressbook/ContactList.h"
#include "core/SentArchive.h"
#include "runtime/TextFile.h"
#include "ui/ErrorGuard.h"
#include "ui/InfoDialog.h"
#include "ui/MessageLength.h"
#include "ui/QtCodePage.h"
#include "ui/RecipientBox.h"
#include "ui/SetupDialog.h"
#include "ui/ToolbarImages.h"
#include "ui/UiMessages.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The font of the window and of the message box, in points.
constexpr int WindowPointSize = 8;
constexpr int MessagePointSize = 8;
// The message box as designed for 160 characters per SMS.
constexpr int DesignedMessageWidth = 280;
constexpr int DesignedMessageHeight = 105;
// Room the window needs around the message box, kept free when the box is bounded by the screen.
constexpr int FrameAllowance = 64;

// The width of the message box: the point size of its font times (MaxSMSLength div 5 + 3), so that
// roughly one SMS fits in a line; bounded by `limit`, so that a huge maximum length neither
// overflows nor builds a window wider than the screen.
int MessageBoxWidth(int pointSize, int maxSmsLength, int limit)
{
    const long long width = static_cast<long long>(pointSize) * (maxSmsLength / 5 + 3);
    return static_cast<int>(std::clamp<long long>(width, 0, limit));
}

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QLabel* CreateLabel(QWidget* parent, const char* name, const char* caption)
{
    auto* label = new QLabel(Text(caption), parent);
    label->setObjectName(name);
    return label;
}

// A label that shows a number, right-aligned; its accessible description says what it counts.
QLabel* CreateValueLabel(QWidget* parent, const char* name, const char* value, const char* meaning)
{
    QLabel* label = CreateLabel(parent, name, value);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAccessibleDescription(Text(meaning));
    return label;
}

QPushButton* CreateButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(Text(caption), parent);
    button->setObjectName(name);
    return button;
}

void MakeBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

QFont MessageFont()
{
    QFont font(QStringLiteral("Courier"), MessagePointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

TFSMS::TFSMS(FileLocations files, Clock& clock, QWidget* parent)
    : QMainWindow(parent), files_(std::move(files)), clock_(clock),
      addressBook_(ContactsFilePath(files_.DataFolder), contactForm_), IdEmail(clock_)
{
    setObjectName(QStringLiteral("FSMS"));
    setWindowTitle(Text(UiMessages::ApplicationTitle));
    QFont windowFont = font();
    windowFont.setPointSize(WindowPointSize);
    setFont(windowFont);

    CreateActions();
    CreateMainMenu();
    CreateToolBar();
    CreateWorkingArea();
    CreateStatusBar();
    CreateCommands();
    // The window grows and shrinks around its contents, the message box above all.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Guarded([this] { FormCreate(); });
}

TFSMS::~TFSMS()
{
    Guarded([this] { FormDestroy(); });
}

template <class Sender, class Signal>
void TFSMS::Route(Sender* sender, Signal signal, void (TFSMS::*handler)())
{
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
}

QAction* TFSMS::CreateAction(const char* name, const char* caption, void (TFSMS::*handler)())
{
    auto* action = new QAction(Text(caption), this);
    action->setObjectName(name);
    Route(action, &QAction::triggered, handler);
    return action;
}

void TFSMS::CreateActions()
{
    ANew = CreateAction("ANew", "&Neu", &TFSMS::NewClick);
    AOpen = CreateAction("AOpen", "&Öffnen", &TFSMS::OpenClick);
    ASave = CreateAction("ASave", "&Speichern", &TFSMS::OnSaveClick);
    ASaveAs = CreateAction("ASaveAs", "Speichern &unter...", &TFSMS::OnSaveAsClick);
    AArchivordner = CreateAction("AArchivordner", "&Archivordner öffnen", &TFSMS::ArchivordnerClick);
    AExit = CreateAction("AExit", "&Beenden", &TFSMS::ExitClick);
    ACut = CreateAction("ACut", "&Ausschneiden", &TFSMS::CutClick);
    ACopy = CreateAction("ACopy", "&Kopieren", &TFSMS::CopyClick);
    APaste = CreateAction("APaste", "&Einfügen", &TFSMS::PasteClick);
    AEinstellungen = CreateAction("AEinstellungen", "&Einstellungen", &TFSMS::EinstellungenClick);
    AInfo = CreateAction("AInfo", "?", &TFSMS::InfoClick);

    struct Command
    {
        QAction* action;
        Qt::Key key;
        ToolbarImage image;
    };
    for (const Command& c :
         {Command{ANew, Qt::Key_N, ToolbarImage::New}, Command{AOpen, Qt::Key_O, ToolbarImage::Open},
          Command{ASave, Qt::Key_S, ToolbarImage::Save}, Command{ACut, Qt::Key_X, ToolbarImage::Cut},
          Command{ACopy, Qt::Key_C, ToolbarImage::Copy}, Command{APaste, Qt::Key_V, ToolbarImage::Paste}}) {
        c.action->setShortcut(QKeySequence(Qt::CTRL | c.key));
        c.action->setIcon(ToolbarIcon(c.image));
    }
}

void TFSMS::CreateMainMenu()
{
    QMenuBar* mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("MainMenu"));

    QMenu* datei = mainMenu->addMenu(Text("&Datei"));
    datei->setObjectName(QStringLiteral("Datei"));
    datei->addActions({ANew, AOpen});
    datei->addSeparator();
    datei->addActions({ASave, ASaveAs});
    datei->addSeparator();
    datei->addAction(AArchivordner);
    datei->addSeparator();
    datei->addAction(AExit);

    QMenu* bearbeiten = mainMenu->addMenu(Text("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("Bearbeiten"));
    bearbeiten->addActions({ACut, ACopy, APaste});

    mainMenu->addAction(AEinstellungen);
    mainMenu->addAction(AInfo);
}

void TFSMS::CreateToolBar()
{
    QToolBar* toolBar = addToolBar(Text("Werkzeugleiste"));
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->addActions({ANew, AOpen, ASave});
    toolBar->addSeparator();
    toolBar->addActions({ACut, ACopy, APaste});
    toolBar->addSeparator();
}

void TFSMS::CreateWorkingArea()
{
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(2, 3, 2, 0);
    setCentralWidget(central);

    Bevel1 = new QFrame(central);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    centralLayout->addWidget(Bevel1);

    // Two groups of label and value on the left, and the counter and the buttons on the right.
    auto* grid = new QGridLayout(Bevel1);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(2, 12);
    CreateRecipientRow(*grid);
    CreateMessageBox(*grid);
    CreateCounters(*grid);
    CreateSendButton(*grid);

    setTabOrder(MSMS, ComboBoxReceiverAdress);
    setTabOrder(ComboBoxReceiverAdress, BNewContact);
    setTabOrder(BNewContact, BSendSMS);
    MSMS->setFocus();
    ConnectWorkingArea();
}

// "An:", the recipient box and the contact button.
void TFSMS::CreateRecipientRow(QGridLayout& grid)
{
    LTo = CreateLabel(Bevel1, "LTo", "An:");
    MakeBold(LTo);
    ComboBoxReceiverAdress = new QComboBox(Bevel1);
    ComboBoxReceiverAdress->setObjectName(QStringLiteral("ComboBoxReceiverAdress"));
    ComboBoxReceiverAdress->setEditable(true);
    ComboBoxReceiverAdress->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxReceiverAdress->setMinimumWidth(121);
    LTo->setBuddy(ComboBoxReceiverAdress);
    ComboBoxReceiverAdress->lineEdit()->setAccessibleName(LTo->text());
    recipientBox_ = new TRecipientBox(ComboBoxReceiverAdress);
    BNewContact = CreateButton(Bevel1, "BNewContact", "Kontakt Neu/Öffnen");

    auto* recipientRow = new QHBoxLayout;
    recipientRow->addWidget(LTo);
    recipientRow->addWidget(ComboBoxReceiverAdress, 1);
    grid.addLayout(recipientRow, 0, 0, 1, 3);
    grid.addWidget(BNewContact, 0, 3, 1, 2);
}

void TFSMS::CreateMessageBox(QGridLayout& grid)
{
    MSMS = new QPlainTextEdit(Bevel1);
    MSMS->setObjectName(QStringLiteral("MSMS"));
    MSMS->setAccessibleName(Text("SMS-Text"));
    MSMS->setFont(MessageFont());
    MSMS->setFixedSize(DesignedMessageWidth, DesignedMessageHeight);
    MSMS->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MSMS->setTabChangesFocus(true);
    messageLength_ = new TMessageLength(*MSMS->document());
    grid.addWidget(MSMS, 1, 0, 1, 5, Qt::AlignLeft);
}

// The characters left and the SMS of the message below the message box, and the SMS of the month.
void TFSMS::CreateCounters(QGridLayout& grid)
{
    LLastingChars = CreateLabel(Bevel1, "LLastingChars", "Zeichen übrig:");
    LELastingChars = CreateValueLabel(Bevel1, "LELastingChars", "160", "Zeichen übrig");
    LSMSCount = CreateLabel(Bevel1, "LSMSCount", "Anzahl der SMS:");
    LESMSCount = CreateValueLabel(Bevel1, "LESMSCount", "1", "Anzahl der SMS");
    LSMSMonth = CreateLabel(Bevel1, "LSMSMonth", "SMS diesen Monat:");
    LESMSMonth = CreateValueLabel(Bevel1, "LESMSMonth", "0", "SMS diesen Monat");
    grid.addWidget(LLastingChars, 2, 0);
    grid.addWidget(LELastingChars, 2, 1);
    grid.addWidget(LSMSCount, 2, 3);
    grid.addWidget(LESMSCount, 2, 4);
    grid.addWidget(LSMSMonth, 3, 0);
    grid.addWidget(LESMSMonth, 3, 1);
}

void TFSMS::CreateSendButton(QGridLayout& grid)
{
    BSendSMS = CreateButton(Bevel1, "BSendSMS", "SMS Senden");
    MakeBold(BSendSMS);
    grid.addWidget(BSendSMS, 3, 3, 1, 2);
}

void TFSMS::ConnectWorkingArea()
{
    Route(MSMS, &QPlainTextEdit::textChanged, &TFSMS::MSMSChange);
    Route(recipientBox_, &TRecipientBox::Edited, &TFSMS::ComboBoxReceiverAdressChange);
    Route(BNewContact, &QPushButton::clicked, &TFSMS::BNewContactClick);
    Route(BSendSMS, &QPushButton::clicked, &TFSMS::BSendSMSClick);
    MSMS->installEventFilter(this);
}

void TFSMS::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setAccessibleName(Text("Statusleiste"));
    bar->setSizeGripEnabled(false);
    statusText_ = new QLabel(bar);
    statusText_->setObjectName(QStringLiteral("StatusText"));
    // Status texts quote contact names as they are; none is read as markup.
    statusText_->setTextFormat(Qt::PlainText);
    // A long text is cut at the window's edge rather than widening the window.
    statusText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(statusText_, 1);
}

// The draft and clipboard commands, the window parts the logic uses and the send over them.
void TFSMS::CreateCommands()
{
    drafts_ = std::make_unique<TDraftCommands>(*MSMS, StatusTextSetter());
    clipboard_ = std::make_unique<TClipboardCommands>(*MSMS, *ACut, *ACopy, *APaste, StatusTextSetter());
    clipboard_->LeaveShortcutsToWindow(*MSMS);
    clipboard_->LeaveShortcutsToWindow(*ComboBoxReceiverAdress);
    logicWindow_ = std::make_unique<TLogicWindowAdapter>(
        TLogicWindowAdapter::Widgets{*this, *ComboBoxReceiverAdress, *recipientBox_, *MSMS, *LESMSMonth},
        settings_, StatusTextSetter());
    sendWorkflow_ = std::make_unique<TSendWorkflow>(
        SendComponents{IdSMTP, IdPOP3, IdEmail, settings_, addressBook_, clock_, files_}, *logicWindow_);
}

std::function<void(const QString&)> TFSMS::StatusTextSetter()
{
    return [this](const QString& text) { SetStatusText(text); };
}

// Start-up: the settings, the message box's width, then the contact list when the address book is
// on. An error in a step ends the start-up there; the window opens all the same.
void TFSMS::FormCreate()
{
    LoadSettings(settings_, IniFile(SettingsFilePath(files_.SettingsFolder)), clock_);
    logicWindow_->ShowSMSThisMonth(settings_.SMSThisMonth);
    const int limit = std::max(0, screen()->availableGeometry().width() - FrameAllowance);
    MSMS->setFixedWidth(MessageBoxWidth(MSMS->font().pointSize(), settings_.MaxSMSLength, limit));
    addressBook_.ForgetRecipient();
    ComboBoxReceiverAdress->setEnabled(true);
    if (settings_.UseOutlookAdressbook) FillContactList(addressBook_, *logicWindow_);
}

// Releases only what is held: a connection that failed at start-up left nothing to log off.
void TFSMS::FormDestroy()
{
    if (settings_.UseOutlookAdressbook) addressBook_.Release();
}

// Runs on every edit of the user, so characters the code page cannot hold are not reported here.
void TFSMS::ComboBoxReceiverAdressChange()
{
    LookUpRecipient(addressBook_, settings_.UseOutlookAdressbook,
                    ToCodePageQuietly(ComboBoxReceiverAdress->currentText()));
}

void TFSMS::BNewContactClick()
{
    OpenOrCreateContact(addressBook_, *logicWindow_);
}

void TFSMS::BSendSMSClick()
{
    sendWorkflow_->Send();
}

void TFSMS::MSMSChange()
{
    metrics_ = MeasureSms(messageLength_->Length(), settings_.MaxSMSLength);
    LESMSCount->setText(QString::number(metrics_.SMSCount));
    LELastingChars->setText(QString::number(metrics_.LastingChars));
}

// Shows the count user.ini holds now, then a new settings dialog modally; it changes the settings and
// user.ini itself.
void TFSMS::EinstellungenClick()
{
    ReadCount(IniFile(SettingsFilePath(files_.SettingsFolder)), settings_, clock_);
    logicWindow_->ShowSMSThisMonth(settings_.SMSThisMonth);
    const bool usedAddressBook = settings_.UseOutlookAdressbook;
    TFSetupDialog(settings_, SettingsFilePath(files_.SettingsFolder), this, [this](const std::string& text) {
        logicWindow_->ShowStatusText(text);
    }).exec();
    if (settings_.UseOutlookAdressbook != usedAddressBook) AddressBookSwitchChanged();
}

// The window's reaction to the address book being switched on or off in the settings dialog:
// switched on, the contact list is filled; switched off, the recipient box is emptied and the
// address book released.
void TFSMS::AddressBookSwitchChanged()
{
    AddressBookSwitched(addressBook_, *logicWindow_, !settings_.UseOutlookAdressbook);
}

void TFSMS::InfoClick()
{
    TFInfoDialog(files_, this).exec();
}

// Opens the archive folder in the desktop's file manager, creating it when it is missing.
void TFSMS::ArchivordnerClick()
{
    const std::string folder = SentFolderPath(files_.DataFolder);
    CreateFolderIfMissing(folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(folder.c_str()))))
        ShowErrorMessage(UiMessages::ArchiveFolderNotOpened + folder);
}

void TFSMS::ExitClick()
{
    close();
}

void TFSMS::SetStatusText(const QString& text)
{
    statusText_->setText(text);
    statusText_->repaint();
}

QString TFSMS::StatusText() const
{
    return statusText_->text();
}

// Enter never breaks a line in the message box, with any modifier.
bool TFSMS::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MSMS && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
