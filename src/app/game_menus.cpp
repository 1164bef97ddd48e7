#include "app/game_menus.h"

#include "platform/files/file_system.h"

namespace taviro::app {
namespace {

constexpr char kBarPrefix[] = "mnu";
constexpr char kPopupPrefix[] = "mnuPopup";
constexpr char kFrameName[] = "FrameName";

bool IsTrue(const std::optional<std::string>& setting) {
    return setting && platform::FoldCase(*setting) == "true";
}

}  // namespace

GameMenus::GameMenus(project::Project& project, MenuCommands commands)
    : project_(project), commands_(std::move(commands)) {
    // The menu bar's order; the pop-up menu lists the same commands in its own order.
    for (const char* name : {"Exit", "Options", "LoadGame", "SaveGame", "Debug"})
        bar_.Add("", std::string(kBarPrefix) + name);
    for (const char* name : {"LoadGame", "SaveGame", "Options", "Debug", "Exit"})
        popup_.Add("", std::string(kPopupPrefix) + name);
    Build(bar_, kBarPrefix);
    Build(popup_, kPopupPrefix);
    ApplyInterfaceTexts();
}

void GameMenus::Build(platform::MenuItem& root, const std::string& prefix) {
    auto find = [&](const char* name) -> platform::MenuItem& { return *root.FindByName(prefix + name); };
    auto run = [](const std::function<void()>& command) {
        return [&command](platform::MenuItem&) {
            if (command) command();
        };
    };
    const project::ProjectInformation& info = project_.information;

    find("Exit").SetCaption("Exit");
    find("Exit").onClick = run(commands_.quit);
    platform::MenuItem& options = find("Options");
    options.SetCaption("Options");
    auto& transitions = options.Add("Disable Transitions", prefix + "DisableTransitions");
    transitions.onClick = [this](platform::MenuItem&) {
        Toggle("mnuDisableTransitions", "DisableTransitions");
    };
    auto& effects = options.Add("Disable Real-Time Effects", prefix + "DisableEffects");
    effects.onClick = [this](platform::MenuItem&) {
        Toggle("mnuDisableEffects", "DisableEffects");
        if (commands_.effectsSwitched) commands_.effectsSwitched();
    };
    transitions.visible = effects.visible = !info.hideEffectsMenus;
    auto& fullScreen = options.Add("Toggle Full-Screen / Windowed Mode", prefix + "ToggleFullScreen");
    fullScreen.onClick = run(commands_.toggleFullScreen);
    fullScreen.visible = info.offerFullScreenToggle;
    options.onOpen = [this](platform::MenuItem&) {
        if (commands_.subMenuOpened) commands_.subMenuOpened();
    };
    find("LoadGame").SetCaption("Load game...");
    find("LoadGame").onClick = run(commands_.loadGame);
    find("SaveGame").SetCaption("Save game...");
    find("SaveGame").onClick = run(commands_.saveGame);

    platform::MenuItem& debug = find("Debug");
    debug.SetCaption("Debug");
    debug.visible = false;
    debug.onOpen = options.onOpen;
    auto& goTo = debug.Add("Go to another frame", prefix + "GoToFrame");
    goTo.Add("Cancel", prefix + "Cancel").onClick = run(commands_.hideMenus);
    goTo.Add("-", prefix + "None");
    debug.Add("View variables status...", prefix + "ViewVariables").onClick = run(commands_.viewVariables);
    debug.Add(kExecuteVBScriptCaption, prefix + "ExecuteVBScript").onClick = run(commands_.executeVBScript);
    debug.Add(kEditProceduresCaption, prefix + "EditProcedures").onClick = run(commands_.editProcedures);
    debug.Add(kInterceptCodeCaption, prefix + "InterceptCode").onClick = run(commands_.interceptCode);
}

void GameMenus::ApplyInterfaceTexts() {
    const project::InterfaceTexts& texts = project_.UITexts;
    const std::pair<const char*, int> replaced[] = {{"mnuLoadGame", 2},
                                                    {"mnuSaveGame", 8},
                                                    {"mnuExit", 12},
                                                    {"mnuOptions", 49},
                                                    {"mnuDisableTransitions", 50},
                                                    {"mnuDisableEffects", 51},
                                                    {"mnuToggleFullScreen", 52}};
    for (const auto& [name, index] : replaced) {
        if (texts[index].empty()) continue;
        Item(name).SetCaption(texts[index]);
        PopupItem(name).SetCaption(texts[index]);
    }
}

platform::MenuItem& GameMenus::Item(const std::string& barName) { return *bar_.FindByName(barName); }

platform::MenuItem& GameMenus::PopupItem(const std::string& barName) {
    return *popup_.FindByName(kPopupPrefix + barName.substr(std::string(kBarPrefix).size()));
}

void GameMenus::RebuildFrameLists() {
    std::vector<std::string> files = project_.files().List(project_.paths.FramesPath, "*.fme");
    for (auto* goTo : {&Item("mnuGoToFrame"), &PopupItem("mnuGoToFrame")}) {
        while (goTo->items().size() > 2) goTo->Remove(*goTo->items().back());
        for (const std::string& file : files) {
            if (file.size() <= 4) continue;
            std::string frame = file.substr(0, file.size() - 4);
            goTo->Add(frame, goTo == &Item("mnuGoToFrame") ? "mnuFrameName" : "mnuPopupFrameName").onClick =
                [this, frame](platform::MenuItem&) {
                    if (commands_.openFrame) commands_.openFrame(frame);
                };
        }
    }
}

void GameMenus::ApplyProtectionLevel() {
    int32_t level = project_.information.ProtectionLevel;
    bool enabled = level == 0 || level > 3;
    for (const char* name : {"mnuOptions", "mnuExecuteVBScript", "mnuEditProcedures", "mnuInterceptCode"})
        Item(name).enabled = PopupItem(name).enabled = enabled;
}

void GameMenus::LoadCheckMarks() {
    bool transitions = IsTrue(project_.GetSetting("DisableTransitions"));
    bool effects = IsTrue(project_.GetSetting("DisableEffects"));
    Item("mnuDisableTransitions").checked = PopupItem("mnuDisableTransitions").checked = transitions;
    Item("mnuDisableEffects").checked = PopupItem("mnuDisableEffects").checked = effects;
}

void GameMenus::Toggle(const std::string& barName, const std::string& setting) {
    bool checked = !Item(barName).checked;
    Item(barName).checked = PopupItem(barName).checked = checked;
    project_.SaveSetting(setting, checked ? "True" : "False");
}

void GameMenus::Run(const std::string& barName) {
    platform::MenuItem& item = Item(barName);
    if (item.onClick) item.onClick(item);
}

void GameMenus::ShowDebugMenu() { Item("mnuDebug").visible = PopupItem("mnuDebug").visible = true; }

}  // namespace taviro::app
