// The XDG user directories: the variable, then user-dirs.dirs, then the folder of the home.
#include "platform/files/user_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace taviro::platform {
namespace {

namespace fs = std::filesystem;

struct UserDirsFixture : ::testing::Test {
    UserDirsFixture() {
        fs::create_directories(home / ".config");
        environment["HOME"] = home.string();
    }
    ~UserDirsFixture() override { fs::remove_all(home); }

    void WriteUserDirs(const std::string& text) { std::ofstream(home / ".config/user-dirs.dirs") << text; }

    EnvironmentLookup lookup = [this](const char* name) -> std::optional<std::string> {
        auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    };
    fs::path home = fs::temp_directory_path() / ("taviro-user-dirs-" + std::to_string(::getpid()));
    std::map<std::string, std::string> environment;
};

TEST_F(UserDirsFixture, EachDirectoryReadsItsOwnEntryOfTheOneFile) {
    WriteUserDirs(
        "# written by xdg-user-dirs-update\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder/\"\r\n"
        "XDG_MUSIC_DIR=\"relative/is/ignored\"\n");
    EXPECT_EQ(PicturesFolder(lookup), home.string() + "/Bilder");
    EXPECT_EQ(UserDirectory("XDG_DOCUMENTS_DIR", "Documents", lookup), home.string() + "/Papers");
    EXPECT_EQ(UserDirectory("XDG_MUSIC_DIR", "Music", lookup), home.string() + "/Music");
}

TEST_F(UserDirsFixture, TheVariableWinsAndTheHomeIsTheLastResort) {
    EXPECT_EQ(PicturesFolder(lookup), home.string() + "/Pictures");
    environment["XDG_PICTURES_DIR"] = "/srv/shots//";
    EXPECT_EQ(PicturesFolder(lookup), "/srv/shots");
    environment.clear();
    EXPECT_EQ(PicturesFolder(lookup), "");
}

TEST_F(UserDirsFixture, TheConfigurationFolderCanBeMoved) {
    WriteUserDirs("XDG_PICTURES_DIR=\"$HOME/Here\"\n");
    fs::create_directories(home / "elsewhere");
    std::ofstream(home / "elsewhere/user-dirs.dirs") << "XDG_PICTURES_DIR=\"/mnt/There\"\n";
    environment["XDG_CONFIG_HOME"] = (home / "elsewhere").string();
    EXPECT_EQ(PicturesFolder(lookup), "/mnt/There");
}

}  // namespace
}  // namespace taviro::platform
