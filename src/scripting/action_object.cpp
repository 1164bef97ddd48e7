// The methods of the Action object, numbered as the class declares them.
#include "scripting/action_object.h"

#include <array>
#include <string_view>

#include "logic/actions.h"
#include "project/field_value.h"
#include "project/scrambled_names.h"
#include "scripting/control_objects.h"
#include "scripting/variable_objects.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

// Every method of the class in its order; the member number is the position plus one.
constexpr std::array<std::u16string_view, 77> kMethods = {
    u"PopupSaveGame",
    u"PopupLoadGame",
    u"GoToFrame",
    u"ResetRemovedHotspots",
    u"ResetModule",
    u"StopEverything",
    u"Message",
    u"AddItem",
    u"SendEmail",
    u"OpenURL",
    u"OpenFile",
    u"OpenExeFileAndWait",
    u"LoadAPicture",
    u"LoadGraphicFile",
    u"GetHotspotNumber",
    u"GetPath",
    u"HideInventoryButton",
    u"ShowInventoryButton",
    u"GetClickPositionX",
    u"GetClickPositionY",
    u"GetTransitionsStatus",
    u"GetEffectsStatus",
    u"InvertTransitionsStatus",
    u"InvertEffectsStatus",
    u"RemoveAllItems",
    u"RemoveItem",
    u"CreateObject",
    u"LoadControl",
    u"UnloadControl",
    u"GetTaviroVersion",
    u"ChangeDisplayResolution",
    u"ChangeDisplayResolutionOnLoadGame",
    u"GetDisplayResolutionX",
    u"GetDisplayResolutionY",
    u"GetProjectWidth",
    u"GetProjectHeight",
    u"GetProjectName",
    u"GetProjectTitle",
    u"GetNumberOfFrames",
    u"IsRunningFromEditor",
    u"AllowControlsReferencesNextTime",
    u"DoNotAllowControlsReferencesNextTime",
    u"GetCurrentFrameName",
    u"GetMergedHotspotIndex",
    u"GetMergedTextIndex",
    u"Quit",
    u"CreateTimedEvent",
    u"RemoveTimedEvent",
    u"SaveParameter",
    u"LoadParameter",
    u"ChangeDefaultCursor",
    u"ReadINI",
    u"WriteINI",
    u"DDir",
    u"AddComponent",
    u"RemoveComponent",
    u"Component",
    u"DoesComponentExist",
    u"InterceptComponentEvents",
    u"IsComponentInstalled",
    u"NO_FILE_SELECTED",
    u"GetVariableReferenceFromName",
    u"DOUBLEQUOTES",
    u"NEWLINE",
    u"ConvertQuotesIntoDoubleQuotes",
    u"ConvertToNumber",
    u"GetEncryptedFileName",
    u"RefreshWindow",
    u"QuitDialogue",
    u"UpdateHotspotsState",
    u"DoComponentsEvents",
    u"CaptureFrame",
    u"SaveAPicture",
    u"SimulateHotspotClick",
    u"ShowMenu",
    u"HideMenu",
    u"SetTransitionDestination",
};

