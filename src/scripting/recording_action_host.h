// A game window for tests of scripts: it records what the Action object asks of it.
#pragma once

#include <string>
#include <vector>

#include "platform/game_error.h"
#include "scripting/action_host.h"

namespace taviro::scripting {

struct RecordingHost : ActionHost {
    void ShowTextMessage(const std::string& text, bool inWindow, bool) override {
        log.push_back("message " + text + (inWindow ? " in window" : ""));
    }
    void AddPickedObject(const std::string& name, bool doNotPopup) override {
        log.push_back("item " + name + (doNotPopup ? " quietly" : ""));
    }
    void ShowOrNotShowAreas() override { log.push_back("areas"); }
    void QuitCurrentDialogue() override { log.push_back("quit dialogue"); }
    void ShowMenus() override { log.push_back("show menus"); }
    void HideMenus() override { log.push_back("hide menus"); }
    int16_t ClickPositionX() override { return 12; }
    int16_t ClickPositionY() override { return 34; }
    void RefreshWindow() override { log.push_back("refresh"); }
    void RemoveItem(const std::string& name, bool all) override {
        log.push_back("remove " + name + (all ? " all" : ""));
    }
    void RemoveAllItems() override { log.push_back("remove all items"); }
    void HideInventoryButton() override { log.push_back("hide button"); }
    void ShowInventoryButton() override { log.push_back("show button"); }
    int CreateTimedEvent(double seconds, const std::string& code, bool repeat) override {
        log.push_back("timed " + std::to_string(seconds).substr(0, 3) + " " + code +
                      (repeat ? " again" : ""));
        return 7;
    }
    void RemoveTimedEvent(int number) override { log.push_back("remove timed " + std::to_string(number)); }

    // Without a desktop nothing opens.
    void OpenDocument(const std::string& address) override {
        if (!desktop) throw GameError(5, "Invalid procedure call or argument");
        log.push_back("open " + address);
    }
    void ShellAndWait(const std::string& path) override { log.push_back("run " + path); }
    void DoComponentsEvents() override { log.push_back("events"); }
    void SimulateHotspotClick(int16_t number) override { log.push_back("click " + std::to_string(number)); }
    void ResetDefaultPointer() override { log.push_back("pointer"); }
    void SavePicture(const std::string& picturePath, const std::string& file) override {
        log.push_back("save " + picturePath + " as " + file);
    }
    void ChangeDisplayResolution(int mode) override { log.push_back("mode " + std::to_string(mode)); }
    void ChangeDisplayResolutionOnLoadGame(int16_t mode) override {
        log.push_back("mode on load " + std::to_string(mode));
    }
    platform::Point ScreenSize() override { return {800, 600}; }
    bool TransitionsEnabled() override { return transitions; }
    bool EffectsEnabled() override { return effects; }
    void EnableOrDisableTransitions() override { transitions = !transitions; }
    void EnableOrDisableEffects() override { effects = !effects; }
    void CaptureFrame(platform::Control& pictureBox, bool withoutScreenCapture) override {
        log.push_back("capture into " + pictureBox.name() + (withoutScreenCapture ? " composed" : ""));
    }
    void SetTransitionDestination(vbscript::Ref<vbscript::Object> object) override {
        destination = std::move(object);
    }

    std::vector<std::string> log;
    bool desktop = true;
    bool transitions = true;
    bool effects = false;
    vbscript::Ref<vbscript::Object> destination;
};

}  // namespace taviro::scripting
