// Targets: expanding the plugin commands of a 1,000-command text, at most 1 ms; delivering a
// component's event to its VBScript procedure (the dispatch and the call, not what the handler
// then does), at most 5 µs an event. Each event goes the whole way from the control's event: the
// generic event, the look-up among the handlers, the parameter list and the engine's call.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

#include "platform/clock.h"
#include "platform/console_dialogs.h"
#include "platform/controls/control_kinds.h"
#include "project/plugins.h"
#include "project/project.h"
#include "scripting/component_classes.h"
#include "scripting/components.h"
#include "vbscript/engine.h"
#include "vbscript/number_text.h"

namespace {

using namespace taviro;

// Five plugins; the text calls each in turn with two arguments, one thousand times.
void BM_ExpandPluginCommandsOfAThousandCommandText(benchmark::State& state) {
    platform::CodePage codePage(1252);
    project::PluginCommandSyntax syntax(codePage);
    std::vector<project::Plugin> plugins(5);
    for (size_t i = 0; i < plugins.size(); ++i) {
        plugins[i].listName = "Plugin" + std::to_string(i);
        plugins[i].actionProcedure = "Plugin" + std::to_string(i) + "_Action";
    }
    std::string stored;
    for (int i = 0; i < 1000; ++i)
        stored += "{plugin" + std::to_string(i % 5) + "}door " + std::to_string(i) + "}~open~";
    for (auto _ : state) {
        std::string script = syntax.ExpandPluginCommands(syntax.CommandText(stored), true, plugins);
        benchmark::DoNotOptimize(script);
    }
    state.SetLabel(std::to_string(stored.size()) + " bytes");
}
BENCHMARK(BM_ExpandPluginCommandsOfAThousandCommandText)->Unit(benchmark::kMicrosecond);

// A game window's components with the intrinsic classes; the handlers live in an engine loaded
// with 200 other procedures besides them.
struct ComponentsWithHandlers {
    platform::FileSystem files;
    platform::CodePage codePage{1252};
    platform::ConsoleDialogs dialogs{std::cerr};
    project::NoCd cd;
    GameFlags flags;
    project::Project project{files, codePage, dialogs, cd, flags, std::filesystem::temp_directory_path()};
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::Form form{"Game", 640, 480};
    scripting::ComponentClasses classes{form, timers};
    scripting::Components components{project};
    vbscript::Engine engine;

    ComponentsWithHandlers() {
        form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        std::string code =
            "Dim Clicks, LastX\r\nSub button_Click(p) : Clicks = Clicks + 1 : End Sub\r\n"
            "Sub button_MouseDown(p) : LastX = p(\"X\") : End Sub\r\n";
        for (int i = 0; i < 200; ++i) code += "Sub Other" + std::to_string(i) + "_Event(p) : End Sub\r\n";
        engine.AddCode(code);
        components.BuildAllEventsList(engine.Procedures());
        components.UseHost(&classes);
        components.runEventProcedure = [this](const std::string& procedure,
                                              vbscript::Ref<vbscript::Object> list) {
            vbscript::Variant argument(std::move(list));
            if (!engine.Run(vbscript::FromUtf8OrWindows1252(procedure), {&argument, 1})) std::abort();
        };
        components.AddAdditionalComponent("VB.CommandButton", "Button", false, false);
    }
    platform::Control& button() { return *form.Find("button"); }
};

void BM_ComponentClickToItsProcedure(benchmark::State& state) {
    ComponentsWithHandlers game;
    platform::Control& button = game.button();
    for (auto _ : state) button.events.click(button);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComponentClickToItsProcedure)->Iterations(10000)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ComponentMouseDownWithFourParametersToItsProcedure(benchmark::State& state) {
    ComponentsWithHandlers game;
    platform::Control& button = game.button();
    const platform::MouseEvent press{platform::kLeftButton, 0, 10, 12};
    for (auto _ : state) button.events.mouseDown(button, press);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComponentMouseDownWithFourParametersToItsProcedure)
    ->Iterations(10000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
