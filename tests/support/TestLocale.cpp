#include "tests/support/TestLocale.h"

#include <cstdlib>
#include <ctime>

void UseTestLocaleAndZone()
{
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    // Qt takes its interface languages from LANGUAGE before the locale.
    unsetenv("LANGUAGE");
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
}
