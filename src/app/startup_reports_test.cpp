// Reports made while the program starts, before any window exists, reach the player as message
// boxes like every later report.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro::app {
namespace {

TEST(StartupReports, DamagedTextsAndGeneralFilesAreShownAsMessageBoxes) {
    testing::PlayerRun run(TAVIRO_PLAYER_PATH);
    // "General" ends inside a group; "Texts" announces more texts than the table holds.
    run.game().Write("Config/General", testing::GeneralFile().Text(25));
    std::string texts = "2,0,0,0,0,0\r\n70\r\n";
    for (int i = 1; i <= 70; ++i) texts += "\"T" + std::to_string(i) + "\"\r\n";
    run.game().Write("Config/Texts", texts);
    ASSERT_EQ(run.Run(run.StateCommand("start")), 0) << run.Read("stderr");
    nlohmann::json boxes = run.Json("start.json")["messageboxes"];
    ASSERT_EQ(boxes.size(), 2u) << boxes.dump();
    EXPECT_EQ(boxes[0]["title"], "Error");
    EXPECT_TRUE(boxes[0]["text"].get<std::string>().ends_with("T31 Unable to load text."));
    EXPECT_NE(boxes[1]["text"].get<std::string>().find(" Error loading project information."),
              std::string::npos);
    EXPECT_EQ(boxes[1]["answer"], "OK");
    // Standard error keeps them too.
    EXPECT_NE(run.Read("stderr").find("Unable to load text."), std::string::npos);
}

}  // namespace
}  // namespace taviro::app
