// Intrusive reference counting for the engine's heap values: arrays, strings' owners and objects.
#pragma once

#include <cstdint>
#include <utility>

namespace taviro::vbscript {

// A heap value shared by Variants. The count is not atomic: one engine runs on one thread.
// Destruction is deferred while another destruction runs, so releasing a long chain of objects
// (a linked list of a million class instances) never recurses deeply.
class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void AddRef() { ++refCount_; }
    void Release() {
        if (--refCount_ == 0) LastReleased();
    }
    uint32_t refCount() const { return refCount_; }

protected:
    virtual ~RefCounted() = default;
    // Runs once the last reference has gone, outside any other value's destruction; the default
    // deletes the value. An override may run script code (Class_Terminate) before deleting.
    virtual void Finalize() { delete this; }

    uint32_t refCount_ = 0;

private:
    void LastReleased();
};

// An owning pointer to a RefCounted value.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    Ref(const Ref& other) : Ref(other.p_) {}
    Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& other) : Ref(static_cast<T*>(other.get())) {}
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref& operator=(Ref other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const Ref& other) const { return p_ == other.p_; }

    // Gives up ownership without releasing.
    T* Detach() { return std::exchange(p_, nullptr); }

private:
    T* p_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace taviro::vbscript
