#include "ui/ErrorGuard.h"

#include "ui/UiMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void ShowMessageBox(MessageKind kind, const QString& text)
{
    QWidget* parent = QApplication::activeWindow();
    const QString title = QString::fromUtf8(UiMessages::ApplicationTitle);
    if (kind == MessageKind::Error)
        QMessageBox::critical(parent, title, text);
    else
        QMessageBox::warning(parent, title, text);
}

MessageSink& CurrentSink()
{
    static MessageSink sink = ShowMessageBox;
    return sink;
}

} // namespace

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = std::move(CurrentSink());
    CurrentSink() = sink ? std::move(sink) : MessageSink(ShowMessageBox);
    return previous;
}

void ShowErrorMessage(const std::string& message)
{
    CurrentSink()(MessageKind::Error, QString::fromStdString(ErrorBoxText(message)));
}

void ShowNotice(const QString& text)
{
    CurrentSink()(MessageKind::Notice, text);
}
