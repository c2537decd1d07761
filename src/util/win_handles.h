// Windows-only. Owners for Win32 handles, mapped views, COM task memory and
// COM interface pointers: every close, unmap, free and release of the host
// happens in one of these.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <cwchar>
#include <string_view>
#include <utility>

// One owner for each kind of Windows resource: Traits says which value is empty and
// how a held value is let go. Move-only.
template <class Traits>
class UniqueOwner {
public:
    using Value = typename Traits::Value;

    UniqueOwner() = default;
    explicit UniqueOwner(Value value) : value_(value) {}
    ~UniqueOwner() { reset(); }

    UniqueOwner(UniqueOwner&& other) noexcept : value_(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;

    Value get() const { return value_; }
    bool valid() const { return !Traits::IsEmpty(value_); }
    explicit operator bool() const { return valid(); }

    void reset(Value value = Traits::Empty()) {
        Value old = std::exchange(value_, value);
        if (old != value && !Traits::IsEmpty(old)) Traits::Free(old);
    }
    Value release() { return std::exchange(value_, Traits::Empty()); }
    // For out-parameters: frees what is held and hands out the empty slot.
    Value* put() {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::Empty();
};

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE
// count as empty, since Win32 calls disagree on which one means "no handle".
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
    static void Free(Value handle) { ::CloseHandle(handle); }
};
using UniqueHandle = UniqueOwner<KernelHandleTraits>;

// A view of a file mapping, unmapped with UnmapViewOfFile.
struct MappedViewTraits {
    using Value = const void*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value view) { return view == nullptr; }
    static void Free(Value view) { ::UnmapViewOfFile(view); }
};
using MappedView = UniqueOwner<MappedViewTraits>;

// A module loaded with LoadLibrary, unloaded with FreeLibrary.
struct ModuleTraits {
    using Value = HMODULE;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value module) { return module == nullptr; }
    static void Free(Value module) { ::FreeLibrary(module); }
};
using ModuleHandle = UniqueOwner<ModuleTraits>;

// Memory handed out by COM or the shell (strings, arrays), freed with CoTaskMemFree.
template <class T>
struct CoTaskMemTraits {
    using Value = T*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value pointer) { return pointer == nullptr; }
    static void Free(Value pointer) { ::CoTaskMemFree(pointer); }
};
template <class T>
using CoTaskMemPtr = UniqueOwner<CoTaskMemTraits<T>>;

// A CoTaskMemAlloc copy of `text` for a COM out-parameter, which the caller frees.
// E_POINTER for a null slot; on E_OUTOFMEMORY the slot holds null.
inline HRESULT CopyToCaller(std::wstring_view text, LPWSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = static_cast<LPWSTR>(::CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    if (*out == nullptr) return E_OUTOFMEMORY;
    std::wmemcpy(*out, text.data(), text.size());
    (*out)[text.size()] = L'\0';
    return S_OK;
}

// A counted reference to a COM object: copies AddRef, destruction Releases.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
        if (pointer_ != nullptr) pointer_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        if (this != &other) {
            if (other.pointer_ != nullptr) other.pointer_->AddRef();
            attach(other.pointer_);
        }
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(other.detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) attach(other.detach());
        return *this;
    }

    // Takes a new reference of its own; the caller keeps the one it has.
    static ComPtr Wrap(T* pointer) {
        ComPtr result;
        if (pointer != nullptr) pointer->AddRef();
        result.pointer_ = pointer;
        return result;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For out-parameters: releases what is held and hands out the empty slot.
    T** put() {
        reset();
        return &pointer_;
    }
    void reset() { attach(nullptr); }

    // Takes over a reference the caller already owns.
    void attach(T* pointer) {
        T* old = std::exchange(pointer_, pointer);
        if (old != nullptr) old->Release();
    }
    // Gives up the reference without releasing it.
    T* detach() { return std::exchange(pointer_, nullptr); }

    // Another interface of the same object, named by its type; empty when it has none.
    template <class U>
    ComPtr<U> query() const {
        ComPtr<U> result;
        void* raw = nullptr;
        if (pointer_ != nullptr && SUCCEEDED(pointer_->QueryInterface(__uuidof(U), &raw)) && raw != nullptr) {
            result.attach(static_cast<U*>(raw));
        }
        return result;
    }

private:
    T* pointer_ = nullptr;
};
