// The component classes the player offers by ProgID: the intrinsic controls that scripts of the
// era create ("VB.Label", "VB.CommandButton", ...), made as controls of the scene's picture box.
// Scripts reach each one through an extender that answers the control's properties and methods.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/list_controls.h"
#include "platform/events/timer.h"
#include "scripting/component_host.h"
#include "scripting/media_components.h"
#include "scripting/script_component.h"

namespace taviro::scripting {

class ComponentClasses final : public ComponentHost {
public:
    // The controls go into the form's "PictureBox"; timers run on the queue.
    ComponentClasses(platform::Form& form, platform::TimerQueue& timers) : form_(form), timers_(timers) {}
    // Removes the controls it made that are still there.
    ~ComponentClasses() override;
    ComponentClasses(const ComponentClasses&) = delete;
    ComponentClasses& operator=(const ComponentClasses&) = delete;

    // Whether the class is one of the intrinsic controls (letter case ignored).
    static bool IsIntrinsic(std::string_view progId);

    // The code of a component written in VBScript for a class that is not intrinsic, or nullopt
    // when the game offers none; the time-out of that code in milliseconds (-1 none).
    std::function<std::optional<std::string>(const std::string& progId)> scriptOf;
    int32_t scriptTimeoutMs = 10000;
    // Offers the media players and the animated-picture control.
    void UseMediaClasses(std::unique_ptr<MediaComponents> media) { media_ = std::move(media); }
    // The folders the file, folder and drive lists show; none: they list nothing.
    std::shared_ptr<const platform::FolderSource> folders;

    // A new control, hidden, at the top-left corner of the picture box. Throws GameError 429 for a
    // class that is not offered, 727 when a control of the window has the name already, 51 when the
    // window has no picture box, and the script's error when a component's code fails.
    vbscript::Ref<vbscript::Object> AddControl(const std::string& progId, const std::string& controlName,
                                               RaiseEvent raise) override;
    // Throws GameError 730 when no control of this host has the name.
    void RemoveControl(const std::string& controlName) override;

private:
    // The picture box of the scene, after checking that the name is free.
    platform::Control& SceneFor(const std::string& controlName) const;
    vbscript::Ref<vbscript::Object> AddScriptComponent(const std::string& code,
                                                       const std::string& controlName, RaiseEvent raise);
    vbscript::Ref<vbscript::Object> AddMediaComponent(std::string_view progId, const std::string& controlName,
                                                      RaiseEvent raise);
    // Lets go of the removed components written in VBScript whose code no longer runs.
    void ReleaseRetired();

    platform::Form& form_;
    platform::TimerQueue& timers_;
    std::vector<std::string> names_;  // the controls made here, in order
    std::vector<std::shared_ptr<ScriptComponent>> scripted_;
    std::vector<std::shared_ptr<ScriptComponent>> retired_;  // removed while their code may run
    std::unique_ptr<MediaComponents> media_;
};

}  // namespace taviro::scripting