enum Method : vbscript::DispatchId {
    kPopupSaveGame = 1,
    kPopupLoadGame,
    kGoToFrame,
    kResetRemovedHotspots,
    kResetModule,
    kStopEverything,
    kMessage,
    kAddItem,
    kSendEmail,
    kOpenURL,
    kOpenFile,
    kOpenExeFileAndWait,
    kLoadAPicture,
    kLoadGraphicFile,
    kGetHotspotNumber,
    kGetPath,
    kHideInventoryButton,
    kShowInventoryButton,
    kGetClickPositionX,
    kGetClickPositionY,
    kGetTransitionsStatus,
    kGetEffectsStatus,
    kInvertTransitionsStatus,
    kInvertEffectsStatus,
    kRemoveAllItems,
    kRemoveItem,
    kCreateObject,
    kLoadControl,
    kUnloadControl,
    kGetTaviroVersion,
    kChangeDisplayResolution,
    kChangeDisplayResolutionOnLoadGame,
    kGetDisplayResolutionX,
    kGetDisplayResolutionY,
    kGetProjectWidth,
    kGetProjectHeight,
    kGetProjectName,
    kGetProjectTitle,
    kGetNumberOfFrames,
    kIsRunningFromEditor,
    kAllowControlsReferences,
    kDoNotAllowControlsReferences,
    kGetCurrentFrameName,
    kGetMergedHotspotIndex,
    kGetMergedTextIndex,
    kQuit,
    kCreateTimedEvent,
    kRemoveTimedEvent,
    kSaveParameter,
    kLoadParameter,
    kChangeDefaultCursor,
    kReadINI,
    kWriteINI,
    kDDir,
    kAddComponent,
    kRemoveComponent,
    kComponent,
    kDoesComponentExist,
    kInterceptComponentEvents,
    kIsComponentInstalled,
    kNoFileSelected,
    kGetVariableReferenceFromName,
    kDoubleQuotes,
    kNewLine,
    kConvertQuotesIntoDoubleQuotes,
    kConvertToNumber,
    kGetEncryptedFileName,
    kRefreshWindow,
    kQuitDialogue,
    kUpdateHotspotsState,
    kDoComponentsEvents,
    kCaptureFrame,
    kSaveAPicture,
    kSimulateHotspotClick,
    kShowMenu,
    kHideMenu,
    kSetTransitionDestination,
};
// The numbers are the positions in kMethods, counted from 1.
static_assert(kRemoveAllItems == 25 && kGetProjectWidth == 35 && kNoFileSelected == 61);
static_assert(kSetTransitionDestination == kMethods.size());

using vbscript::Variant;

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }
std::string TextOf(const Variant& value) { return vbscript::ToUtf8(vbscript::ToString(value)); }

// The control an argument refers to; a value that is no control of the game raises 424.
ControlObject& ControlOf(const Variant& given) {
    const Variant& value = given.Target();
    auto* control = value.IsObject() ? dynamic_cast<ControlObject*>(value.object()) : nullptr;
    if (!control) vbscript::Throw(vbscript::err::kObjectRequired);
    return *control;
}

// A path is absolute when it starts with a separator or a drive letter.
bool IsAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

VBScriptActionModule::VBScriptActionModule(project::Project& project, GameFlags& flags,
                                           logic::ProjectVariables& variables,
                                           const frames::CurrentFrame& frame, int16_t& controlsReferencesMode,
                                           ActionHost& host)
    : components(project),
      project_(project),
      flags_(flags),
      variables_(variables),
      frame_(frame),
      controlsReferencesMode_(controlsReferencesMode),
      host_(host) {}

vbscript::DispatchId VBScriptActionModule::MemberId(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    for (size_t i = 0; i < kMethods.size(); ++i) {
        if (vbscript::FoldCase(kMethods[i]) == folded) return static_cast<vbscript::DispatchId>(i + 1);
    }
    return vbscript::kUnknownMember;
}

const void* VBScriptActionModule::DispatchKey() const {
    static const char key = 0;
    return &key;
}

std::string VBScriptActionModule::ExternalFile(const std::string& name) const {
    return name.find_first_of("\\/") == std::string::npos ? project_.paths.ExternalPath + name : name;
}

std::string VBScriptActionModule::ProjectFile(const std::string& path) const {
    return IsAbsolute(path) ? path : project_.paths.ProjectPath + path;
}

void VBScriptActionModule::Report(const std::string& message) { project_.reports().ShowErrorReport(message); }

template <typename Operation>
void VBScriptActionModule::Reported(const std::string& message, Described described, Operation&& operation) {
    auto report = [&](const std::string& description) {
        Report(described == Described::Yes ? message + description : message);
    };
    try {
        operation();
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        report(error.description());
    } catch (const vbscript::ScriptError& error) {
        report(vbscript::ToUtf8(error.description));
    }
}

std::optional<std::string> VBScriptActionModule::PictureFile(const std::string& name) {
    if (name.empty()) return "";
    std::string path = project_.LocateProjectFile(project_.paths.AreasPath + name);
    if (!project_.files().IsFile(path)) return std::nullopt;
    return path;
}

