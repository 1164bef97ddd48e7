// The run-time environment's objects offered to scripts: the screen, the application, the
// printer, the printers and the clipboard. Each offers the members a game plausibly uses; any
// other member raises 438, "Object doesn't support this property or method".
#pragma once

#include <functional>
#include <string>

#include "platform/controls/geometry.h"
#include "project/project.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// What the environment objects read from the player.
struct EnvironmentServices {
    // The size of the screen the game is told about, in pixels (its display mode).
    std::function<platform::Point()> screenSize;
    // The clipboard's text ("" when it holds none), and its replacement.
    std::function<std::string()> clipboardText;
    std::function<void(const std::string&)> setClipboardText;
};

// "ScreenObject": Width and Height in twips, TwipsPerPixelX and TwipsPerPixelY.
vbscript::Ref<vbscript::Object> MakeScreenObject(const EnvironmentServices& services);
// "AppObject": Path (the project folder, without its final separator), Title (writable), EXEName,
// Major, Minor, Revision, PrevInstance.
vbscript::Ref<vbscript::Object> MakeAppObject(project::Project& project);
// "PrinterObject": the player prints nothing, so the printer offers no member.
vbscript::Ref<vbscript::Object> MakePrinterObject();
// "PrintersCollection": no printer: Count is 0 and For Each runs no turn.
vbscript::Ref<vbscript::Object> MakePrintersCollection();
// "ClipboardObject": GetText, SetText, Clear and GetFormat for text (format 1).
vbscript::Ref<vbscript::Object> MakeClipboardObject(const EnvironmentServices& services);

}  // namespace taviro::scripting
