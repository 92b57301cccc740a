#pragma once

#include "ui/DraftFileDialogs.h"

#include <functional>
#include <memory>
#include <string>

class QPlainTextEdit;

// The main window's draft commands New, Open, Save and Save As on its message box, and the file
// they last opened or saved. Every change of the box's text runs the window's change handler
// through the box's signal. File errors raise EInOutError and end the command without a status
// text; the chosen name is kept, so a later Save writes to it.
class TDraftCommands
{
public:
    using StatusTextSetter = std::function<void(const QString&)>;

    // File dialogs open over the message box's window.
    TDraftCommands(QPlainTextEdit& message, StatusTextSetter setStatusText);

    void New();
    void Open();
    void Save();
    void SaveAs();

    // The full path of the draft file last opened or saved; empty until then.
    const std::string& SMSFileName() const { return SMSFileName_; }

    // Tests answer the dialogs without showing them.
    void SetFileDialogs(std::unique_ptr<DraftFileDialogs> dialogs);

private:
    void SaveTo(const std::string& fileName);

    QPlainTextEdit& message_;
    StatusTextSetter setStatusText_;
    std::unique_ptr<DraftFileDialogs> dialogs_;
    std::string SMSFileName_;
};
