#include "tests/support/TestLocale.h"

#include <QApplication>

// The main of one Qt test class's executable: TP_QT_TEST_RUN names the class's run function
// (RunContactsWindowTest for ContactsWindowTest), given by tp_add_qt_test in CMakeLists.txt.
int TP_QT_TEST_RUN(int argc, char** argv);

int main(int argc, char** argv)
{
    UseTestLocaleAndZone();
    QApplication application(argc, argv);
    return TP_QT_TEST_RUN(argc, argv);
}
