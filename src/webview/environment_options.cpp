// Windows-only.
#include "webview/environment_options.h"

#include <atomic>
#include <cwchar>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Hands out a CoTaskMemAlloc copy of an optional string: the caller owns and
// frees it, and an unset string comes out as null.
HRESULT CopyOut(const std::optional<std::wstring>& source, LPWSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = nullptr;
  if (!source) return S_OK;
  const size_t bytes = (source->size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
  if (copy == nullptr) return E_OUTOFMEMORY;
  std::wmemcpy(copy, source->c_str(), source->size() + 1);
  *value = copy;
  return S_OK;
}

// Keeps a copy of a caller's string; null unsets it.
HRESULT CopyIn(LPCWSTR value, std::optional<std::wstring>& target) {
  try {
    if (value == nullptr) {
      target.reset();
    } else {
      target.emplace(value);
    }
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

template <class T>
HRESULT ReadOut(const T& source, T* value) {
  if (value == nullptr) return E_POINTER;
  *value = source;
  return S_OK;
}

class EnvironmentOptions final : public ICoreWebView2EnvironmentOptions,
                                 public ICoreWebView2EnvironmentOptions2,
                                 public ICoreWebView2EnvironmentOptions3,
                                 public ICoreWebView2EnvironmentOptions4,
                                 public ICoreWebView2EnvironmentOptions5,
                                 public ICoreWebView2EnvironmentOptions6,
                                 public ICoreWebView2EnvironmentOptions7,
                                 public ICoreWebView2EnvironmentOptions8 {
 public:
  EnvironmentOptions() = default;
  EnvironmentOptions(const EnvironmentOptions&) = delete;
  EnvironmentOptions& operator=(const EnvironmentOptions&) = delete;

  // IUnknown: each options IID is answered from the sub-object of the
  // interface it names, so the caller gets that interface's own vtable.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == __uuidof(IUnknown) || iid == IID_ICoreWebView2EnvironmentOptions) {
      *object = static_cast<ICoreWebView2EnvironmentOptions*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions2) {
      *object = static_cast<ICoreWebView2EnvironmentOptions2*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions3) {
      *object = static_cast<ICoreWebView2EnvironmentOptions3*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions4) {
      *object = static_cast<ICoreWebView2EnvironmentOptions4*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions5) {
      *object = static_cast<ICoreWebView2EnvironmentOptions5*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions6) {
      *object = static_cast<ICoreWebView2EnvironmentOptions6*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions7) {
      *object = static_cast<ICoreWebView2EnvironmentOptions7*>(this);
    } else if (iid == IID_ICoreWebView2EnvironmentOptions8) {
      *object = static_cast<ICoreWebView2EnvironmentOptions8*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ICoreWebView2EnvironmentOptions
  HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override {
    return CopyOut(additionalBrowserArguments_, value);
  }
  HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) override {
    return CopyIn(value, additionalBrowserArguments_);
  }
  HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override {
    return CopyOut(language_, value);
  }
  HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) override {
    return CopyIn(value, language_);
  }
  HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override {
    return CopyOut(targetCompatibleBrowserVersion_, value);
  }
  HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) override {
    return CopyIn(value, targetCompatibleBrowserVersion_);
  }
  HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* allow) override {
    return ReadOut(allowSingleSignOnUsingOSPrimaryAccount_, allow);
  }
  HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL allow) override {
    allowSingleSignOnUsingOSPrimaryAccount_ = allow;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions2
  HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL* value) override {
    return ReadOut(exclusiveUserDataFolderAccess_, value);
  }
  HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL value) override {
    exclusiveUserDataFolderAccess_ = value;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions3
  HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL* value) override {
    return ReadOut(isCustomCrashReportingEnabled_, value);
  }
  HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL value) override {
    isCustomCrashReportingEnabled_ = value;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions4
  HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(
      UINT32* count, ICoreWebView2CustomSchemeRegistration*** schemeRegistrations) override {
    if (count == nullptr || schemeRegistrations == nullptr) return E_POINTER;
    *count = 0;
    *schemeRegistrations = nullptr;
    if (schemeRegistrations_.empty()) return S_OK;
    auto** array = static_cast<ICoreWebView2CustomSchemeRegistration**>(::CoTaskMemAlloc(
        schemeRegistrations_.size() * sizeof(ICoreWebView2CustomSchemeRegistration*)));
    if (array == nullptr) return E_OUTOFMEMORY;
    for (size_t i = 0; i < schemeRegistrations_.size(); ++i) {
      array[i] = schemeRegistrations_[i].get();
      array[i]->AddRef();
    }
    *count = static_cast<UINT32>(schemeRegistrations_.size());
    *schemeRegistrations = array;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(
      UINT32 count, ICoreWebView2CustomSchemeRegistration** schemeRegistrations) override {
    if (count != 0 && schemeRegistrations == nullptr) return E_INVALIDARG;
    for (UINT32 i = 0; i < count; ++i) {
      if (schemeRegistrations[i] == nullptr) return E_INVALIDARG;
    }
    try {
      std::vector<ComPtr<ICoreWebView2CustomSchemeRegistration>> kept;
      kept.reserve(count);
      for (UINT32 i = 0; i < count; ++i) {
        kept.push_back(ComPtr<ICoreWebView2CustomSchemeRegistration>::Wrap(schemeRegistrations[i]));
      }
      schemeRegistrations_ = std::move(kept);
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  // ICoreWebView2EnvironmentOptions5
  HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL* value) override {
    return ReadOut(enableTrackingPrevention_, value);
  }
  HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL value) override {
    enableTrackingPrevention_ = value;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions6
  HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL* value) override {
    return ReadOut(areBrowserExtensionsEnabled_, value);
  }
  HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL value) override {
    areBrowserExtensionsEnabled_ = value;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions7
  HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(
      COREWEBVIEW2_CHANNEL_SEARCH_KIND* value) override {
    return ReadOut(channelSearchKind_, value);
  }
  HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND value) override {
    channelSearchKind_ = value;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS* value) override {
    return ReadOut(releaseChannels_, value);
  }
  HRESULT STDMETHODCALLTYPE put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS value) override {
    releaseChannels_ = value;
    return S_OK;
  }

  // ICoreWebView2EnvironmentOptions8
  HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE* value) override {
    return ReadOut(scrollBarStyle_, value);
  }
  HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE value) override {
    scrollBarStyle_ = value;
    return S_OK;
  }

 private:
  // Only Release destroys the object.
  ~EnvironmentOptions() = default;

  std::atomic<ULONG> references_{1};

  std::optional<std::wstring> additionalBrowserArguments_;
  std::optional<std::wstring> language_;
  std::optional<std::wstring> targetCompatibleBrowserVersion_{kTargetCompatibleBrowserVersion};
  BOOL allowSingleSignOnUsingOSPrimaryAccount_ = FALSE;
  BOOL exclusiveUserDataFolderAccess_ = FALSE;
  BOOL isCustomCrashReportingEnabled_ = FALSE;
  std::vector<ComPtr<ICoreWebView2CustomSchemeRegistration>> schemeRegistrations_;
  BOOL enableTrackingPrevention_ = TRUE;
  BOOL areBrowserExtensionsEnabled_ = FALSE;
  COREWEBVIEW2_CHANNEL_SEARCH_KIND channelSearchKind_ =
      COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE;
  COREWEBVIEW2_RELEASE_CHANNELS releaseChannels_ =
      COREWEBVIEW2_RELEASE_CHANNELS_STABLE | COREWEBVIEW2_RELEASE_CHANNELS_BETA |
      COREWEBVIEW2_RELEASE_CHANNELS_DEV | COREWEBVIEW2_RELEASE_CHANNELS_CANARY |
      COREWEBVIEW2_RELEASE_CHANNELS_INTERNAL;
  COREWEBVIEW2_SCROLLBAR_STYLE scrollBarStyle_ = COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT;
};

}  // namespace

ComPtr<ICoreWebView2EnvironmentOptions> CreateEnvironmentOptions() {
  ComPtr<ICoreWebView2EnvironmentOptions> options;
  try {
    options.attach(new EnvironmentOptions());
  } catch (const std::bad_alloc&) {
  }
  return options;
}
