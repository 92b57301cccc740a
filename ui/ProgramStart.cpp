#include "ui/ProgramStart.h"

#include "runtime/ProgramFolder.h"
#include "ui/ErrorGuard.h"
#include "ui/ProgramIcon.h"

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

    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setDesktopFileName(QStringLiteral(TP_APP_ID));
}

std::unique_ptr<TFSMS> CreateMainWindow(Clock& clock, std::optional<FileLocations> files)
{
    std::unique_ptr<TFSMS> mainWindow;
    Guarded([&] {
        if (!files) files = LocateFiles(ProgramFolder(), CurrentXdgEnvironment());
        mainWindow = std::make_unique<TFSMS>(std::move(*files), clock);
    });
    return mainWindow;
}
