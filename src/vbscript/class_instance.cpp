// Script class instances.
#include "vbscript/class_instance.h"

#include "vbscript/array.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

ClassInstance::ClassInstance(Vm& vm, std::weak_ptr<void> vmAlive, const ClassDef* classDef, LoadedUnit* unit)
    : vm_(vm), vmAlive_(std::move(vmAlive)), classDef_(classDef), unit_(unit) {
    unit_->AddRef();
    vm_.instances_.insert(this);
    fields_.resize(classDef->fields.size());
    for (size_t i = 0; i < fields_.size(); ++i) {
        const ClassDef::Field& field = classDef->fields[i];
        if (field.isArray) fields_[i] = Variant(Array::Create(field.arrayBounds, !field.arrayBounds.empty()));
    }
}

ClassInstance::~ClassInstance() {
    if (!vmAlive_.expired()) vm_.instances_.erase(this);
    std::vector<Variant> fields;
    fields.swap(fields_);
    fields.clear();
    unit_->Release();
}

bool ClassInstance::CanRunCode() const { return !vmAlive_.expired() && !unit_->detached; }

DispatchId ClassInstance::MemberId(std::u16string_view name) {
    auto found = classDef_->memberIndex.find(FoldCase(name));
    if (found == classDef_->memberIndex.end()) return kUnknownMember;
    if (!classDef_->members[static_cast<size_t>(found->second)].isPublic) return kUnknownMember;
    return found->second + 1;
}

Variant ClassInstance::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (!CanRunCode()) Throw(err::kObjectNotSet);
    if (id == kDefaultMember) {
        if (classDef_->defaultMember < 0) Throw(err::kNoSuchMember);
        id = classDef_->defaultMember + 1;
    }
    if (id < 1 || static_cast<size_t>(id) > classDef_->members.size()) Throw(err::kNoSuchMember);
    const ClassMember& member = classDef_->members[static_cast<size_t>(id - 1)];
    Ref<Object> keep(this);
    if (member.field >= 0) {
        Variant& field = fields_[static_cast<size_t>(member.field)];
        if (arguments.empty()) {
            if (kind == InvokeKind::Get) return field;
            if (kind == InvokeKind::Set && !arguments.back().IsObject()) Throw(err::kObjectRequired);
            Throw(err::kWrongArgumentCount);
        }
        if (kind != InvokeKind::Get && arguments.size() == 1) {
            field = kind == InvokeKind::Set ? arguments[0] : CopyForStore(arguments[0]);
            return {};
        }
        if (!field.IsArray()) Throw(err::kTypeMismatch);
        size_t count = kind == InvokeKind::Get ? arguments.size() : arguments.size() - 1;
        uint32_t index = field.array()->FlatIndex(arguments.subspan(0, count));
        if (kind == InvokeKind::Get) return field.array()->at(index);
        field.array()->at(index) = arguments.back();
        return {};
    }
    const Procedure* procedure = kind == InvokeKind::Get   ? (member.get ? member.get : member.method)
                                 : kind == InvokeKind::Let ? member.let
                                                           : member.set;
    if (!procedure) Throw(err::kNoSuchMember);
    return vm_.CallProcedure(procedure, unit_, this, arguments);
}

void ClassInstance::Finalize() {
    if (!terminated_ && classDef_->terminate && CanRunCode()) {
        terminated_ = true;
        refCount_ = 1;
        // Let go of by the host between scripts, the terminator has a time-out of its own.
        if (!vm_.running()) vm_.StartClock();
        try {
            vm_.CallProcedure(classDef_->terminate, unit_, this, {});
        } catch (const ScriptError&) {
            // Errors in Class_Terminate are dropped, as the original engine drops them.
        }
        if (--refCount_ > 0) return;  // the terminator stored Me somewhere: the instance lives on
    }
    delete this;
}

}  // namespace taviro::vbscript