Variant VBScriptActionModule::DDir(const std::string& pattern, int32_t attributes) {
    constexpr int32_t kHidden = 2, kDirectory = 16;
    if (!pattern.empty()) {
        // A new search: the folder part of the pattern, then every entry whose name matches.
        size_t cut = pattern.find_last_of("\\/");
        std::string folder = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
        std::string names = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
        if (names.empty() || names == "*.*") names = "*";
        ddirNames_.clear();
        ddirNext_ = 0;
        std::error_code error;
        std::filesystem::path real = project_.files().Resolve(ProjectFile(folder.empty() ? "." : folder));
        for (std::filesystem::directory_iterator entries(real, error), end; !error && entries != end;
             entries.increment(error)) {
            std::string name = entries->path().filename().string();
            bool directory = entries->is_directory(error);
            // Names starting with a dot are this system's hidden files.
            if (name[0] == '.' && !(attributes & kHidden)) continue;
            if (directory && !(attributes & kDirectory)) continue;
            if (platform::MatchesPattern(name, names)) ddirNames_.push_back(name);
        }
        std::sort(ddirNames_.begin(), ddirNames_.end(), [](const std::string& a, const std::string& b) {
            return platform::FoldCase(a) < platform::FoldCase(b);
        });
    } else if (!ddirSearching_) {
        vbscript::Throw(vbscript::err::kInvalidProcedureCall);
    }
    ddirSearching_ = true;
    if (ddirNext_ >= ddirNames_.size()) return Variant(u"");
    return Variant(Utf16(ddirNames_[ddirNext_++]));
}

Variant VBScriptActionModule::Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                     std::span<Variant> arguments) {
    // What the player raises reaches the script as its own error.
    return AsScriptError([&] { return InvokeMethod(id, kind, arguments); });
}

