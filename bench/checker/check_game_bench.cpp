// Target: taviro-player --check of a 500-frame game in 1 s or less. Each frame has a picture, music,
// a frame timer, a frame script, 10 hotspots with pictures and conditions, 10 actions with scripts
// that go to the next frame, and a dialogue; every file they name exists.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "checker/game_checker.h"
#include "project/field_reader.h"
#include "project/field_writer.h"

namespace {

using namespace taviro;
namespace fs = std::filesystem;
using std::string;

constexpr int kFrames = 500;
constexpr int kHotspots = 10;

void Write(const fs::path& file, const string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

string Line(std::initializer_list<project::FieldValue> fields) {
    project::FieldWriter writer;
    for (const project::FieldValue& field : fields) writer.WriteVariant(field);
    writer.EndLine();
    return writer.text();
}

const string kSeparator(project::kRecordSeparator);

string FrameName(int number) { return "Frame" + std::to_string(number % kFrames); }

string Hotspots() {
    string text;
    for (int i = 0; i < kHotspots; ++i) {
        text += Line({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                Line({15.0 * i, 15.0, 300.0, 300.0, 0.0, true, "spot" + std::to_string(i) + ".gif", 0.0,
                      string(""), 1.0, 0.0, 1.0, string("Flag")}) +
                Line({kSeparator});
    }
    return text;
}

string Actions(int frame) {
    string text;
    for (int i = 0; i < kHotspots; ++i) {
        const string script = "Dim n\r\nn = " + std::to_string(i) + "\r\nIf n > 3 Then\r\n  GoToFrame |" +
                              FrameName(frame + 1) + "|, 0, 0\r\nElse\r\n  MsgBox |Not yet|\r\nEnd If";
        text += Line({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                Line({1.0, string("Flag"), false, true, false, false, string(""), 0.0, string(""), false,
                      false}) +
                Line({1.0, FrameName(frame + 1)}) +
                Line({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
                Line({false, false, string(""), true, string("click.wav")}) + Line({0.0, 0.0, 0.0, false}) +
                Line({0.0, 0.0, 0.0, false}) + Line({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) + Line({true}) +
                Line({0.0, 0.0}) + Line({true, script}) + Line({kSeparator});
    }
    return text;
}

string Dialogue() {
    string text = Line({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) + Line({3.0});
    for (int line = 1; line <= 3; ++line) {
        text += Line({string("Question"), string("Answer"), string("x = 1"), string(""), string(""),
                      static_cast<double>(line), true, false, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0,
                      false, 0.0});
    }
    return text;
}

struct LargeGame {
    fs::path folder = fs::temp_directory_path() / "taviro-check-game-bench";

    LargeGame() {
        fs::remove_all(folder);
        string general;
        for (int field = 1; field <= 64; ++field) {
            if (field == 5) {
                general += Line({FrameName(0)});
            } else if (field == 1 || field == 3) {
                general += Line({string("Bench")});
            } else {
                general += Line({0.0});
            }
        }
        Write(folder / "Config/General", general);
        Write(folder / "Config/Variables", Line({string("")}) + Line({string("Flag")}));
        Write(folder / "Config/Procedures", "'\r\n'\r\n'\r\nSub Score(n)\r\n  MsgBox n\r\nEnd Sub\r\n");
        Write(folder / "Areas/music.ogg", "x");
        Write(folder / "Frames/click.wav", "x");
        for (int i = 0; i < kHotspots; ++i) Write(folder / ("Areas/spot" + std::to_string(i) + ".gif"), "x");
        for (int frame = 0; frame < kFrames; ++frame) {
            const string name = FrameName(frame);
            Write(folder / "Frames" / (name + ".fme"),
                  Line({1.0, name + ".jpg", false, false, string("music.ogg"), true, 5000.0,
                        FrameName(frame + 1), string(""), string("")}) +
                      Line({false, false, string("")}) +
                      Line({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + Line({true}) +
                      Line({false, 0.0}) + Line({0.0}) +
                      Line({true, string("Score 1\r\nIf Flag = 1 Then MsgBox |set|")}));
            Write(folder / "Frames" / (name + ".jpg"), "x");
            Write(folder / "FramesData" / (name + ".fm2"), Hotspots());
            Write(folder / "FramesData" / (name + ".fm3"), Actions(frame));
            Write(folder / "FramesData" / (name + ".dlg"), Dialogue());
        }
    }
    ~LargeGame() { fs::remove_all(folder); }
};

void CheckLargeGame(benchmark::State& state) {
    static LargeGame game;
    platform::CodePage codePage(1252);
    for (auto _ : state) {
        checker::CheckReport report = checker::CheckGame(game.folder.string(), codePage);
        if (!report.findings.empty()) state.SkipWithError("the large game does not check clean");
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(CheckLargeGame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
