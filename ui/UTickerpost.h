#pragma once

#include "addressbook/AddressBookLink.h"
#include "core/SendWorkflow.h"
#include "core/Settings.h"
#include "core/SmsText.h"
#include "mail/IdMessage.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "runtime/Clock.h"
#include "runtime/FileLocations.h"
#include "ui/ClipboardCommands.h"
#include "ui/ContactForm.h"
#include "ui/DraftCommands.h"
#include "ui/LogicWindowAdapter.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TMessageLength;
class TRecipientBox;

// The main window: recipient box, message box with its counters, the send button, menus, toolbar
// and status bar. It holds the settings record and the clock for the whole run, and hands its
// widgets to the logic through one adapter.
class TFSMS : public QMainWindow
{
    Q_OBJECT

public:
    TFSMS(FileLocations files, Clock& clock, QWidget* parent = nullptr);
    // Releases the address book (FormDestroy).
    ~TFSMS() override;

    TSettings& Settings() { return settings_; }
    // The counters of the message as last measured.
    const SmsMetrics& Metrics() const { return metrics_; }
    // The draft commands with the file they last opened or saved.
    TDraftCommands& Drafts() { return *drafts_; }

    // Replaces the status bar's text and repaints it at once, also while a handler blocks.
    void SetStatusText(const QString& text);
    QString StatusText() const;

    // The address book as the window holds it: the application, the chosen contact and whether the
    // recipient box names it, and the namespace and the contacts folder while they are held.
    AddressBookLink& AddressBook() { return addressBook_; }

    // The window parts the contact list, the contact button and the send read and change.
    TLogicWindowAdapter& LogicWindow() { return *logicWindow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void NewClick() { drafts_->New(); }
    void OpenClick() { drafts_->Open(); }
    void OnSaveClick() { drafts_->Save(); }
    void OnSaveAsClick() { drafts_->SaveAs(); }
    void ArchivordnerClick();
    void EinstellungenClick();
    void InfoClick();
    void BNewContactClick();
    void BSendSMSClick();

private:
    void CreateActions();
    void CreateMainMenu();
    void CreateToolBar();
    void CreateWorkingArea();
    void CreateRecipientRow(QGridLayout& grid);
    void CreateMessageBox(QGridLayout& grid);
    void CreateCounters(QGridLayout& grid);
    void CreateSendButton(QGridLayout& grid);
    void ConnectWorkingArea();
    void CreateStatusBar();
    void CreateCommands();
    std::function<void(const QString&)> StatusTextSetter();
    QAction* CreateAction(const char* name, const char* caption, void (TFSMS::*handler)());
    template <class Sender, class Signal> void Route(Sender* sender, Signal signal, void (TFSMS::*handler)());

    void FormCreate();
    void FormDestroy();
    void ComboBoxReceiverAdressChange();
    void MSMSChange();
    void AddressBookSwitchChanged();
    void ExitClick();
    void CutClick() { clipboard_->Cut(); }
    void CopyClick() { clipboard_->Copy(); }
    void PasteClick() { clipboard_->Paste(); }

    FileLocations files_;
    Clock& clock_;
    TSettings settings_;
    SmsMetrics metrics_;
    std::unique_ptr<TDraftCommands> drafts_;
    std::unique_ptr<TClipboardCommands> clipboard_;
    TContactFormHost contactForm_{this};
    AddressBookLink addressBook_;
    TIdSMTP IdSMTP;
    TIdPOP3 IdPOP3;
    TIdMessage IdEmail;
    std::unique_ptr<TLogicWindowAdapter> logicWindow_;
    std::unique_ptr<TSendWorkflow> sendWorkflow_;

    QAction* ANew = nullptr;
    QAction* AOpen = nullptr;
    QAction* ASave = nullptr;
    QAction* ASaveAs = nullptr;
    QAction* AArchivordner = nullptr;
    QAction* AExit = nullptr;
    QAction* ACut = nullptr;
    QAction* ACopy = nullptr;
    QAction* APaste = nullptr;
    QAction* AEinstellungen = nullptr;
    QAction* AInfo = nullptr;

    QFrame* Bevel1 = nullptr;
    QLabel* LTo = nullptr;
    QComboBox* ComboBoxReceiverAdress = nullptr;
    TRecipientBox* recipientBox_ = nullptr;
    QPushButton* BNewContact = nullptr;
    QPlainTextEdit* MSMS = nullptr;
    TMessageLength* messageLength_ = nullptr;
    QLabel* LLastingChars = nullptr;
    QLabel* LELastingChars = nullptr;
    QLabel* LSMSCount = nullptr;
    QLabel* LESMSCount = nullptr;
    QLabel* LSMSMonth = nullptr;
    QLabel* LESMSMonth = nullptr;
    QPushButton* BSendSMS = nullptr;
    QLabel* statusText_ = nullptr;
};
