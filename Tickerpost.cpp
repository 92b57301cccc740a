#include "runtime/Clock.h"
#include "runtime/ProgramFolder.h"
#include "ui/ErrorGuard.h"
#include "ui/UTickerpost.h"
#include "ui/UiMessages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QString::fromUtf8(UiMessages::ApplicationTitle));

    // Qt's own buttons and dialogs speak German, like the rest of the program.
    QTranslator qtTranslation;
    if (qtTranslation.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    SystemClock clock;
    std::unique_ptr<TFSMS> mainWindow;
    Guarded([&] { mainWindow = std::make_unique<TFSMS>(ProgramFolder(), clock); });
    if (!mainWindow) return 1;
    mainWindow->show();
    return QApplication::exec();
}
