#include "project/profile_files.h"

#include <gtest/gtest.h>

#include "support/test_project.h"

namespace taviro::project {
namespace {

TEST(ProfileValues, NamesIgnoreCaseAndBlanksAreTrimmed) {
    std::string file = "[General]\r\n  ScriptTimeOut =  30  \r\n[Other]\r\nKey=x\r\n";
    EXPECT_EQ(ReadProfileValue(file, "general", "SCRIPTTIMEOUT"), "30");
    EXPECT_EQ(ReadProfileValue(file, " other ", "key"), "x");
    EXPECT_EQ(ReadProfileValue(file, "General", "Key"), "");
    EXPECT_EQ(ReadProfileValue(file, "Missing", "Key"), "");
}

TEST(ProfileValues, QuotedValuesAreUnquotedAndLongValuesCut) {
    std::string file = "[s]\na=\"quoted value\"\nb='single'\nc=\"half\nd=" + std::string(5000, 'x') + "\n";
    EXPECT_EQ(ReadProfileValue(file, "s", "a"), "quoted value");
    EXPECT_EQ(ReadProfileValue(file, "s", "b"), "single");
    EXPECT_EQ(ReadProfileValue(file, "s", "c"), "\"half");
    EXPECT_EQ(ReadProfileValue(file, "s", "d").size(), kProfileValueLimit);
}

TEST(ProfileValues, WritingReplacesTheKeyAndKeepsEveryOtherLine) {
    std::string file = "; comment\r\n[A]\r\nx=1\r\ny = 2\r\n\r\n[B]\r\nz=3\r\n";
    EXPECT_EQ(WriteProfileValue(file, "a", "Y", "20"),
              "; comment\r\n[A]\r\nx=1\r\nY=20\r\n\r\n[B]\r\nz=3\r\n");
}

TEST(ProfileValues, WritingAddsMissingKeysAndSections) {
    std::string file = "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n";
    EXPECT_EQ(WriteProfileValue(file, "A", "new", "v"), "[A]\r\nx=1\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(WriteProfileValue(file, "C", "k", "v"), "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk=v\r\n");
    EXPECT_EQ(WriteProfileValue("", "S", "k", "v"), "[S]\r\nk=v\r\n");
}

TEST(ProfileFiles, FileIsCreatedAndFoundWithoutRegardToCase) {
    testing::TemporaryFolder folder;
    platform::FileSystem files;
    platform::CodePage codePage(1252);
    ProfileFiles profiles(files, codePage);
    std::string path = (folder.path() / "Sub" / "Settings.ini").string();
    EXPECT_TRUE(profiles.WriteINIString(path, "Game", "Name", "Caf\xc3\xa9"));
    EXPECT_EQ(profiles.ReadINIString((folder.path() / "SUB" / "settings.INI").string(), "game", "name"),
              "Caf\xc3\xa9");
    // Written in the code page: one byte for the accented letter.
    EXPECT_EQ(files.ReadFile(path), "[Game]\r\nName=Caf\xe9\r\n");
    EXPECT_EQ(profiles.ReadINIString((folder.path() / "none.ini").string(), "Game", "Name"), "");
}

}  // namespace
}  // namespace taviro::project
