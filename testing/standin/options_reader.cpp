// Windows-only.
#include "options_reader.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "com_text.h"
#include "runtime.h"
#include "util/win_handles.h"

namespace standin {
namespace {

void RecordValue(const char* property, HRESULT hr, Json value) {
    Json line = Event(std::string("Options.") + property);
    line["value"] = std::move(value);
    line["hr"] = HresultText(hr);
    Runtime::Get().Record(std::move(line));
}

template <class Interface>
ComPtr<Interface> Query(IUnknown* options, const char* name) {
    void* raw = nullptr;
    const HRESULT hr = options->QueryInterface(__uuidof(Interface), &raw);
    Json line = Event("Options.QueryInterface");
    line["interface"] = name;
    line["hr"] = HresultText(hr);
    Runtime::Get().Record(std::move(line));
    ComPtr<Interface> result;
    if (SUCCEEDED(hr) && raw != nullptr) result.attach(static_cast<Interface*>(raw));
    return result;
}

template <class Interface>
std::wstring ReadText(Interface* options, HRESULT (STDMETHODCALLTYPE Interface::*getter)(LPWSTR*),
                      const char* property) {
    CoTaskMemPtr<wchar_t> value;
    const HRESULT hr = (options->*getter)(value.put());
    RecordValue(property, hr, WideJson(value.get()));
    return SUCCEEDED(hr) && value.get() != nullptr ? std::wstring(value.get()) : std::wstring();
}

template <class Interface, class T>
void ReadValue(Interface* options, HRESULT (STDMETHODCALLTYPE Interface::*getter)(T*), const char* property) {
    T value{};
    const HRESULT hr = (options->*getter)(&value);
    if constexpr (std::is_same_v<T, BOOL>) {
        RecordValue(property, hr, value != FALSE);
    } else {
        RecordValue(property, hr, static_cast<std::int64_t>(value));
    }
}

Json DescribeRegistration(ICoreWebView2CustomSchemeRegistration* registration) {
    if (registration == nullptr) return nullptr;
    Json described = Json::object();
    CoTaskMemPtr<wchar_t> name;
    registration->get_SchemeName(name.put());
    described["schemeName"] = WideJson(name.get());
    BOOL flag = FALSE;
    registration->get_TreatAsSecure(&flag);
    described["treatAsSecure"] = flag != FALSE;
    flag = FALSE;
    registration->get_HasAuthorityComponent(&flag);
    described["hasAuthorityComponent"] = flag != FALSE;
    UINT32 count = 0;
    LPWSTR* origins = nullptr;
    Json allowed = Json::array();
    if (SUCCEEDED(registration->GetAllowedOrigins(&count, &origins)) && origins != nullptr) {
        for (UINT32 i = 0; i < count; ++i) {
            allowed.push_back(WideJson(origins[i]));
            ::CoTaskMemFree(origins[i]);
        }
        ::CoTaskMemFree(origins);
    }
    described["allowedOrigins"] = std::move(allowed);
    return described;
}

void ReadSchemeRegistrations(ICoreWebView2EnvironmentOptions4* options) {
    UINT32 count = 0;
    ICoreWebView2CustomSchemeRegistration** registrations = nullptr;
    const HRESULT hr = options->GetCustomSchemeRegistrations(&count, &registrations);
    Json described = Json::array();
    if (SUCCEEDED(hr) && registrations != nullptr) {
        for (UINT32 i = 0; i < count; ++i) {
            described.push_back(DescribeRegistration(registrations[i]));
            if (registrations[i] != nullptr) registrations[i]->Release();
        }
        ::CoTaskMemFree(registrations);
    }
    Json line = Event("Options.GetCustomSchemeRegistrations");
    line["count"] = count;
    line["value"] = std::move(described);
    line["hr"] = HresultText(hr);
    Runtime::Get().Record(std::move(line));
}

}  // namespace

std::wstring RecordEnvironmentOptions(ICoreWebView2EnvironmentOptions* options) {
    if (options == nullptr) return {};
    std::wstring arguments;
    if (auto first = Query<ICoreWebView2EnvironmentOptions>(options, "ICoreWebView2EnvironmentOptions")) {
        using I = ICoreWebView2EnvironmentOptions;
        arguments = ReadText(first.get(), &I::get_AdditionalBrowserArguments, "get_AdditionalBrowserArguments");
        ReadText(first.get(), &I::get_Language, "get_Language");
        ReadText(first.get(), &I::get_TargetCompatibleBrowserVersion, "get_TargetCompatibleBrowserVersion");
        ReadValue(first.get(), &I::get_AllowSingleSignOnUsingOSPrimaryAccount,
                  "get_AllowSingleSignOnUsingOSPrimaryAccount");
    }
    if (auto second = Query<ICoreWebView2EnvironmentOptions2>(options, "ICoreWebView2EnvironmentOptions2")) {
        ReadValue(second.get(), &ICoreWebView2EnvironmentOptions2::get_ExclusiveUserDataFolderAccess,
                  "get_ExclusiveUserDataFolderAccess");
    }
    if (auto third = Query<ICoreWebView2EnvironmentOptions3>(options, "ICoreWebView2EnvironmentOptions3")) {
        ReadValue(third.get(), &ICoreWebView2EnvironmentOptions3::get_IsCustomCrashReportingEnabled,
                  "get_IsCustomCrashReportingEnabled");
    }
    if (auto fourth = Query<ICoreWebView2EnvironmentOptions4>(options, "ICoreWebView2EnvironmentOptions4")) {
        ReadSchemeRegistrations(fourth.get());
    }
    if (auto fifth = Query<ICoreWebView2EnvironmentOptions5>(options, "ICoreWebView2EnvironmentOptions5")) {
        ReadValue(fifth.get(), &ICoreWebView2EnvironmentOptions5::get_EnableTrackingPrevention,
                  "get_EnableTrackingPrevention");
    }
    if (auto sixth = Query<ICoreWebView2EnvironmentOptions6>(options, "ICoreWebView2EnvironmentOptions6")) {
        ReadValue(sixth.get(), &ICoreWebView2EnvironmentOptions6::get_AreBrowserExtensionsEnabled,
                  "get_AreBrowserExtensionsEnabled");
    }
    if (auto seventh = Query<ICoreWebView2EnvironmentOptions7>(options, "ICoreWebView2EnvironmentOptions7")) {
        ReadValue(seventh.get(), &ICoreWebView2EnvironmentOptions7::get_ChannelSearchKind, "get_ChannelSearchKind");
        ReadValue(seventh.get(), &ICoreWebView2EnvironmentOptions7::get_ReleaseChannels, "get_ReleaseChannels");
    }
    if (auto eighth = Query<ICoreWebView2EnvironmentOptions8>(options, "ICoreWebView2EnvironmentOptions8")) {
        ReadValue(eighth.get(), &ICoreWebView2EnvironmentOptions8::get_ScrollBarStyle, "get_ScrollBarStyle");
    }
    return arguments;
}

}  // namespace standin
