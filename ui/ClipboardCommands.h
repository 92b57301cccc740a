#pragma once

#include <QObject>

#include <functional>

class QAction;
class QPlainTextEdit;
class QWidget;

// The main window's clipboard commands Cut, Copy and Paste on its message box, whatever has the
// focus, each with its status text; Cut and Copy without a selection only say so.
class TClipboardCommands : public QObject
{
public:
    using StatusTextSetter = std::function<void(const QString&)>;

    // `cut`, `copy` and `paste` are the window's actions of the three commands, whose shortcuts
    // the boxes given to LeaveShortcutsToWindow pass on.
    TClipboardCommands(QPlainTextEdit& message, const QAction& cut, const QAction& copy, const QAction& paste,
                       StatusTextSetter setStatusText);

    void Cut();
    void Copy();
    void Paste();

    // The message box and the recipient box would handle Ctrl+X, Ctrl+C and Ctrl+V themselves;
    // `box` leaves those keys to the window's shortcuts, so that they act on the message box.
    void LeaveShortcutsToWindow(QWidget& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs `transfer` (cut or copy) on the message box's selection, or says that nothing is selected.
    void SelectionToClipboard(void (QPlainTextEdit::*transfer)(), const char* withoutSelection,
                              const char* done);
    bool IsShortcut(const QKeyCombination& key) const;

    QPlainTextEdit& message_;
    const QAction& cut_;
    const QAction& copy_;
    const QAction& paste_;
    StatusTextSetter setStatusText_;
};