Variant VBScriptActionModule::InvokeMethod(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                           std::span<Variant> arguments) {
    if (kind != vbscript::InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
    auto expect = [&](size_t count) {
        if (arguments.size() != count) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    };
    auto text = [&](size_t i) { return TextOf(arguments[i]); };
    const project::ProjectInformation& info = project_.information;

    switch (id) {
        case kPopupSaveGame:
            expect(0);
            requests.bPopupSaveGame = true;
            return {};
        case kPopupLoadGame:
            expect(0);
            requests.bPopupLoadGame = true;
            return {};
        case kGoToFrame:
            expect(3);
            requests.sFrameToLoad = text(0);
            requests.dTransDuration = vbscript::ToDouble(arguments[1]);
            requests.iTransitionNumber = vbscript::ToInteger(arguments[2]);
            requests.iHotspotNumber = 0;
            return {};
        case kResetRemovedHotspots:
            expect(0);
            while (variables_.Disappear.Count() > 0)
                variables_.Disappear.Remove(variables_.Disappear.Count());
            return {};
        case kResetModule:
            expect(0);
            requests.ResetModule();
            return {};
        case kStopEverything:
            expect(0);
            logic::StopEverything(flags_);
            return {};
        case kMessage:
            expect(1);
            host_.ShowTextMessage(text(0), true, false);
            return {};
        case kAddItem:
            expect(2);
            host_.AddPickedObject(text(0), vbscript::ToBoolean(arguments[1]));
            return {};
        case kHideInventoryButton:
            expect(0);
            host_.HideInventoryButton();
            return {};
        case kShowInventoryButton:
            expect(0);
            host_.ShowInventoryButton();
            return {};
        case kRemoveAllItems:
            expect(0);
            host_.RemoveAllItems();
            return {};
        case kRemoveItem:
            expect(2);
            host_.RemoveItem(text(0), vbscript::ToBoolean(arguments[1]));
            return {};
        case kCreateTimedEvent:
            expect(3);
            return Variant(static_cast<int16_t>(host_.CreateTimedEvent(
                vbscript::ToDouble(arguments[0]), text(1), vbscript::ToBoolean(arguments[2]))));
        case kRemoveTimedEvent:
            expect(1);
            host_.RemoveTimedEvent(vbscript::ToInteger(arguments[0]));
            return {};
        case kSendEmail: {
            expect(1);
            std::string address = text(0);
            if (!address.empty()) {
                Reported(" Error opening the default mail client to send email to: " + address, Described::No,
                         [&] { host_.OpenDocument("mailto:" + address); });
            }
            return {};
        }
        case kOpenURL: {
            expect(1);
            std::string url = text(0);
            if (!url.empty()) {
                Reported(" Error opening the following URL with the default browser:\n\n" + url,
                         Described::No, [&] { host_.OpenDocument(url); });
            }
            return {};
        }
        case kOpenFile: {
            expect(1);
            std::string title = text(0);
            if (!title.empty()) {
                Reported(" Error opening the file titled '" + title + "'.", Described::No, [&] {
                    std::string path = ExternalFile(title);
                    if (!project_.files().Exists(path)) throw errors::FileNotFound();
                    host_.OpenDocument(project_.files().Resolve(path).string());
                });
            }
            return {};
        }
        case kOpenExeFileAndWait: {
            expect(1);
            std::string title = text(0);
            if (!title.empty()) {
                Reported(" Error opening the file titled '" + title + "'.", Described::No,
                         [&] { host_.ShellAndWait(project_.files().Resolve(ExternalFile(title)).string()); });
            }
            return {};
        }
        case kLoadAPicture: {
            expect(2);
            std::string name = text(1);
            std::string path = name.empty() ? "" : project_.paths.AreasPath + name;
            Reported(" Error loading the following picture:'" + path + "'.", Described::Yes, [&] {
                ControlObject& control = ControlOf(arguments[0]);
                std::optional<std::string> file = PictureFile(name);
                if (!file) return;
                Variant picture(vbscript::Ref<vbscript::Object>(vbscript::MakeRef<PictureObject>(*file)));
                control.Invoke(control.MemberId(u"Picture"), vbscript::InvokeKind::Set,
                               std::span(&picture, 1));
            });
            return {};
        }
        case kLoadGraphicFile: {
            expect(1);
            std::string name = text(0);
            Variant result = Variant::Nothing();
            Reported(" Error loading the following graphic file:'" + project_.paths.AreasPath + name + "'.",
                     Described::Yes, [&] {
                         if (std::optional<std::string> file = PictureFile(name)) {
                             result = Variant(
                                 vbscript::Ref<vbscript::Object>(vbscript::MakeRef<PictureObject>(*file)));
                         }
                     });
            return result;
        }
        case kGetHotspotNumber: expect(0); return Variant(requests.iHotspotNumber);
        case kGetClickPositionX: expect(0); return Variant(host_.ClickPositionX());
        case kGetClickPositionY: expect(0); return Variant(host_.ClickPositionY());
        case kRefreshWindow:
            expect(0);
            host_.RefreshWindow();
            return {};
        case kQuitDialogue:
            expect(0);
            host_.QuitCurrentDialogue();
            return {};
        case kUpdateHotspotsState:
            expect(0);
            host_.ShowOrNotShowAreas();
            return {};
        case kShowMenu:
            expect(0);
            host_.ShowMenus();
            return {};
        case kHideMenu:
            expect(0);
            host_.HideMenus();
            return {};
        case kGetPath: {
            expect(1);
            const project::ProjectPaths& paths = project_.paths;
            switch (vbscript::ToInteger(arguments[0])) {
                case 0:
                case 1: return Variant(Utf16(paths.ProjectPath));
                case 3: return Variant(Utf16(paths.ConfigPath));
                case 4: return Variant(Utf16(paths.AreasPath));
                case 5: return Variant(Utf16(paths.FramesPath));
                case 6: return Variant(Utf16(paths.FramesDataPath));
                case 7: return Variant(Utf16(paths.IconsPath));
                default: return Variant(Utf16(paths.ExternalPath));
            }
        }
        case kGetTransitionsStatus: expect(0); return Variant(host_.TransitionsEnabled());
        case kGetEffectsStatus: expect(0); return Variant(host_.EffectsEnabled());
        case kInvertTransitionsStatus:
            expect(0);
            host_.EnableOrDisableTransitions();
            return {};
        case kInvertEffectsStatus:
            expect(0);
            host_.EnableOrDisableEffects();
            return {};
        case kCreateObject:
            expect(1);
            if (project_.ReadMoreSetting("AllowCreateObject") != "1") {
                platform::MessageBoxRequest request{"Unavailable Function",
                                                    "For security reasons, the \"CreateObject\" function is "
                                                    "disabled in this version of VBScript.",
                                                    platform::MessageIcon::Information,
                                                    platform::MessageButtons::Ok};
                project_.reports().dialogs().MessageBox(request);
            }
            return {};
        case kLoadControl:
        case kUnloadControl: {
            expect(1);
            try {
                ControlObject& control = ControlOf(arguments[0]);
                if (!control.index()) return Variant(false);
                if (id == kLoadControl) {
                    control.form().Load(control.name(), *control.index());
                } else {
                    control.form().Unload(control.name(), *control.index());
                }
                return Variant(true);
            } catch (const GameError&) {
                return Variant(false);
            } catch (const vbscript::ScriptError&) {
                return Variant(false);
            }
        }
        case kChangeDisplayResolution:
            expect(1);
            Reported(" Error changing display resolution. ", Described::Yes,
                     [&] { host_.ChangeDisplayResolution(vbscript::ToInteger(arguments[0].Target())); });
            return {};
        case kChangeDisplayResolutionOnLoadGame:
            expect(1);
            host_.ChangeDisplayResolutionOnLoadGame(vbscript::ToInteger(arguments[0].Target()));
            return {};
        case kGetDisplayResolutionX:
        case kGetDisplayResolutionY: {
            expect(0);
            platform::Point size = host_.ScreenSize();
            return Variant(static_cast<int32_t>(id == kGetDisplayResolutionX ? size.x : size.y));
        }
        case kGetTaviroVersion: expect(0); return Variant(u"Version 4.7.1");
        case kGetProjectWidth: expect(0); return Variant(info.ProjectWidth);
        case kGetProjectHeight: expect(0); return Variant(info.ProjectHeight);
        case kGetProjectName: expect(0); return Variant(Utf16(info.ProjectName));
        case kGetProjectTitle: expect(0); return Variant(Utf16(info.ProjectTitle));
        case kGetNumberOfFrames: expect(0); return Variant(int16_t{0});
        case kIsRunningFromEditor: expect(0); return Variant(false);
        case kAllowControlsReferences:
            expect(0);
            controlsReferencesMode_ = 2;
            return {};
        case kDoNotAllowControlsReferences:
            expect(0);
            controlsReferencesMode_ = 1;
            return {};
        case kGetCurrentFrameName: expect(0); return Variant(Utf16(frame_.name));
        case kGetMergedHotspotIndex: expect(0); return Variant(frame_.MergedHotspotIndex);
        case kGetMergedTextIndex: expect(0); return Variant(frame_.MergedTextIndex);
        case kQuit:
            expect(0);
            requests.bStopGame = true;
            return {};
        case kSaveParameter:
            expect(2);
            if (!project_.SaveSetting("_" + text(0), text(1))) {
                Report(" Unable to save the parameter named \"" + text(0) + "\". Path/File access error");
            }
            return {};
        case kLoadParameter: {
            expect(2);
            std::optional<std::string> value = project_.GetSetting("_" + text(0));
            return Variant(Utf16(value ? *value : text(1)));
        }
        case kReadINI: {
            expect(3);
            if (text(0).empty() || text(1).empty() || text(2).empty()) return Variant(u"");
            std::string file = ExternalFile(text(0));
            if (!project_.files().IsFile(file)) return Variant(u"");
            return Variant(Utf16(project_.profiles().ReadINIString(file, text(1), text(2))));
        }
        case kWriteINI:
            expect(4);
            if (!text(0).empty() && !text(1).empty() && !text(2).empty()) {
                project_.profiles().WriteINIString(ExternalFile(text(0)), text(1), text(2), text(3));
            }
            return Variant(false);
        case kChangeDefaultCursor: {
            expect(1);
            std::string name = text(0);
            Reported(" Unable to change the default cursor. ", Described::Yes, [&] {
                if (!name.empty() && platform::FoldCase(name) != "default") {
                    std::string path = project_.LocateProjectFile(project_.paths.IconsPath + name);
                    if (!project_.files().IsFile(path)) return;
                }
                project_.information.defaultCursor = name;
                host_.ResetDefaultPointer();
            });
            return {};
        }
        case kDDir: expect(2); return DDir(text(0), vbscript::ToLong(arguments[1].Target()));
        case kAddComponent:
            expect(4);
            components.AddAdditionalComponent(text(0), text(1), vbscript::ToBoolean(arguments[2].Target()),
                                              vbscript::ToBoolean(arguments[3].Target()));
            return {};
        case kRemoveComponent:
            expect(1);
            components.RemoveAdditionalComponent(text(0));
            return {};
        case kComponent:
            expect(1);
            if (vbscript::Ref<vbscript::Object> component = components.GetComponentRef(text(0)))
                return Variant(std::move(component));
            return Variant::Nothing();
        case kDoesComponentExist: expect(1); return Variant(components.DoesComponentExist(text(0)));
        case kIsComponentInstalled: expect(1); return Variant(components.DoesProgIDExist(text(0)));
        case kInterceptComponentEvents: expect(1); return {};
        case kNoFileSelected: expect(0); return Variant(u"");
        case kGetVariableReferenceFromName: {
            expect(1);
            std::string name = text(0);
            for (const auto& variable : variables_.VariablesVariant.members()) {
                if (platform::FoldCase(variable->Name) == platform::FoldCase(name)) {
                    return Variant(
                        vbscript::Ref<vbscript::Object>(vbscript::MakeRef<VariantVariableObject>(variable)));
                }
            }
            for (const auto& variable : variables_.Variables.members()) {
                if (platform::FoldCase(variable->Name) == platform::FoldCase(name)) {
                    return Variant(
                        vbscript::Ref<vbscript::Object>(vbscript::MakeRef<IntegerVariableObject>(variable)));
                }
            }
            vbscript::Throw(vbscript::err::kInvalidProcedureCall);
        }
        case kDoubleQuotes: expect(0); return Variant(u"\"");
        case kNewLine: expect(0); return Variant(u"\r\n");
        case kConvertQuotesIntoDoubleQuotes: {
            expect(1);
            std::u16string value = vbscript::ToString(arguments[0]);
            std::u16string doubled;
            for (char16_t c : value) {
                doubled += c;
                if (c == u'"') doubled += c;
            }
            return Variant(doubled);
        }
        case kConvertToNumber: expect(1); return Variant(project::Val(text(0)));
        case kGetEncryptedFileName: {
            expect(1);
            std::string name = text(0);
            for (bool media : {false, true}) {
                std::string scrambled = project::ScrambledFileName(name, false, media);
                if (project_.files().IsFile(scrambled)) return Variant(Utf16(scrambled));
            }
            return Variant(Utf16(name));
        }
        case kDoComponentsEvents:
            expect(0);
            host_.DoComponentsEvents();
            return {};
        case kCaptureFrame: {
            expect(2);
            platform::Control& box = AsScriptError([&]() -> platform::Control& {
                platform::Control* control = ControlOf(arguments[0]).Find();
                if (!control) vbscript::Throw(vbscript::err::kObjectNotSet);
                return *control;
            });
            AsScriptError([&] { host_.CaptureFrame(box, vbscript::ToBoolean(arguments[1].Target())); });
            return {};
        }
        case kSaveAPicture: {
            expect(2);
            std::optional<std::string> picture = PicturePathOf(arguments[0]);
            if (!picture) vbscript::Throw(vbscript::err::kTypeMismatch);
            if (picture->empty()) throw vbscript::ScriptError(380, u"Invalid property value");
            std::string file = ProjectFile(text(1));
            AsScriptError([&] { host_.SavePicture(*picture, project_.files().Resolve(file).string()); });
            project_.files().Forget();
            return {};
        }
        case kSimulateHotspotClick:
            expect(1);
            host_.SimulateHotspotClick(vbscript::ToInteger(arguments[0].Target()));
            return {};
        case kSetTransitionDestination: {
            expect(1);
            const Variant& destination = arguments[0].Target();
            if (!destination.IsObject()) vbscript::Throw(vbscript::err::kObjectRequired);
            host_.SetTransitionDestination(vbscript::Ref<vbscript::Object>(destination.object()));
            return {};
        }
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

}  // namespace taviro::scripting
