// What the engine asks of its host beyond named objects: dialogs for MsgBox and InputBox, and the
// creation of objects by ProgID for CreateObject.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "vbscript/object.h"

namespace taviro::vbscript {

// Shows MsgBox and InputBox to the user. Both calls may pump the host's events and so re-enter it.
class DialogService {
public:
    virtual ~DialogService() = default;
    // buttons is MsgBox's second argument (button set, icon, default button); returns the button
    // chosen as vbOK (1) .. vbNo (7).
    virtual int32_t MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) = 0;
    // The text typed, or nothing when the user cancelled (InputBox then returns "").
    virtual std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                                   std::u16string_view defaultText) = 0;
};

// Creates a host object for a ProgID the engine does not know itself; null when the host has none.
using ObjectFactory = std::function<Ref<Object>(std::u16string_view progId)>;

// The host's choices, read by CreateObject, MsgBox and InputBox.
struct LocaleConventions;

struct HostServices {
    // Null: MsgBox and InputBox fail with 70 "Permission denied".
    DialogService* dialogs = nullptr;
    // False: CreateObject fails with 429 for every ProgID, as when a host forbids object creation.
    bool allowObjectCreation = false;
    ObjectFactory objectFactory;
    // The locale the engine starts in and SetLocale(0) returns to; null: US English.
    const LocaleConventions* startLocale = nullptr;
};

}  // namespace taviro::vbscript
