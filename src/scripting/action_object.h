// The object registered as "Action": the author's interface to the player. Its request fields are
// read by the code that ran the script; its methods forward to the part of the player that owns
// the mechanism.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frames/current_frame.h"
#include "logic/action_requests.h"
#include "logic/variables.h"
#include "project/game_flags.h"
#include "project/project.h"
#include "scripting/action_host.h"
#include "scripting/components.h"
#include "vbscript/object.h"

namespace taviro::scripting {

class VBScriptActionModule final : public vbscript::Object {
public:
    // controlsReferencesMode: the script host's switch that methods 41 and 42 set; host: the game
    // window, which must outlive the object.
    VBScriptActionModule(project::Project& project, GameFlags& flags, logic::ProjectVariables& variables,
                         const frames::CurrentFrame& frame, int16_t& controlsReferencesMode,
                         ActionHost& host);

    std::u16string TypeName() const override { return u"VBScriptActionModule"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    // Methods the player does not offer yet raise 438, so a script learns at once what is missing.
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

    logic::ActionRequests requests;
    // The components scripts add; the game resets them with every new or loaded game.
    Components components;

private:
    vbscript::Variant InvokeMethod(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                   std::span<vbscript::Variant> arguments);
    // The path a script names: a bare file name is taken in the External folder.
    std::string ExternalFile(const std::string& name) const;
    // A relative path is taken in the project folder, the folder the original player ran in.
    std::string ProjectFile(const std::string& path) const;
    // The standard report of a method that failed; the script goes on.
    void Report(const std::string& message);
    // Runs the operation; a failure gives the standard report of the message, followed by the
    // error's description for the methods whose report tells it.
    enum class Described { No, Yes };
    template <typename Operation>
    void Reported(const std::string& message, Described described, Operation&& operation);
    // The file of a picture of the Areas folder: "" for no name, nullopt when it does not exist
    // (after the missing-file message).
    std::optional<std::string> PictureFile(const std::string& name);
    // The first name matching a new pattern, or with an empty pattern the next of the last search.
    vbscript::Variant DDir(const std::string& pattern, int32_t attributes);

    project::Project& project_;
    GameFlags& flags_;
    logic::ProjectVariables& variables_;
    const frames::CurrentFrame& frame_;
    int16_t& controlsReferencesMode_;
    ActionHost& host_;
    // The names the last DDir search found, and the next one to give.
    std::vector<std::string> ddirNames_;
    size_t ddirNext_ = 0;
    bool ddirSearching_ = false;
};

}  // namespace taviro::scripting
