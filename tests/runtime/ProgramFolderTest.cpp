#include "runtime/ProgramFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(ProgramFolderTest, IsTheFolderOfTheRunningExecutable)
{
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "tp_runtime_tests"));
}
