#include "tests/support/TestLocale.h"

#include <gtest/gtest.h>

// The main of every GoogleTest executable.
int main(int argc, char** argv)
{
    UseTestLocaleAndZone();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
