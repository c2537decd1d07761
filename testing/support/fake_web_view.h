#pragma once
// A stand-in for the browser's web view in host unit tests (Windows-only): it records
// what the host posts to the page and answers E_NOTIMPL to every other call. Derive
// from it to answer more. Create it with FakeWebView::Create(); it deletes itself when
// its last reference goes.

#include <windows.h>

#include <string>
#include <vector>

#include "util/win_handles.h"
#include "webview/com_callback.h"
#include "webview/webview2.h"

// add_<Event> and remove_<Event>, both unanswered.
#define FAKE_WEB_VIEW_EVENT(Event, Handler)                                             \
    HRESULT STDMETHODCALLTYPE add_##Event(Handler*, EventRegistrationToken*) override { \
        return E_NOTIMPL;                                                               \
    }                                                                                   \
    HRESULT STDMETHODCALLTYPE remove_##Event(EventRegistrationToken) override {         \
        return E_NOTIMPL;                                                               \
    }

class FakeWebView : public ComObject<ICoreWebView2> {
public:
    static ComPtr<FakeWebView> Create() {
        ComPtr<FakeWebView> created;
        created.attach(new FakeWebView);
        return created;
    }

    // Every text given to PostWebMessageAsJson / PostWebMessageAsString, in order.
    std::vector<std::wstring> postedJson;
    std::vector<std::wstring> postedStrings;

    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override {
        postedJson.emplace_back(webMessageAsJson ? webMessageAsJson : L"");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override {
        postedStrings.emplace_back(webMessageAsString ? webMessageAsString : L"");
        return S_OK;
    }

    // The rest of the interface.
    FAKE_WEB_VIEW_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    FAKE_WEB_VIEW_EVENT(ContentLoading, ICoreWebView2ContentLoadingEventHandler)
    FAKE_WEB_VIEW_EVENT(SourceChanged, ICoreWebView2SourceChangedEventHandler)
    FAKE_WEB_VIEW_EVENT(HistoryChanged, ICoreWebView2HistoryChangedEventHandler)
    FAKE_WEB_VIEW_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    FAKE_WEB_VIEW_EVENT(FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler)
    FAKE_WEB_VIEW_EVENT(FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler)
    FAKE_WEB_VIEW_EVENT(ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler)
    FAKE_WEB_VIEW_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler)
    FAKE_WEB_VIEW_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler)
    FAKE_WEB_VIEW_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler)
    FAKE_WEB_VIEW_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler)
    FAKE_WEB_VIEW_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler)
    FAKE_WEB_VIEW_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler)
    FAKE_WEB_VIEW_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler)
    FAKE_WEB_VIEW_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler)

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                             ICoreWebView2CapturePreviewCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reload() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoBack() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GoForward() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR,
                                                               ICoreWebView2DevToolsProtocolEventReceiver**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(const LPCWSTR,
                                                            const COREWEBVIEW2_WEB_RESOURCE_CONTEXT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(const LPCWSTR,
                                                               const COREWEBVIEW2_WEB_RESOURCE_CONTEXT) override {
        return E_NOTIMPL;
    }

protected:
    FakeWebView() = default;
    ~FakeWebView() override = default;
};

#undef FAKE_WEB_VIEW_EVENT
