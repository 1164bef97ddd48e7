// Screen, App, Printer, Printers and Clipboard for scripts.
#include "scripting/environment_objects.h"

#include <array>
#include <string_view>

#include "platform/controls/property_value.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }

// An environment object: a fixed list of member names, numbered from 1 in their order.
template <size_t N>
class EnvironmentObject : public vbscript::Object {
public:
    EnvironmentObject(std::u16string typeName, std::array<std::u16string_view, N> members)
        : typeName_(std::move(typeName)), members_(members) {}

    std::u16string TypeName() const override { return typeName_; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = vbscript::FoldCase(name);
        for (size_t i = 0; i < N; ++i) {
            if (vbscript::FoldCase(members_[i]) == folded) return static_cast<DispatchId>(i + 1);
        }
        return vbscript::kUnknownMember;
    }

protected:
    static void Expect(std::span<Variant> arguments, size_t count) {
        if (arguments.size() != count) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    }
    static void ReadOnly(InvokeKind kind) {
        if (kind != InvokeKind::Get) throw vbscript::ScriptError(383, u"Property is read-only");
    }

private:
    std::u16string typeName_;
    std::array<std::u16string_view, N> members_;
};

class ScreenObject final : public EnvironmentObject<4> {
public:
    explicit ScreenObject(const EnvironmentServices& services)
        : EnvironmentObject(u"Screen", {u"Width", u"Height", u"TwipsPerPixelX", u"TwipsPerPixelY"}),
          services_(services) {}

    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        ReadOnly(kind);
        Expect(arguments, 0);
        platform::Point size = services_.screenSize ? services_.screenSize() : platform::Point{};
        switch (id) {
            case 1: return Variant(static_cast<double>(platform::PixelsToTwips(size.x)));
            case 2: return Variant(static_cast<double>(platform::PixelsToTwips(size.y)));
            case 3:
            case 4: return Variant(static_cast<double>(platform::kTwipsPerPixel));
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    }

private:
    const EnvironmentServices& services_;
};

class AppObject final : public EnvironmentObject<7> {
public:
    explicit AppObject(project::Project& project)
        : EnvironmentObject(
              u"App", {u"Path", u"Title", u"EXEName", u"Major", u"Minor", u"Revision", u"PrevInstance"}),
          project_(project),
          title_(Utf16(project.information.ProjectTitle)) {}

    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (id == 2 && kind == InvokeKind::Let) {
            Expect(arguments, 1);
            title_ = vbscript::ToString(arguments[0].Target());
            return {};
        }
        ReadOnly(kind);
        Expect(arguments, 0);
        switch (id) {
            case 1: {
                // The original's App.Path has no final separator, except for a drive's root.
                std::string path = project_.paths.ProjectPath;
                if (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
                return Variant(Utf16(path));
            }
            case 2: return Variant(title_);
            case 3: return Variant(Utf16(project_.information.ProjectName));
            // The player answers as the version of the original that games were made for.
            case 4: return Variant(int16_t{4});
            case 5: return Variant(int16_t{7});
            case 6: return Variant(int16_t{1});
            case 7: return Variant(false);
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    }

private:
    project::Project& project_;
    std::u16string title_;
};

class PrinterObject final : public EnvironmentObject<0> {
public:
    PrinterObject() : EnvironmentObject(u"Printer", {}) {}
    Variant Invoke(DispatchId, InvokeKind, std::span<Variant>) override {
        vbscript::Throw(vbscript::err::kNoSuchMember);
    }
};

class EmptyWalker final : public vbscript::Enumerator {
public:
    bool Next(Variant&) override { return false; }
};

class PrintersCollection final : public EnvironmentObject<2> {
public:
    PrintersCollection() : EnvironmentObject(u"Printers", {u"Count", u"Item"}) {}

    DispatchId MemberId(std::u16string_view name) override {
        DispatchId id = EnvironmentObject::MemberId(name);
        return id == 2 ? vbscript::kDefaultMember : id;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        ReadOnly(kind);
        if (id == vbscript::kDefaultMember) {
            Expect(arguments, 1);
            vbscript::Throw(vbscript::err::kSubscriptOutOfRange);
        }
        if (id != 1) vbscript::Throw(vbscript::err::kNoSuchMember);
        Expect(arguments, 0);
        return Variant(int32_t{0});
    }
    vbscript::Ref<vbscript::Enumerator> Enumerate() override { return vbscript::MakeRef<EmptyWalker>(); }
};

class ClipboardObject final : public EnvironmentObject<4> {
public:
    static constexpr int32_t kTextFormat = 1;

    explicit ClipboardObject(const EnvironmentServices& services)
        : EnvironmentObject(u"Clipboard", {u"GetText", u"SetText", u"Clear", u"GetFormat"}),
          services_(services) {}

    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        auto format = [&](size_t i) {
            return i < arguments.size() && !arguments[i].Target().IsMissing()
                       ? vbscript::ToLong(arguments[i].Target())
                       : kTextFormat;
        };
        switch (id) {
            case 1: {
                if (arguments.size() > 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                if (format(0) != kTextFormat) return Variant(u"");
                return Variant(Utf16(services_.clipboardText ? services_.clipboardText() : ""));
            }
            case 2:
                if (arguments.empty() || arguments.size() > 2)
                    vbscript::Throw(vbscript::err::kWrongArgumentCount);
                if (format(1) != kTextFormat) vbscript::Throw(vbscript::err::kInvalidProcedureCall);
                if (services_.setClipboardText)
                    services_.setClipboardText(vbscript::ToUtf8(vbscript::ToString(arguments[0].Target())));
                return {};
            case 3:
                Expect(arguments, 0);
                if (services_.setClipboardText) services_.setClipboardText("");
                return {};
            case 4:
                Expect(arguments, 1);
                return Variant(format(0) == kTextFormat && services_.clipboardText &&
                               !services_.clipboardText().empty());
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    }

private:
    const EnvironmentServices& services_;
};

}  // namespace

vbscript::Ref<vbscript::Object> MakeScreenObject(const EnvironmentServices& services) {
    return vbscript::MakeRef<ScreenObject>(services);
}

vbscript::Ref<vbscript::Object> MakeAppObject(project::Project& project) {
    return vbscript::MakeRef<AppObject>(project);
}

vbscript::Ref<vbscript::Object> MakePrinterObject() { return vbscript::MakeRef<PrinterObject>(); }

vbscript::Ref<vbscript::Object> MakePrintersCollection() { return vbscript::MakeRef<PrintersCollection>(); }

vbscript::Ref<vbscript::Object> MakeClipboardObject(const EnvironmentServices& services) {
    return vbscript::MakeRef<ClipboardObject>(services);
}

}  // namespace taviro::scripting
