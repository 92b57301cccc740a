#include "ui/DraftCommands.h"

#include "core/SmsDraft.h"
#include "ui/QtCodePage.h"
#include "ui/UiMessages.h"

#include <QFile>
#include <QPlainTextEdit>

namespace {

// A path from a file dialog in the file system's encoding.
std::string LocalFileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

TDraftCommands::TDraftCommands(QPlainTextEdit& message, StatusTextSetter setStatusText)
    : message_(message), setStatusText_(std::move(setStatusText)),
      dialogs_(std::make_unique<QtDraftFileDialogs>())
{
}

void TDraftCommands::SetFileDialogs(std::unique_ptr<DraftFileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

void TDraftCommands::New()
{
    message_.clear();
    setStatusText_(QString::fromUtf8(UiMessages::NewSms));
}

void TDraftCommands::Open()
{
    const std::optional<QString> chosen = dialogs_->ChooseFileToOpen(message_.window());
    if (!chosen) return;
    SMSFileName_ = LocalFileName(*chosen);
    message_.setPlainText(FromCodePage(ReadSmsDraft(SMSFileName_)));
    setStatusText_(QString::fromUtf8(UiMessages::SmsOpened));
}

void TDraftCommands::Save()
{
    if (SMSFileName_.empty())
        SaveAs();
    else
        SaveTo(SMSFileName_);
}

void TDraftCommands::SaveAs()
{
    const std::optional<QString> chosen = dialogs_->ChooseFileToSave(message_.window());
    if (!chosen) return;
    SMSFileName_ = LocalFileName(*chosen);
    SaveTo(SMSFileName_);
}

void TDraftCommands::SaveTo(const std::string& fileName)
{
    WriteSmsDraft(fileName, ToCodePage(message_.toPlainText()));
    setStatusText_(QString::fromUtf8(UiMessages::SmsSaved));
}
