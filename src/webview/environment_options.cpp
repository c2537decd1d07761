// Windows-only.
#include "webview/environment_options.h"

#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/com_object.h"

namespace {

// Hands out a CoTaskMemAlloc copy of an optional string: the caller owns and
// frees it, and an unset string comes out as null.
HRESULT CopyOut(const std::optional<std::wstring>& source, LPWSTR* value) {
    if (source) return CopyToCaller(*source, value);
    if (value == nullptr) return E_POINTER;
    *value = nullptr;
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

// The macros' arguments are a name, a type and a member, none of which may be put in
// parentheses. NOLINTBEGIN(bugprone-macro-parentheses)

// get_<Name> and put_<Name> of a string property; unset reads as null.
#define OPTIONS_TEXT_PROPERTY(Name, field)                         \
    HRESULT STDMETHODCALLTYPE get_##Name(LPWSTR* value) override { \
        return CopyOut(field, value);                              \
    }                                                              \
    HRESULT STDMETHODCALLTYPE put_##Name(LPCWSTR value) override { \
        return CopyIn(value, field);                               \
    }

// get_<Name> and put_<Name> of a property held as its own value (BOOL or enumeration).
#define OPTIONS_VALUE_PROPERTY(Name, Type, field)                \
    HRESULT STDMETHODCALLTYPE get_##Name(Type* value) override { \
        return ReadOut(field, value);                            \
    }                                                            \
    HRESULT STDMETHODCALLTYPE put_##Name(Type value) override {  \
        field = value;                                           \
        return S_OK;                                             \
    }
// NOLINTEND(bugprone-macro-parentheses)

// The loader reads each property through the interface that declares it; the base
// answers each options IID from that interface's own sub-object.
class EnvironmentOptions final : public ComObject<ICoreWebView2EnvironmentOptions, ICoreWebView2EnvironmentOptions2,
                                                  ICoreWebView2EnvironmentOptions3, ICoreWebView2EnvironmentOptions4,
                                                  ICoreWebView2EnvironmentOptions5, ICoreWebView2EnvironmentOptions6,
                                                  ICoreWebView2EnvironmentOptions7, ICoreWebView2EnvironmentOptions8> {
public:
    // ICoreWebView2EnvironmentOptions
    OPTIONS_TEXT_PROPERTY(AdditionalBrowserArguments, additionalBrowserArguments_)
    OPTIONS_TEXT_PROPERTY(Language, language_)
    OPTIONS_TEXT_PROPERTY(TargetCompatibleBrowserVersion, targetCompatibleBrowserVersion_)
    OPTIONS_VALUE_PROPERTY(AllowSingleSignOnUsingOSPrimaryAccount, BOOL, allowSingleSignOnUsingOSPrimaryAccount_)
    // ICoreWebView2EnvironmentOptions2
    OPTIONS_VALUE_PROPERTY(ExclusiveUserDataFolderAccess, BOOL, exclusiveUserDataFolderAccess_)
    // ICoreWebView2EnvironmentOptions3
    OPTIONS_VALUE_PROPERTY(IsCustomCrashReportingEnabled, BOOL, isCustomCrashReportingEnabled_)

    // ICoreWebView2EnvironmentOptions4
    HRESULT STDMETHODCALLTYPE
    GetCustomSchemeRegistrations(UINT32* count, ICoreWebView2CustomSchemeRegistration*** schemeRegistrations) override {
        if (count == nullptr || schemeRegistrations == nullptr) return E_POINTER;
        *count = 0;
        *schemeRegistrations = nullptr;
        if (schemeRegistrations_.empty()) return S_OK;
        auto** array = static_cast<ICoreWebView2CustomSchemeRegistration**>(
            // An array of interface pointers, as the caller frees it.
            // NOLINTNEXTLINE(bugprone-sizeof-expression)
            ::CoTaskMemAlloc(schemeRegistrations_.size() * sizeof(ICoreWebView2CustomSchemeRegistration*)));
        if (array == nullptr) return E_OUTOFMEMORY;
        for (size_t i = 0; i < schemeRegistrations_.size(); ++i) {
            array[i] = schemeRegistrations_[i].get();
            array[i]->AddRef();
        }
        *count = static_cast<UINT32>(schemeRegistrations_.size());
        *schemeRegistrations = array;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    SetCustomSchemeRegistrations(UINT32 count, ICoreWebView2CustomSchemeRegistration** schemeRegistrations) override {
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
    OPTIONS_VALUE_PROPERTY(EnableTrackingPrevention, BOOL, enableTrackingPrevention_)
    // ICoreWebView2EnvironmentOptions6
    OPTIONS_VALUE_PROPERTY(AreBrowserExtensionsEnabled, BOOL, areBrowserExtensionsEnabled_)
    // ICoreWebView2EnvironmentOptions7
    OPTIONS_VALUE_PROPERTY(ChannelSearchKind, COREWEBVIEW2_CHANNEL_SEARCH_KIND, channelSearchKind_)
    OPTIONS_VALUE_PROPERTY(ReleaseChannels, COREWEBVIEW2_RELEASE_CHANNELS, releaseChannels_)
    // ICoreWebView2EnvironmentOptions8
    OPTIONS_VALUE_PROPERTY(ScrollBarStyle, COREWEBVIEW2_SCROLLBAR_STYLE, scrollBarStyle_)

private:
    // Only Release destroys the object.
    ~EnvironmentOptions() override = default;

    std::optional<std::wstring> additionalBrowserArguments_;
    std::optional<std::wstring> language_;
    std::optional<std::wstring> targetCompatibleBrowserVersion_{kTargetCompatibleBrowserVersion};
    BOOL allowSingleSignOnUsingOSPrimaryAccount_ = FALSE;
    BOOL exclusiveUserDataFolderAccess_ = FALSE;
    BOOL isCustomCrashReportingEnabled_ = FALSE;
    std::vector<ComPtr<ICoreWebView2CustomSchemeRegistration>> schemeRegistrations_;
    BOOL enableTrackingPrevention_ = TRUE;
    BOOL areBrowserExtensionsEnabled_ = FALSE;
    COREWEBVIEW2_CHANNEL_SEARCH_KIND channelSearchKind_ = COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE;
    COREWEBVIEW2_RELEASE_CHANNELS releaseChannels_ =
        COREWEBVIEW2_RELEASE_CHANNELS_STABLE | COREWEBVIEW2_RELEASE_CHANNELS_BETA | COREWEBVIEW2_RELEASE_CHANNELS_DEV |
        COREWEBVIEW2_RELEASE_CHANNELS_CANARY | COREWEBVIEW2_RELEASE_CHANNELS_INTERNAL;
    COREWEBVIEW2_SCROLLBAR_STYLE scrollBarStyle_ = COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT;
};

#undef OPTIONS_TEXT_PROPERTY
#undef OPTIONS_VALUE_PROPERTY

}  // namespace

ComPtr<ICoreWebView2EnvironmentOptions> CreateEnvironmentOptions() {
    ComPtr<ICoreWebView2EnvironmentOptions> options;
    try {
        options.attach(new EnvironmentOptions());
    } catch (const std::bad_alloc&) {
    }
    return options;
}
