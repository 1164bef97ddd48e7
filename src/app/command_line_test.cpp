#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace taviro::app {
namespace {

Options Parse(std::vector<std::string> arguments) {
    auto result = ParseCommandLine(arguments);
    EXPECT_TRUE(std::holds_alternative<Options>(result));
    return std::get<Options>(result);
}

std::string ErrorOf(std::vector<std::string> arguments) {
    auto result = ParseCommandLine(arguments);
    return std::holds_alternative<UsageError>(result) ? std::get<UsageError>(result).message : "";
}

TEST(CommandLine, GameFolderAndOptions) {
    Options options =
        Parse({"--headless", "--autoplay", "-", "--codepage", "1251", "games/quest", "--window"});
    EXPECT_EQ(options.projectFolder, "games/quest");
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(options.autoplayFile, "-");
    EXPECT_EQ(options.codePage, 1251);
    EXPECT_EQ(options.fullScreen, false);
    EXPECT_FALSE(Parse({}).projectFolder.has_value());
    EXPECT_EQ(Parse({}).codePage, 1252);
    EXPECT_EQ(Parse({"--locale", "1031"}).locale, 1031);
    EXPECT_FALSE(Parse({}).locale.has_value());
    EXPECT_EQ(Parse({"--drive", "e=/media/cd one", "--drive", "D=/mnt"}).drives,
              (std::vector<std::pair<char, std::string>>{{'E', "/media/cd one"}, {'D', "/mnt"}}));
}

TEST(CommandLine, BadUsageIsExplained) {
    EXPECT_EQ(ErrorOf({"--scale"}), "--scale needs a positive whole number");
    EXPECT_EQ(ErrorOf({"--scale", "two"}), "--scale needs a positive whole number");
    EXPECT_EQ(ErrorOf({"--log"}), "--log needs a file name");
    EXPECT_EQ(ErrorOf({"--locale", "German"}), "--locale needs a locale number such as 1031");
    EXPECT_EQ(ErrorOf({"--drive", "Z=/mnt"}),
              "--drive needs a letter from A to V and a folder, such as D=/media/cdrom");
    EXPECT_EQ(ErrorOf({"--bogus"}), "unknown option --bogus");
    EXPECT_EQ(ErrorOf({"a", "b"}), "only one game folder can be played at a time");
}

TEST(CommandLine, AGamesGeneralFileStandsForItsFolder) {
    namespace fs = std::filesystem;
    const fs::path game = fs::temp_directory_path() / ("taviro-general-" + std::to_string(::getpid()));
    fs::create_directories(game / "Config");
    fs::create_directories(game / "Other");
    std::ofstream(game / "Config/General") << "\"Game\"";
    std::ofstream(game / "Other/General") << "\"Game\"";
    EXPECT_EQ(GameFolderOfArgument((game / "Config/General").string()), game.string());
    EXPECT_EQ(GameFolderOfArgument(game.string()), game.string());
    // Only the file of a Config folder, and only a file, stands for a game.
    EXPECT_EQ(GameFolderOfArgument((game / "Other/General").string()), (game / "Other/General").string());
    EXPECT_EQ(GameFolderOfArgument((game / "Config").string()), (game / "Config").string());
    fs::remove_all(game);
}

}  // namespace
}  // namespace taviro::app
