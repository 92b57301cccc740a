#include "runtime/Clock.h"
#include "ui/ProgramStart.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    PrepareApplication(application);
    SystemClock clock;
    std::unique_ptr<TFSMS> mainWindow = CreateMainWindow(clock);
    if (!mainWindow) return 1;
    mainWindow->show();
    return QApplication::exec();
}
