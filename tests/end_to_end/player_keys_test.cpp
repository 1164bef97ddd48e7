// The player's own keys, played end to end on the demo game: Alt+S writes a screenshot to the
// player's pictures and says where in a notice of the player's own; Alt+Enter toggles full screen
// where the game offers that command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <vector>

#include "project/field_reader.h"
#include "project/field_writer.h"
#include "support/player_run.h"

namespace taviro {
namespace {

namespace fs = std::filesystem;
using std::string;

class DemoGame : public testing::PlayerRun {
public:
    DemoGame() : PlayerRun(TAVIRO_PLAYER_PATH) { CopyGame(TAVIRO_DEMO_GAME); }

    // Played with the pictures folder in the output folder, whatever the machine's settings say.
    int Play(const string& automation) const {
        return Run("press Start New Game\nwait 500\n" + automation,
                   "XDG_PICTURES_DIR='" + Path("Pictures") + "' XDG_CONFIG_HOME=");
    }

    // Rewrites one field of the game's "General" file.
    void SetGeneralField(int number, const project::FieldValue& value) const {
        const fs::path general = game().path() / "Config/General";
        std::ifstream in(general, std::ios::binary);
        project::FieldReader reader(string(std::istreambuf_iterator<char>(in), {}));
        std::vector<project::FieldValue> fields;
        while (!reader.AtEnd()) fields.push_back(reader.ReadVariant());
        fields.at(static_cast<size_t>(number - 1)) = value;
        project::FieldWriter writer;
        for (const project::FieldValue& field : fields) writer.WriteVariant(field).EndLine();
        game().Write("Config/General", writer.text());
    }
};

std::vector<fs::path> Pngs(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code none;
    for (const auto& entry : fs::directory_iterator(folder, none)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(PlayerKeys, AltSWritesTheGameAsPngAndSaysWhereApartFromTheMessageStrip) {
    DemoGame demo;
    ASSERT_EQ(demo.Play("key S alt\n" + demo.StateCommand("first") + "key S alt\n" +
                        demo.StateCommand("second") + "wait 4000\n" + demo.StateCommand("later")),
              0)
        << demo.Read("stderr");
    // Named after the game and the time (headless play starts at noon on 1 January 2001); two shots in
    // the same second keep both.
    const fs::path folder = fs::path(demo.Path("Pictures")) / "Taviro";
    const std::vector<fs::path> shots{folder / "The Taviro Demo 2001-01-01 12-00-00.png",
                                      folder / "The Taviro Demo 2001-01-01 12-00-00 2.png"};
    ASSERT_EQ(Pngs(folder), (std::vector<fs::path>{shots[1], shots[0]}));
    std::ifstream png(shots[0], std::ios::binary);
    char magic[4] = {};
    png.read(magic, 4);
    EXPECT_EQ(string(magic + 1, 3), "PNG");
    EXPECT_EQ(demo.Json("first.json")["player_notice"], "Screenshot saved: " + shots[0].string());
    EXPECT_EQ(demo.Json("second.json")["player_notice"], "Screenshot saved: " + shots[1].string());
    EXPECT_FALSE(demo.Json("first.json")["message"]["visible"].get<bool>());
    EXPECT_EQ(demo.Json("later.json")["player_notice"], "");
    EXPECT_NE(demo.Read("stderr").find("screenshot " + shots[0].string()), string::npos);
}

TEST(PlayerKeys, AltEnterTogglesFullScreenWhereTheGameOffersIt) {
    DemoGame offered;
    ASSERT_EQ(
        offered.Play(offered.StateCommand("before") + "key Return alt\n" + offered.StateCommand("full") +
                     "key Return alt\n" + offered.StateCommand("window")),
        0);
    EXPECT_FALSE(offered.Json("before.json")["display"]["full_screen"].get<bool>());
    EXPECT_TRUE(offered.Json("full.json")["display"]["full_screen"].get<bool>());
    EXPECT_FALSE(offered.Json("window.json")["display"]["full_screen"].get<bool>());

    DemoGame withheld;
    withheld.SetGeneralField(62, false);
    ASSERT_EQ(withheld.Play("key Return alt\n" + withheld.StateCommand("after")), 0);
    EXPECT_FALSE(withheld.Json("after.json")["display"]["full_screen"].get<bool>());
}

TEST(PlayerKeys, LikeAnyKeyTheyBreakTheDebugKeySequence) {
    DemoGame demo;
    ASSERT_EQ(
        demo.Play("key F12\nkey F9\nkey F11\nkey S alt\nkey F10\nkey Escape\n" + demo.StateCommand("broken") +
                  "key F12\nkey F9\nkey F11\nkey F10\n" + demo.StateCommand("typed")),
        0);
    auto lastMenu = [&](const string& state) {
        return demo.Json(state + ".json")["menus"]["bar"].back()["caption"].get<string>();
    };
    EXPECT_EQ(lastMenu("broken"), "Save Game...");
    EXPECT_EQ(lastMenu("typed"), "Debug");
}

}  // namespace
}  // namespace taviro
