// The game window's controls as scripts see them: one control, a control array ("Hotspot",
// "Text", "TimerObject"), a menu command, and the picture objects that Picture properties hold.
// Every object finds its control by name (and index) at each use, so that a script keeping an
// object never reaches a control that has been unloaded: it gets error 340 instead.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frames/frames_history.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/game_error.h"
#include "vbscript/number_text.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {

// A picture as scripts hold it: the game path of its file, empty for no picture. Handle, the
// default member, is 0 for no picture, so "If Hotspot(1).Picture = 0" tests for one; other
// handles stand for their file, so a picture assigned without Set still finds it.
class PictureObject final : public vbscript::Object {
public:
    explicit PictureObject(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    std::u16string TypeName() const override { return u"Picture"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    std::string path_;
};

// The path of a picture object or of a picture handle, "" for Nothing, Empty or 0; nullopt for
// any other value.
std::optional<std::string> PicturePathOf(const vbscript::Variant& value);

// One control of a form: its properties by name in twips, and the methods scripts call on
// controls (Move, ZOrder, Refresh, Cls, AddItem, RemoveItem, Clear, List, SetFocus).
class ControlObject final : public vbscript::Object {
public:
    // index: the element of a control array, nullopt for a control that is not in one. The form
    // must outlive the object's use; the control need not exist (using it then raises 340).
    ControlObject(platform::Form& form, std::string name, std::optional<int> index);

    // The control now, or nullptr when it is not loaded.
    platform::Control* Find() const;
    platform::Form& form() const { return form_; }
    const std::string& name() const { return name_; }
    std::optional<int> index() const { return index_; }

    std::u16string TypeName() const override;
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    platform::Control& Resolve() const;

    platform::Form& form_;
    std::string name_;
    std::optional<int> index_;
};

// A control array: Item (the default member, so "Hotspot(3)" is element 3), Count, LBound,
// UBound and For Each over the elements by index. Assigning to "Text(1)" assigns the element's
// default property (Caption for a label).
class ControlArrayObject final : public vbscript::Object {
public:
    ControlArrayObject(platform::Form& form, std::string name) : form_(form), name_(std::move(name)) {}

    std::u16string TypeName() const override { return u"Object"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;
    vbscript::Ref<vbscript::Enumerator> Enumerate() override;

private:
    platform::Form& form_;
    std::string name_;
};

// A control that the window made at run time outside its control tree (a sound player), as
// scripts reach it.
struct HostedControl {
    std::string name;
    vbscript::Ref<vbscript::Object> object;
};

// A window's Controls collection: every control of the form, each element of a control array on
// its own, back to front through the tree, then the hosted controls. Item, the default member,
// takes a name without regard to case (a control array's name gives the array) or a position from
// 0; Count; For Each. An unknown name raises 730, a position out of range 9.
class ControlsCollectionObject final : public vbscript::Object {
public:
    ControlsCollectionObject(platform::Form& form, std::vector<HostedControl> hosted)
        : form_(form), hosted_(std::move(hosted)) {}

    std::u16string TypeName() const override { return u"Object"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;
    vbscript::Ref<vbscript::Enumerator> Enumerate() override;

private:
    // Every control now, in the collection's order.
    std::vector<vbscript::Variant> Items() const;

    platform::Form& form_;
    std::vector<HostedControl> hosted_;
};

// A whole window ("SoftwareObjects"): every control and control array of the form under its own
// name ("Area(3)", "PictureBox"), the form's own properties ("Caption", "Width"), and Controls, the
// collection that also holds the hosted controls, whose names ("7MediaPlayerControl") scripts
// cannot write as members.
class FormObject final : public vbscript::Object {
public:
    explicit FormObject(platform::Form& form, std::vector<HostedControl> hosted = {});

    std::u16string TypeName() const override { return vbscript::FromUtf8OrWindows1252(form_.name()); }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    platform::Form& form_;
    vbscript::Ref<ControlObject> window_;  // the form's own properties
    vbscript::Ref<ControlsCollectionObject> controls_;
    std::vector<std::string> controlNames_;  // member k + 1 is control name k
};

// The frames history as the hidden list it was: ListCount, List(i) (oldest first, the current
// frame last), ListIndex (always -1: nothing is selected) and Clear. The history must outlive
// the object's use.
class FramesHistoryObject final : public vbscript::Object {
public:
    explicit FramesHistoryObject(frames::FramesHistory& history) : history_(history) {}

    std::u16string TypeName() const override { return u"ListBox"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    frames::FramesHistory& history_;
};

// A menu command: Caption, Checked, Enabled, Visible, Name. The item must outlive the object's use.
class MenuObject final : public vbscript::Object {
public:
    explicit MenuObject(platform::MenuItem& item) : item_(item) {}

    std::u16string TypeName() const override { return u"Menu"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    platform::MenuItem& item_;
};

// Runs an operation of the player for a script: the player's own errors become the script's, and so
// does any other failure (as AsGameError numbers it), which the script may then trap.
template <typename Operation>
auto AsScriptError(Operation&& operation) -> decltype(operation()) {
    try {
        return operation();
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        throw vbscript::ScriptError(error.number(), vbscript::FromUtf8OrWindows1252(error.description()));
    }
}

}  // namespace taviro::scripting
