#include "ui/DraftFileDialogs.h"

namespace {

std::optional<QString> Choose(QWidget* parent, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    ConfigureDraftFileDialog(dialog, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

QStringList NameFiltersFromPairs(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters;
}

void ConfigureDraftFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode)
{
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFiltersFromPairs(QString::fromLatin1(DraftFileFilter));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(QString::fromLatin1(DraftDefaultSuffix));
}

std::optional<QString> QtDraftFileDialogs::ChooseFileToOpen(QWidget* parent)
{
    return Choose(parent, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDraftFileDialogs::ChooseFileToSave(QWidget* parent)
{
    return Choose(parent, QFileDialog::AcceptSave);
}
