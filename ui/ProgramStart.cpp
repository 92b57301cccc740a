#include "ui/ProgramStart.h"

#include "runtime/ProgramFolder.h"
#include "ui/ErrorGuard.h"
#include "ui/UiMessages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

void PrepareApplication(QApplication& application)
{
    QApplication::setApplicationDisplayName(QString::fromUtf8(UiMessages::ApplicationTitle));
    auto* qtTranslation = new QTranslator(&application);
    if (qtTranslation->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTranslation);
}

std::unique_ptr<TFSMS> CreateMainWindow(Clock& clock, std::optional<std::string> programFolder)
{
    std::unique_ptr<TFSMS> mainWindow;
    Guarded([&] {
        mainWindow = std::make_unique<TFSMS>(programFolder ? *programFolder : ProgramFolder(), clock);
    });
    return mainWindow;
}
