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
        *out = nullptr;
        if (iid == __uuidof(IUnknown)) {
            *out = static_cast<First*>(this);
        } else if (!((iid == __uuidof(Interfaces) && (*out = static_cast<Interfaces*>(this)) != nullptr) || ...)) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

private:
    template <class Head, class...>
    struct FirstOf {
        using Type = Head;
    };
    using First = typename FirstOf<Interfaces...>::Type;

    std::atomic<ULONG> refs_{1};
};
