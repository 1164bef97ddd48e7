// The methods of the Action object, numbered as the class declares them.
#include "scripting/action_object.h"

#include <array>
#include <string_view>

#include "logic/actions.h"
#include "project/field_value.h"
#include "project/scrambled_names.h"
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
    kGetHotspotNumber = 15,
    kGetPath,
    kHideInventoryButton,
    kShowInventoryButton,
    kGetClickPositionX,
    kGetClickPositionY,
    kRemoveAllItems = 25,
    kRemoveItem,
    kGetTaviroVersion = 30,
    kGetProjectWidth = 35,
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
    kReadINI = 52,
    kWriteINI,
    kInterceptComponentEvents = 59,
    kNoFileSelected = 61,
    kGetVariableReferenceFromName,
    kDoubleQuotes,
    kNewLine,
    kConvertQuotesIntoDoubleQuotes,
    kConvertToNumber,
    kGetEncryptedFileName,
    kRefreshWindow,
    kQuitDialogue,
    kUpdateHotspotsState,
    kShowMenu = 75,
    kHideMenu,
};

using vbscript::Variant;

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }
std::string TextOf(const Variant& value) { return vbscript::ToUtf8(vbscript::ToString(value)); }

}  // namespace

VBScriptActionModule::VBScriptActionModule(project::Project& project, GameFlags& flags,
                                           logic::ProjectVariables& variables,
                                           const frames::CurrentFrame& frame, int16_t& controlsReferencesMode,
                                           ActionHost& host)
    : project_(project),
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

void VBScriptActionModule::Report(const std::string& message) { project_.reports().ShowErrorReport(message); }

Variant VBScriptActionModule::Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
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
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

}  // namespace taviro::scripting
