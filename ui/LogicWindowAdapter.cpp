#include "ui/LogicWindowAdapter.h"

#include "ui/PasswordDialog.h"
#include "ui/QtCodePage.h"
#include "ui/RecipientBox.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

TLogicWindowAdapter::TLogicWindowAdapter(Widgets widgets, TSettings& settings, StatusTextSetter setStatusText)
    : widgets_(widgets), settings_(settings), setStatusText_(std::move(setStatusText))
{
}

void TLogicWindowAdapter::ShowStatusText(const std::string& text)
{
    setStatusText_(QString::fromStdString(text));
}

std::string TLogicWindowAdapter::RecipientText() const
{
    return widgets_.Recipient.Text();
}

void TLogicWindowAdapter::SetRecipientText(const std::string& text)
{
    widgets_.Recipient.SetText(text);
}

void TLogicWindowAdapter::AddRecipientEntries(const std::vector<std::string>& names)
{
    widgets_.Recipient.AddEntries(names);
}

void TLogicWindowAdapter::DeleteSelectedRecipientEntry()
{
    widgets_.Recipient.DeleteSelectedEntry();
}

void TLogicWindowAdapter::SelectRecipientEntry(int index)
{
    widgets_.Recipient.SelectEntry(index);
}

void TLogicWindowAdapter::ClearRecipientBox()
{
    widgets_.Recipient.Clear();
}

SendTexts TLogicWindowAdapter::TextsToSend() const
{
    return {ToCodePageQuietly(widgets_.RecipientCombo.currentText()),
            ToCodePage(widgets_.Message.toPlainText())};
}

void TLogicWindowAdapter::SelectMessagePart(const SmsPartRange& part)
{
    QPlainTextEdit& message = widgets_.Message;
    const QString text = message.toPlainText();
    QTextCursor cursor = message.textCursor();
    cursor.setPosition(QtPosition(text, part.Start));
    cursor.setPosition(QtPosition(text, part.Start + part.Length), QTextCursor::KeepAnchor);
    message.setTextCursor(cursor);
}

void TLogicWindowAdapter::ClearMessage()
{
    widgets_.Message.clear();
}

void TLogicWindowAdapter::ShowSMSThisMonth(int count)
{
    widgets_.SMSThisMonth.setText(QString::number(count));
}

void TLogicWindowAdapter::ShowPasswordPrompt()
{
    TFPasswordDialog prompt(settings_, &widgets_.Window);
    prompt.exec();
}
