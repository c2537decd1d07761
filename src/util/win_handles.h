// Windows-only. Owners for Win32 handles, mapped views, COM task memory and
// COM interface pointers: every close, unmap, free and release of the host
// happens in one of these.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE
// count as empty, since Win32 calls disagree on which one means "no handle".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return IsOpen(handle_); }
    explicit operator bool() const { return valid(); }

    void reset(HANDLE handle = nullptr) {
        HANDLE old = std::exchange(handle_, handle);
        if (old != handle && IsOpen(old)) ::CloseHandle(old);
    }
    HANDLE release() { return std::exchange(handle_, nullptr); }

private:
    static bool IsOpen(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

    HANDLE handle_ = nullptr;
};

// A view of a file mapping, unmapped with UnmapViewOfFile.
class MappedView {
public:
    MappedView() = default;
    explicit MappedView(const void* view) : view_(view) {}
    ~MappedView() { reset(); }

    MappedView(MappedView&& other) noexcept : view_(other.release()) {}
    MappedView& operator=(MappedView&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    const void* get() const { return view_; }
    bool valid() const { return view_ != nullptr; }
    explicit operator bool() const { return valid(); }

    void reset(const void* view = nullptr) {
        const void* old = std::exchange(view_, view);
        if (old != nullptr && old != view) ::UnmapViewOfFile(old);
    }
    const void* release() { return std::exchange(view_, nullptr); }

private:
    const void* view_ = nullptr;
};

// A module loaded with LoadLibrary, unloaded with FreeLibrary.
class ModuleHandle {
public:
    ModuleHandle() = default;
    explicit ModuleHandle(HMODULE module) : module_(module) {}
    ~ModuleHandle() { reset(); }

    ModuleHandle(ModuleHandle&& other) noexcept : module_(other.release()) {}
    ModuleHandle& operator=(ModuleHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ModuleHandle(const ModuleHandle&) = delete;
    ModuleHandle& operator=(const ModuleHandle&) = delete;

    HMODULE get() const { return module_; }
    bool valid() const { return module_ != nullptr; }
    explicit operator bool() const { return valid(); }

    void reset(HMODULE module = nullptr) {
        HMODULE old = std::exchange(module_, module);
        if (old != nullptr && old != module) ::FreeLibrary(old);
    }
    HMODULE release() { return std::exchange(module_, nullptr); }

private:
    HMODULE module_ = nullptr;
};

// Memory handed out by COM or the shell (strings, arrays), freed with CoTaskMemFree.
template <class T>
class CoTaskMemPtr {
public:
    CoTaskMemPtr() = default;
    explicit CoTaskMemPtr(T* pointer) : pointer_(pointer) {}
    ~CoTaskMemPtr() { reset(); }

    CoTaskMemPtr(CoTaskMemPtr&& other) noexcept : pointer_(other.release()) {}
    CoTaskMemPtr& operator=(CoTaskMemPtr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    CoTaskMemPtr(const CoTaskMemPtr&) = delete;
    CoTaskMemPtr& operator=(const CoTaskMemPtr&) = delete;

    T* get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For out-parameters: frees what is held and hands out the empty slot.
    T** put() {
        reset();
        return &pointer_;
    }
    void reset(T* pointer = nullptr) {
        T* old = std::exchange(pointer_, pointer);
        if (old != nullptr && old != pointer) ::CoTaskMemFree(old);
    }
    T* release() { return std::exchange(pointer_, nullptr); }

private:
    T* pointer_ = nullptr;
};

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

    // Another interface of the same object; empty when it has none.
    template <class U>
    ComPtr<U> query(REFIID iid) const {
        ComPtr<U> result;
        void* raw = nullptr;
        if (pointer_ != nullptr && SUCCEEDED(pointer_->QueryInterface(iid, &raw)) && raw != nullptr) {
            result.attach(static_cast<U*>(raw));
        }
        return result;
    }

private:
    T* pointer_ = nullptr;
};
