// Replace, InStr, and Split followed by Join on 1 MB and 10 MB texts: the time per byte must stay flat.
#include <benchmark/benchmark.h>

#include <string>

#include "vbscript/engine.h"

namespace {

using taviro::vbscript::Engine;
using taviro::vbscript::Variant;

// The functions each benchmark calls; they return a length so the work cannot be skipped.
constexpr char kScript[] = R"(
Function ReplaceAll(text): ReplaceAll = Len(Replace(text, "needle", "pin")): End Function
Function ReplaceIgnoringCase(text): ReplaceIgnoringCase = Len(Replace(text, "NEEDLE", "pin", 1, -1, 1)): End Function
Function FindMissing(text): FindMissing = InStr(text, "haystack"): End Function
Function FindMissingIgnoringCase(text): FindMissingIgnoringCase = InStr(1, text, "HAYSTACK", 1): End Function
Function SplitAndJoin(text): SplitAndJoin = Len(Join(Split(text, ","), ";")): End Function
)";

// megabytes of UTF-16 text (two bytes a character) made of words, commas and the odd "needle".
std::u16string Text(int64_t megabytes) {
    const std::u16string piece = u"lorem ipsum needle dolor, sit amet elit, ";
    auto characters = static_cast<size_t>(megabytes) * 1024 * 1024 / 2;
    std::u16string text;
    text.reserve(characters + piece.size());
    while (text.size() < characters) text += piece;
    text.resize(characters);
    return text;
}

void CallOnText(benchmark::State& state, std::u16string_view function) {
    Engine engine;
    if (!engine.AddCode(std::string_view(kScript))) {
        state.SkipWithError("the benchmark script does not compile");
        return;
    }
    Variant text(Text(state.range(0)));
    Variant result;
    for (auto _ : state) {
        if (!engine.Run(function, {&text, 1}, &result)) {
            state.SkipWithError("the script failed");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 1024 * 1024);
    state.SetComplexityN(state.range(0));
}

void Replace(benchmark::State& state) { CallOnText(state, u"ReplaceAll"); }
void ReplaceIgnoringCase(benchmark::State& state) { CallOnText(state, u"ReplaceIgnoringCase"); }
void InStrMissing(benchmark::State& state) { CallOnText(state, u"FindMissing"); }
void InStrMissingIgnoringCase(benchmark::State& state) { CallOnText(state, u"FindMissingIgnoringCase"); }
void SplitThenJoin(benchmark::State& state) { CallOnText(state, u"SplitAndJoin"); }

// Arguments are megabytes of text.
BENCHMARK(Replace)->Arg(1)->Arg(2)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(ReplaceIgnoringCase)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(InStrMissing)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(InStrMissingIgnoringCase)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(SplitThenJoin)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
