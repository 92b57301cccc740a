#include "ui/ProgramStart.h"

#include "runtime/ProgramFolder.h"
#include "ui/ErrorGuard.h"
#include "ui/ProgramIcon.h"
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
