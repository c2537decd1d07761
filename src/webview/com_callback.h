#pragma once
// Reference-counted COM objects for the host's browser callbacks: each wraps a
// function object and implements exactly one handler interface.

#include <windows.h>

#include <atomic>
#include <functional>
#include <utility>

#include "util/win_handles.h"

template <class Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
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
    std::atomic<ULONG> refs_{1};
};

template <class Interface, class Signature = decltype(&Interface::Invoke)>
class CallbackHandler;

template <class Interface, class Owner, class... Args>
class CallbackHandler<Interface, HRESULT (STDMETHODCALLTYPE Owner::*)(Args...)> final : public ComObject<Interface> {
public:
    using Function = std::function<HRESULT(Args...)>;
    explicit CallbackHandler(Function function) : function_(std::move(function)) {}
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override { return function_(args...); }

private:
    Function function_;
};

// A handler object owned by the returned pointer (count one, as created).
template <class Interface, class Function>
ComPtr<Interface> MakeCallback(Function&& function) {
    ComPtr<Interface> handler;
    handler.attach(new CallbackHandler<Interface>(std::forward<Function>(function)));
    return handler;
}
