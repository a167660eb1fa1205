// A move-only owner of one reference to a COM interface.
#pragma once

#include <unknwn.h>

#include <utility>

namespace brevalo::base {

template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already owns.
    explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // Releases the current reference and returns the slot for a call that
    // hands out a new one (CoCreateInstance, QueryInterface).
    T** Put() noexcept {
        Reset();
        return &pointer_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    T* Detach() noexcept { return std::exchange(pointer_, nullptr); }
    void Reset(T* pointer = nullptr) noexcept {
        if (T* old = std::exchange(pointer_, pointer))
            old->Release();
    }

private:
    T* pointer_ = nullptr;
};

} // namespace brevalo::base
