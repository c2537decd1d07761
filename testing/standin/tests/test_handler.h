// Windows-only. Completion and event handler objects for the test host: each
// wraps a function, counts how many handler objects are alive, and lets the
// test see that the stand-in released every handler it was given.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <utility>

#include "util/win_handles.h"
#include "webview/webview2.h"

inline std::atomic<int> liveTestHandlers{0};

template <class Interface, class Signature = decltype(&Interface::Invoke)>
class TestHandler;

template <class Interface, class Owner, class... Args>
class TestHandler<Interface, HRESULT (STDMETHODCALLTYPE Owner::*)(Args...)> final
    : public Interface {
 public:
  explicit TestHandler(std::function<HRESULT(Args...)> function)
      : function_(std::move(function)) {
    ++liveTestHandlers;
  }
  TestHandler(const TestHandler&) = delete;
  TestHandler& operator=(const TestHandler&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
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
  HRESULT STDMETHODCALLTYPE Invoke(Args... args) override { return function_(args...); }

 private:
  ~TestHandler() { --liveTestHandlers; }

  std::function<HRESULT(Args...)> function_;
  std::atomic<ULONG> refs_{1};
};

template <class Interface, class Function>
ComPtr<Interface> MakeHandler(Function&& function) {
  ComPtr<Interface> handler;
  handler.attach(new TestHandler<Interface>(std::forward<Function>(function)));
  return handler;
}
