#include "ui/ErrorGuard.h"

#include "ui/UiMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void ShowMessageBox(MessageKind kind, const QString& text)
{
    const QMessageBox::Icon icon = kind == MessageKind::Error    ? QMessageBox::Critical
                                   : kind == MessageKind::Notice ? QMessageBox::Warning
                                                                 : QMessageBox::Information;
    QMessageBox box(icon, QString::fromUtf8(UiMessages::ApplicationTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    // Messages quote server replies and file contents as they are; none is read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
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

void ShowInformation(const QString& text)
{
    CurrentSink()(MessageKind::Information, text);
}
