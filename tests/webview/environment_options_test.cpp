// Windows-only.
#include "webview/environment_options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

std::wstring TakeString(LPWSTR text) {
    CoTaskMemPtr<wchar_t> owned(text);
    return text == nullptr ? L"<null>" : std::wstring(text);
}

// A scheme registration that only counts its references.
class CountedRegistration final : public ICoreWebView2CustomSchemeRegistration {
public:
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAllowedOrigins(UINT32*, LPWSTR**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAllowedOrigins(UINT32, LPCWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL) override { return E_NOTIMPL; }
};

using Options1 = ICoreWebView2EnvironmentOptions;
using Options2 = ICoreWebView2EnvironmentOptions2;
using Options3 = ICoreWebView2EnvironmentOptions3;
using Options4 = ICoreWebView2EnvironmentOptions4;
using Options5 = ICoreWebView2EnvironmentOptions5;
using Options6 = ICoreWebView2EnvironmentOptions6;
using Options7 = ICoreWebView2EnvironmentOptions7;
using Options8 = ICoreWebView2EnvironmentOptions8;
using Registration = ICoreWebView2CustomSchemeRegistration;

template <class T>
ComPtr<T> Query(const ComPtr<Options1>& options) {
    return options.query<T>(__uuidof(T));
}

template <class T>
BOOL BoolThrough(HRESULT (STDMETHODCALLTYPE T::*getter)(BOOL*), T* object) {
    BOOL value = 2;
    EXPECT_EQ((object->*getter)(&value), S_OK);
    return value;
}

TEST(EnvironmentOptionsTest, AnswersEveryOptionsIidFromThatInterfacesOwnTable) {
    ComPtr<Options1> options = CreateEnvironmentOptions();
    ASSERT_TRUE(options);
    ComPtr<IUnknown> identity = options.query<IUnknown>(__uuidof(IUnknown));
    ASSERT_TRUE(identity);

    // Slots 3 and 4 of each sub-object: a put through it must come back through it.
    auto o2 = Query<Options2>(options);
    auto o3 = Query<Options3>(options);
    auto o5 = Query<Options5>(options);
    auto o6 = Query<Options6>(options);
    auto o7 = Query<Options7>(options);
    auto o8 = Query<Options8>(options);
    auto o4 = Query<Options4>(options);
    ASSERT_TRUE(o2 && o3 && o4 && o5 && o6 && o7 && o8);

    EXPECT_EQ(o2->put_ExclusiveUserDataFolderAccess(TRUE), S_OK);
    EXPECT_EQ(BoolThrough(&Options2::get_ExclusiveUserDataFolderAccess, o2.get()), TRUE);
    EXPECT_EQ(o3->put_IsCustomCrashReportingEnabled(TRUE), S_OK);
    EXPECT_EQ(BoolThrough(&Options3::get_IsCustomCrashReportingEnabled, o3.get()), TRUE);
    EXPECT_EQ(o5->put_EnableTrackingPrevention(FALSE), S_OK);
    EXPECT_EQ(BoolThrough(&Options5::get_EnableTrackingPrevention, o5.get()), FALSE);
    EXPECT_EQ(o6->put_AreBrowserExtensionsEnabled(TRUE), S_OK);
    EXPECT_EQ(BoolThrough(&Options6::get_AreBrowserExtensionsEnabled, o6.get()), TRUE);
    EXPECT_EQ(o7->put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE), S_OK);
    COREWEBVIEW2_CHANNEL_SEARCH_KIND kind{};
    EXPECT_EQ(o7->get_ChannelSearchKind(&kind), S_OK);
    EXPECT_EQ(kind, COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE);
    EXPECT_EQ(o7->put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS_BETA), S_OK);
    COREWEBVIEW2_RELEASE_CHANNELS channels{};
    EXPECT_EQ(o7->get_ReleaseChannels(&channels), S_OK);
    EXPECT_EQ(channels, COREWEBVIEW2_RELEASE_CHANNELS_BETA);
    EXPECT_EQ(o8->put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY), S_OK);
    COREWEBVIEW2_SCROLLBAR_STYLE style{};
    EXPECT_EQ(o8->get_ScrollBarStyle(&style), S_OK);
    EXPECT_EQ(style, COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY);
    UINT32 count = 7;
    Registration** array = nullptr;
    EXPECT_EQ(o4->GetCustomSchemeRegistrations(&count, &array), S_OK);
    EXPECT_EQ(count, 0u);

    // One object behind all of them: every interface leads back to one IUnknown.
    for (IUnknown* part :
         std::initializer_list<IUnknown*>{o2.get(), o3.get(), o4.get(), o5.get(), o6.get(), o7.get(), o8.get()}) {
        IUnknown* back = nullptr;
        ASSERT_EQ(part->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&back)), S_OK);
        EXPECT_EQ(back, identity.get());
        back->Release();
    }

    void* other = &count;
    EXPECT_EQ(options->QueryInterface(__uuidof(ICoreWebView2Environment), &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(options->QueryInterface(__uuidof(IUnknown), nullptr), E_POINTER);
}

TEST(EnvironmentOptionsTest, StartsWithTheStandardDefaults) {
    ComPtr<Options1> options = CreateEnvironmentOptions();
    ASSERT_TRUE(options);
    LPWSTR text = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(options->get_AdditionalBrowserArguments(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    text = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(options->get_Language(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    ASSERT_EQ(options->get_TargetCompatibleBrowserVersion(&text), S_OK);
    EXPECT_EQ(TakeString(text), L"144.0.3719.77");
    EXPECT_EQ(BoolThrough(&Options1::get_AllowSingleSignOnUsingOSPrimaryAccount, options.get()), FALSE);

    EXPECT_EQ(BoolThrough(&Options2::get_ExclusiveUserDataFolderAccess, Query<Options2>(options).get()), FALSE);
    EXPECT_EQ(BoolThrough(&Options3::get_IsCustomCrashReportingEnabled, Query<Options3>(options).get()), FALSE);
    EXPECT_EQ(BoolThrough(&Options5::get_EnableTrackingPrevention, Query<Options5>(options).get()), TRUE);
    EXPECT_EQ(BoolThrough(&Options6::get_AreBrowserExtensionsEnabled, Query<Options6>(options).get()), FALSE);

    UINT32 count = 7;
    Registration** array = reinterpret_cast<Registration**>(1);
    EXPECT_EQ(Query<Options4>(options)->GetCustomSchemeRegistrations(&count, &array), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(array, nullptr);

    auto o7 = Query<Options7>(options);
    COREWEBVIEW2_CHANNEL_SEARCH_KIND kind = COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE;
    EXPECT_EQ(o7->get_ChannelSearchKind(&kind), S_OK);
    EXPECT_EQ(kind, COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE);
    COREWEBVIEW2_RELEASE_CHANNELS channels = COREWEBVIEW2_RELEASE_CHANNELS_NONE;
    EXPECT_EQ(o7->get_ReleaseChannels(&channels), S_OK);
    EXPECT_EQ(channels, 0x1F);
    COREWEBVIEW2_SCROLLBAR_STYLE style = COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY;
    EXPECT_EQ(Query<Options8>(options)->get_ScrollBarStyle(&style), S_OK);
    EXPECT_EQ(style, COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT);
}

TEST(EnvironmentOptionsTest, StringsAreCopiedInAndOut) {
    ComPtr<Options1> options = CreateEnvironmentOptions();
    ASSERT_TRUE(options);
    wchar_t arguments[] = L"--disable-gpu --mute-audio";
    ASSERT_EQ(options->put_AdditionalBrowserArguments(arguments), S_OK);
    arguments[0] = L'X';  // the object keeps its own copy

    LPWSTR first = nullptr;
    LPWSTR second = nullptr;
    ASSERT_EQ(options->get_AdditionalBrowserArguments(&first), S_OK);
    ASSERT_EQ(options->get_AdditionalBrowserArguments(&second), S_OK);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);  // each call hands out a fresh allocation
    first[0] = L'Y';
    EXPECT_EQ(TakeString(first), L"Y-disable-gpu --mute-audio");
    EXPECT_EQ(TakeString(second), L"--disable-gpu --mute-audio");

    // An empty string is a value; null unsets it again.
    ASSERT_EQ(options->put_Language(L""), S_OK);
    ASSERT_EQ(options->get_Language(&first), S_OK);
    EXPECT_EQ(TakeString(first), L"");
    ASSERT_EQ(options->put_TargetCompatibleBrowserVersion(nullptr), S_OK);
    ASSERT_EQ(options->get_TargetCompatibleBrowserVersion(&first), S_OK);
    EXPECT_EQ(first, nullptr);
    ASSERT_EQ(options->put_TargetCompatibleBrowserVersion(L"120.0.1.2"), S_OK);
    ASSERT_EQ(options->get_TargetCompatibleBrowserVersion(&first), S_OK);
    EXPECT_EQ(TakeString(first), L"120.0.1.2");
    ASSERT_EQ(options->put_AllowSingleSignOnUsingOSPrimaryAccount(TRUE), S_OK);
    EXPECT_EQ(BoolThrough(&Options1::get_AllowSingleSignOnUsingOSPrimaryAccount, options.get()), TRUE);

    EXPECT_EQ(options->get_AdditionalBrowserArguments(nullptr), E_POINTER);
    EXPECT_EQ(options->get_Language(nullptr), E_POINTER);
    EXPECT_EQ(options->get_TargetCompatibleBrowserVersion(nullptr), E_POINTER);
    EXPECT_EQ(options->get_AllowSingleSignOnUsingOSPrimaryAccount(nullptr), E_POINTER);
}

TEST(EnvironmentOptionsTest, CountsReferencesToItselfAndItsSchemeRegistrations) {
    CountedRegistration first;
    CountedRegistration second;
    {
        ComPtr<Options1> options = CreateEnvironmentOptions();
        ASSERT_TRUE(options);
        EXPECT_EQ(options->AddRef(), 2u);
        auto o4 = Query<Options4>(options);  // 3
        EXPECT_EQ(options->Release(), 2u);

        Registration* registrations[] = {&first, &second};
        ASSERT_EQ(o4->SetCustomSchemeRegistrations(2, registrations), S_OK);
        EXPECT_EQ(first.references, 2u);
        EXPECT_EQ(second.references, 2u);

        UINT32 count = 0;
        Registration** array = nullptr;
        ASSERT_EQ(o4->GetCustomSchemeRegistrations(&count, &array), S_OK);
        ASSERT_EQ(count, 2u);
        EXPECT_EQ(array[0], &first);
        EXPECT_EQ(array[1], &second);
        EXPECT_EQ(first.references, 3u);  // the caller's to release
        array[0]->Release();
        array[1]->Release();
        ::CoTaskMemFree(array);

        // A broken list is refused and leaves the kept one alone.
        Registration* withNull[] = {&first, nullptr};
        EXPECT_EQ(o4->SetCustomSchemeRegistrations(2, withNull), E_INVALIDARG);
        EXPECT_EQ(o4->SetCustomSchemeRegistrations(1, nullptr), E_INVALIDARG);
        EXPECT_EQ(o4->GetCustomSchemeRegistrations(nullptr, &array), E_POINTER);
        EXPECT_EQ(first.references, 2u);

        // Replacing the list releases what was kept.
        ASSERT_EQ(o4->SetCustomSchemeRegistrations(1, registrations + 1), S_OK);
        EXPECT_EQ(first.references, 1u);
        EXPECT_EQ(second.references, 2u);
    }
    // The last Release destroyed the object, and with it its references.
    EXPECT_EQ(second.references, 1u);
}

}  // namespace
