#include "ui/ProgramStart.h"

#include "runtime/ProgramFolder.h"
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

// No application display name is set: the window system would get it appended to every window's
// title ("Info — Tickerpost"), and each window's title is exactly its own.
void PrepareApplication(QApplication& application)
{
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
