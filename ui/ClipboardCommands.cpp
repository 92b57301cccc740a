#include "ui/ClipboardCommands.h"

#include "ui/UiMessages.h"

#include <QAction>
#include <QKeyEvent>
#include <QPlainTextEdit>

TClipboardCommands::TClipboardCommands(QPlainTextEdit& message, const QAction& cut, const QAction& copy,
                                       const QAction& paste, StatusTextSetter setStatusText)
    : message_(message), cut_(cut), copy_(copy), paste_(paste), setStatusText_(std::move(setStatusText))
{
}

void TClipboardCommands::Cut()
{
    SelectionToClipboard(&QPlainTextEdit::cut, UiMessages::CutWithoutSelection, UiMessages::CutDone);
}

void TClipboardCommands::Copy()
{
    SelectionToClipboard(&QPlainTextEdit::copy, UiMessages::CopyWithoutSelection, UiMessages::Copied);
}

void TClipboardCommands::Paste()
{
    message_.paste();
    setStatusText_(QString::fromUtf8(UiMessages::Pasted));
}

void TClipboardCommands::SelectionToClipboard(void (QPlainTextEdit::*transfer)(),
                                              const char* withoutSelection, const char* done)
{
    if (!message_.textCursor().hasSelection()) {
        setStatusText_(QString::fromUtf8(withoutSelection));
        return;
    }
    (message_.*transfer)();
    setStatusText_(QString::fromUtf8(done));
}

void TClipboardCommands::LeaveShortcutsToWindow(QWidget& box)
{
    box.installEventFilter(this);
}

bool TClipboardCommands::IsShortcut(const QKeyCombination& key) const
{
    const QKeySequence pressed(key);
    return pressed == cut_.shortcut() || pressed == copy_.shortcut() || pressed == paste_.shortcut();
}

bool TClipboardCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        IsShortcut(static_cast<QKeyEvent*>(event)->keyCombination())) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
