#include "runtime/FileSystem.h"

#include "tests/support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

TEST(FileSystemTest, StampsTellVersionsOfAFileApart)
{
    TempFolder folder;
    const std::string path = folder.File("Kontakte.vcf");
    EXPECT_EQ(StampOf(path), FileStamp());
    folder.Write("Kontakte.vcf", "eins");
    const FileStamp first = StampOf(path);
    EXPECT_NE(first, FileStamp());
    EXPECT_EQ(StampOf(path), first);
    EXPECT_EQ(ReadRegularFile(path, 4).Stamp, first);
    ASSERT_EQ(ReplaceFileAtomically(path, "zwei"), 0); // same size, another file
    EXPECT_NE(StampOf(path), first);
}

TEST(FileSystemTest, ReadsOnlyWhatItIsAskedFor)
{
    TempFolder folder;
    folder.Write("a.txt", "12345");
    std::string content;
    EXPECT_EQ(ReadWholeFile(folder.File("fehlt.txt"), content), ENOENT);
    EXPECT_EQ(ReadWholeFile(folder.Path(), content), EISDIR);
    EXPECT_EQ(ReadRegularFile(folder.File("fehlt.txt"), 5).Error, ENOENT);
    EXPECT_TRUE(ReadRegularFile(folder.Path(), 5).NotRegular);
    EXPECT_TRUE(ReadRegularFile(folder.File("a.txt"), 4).TooLarge);
    EXPECT_EQ(ReadRegularFile(folder.File("a.txt"), 5).Content, "12345");
}

TEST(FileSystemTest, ADanglingLinkTakesItsNameButDoesNotExist)
{
    TempFolder folder;
    std::filesystem::create_symlink("nirgendwo", folder.File("link"));
    EXPECT_TRUE(NameTaken(folder.File("link")));
    EXPECT_FALSE(PathExists(folder.File("link")));
    EXPECT_FALSE(NameTaken(folder.File("fehlt")));
    EXPECT_TRUE(FolderExists(folder.Path()));
    EXPECT_EQ(CreateFolder(folder.Path(), NewFileMode::OwnerOnly), 0);
    EXPECT_EQ(CreateFolder(folder.File("fehlt/neu"), NewFileMode::OwnerOnly), ENOENT);
}
