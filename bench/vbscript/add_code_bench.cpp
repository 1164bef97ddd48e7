// AddCode of a 5,000-line procedures text already seen: the player does this before every action.
#include <benchmark/benchmark.h>

#include <string>

#include "vbscript/engine.h"

namespace {

using taviro::vbscript::Engine;

// About 5,000 lines: 500 procedures of 10 lines each, plus a few global statements.
std::string ProceduresText() {
    std::string text = "Option Explicit\nDim gameState\ngameState = 0\n";
    for (int i = 0; i < 500; ++i) {
        std::string n = std::to_string(i);
        text += "Function Procedure" + n + "(a, b)\n";
        text += "    Dim total, k\n";
        text += "    total = a + " + n + "\n";
        text += "    For k = 1 To b\n";
        text += "        total = total + k * 2\n";
        text += "    Next\n";
        text += "    If total > 100 Then total = total - 100\n";
        text += "    gameState = gameState + 1\n";
        text += "    Procedure" + n + " = total & \"units\"\n";
        text += "End Function\n";
    }
    return text;
}

void AddCodeOfASeenText(benchmark::State& state) {
    Engine engine;
    std::string text = ProceduresText();
    if (!engine.AddCode(text)) state.SkipWithError("the procedures text does not compile");
    for (auto _ : state) {
        bool ok = engine.AddCode(text);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["lines"] = 3 + 500 * 10;
}
BENCHMARK(AddCodeOfASeenText)->Unit(benchmark::kMicrosecond);

void AddCodeOfANewText(benchmark::State& state) {
    std::string text = ProceduresText();
    for (auto _ : state) {
        Engine engine;
        bool ok = engine.AddCode(text);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(AddCodeOfANewText)->Unit(benchmark::kMillisecond);

}  // namespace
