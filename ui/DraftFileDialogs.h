#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <optional>

// The filter of the draft file dialogs, in pairs of description and pattern.
inline constexpr const char* DraftFileFilter = "SMS|*.sms|Text|*.txt|Alle|*.*";
inline constexpr const char* DraftDefaultSuffix = "sms";

// "SMS|*.sms|Text|*.txt" as Qt name filters: "SMS (*.sms)", "Text (*.txt)".
QStringList NameFiltersFromPairs(const QString& pairs);

// Sets a draft file dialog up: the filter with its first entry preselected, "sms" appended to a name
// typed without suffix; it accepts names of files that do not exist (opening them then fails with
// the file error) and replaces a file without asking.
void ConfigureDraftFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode);

// The open and save dialogs of the draft commands. The window asks through this interface, so that
// tests can answer without showing a dialog.
class DraftFileDialogs
{
public:
    virtual ~DraftFileDialogs() = default;
    // The chosen file's full path; nullopt when the user cancels.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent) = 0;
    virtual std::optional<QString> ChooseFileToSave(QWidget* parent) = 0;
};

// The dialogs shown to the user.
class QtDraftFileDialogs final : public DraftFileDialogs
{
public:
    std::optional<QString> ChooseFileToOpen(QWidget* parent) override;
    std::optional<QString> ChooseFileToSave(QWidget* parent) override;
};
