#pragma once

#include "core/Settings.h"
#include "core/SmsText.h"
#include "runtime/Clock.h"
#include "ui/DraftCommands.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The main window: recipient box, message box with its counters, the send button, menus, toolbar
// and status bar. It holds the settings record and the clock for the whole run.
class TFSMS : public QMainWindow
{
    Q_OBJECT

public:
    TFSMS(std::string programFolder, Clock& clock, QWidget* parent = nullptr);

    TSettings& Settings() { return settings_; }
    // The counters of the message as last measured.
    const SmsMetrics& Metrics() const { return metrics_; }
    // The draft commands with the file they last opened or saved.
    TDraftCommands& Drafts() { return *drafts_; }

    // Replaces the status bar's text and repaints it at once, also while a handler blocks.
    void SetStatusText(const QString& text);
    QString StatusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void NewClick() { drafts_->NewClick(); }
    void OpenClick() { drafts_->OpenClick(); }
    void OnSaveClick() { drafts_->OnSaveClick(); }
    void OnSaveAsClick() { drafts_->OnSaveAsClick(); }
    void EinstellungenClick();
    void InfoClick();
    void BNewContactClick() {}
    void BSendSMSClick() {}

private:
    void CreateActions();
    void CreateMainMenu();
    void CreateToolBar();
    void CreateWorkingArea();
    void CreateStatusBar();
    QAction* CreateAction(const char* name, const char* caption, void (TFSMS::*handler)());
    template <class Sender, class Signal> void Route(Sender* sender, Signal signal, void (TFSMS::*handler)());

    void FormCreate();
    void MSMSChange();
    int MessageLength() const;
    void AddressBookSwitchChanged();
    void ExitClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void SelectionToClipboard(void (QPlainTextEdit::*transfer)(), const char* withoutSelection,
                              const char* done);
    bool IsClipboardShortcut(const QKeyCombination& key) const;

    std::string programFolder_;
    Clock& clock_;
    TSettings settings_;
    SmsMetrics metrics_;
    std::unique_ptr<TDraftCommands> drafts_;

    QAction* ANew = nullptr;
    QAction* AOpen = nullptr;
    QAction* ASave = nullptr;
    QAction* ASaveAs = nullptr;
    QAction* AExit = nullptr;
    QAction* ACut = nullptr;
    QAction* ACopy = nullptr;
    QAction* APaste = nullptr;
    QAction* AEinstellungen = nullptr;
    QAction* AInfo = nullptr;

    QFrame* Bevel1 = nullptr;
    QLabel* LTo = nullptr;
    QComboBox* ComboBoxReceiverAdress = nullptr;
    QPushButton* BNewContact = nullptr;
    QPlainTextEdit* MSMS = nullptr;
    QLabel* LLastingChars = nullptr;
    QLabel* LELastingChars = nullptr;
    QLabel* LSMSCount = nullptr;
    QLabel* LESMSCount = nullptr;
    QLabel* LSMSMonth = nullptr;
    QLabel* LESMSMonth = nullptr;
    QPushButton* BSendSMS = nullptr;
    QLabel* statusText_ = nullptr;
};
