// Damaged copies of the demo game played through its walkthrough by the player itself, headless:
// whatever stands where a game file should be, the player reports what the game's rules report and
// plays on to the end. Each case is a class of finding of the game-corruption fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using std::string;

string Walkthrough() {
    std::ifstream in(TAVIRO_DEMO_WALKTHROUGH, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of the demo game with one entry replaced by what `damage` puts there.
class DamagedDemo : public testing::PlayerRun {
public:
    explicit DamagedDemo(const string& entry) : PlayerRun(TAVIRO_PLAYER_PATH), entry_(game().path() / entry) {
        CopyGame(TAVIRO_DEMO_GAME);
        fs::remove_all(entry_);
    }
    void BecomeFolder() const { fs::create_directories(entry_ / "inside"); }
    void BecomeLinkTo(const string& target) const { fs::create_symlink(target, entry_); }
    // Plays the walkthrough through; the state at its end.
    json PlayThrough() const {
        int status = Run("keep-going\n" + Walkthrough() + StateCommand("end"));
        EXPECT_EQ(status, 0) << Read("stderr");
        EXPECT_EQ(Read("stderr").find("terminate called"), string::npos);
        return status == 0 ? Json("end.json") : json();
    }

private:
    fs::path entry_;
};

// The known case: the combination file of the matches and the candle, and the item files, turned
// into folders. Once the Areas folder itself was opened as a file and the program ended; now each is a
// file that cannot be read, and the walkthrough plays on to its end in the hall without that file.
TEST(DamagedGames, AFolderInPlaceOfAnItemOrCombinationFileIsAFileThatCannotBeRead) {
    struct Case {
        const char* entry;
        json items;     // held at the end
        int chestOpen;  // the key, dragged from where it lies in the bar, opened the chest
    } cases[] = {
        // The matches and the candle do not combine; the key lies third, not where it is dragged from.
        {"Areas/Matches_on_Candle.drg", json::array({"Candle", "Key", "Matches"}), 0},
        // They combine, but the lit candle cannot be added: the key moves first and opens the chest.
        {"Areas/LitCandle.obj", json::array(), 1},
        // The matches are never picked up.
        {"Areas/Matches.obj", json::array({"Candle", "Key"}), 0},
    };
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.entry);
        DamagedDemo game(damage.entry);
        game.BecomeFolder();
        json end = game.PlayThrough();
        EXPECT_EQ(end["frame"]["name"], "Hall");
        EXPECT_EQ(end["inventory"]["items"], damage.items);
        EXPECT_EQ(end["variables"]["integer"]["ChestOpen"], damage.chestOpen);
    }
}

TEST(DamagedGames, FrameFilesThatCannotBeReadLeaveTheGamePlaying) {
    struct Case {
        const char* entry;
        const char* target;  // a link to this, or a folder when empty
    } cases[] = {{"FramesData/Library.fm2", ""},
                 {"FramesData/Hall.fm4", "/proc/self/mem"},
                 {"Config/Variables", "Variables"},
                 {"FramesData/Garden.fm1", "Gone.fm1"}};
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.entry);
        DamagedDemo game(damage.entry);
        if (*damage.target)
            game.BecomeLinkTo(damage.target);
        else
            game.BecomeFolder();
        json end = game.PlayThrough();
        EXPECT_FALSE(end["frame"]["name"].get<string>().empty());
    }
}

}  // namespace
}  // namespace taviro
