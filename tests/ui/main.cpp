#include <QApplication>

#include <cstdlib>

int RunContactsWindowTest(int argc, char** argv);
int RunErrorGuardTest(int argc, char** argv);
int RunMessageLengthTest(int argc, char** argv);
int RunSetupDialogTest(int argc, char** argv);
int RunSmallDialogsTest(int argc, char** argv);
int RunTextBorderTest(int argc, char** argv);
int RunUTickerpostTest(int argc, char** argv);
int RunWindowCommandsTest(int argc, char** argv);

int main(int argc, char** argv)
{
    // The German code page (Windows-1252), whatever the machine's locale is.
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    QApplication application(argc, argv);
    int failures = 0;
    failures += RunContactsWindowTest(argc, argv);
    failures += RunErrorGuardTest(argc, argv);
    failures += RunMessageLengthTest(argc, argv);
    failures += RunSetupDialogTest(argc, argv);
    failures += RunSmallDialogsTest(argc, argv);
    failures += RunTextBorderTest(argc, argv);
    failures += RunUTickerpostTest(argc, argv);
    failures += RunWindowCommandsTest(argc, argv);
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
