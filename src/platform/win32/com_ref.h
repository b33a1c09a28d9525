#pragma once
// A move-only owner of one COM interface reference, so an early return in a chain of
// automation calls (NameSpace -> Items -> Item -> Verbs ...) releases everything it got.
#include "platform/win32/windows_api.h"

#include <utility>

namespace qm::win32 {

template <class Interface>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ~ComRef() { reset(); }

    explicit operator bool() const { return pointer_ != nullptr; }
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }

    // For calls that hand a new reference back through an out-parameter.
    Interface** receive() {
        reset();
        return &pointer_;
    }
    void** receive_void() { return reinterpret_cast<void**>(receive()); }

    void reset() {
        if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
    }

  private:
    Interface* pointer_ = nullptr;
};

// A BSTR the callee allocated; freed with the system allocator.
class ScopedBstr {
  public:
    ScopedBstr() = default;
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { ::SysFreeString(text_); }

    BSTR* receive() {
        ::SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    // A null BSTR is the empty text.
    const wchar_t* get() const { return text_ != nullptr ? text_ : L""; }
    UINT length() const { return ::SysStringLen(text_); }

  private:
    BSTR text_ = nullptr;
};

}  // namespace qm::win32
