// Windows-only. The one base of the host's own COM objects (browser callbacks, the
// environment options object, test doubles): an atomic reference count and a
// QueryInterface that answers IUnknown and each listed interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

// Every listed interface must have its IID declared (__CRT_UUID_DECL or
// DECLSPEC_UUID). With several interfaces, IUnknown is answered through the
// first; each interface is answered through its own sub-object, so the caller
// gets that interface's table. Created with a count of one; the last Release
// deletes it.
template <class... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        return HandOut(InterfaceFor(iid), out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

    // What QueryInterface answers for `iid`; null for an interface not listed.
    void* InterfaceFor(REFIID iid) {
        if (iid == __uuidof(IUnknown)) return static_cast<First*>(this);
        void* found = nullptr;
        static_cast<void>(
            ((iid == __uuidof(Interfaces) && (found = static_cast<Interfaces*>(this)) != nullptr) || ...));
        return found;
    }

    // For an object that answers more than its listed interfaces: `found` handed
    // to a non-null `out` with a reference of its own, or E_NOINTERFACE for null.
    HRESULT HandOut(void* found, void** out) {
        *out = found;
        if (found == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

private:
    template <class Head, class...>
    struct FirstOf {
        using Type = Head;
    };
    using First = typename FirstOf<Interfaces...>::Type;

    std::atomic<ULONG> refs_{1};
};
