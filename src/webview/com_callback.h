#pragma once
// Reference-counted COM objects for the host's browser callbacks: each wraps a
// function object and implements exactly one handler interface.

#include <windows.h>

#include <functional>
#include <utility>

#include "util/com_object.h"
#include "util/win_handles.h"

template <class Interface, class Signature = decltype(&Interface::Invoke)>
class CallbackHandler;

template <class Interface, class Owner, class... Args>
class CallbackHandler<Interface, HRESULT (STDMETHODCALLTYPE Owner::*)(Args...)> final : public ComObject<Interface> {
public:
    using Function = std::function<HRESULT(Args...)>;
    explicit CallbackHandler(Function function) : function_(std::move(function)) {}
    // The browser calls in through the COM boundary: no exception may go back out.
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override {
        try {
            return function_(args...);
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

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
