// Windows-only. The host's own COM objects. Of the options object, what the loader
// relies on beyond the defaults it reads (those are checked end to end); of the
// callbacks, that no exception crosses back into the browser.
#include "webview/environment_options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/scheme_registration.h"
#include "webview/com_callback.h"

namespace {

using test_support::SchemeRegistration;

std::wstring TakeString(LPWSTR text) {
    CoTaskMemPtr<wchar_t> owned(text);
    return text == nullptr ? L"<null>" : std::wstring(text);
}

TEST(EnvironmentOptions, StringsAreCopiedInAndOutAndNullUnsets) {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    wchar_t arguments[] = L"--disable-gpu";
    ASSERT_EQ(options->put_AdditionalBrowserArguments(arguments), S_OK);
    arguments[0] = L'X';
    LPWSTR first = nullptr;
    LPWSTR second = nullptr;
    ASSERT_EQ(options->get_AdditionalBrowserArguments(&first), S_OK);
    ASSERT_EQ(options->get_AdditionalBrowserArguments(&second), S_OK);
    EXPECT_NE(first, second) << "each call hands out an allocation of the caller's own";
    EXPECT_EQ(TakeString(first), L"--disable-gpu");
    EXPECT_EQ(TakeString(second), L"--disable-gpu");
    ASSERT_EQ(options->put_TargetCompatibleBrowserVersion(nullptr), S_OK);
    ASSERT_EQ(options->get_TargetCompatibleBrowserVersion(&first), S_OK);
    EXPECT_EQ(TakeString(first), L"<null>");
    // One object behind every interface.
    EXPECT_EQ(options.query<ICoreWebView2EnvironmentOptions8>().query<IUnknown>().get(),
              options.query<IUnknown>().get());
}

TEST(EnvironmentOptions, SchemeRegistrationsAreCountedAndBrokenListsRefused) {
    ComPtr<SchemeRegistration> first;
    ComPtr<SchemeRegistration> second;
    first.attach(new SchemeRegistration);
    second.attach(new SchemeRegistration);
    {
        auto options = CreateEnvironmentOptions().query<ICoreWebView2EnvironmentOptions4>();
        ICoreWebView2CustomSchemeRegistration* both[] = {first.get(), second.get()};
        ASSERT_EQ(options->SetCustomSchemeRegistrations(2, both), S_OK);
        UINT32 count = 0;
        ICoreWebView2CustomSchemeRegistration** array = nullptr;
        ASSERT_EQ(options->GetCustomSchemeRegistrations(&count, &array), S_OK);
        ASSERT_EQ(count, 2u);
        EXPECT_EQ(array[1], second.get());
        EXPECT_EQ(first->References(), 3u) << "one for the options object, one for the caller";
        for (UINT32 i = 0; i < count; ++i) array[i]->Release();
        CoTaskMemFree(array);

        ICoreWebView2CustomSchemeRegistration* withNull[] = {first.get(), nullptr};
        EXPECT_EQ(options->SetCustomSchemeRegistrations(2, withNull), E_INVALIDARG);
        EXPECT_EQ(first->References(), 2u) << "a refused list leaves the kept one alone";
        ASSERT_EQ(options->SetCustomSchemeRegistrations(1, both + 1), S_OK);
        EXPECT_EQ(first->References(), 1u) << "replacing the list releases what was kept";
    }
    EXPECT_EQ(second->References(), 1u) << "the options object released its references when it went";
}

TEST(CallbackHandler, AnExceptionStopsAtTheComBoundary) {
    int calls = 0;
    auto handler = MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
        [&calls](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs*) -> HRESULT {
            if (++calls == 2) throw std::runtime_error("from a handler");
            return S_OK;
        });
    EXPECT_EQ(handler->Invoke(nullptr, nullptr), S_OK);
    EXPECT_EQ(handler->Invoke(nullptr, nullptr), E_UNEXPECTED);
    EXPECT_EQ(calls, 2);
}

}  // namespace
