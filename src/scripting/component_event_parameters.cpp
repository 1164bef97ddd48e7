// The parameter list a component's event handler receives.
#include "scripting/component_host.h"
#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

// One parameter: Value (default) and Name.
class EventParameterObject final : public vbscript::Object {
public:
    EventParameterObject(std::u16string name, Variant value)
        : name_(std::move(name)), value_(std::move(value)) {}

    std::u16string TypeName() const override { return u"EventParameter"; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = vbscript::FoldCase(name);
        if (folded == u"value") return vbscript::kDefaultMember;
        if (folded == u"name") return 1;
        return vbscript::kUnknownMember;
    }
    const void* DispatchKey() const override {
        static const char key = 0;
        return &key;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (!arguments.empty() && kind == InvokeKind::Get)
            vbscript::Throw(vbscript::err::kWrongArgumentCount);
        if (id == vbscript::kDefaultMember) {
            if (kind == InvokeKind::Get) return value_;
            value_ = arguments.back().Target();
            return {};
        }
        if (id == 1 && kind == InvokeKind::Get) return Variant(name_);
        vbscript::Throw(vbscript::err::kNoSuchMember);
    }

private:
    std::u16string name_;
    Variant value_;
};

class ParameterWalker final : public vbscript::Enumerator {
public:
    explicit ParameterWalker(std::vector<Variant> items) : items_(std::move(items)) {}
    bool Next(Variant& item) override {
        if (next_ >= items_.size()) return false;
        item = items_[next_++];
        return true;
    }

private:
    std::vector<Variant> items_;
    size_t next_ = 0;
};

enum Member : DispatchId { kItem = vbscript::kDefaultMember, kCount };

class EventParametersObject final : public vbscript::Object {
public:
    explicit EventParametersObject(EventParameters parameters) : parameters_(std::move(parameters)) {}

    std::u16string TypeName() const override { return u"EventParameters"; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = vbscript::FoldCase(name);
        if (folded == u"item") return kItem;
        if (folded == u"count") return kCount;
        return vbscript::kUnknownMember;
    }
    const void* DispatchKey() const override {
        static const char key = 0;
        return &key;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        if (id == kCount) {
            if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            return Variant(static_cast<int32_t>(parameters_.size()));
        }
        if (id != kItem) vbscript::Throw(vbscript::err::kNoSuchMember);
        if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        return Variant(vbscript::Ref<vbscript::Object>(Item(arguments[0].Target())));
    }
    vbscript::Ref<vbscript::Enumerator> Enumerate() override {
        std::vector<Variant> items;
        for (size_t i = 0; i < parameters_.size(); ++i)
            items.emplace_back(vbscript::Ref<vbscript::Object>(ItemAt(i)));
        return vbscript::MakeRef<ParameterWalker>(std::move(items));
    }

private:
    vbscript::Ref<EventParameterObject> ItemAt(size_t i) const {
        return vbscript::MakeRef<EventParameterObject>(parameters_[i].first, parameters_[i].second);
    }
    vbscript::Ref<EventParameterObject> Item(const Variant& key) const {
        if (key.type() == vbscript::VarType::String) {
            std::u16string folded = vbscript::FoldCase(key.string());
            for (size_t i = 0; i < parameters_.size(); ++i) {
                if (vbscript::FoldCase(parameters_[i].first) == folded) return ItemAt(i);
            }
            vbscript::Throw(vbscript::err::kInvalidProcedureCall);
        }
        int32_t position = vbscript::ToLong(key);
        if (position < 0 || static_cast<size_t>(position) >= parameters_.size())
            vbscript::Throw(vbscript::err::kSubscriptOutOfRange);
        return ItemAt(static_cast<size_t>(position));
    }

    EventParameters parameters_;
};

}  // namespace

EventParameters MouseParameters(const platform::MouseEvent& event) {
    return {{u"Button", vbscript::Variant(static_cast<int16_t>(event.button))},
            {u"Shift", vbscript::Variant(static_cast<int16_t>(event.shift))},
            {u"X", vbscript::Variant(static_cast<float>(platform::PixelsToTwips(event.x)))},
            {u"Y", vbscript::Variant(static_cast<float>(platform::PixelsToTwips(event.y)))}};
}

vbscript::Ref<vbscript::Object> MakeEventParametersObject(EventParameters parameters) {
    return vbscript::MakeRef<EventParametersObject>(std::move(parameters));
}

}  // namespace taviro::scripting
