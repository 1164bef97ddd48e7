// An instance of a script class: its fields, and the object interface hosts use to reach it.
#pragma once

#include <memory>
#include <vector>

#include "vbscript/bytecode.h"
#include "vbscript/object.h"

namespace taviro::vbscript {

class Vm;
struct LoadedUnit;

class ClassInstance final : public Object {
public:
    // Fields start Empty, fixed-array fields as arrays. Class_Initialize is the caller's to run.
    ClassInstance(Vm& vm, std::weak_ptr<void> vmAlive, const ClassDef* classDef, LoadedUnit* unit);
    ~ClassInstance() override;

    std::u16string TypeName() const override { return classDef_->displayName; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override { return classDef_; }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;
    ClassInstance* AsClassInstance() override { return this; }

    const ClassDef* classDef() const { return classDef_; }
    LoadedUnit* unit() const { return unit_; }
    Variant& field(size_t index) { return fields_[index]; }
    // True while the instance belongs to a live engine whose code it may still run.
    bool CanRunCode() const;
    Vm& vm() const { return vm_; }

protected:
    // Runs Class_Terminate once, as soon as the last reference goes.
    void Finalize() override;
    friend class Vm;

private:
    Vm& vm_;
    std::weak_ptr<void> vmAlive_;
    const ClassDef* classDef_;
    LoadedUnit* unit_;  // one reference held
    std::vector<Variant> fields_;
    bool terminated_ = false;
};

}  // namespace taviro::vbscript
