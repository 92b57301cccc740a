#pragma once

#include "addressbook/AddressBookLink.h"
#include "addressbook/ContactWindow.h"
#include "core/SendWindow.h"
#include "core/SendWorkflow.h"
#include "core/Settings.h"
#include "core/SmsText.h"
#include "mail/IdMessage.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "runtime/Clock.h"
#include "runtime/FileLocations.h"
#include "ui/ContactForm.h"
#include "ui/DraftCommands.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TMessageLength;
class TRecipientBox;

// The main window: recipient box, message box with its counters, the send button, menus, toolbar
// and status bar. It holds the settings record and the clock for the whole run.
class TFSMS : public QMainWindow, public ContactWindow, public SendWindow
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

    // The window parts the contact list and the contact button use.
    bool UseOutlookAdressbook() const override { return settings_.UseOutlookAdressbook; }
    void ShowStatusText(const std::string& text) override;
    std::string RecipientText() const override;
    void SetRecipientText(const std::string& text) override;
    void AddRecipientEntries(const std::vector<std::string>& names) override;
    void DeleteSelectedRecipientEntry() override;
    void SelectRecipientEntry(int index) override;
    void ClearRecipientBox() override;

    // The window parts the send uses besides those above.
    SendTexts TextsToSend() const override;
    void SelectMessagePart(const SmsPartRange& part) override;
    void ClearMessage() override;
    void ShowSMSThisMonth(int count) override;
    void ShowPasswordPrompt() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void NewClick() { drafts_->NewClick(); }
    void OpenClick() { drafts_->OpenClick(); }
    void OnSaveClick() { drafts_->OnSaveClick(); }
    void OnSaveAsClick() { drafts_->OnSaveAsClick(); }
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
    void CreateStatusBar();
    QAction* CreateAction(const char* name, const char* caption, void (TFSMS::*handler)());
    template <class Sender, class Signal> void Route(Sender* sender, Signal signal, void (TFSMS::*handler)());

    void FormCreate();
    void FormDestroy();
    void ComboBoxReceiverAdressChange();
    void MSMSChange();
    void AddressBookSwitchChanged();
    void ExitClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void SelectionToClipboard(void (QPlainTextEdit::*transfer)(), const char* withoutSelection,
                              const char* done);
    bool IsClipboardShortcut(const QKeyCombination& key) const;

    FileLocations files_;
    Clock& clock_;
    TSettings settings_;
    SmsMetrics metrics_;
    std::unique_ptr<TDraftCommands> drafts_;
    TContactFormHost contactForm_{this};
    AddressBookLink addressBook_;
    TIdSMTP IdSMTP;
    TIdPOP3 IdPOP3;
    TIdMessage IdEmail;
    TSendWorkflow sendWorkflow_;

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
