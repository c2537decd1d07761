// Windows-only. The core web view (ICoreWebView2 to ICoreWebView2_23): navigation,
// the event registrations that steps raise, messages to the page, the title.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "recorded_object.h"
#include "handler_list.h"
#include "registered_filter.h"

namespace standin {

class Environment;
class Settings;

class WebView final : public RecordedObject<WebView, ICoreWebView2_23> {
public:
    static constexpr char objectName[] = "WebView";
    explicit WebView(ComPtr<Environment> environment);
    ~WebView();
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* eventHandler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) override;
    HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* eventHandler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
    HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
    HRESULT STDMETHODCALLTYPE
    add_ContainsFullScreenElementChanged(ICoreWebView2ContainsFullScreenElementChangedEventHandler* eventHandler,
                                         EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* eventHandler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE
    AddWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
    HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
        const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) override;
    // ICoreWebView2_22
    HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(
        LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext,
        COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) override;
    HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(
        LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext,
        COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) override;
    HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* eventHandler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                                EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE Reload() override;
    // ICoreWebView2_2
    HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler* eventHandler,
                                                   EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment** environment) override;
    // ICoreWebView2_23
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJsonWithAdditionalObjects(
        LPCWSTR webMessageAsJson, ICoreWebView2ObjectCollectionView* additionalObjects) override;

    // Releases every registered handler; returns how many.
    std::size_t ReleaseHandlers();

    // Registered handlers, raised by the steps.
    HandlerList<ICoreWebView2NavigationStartingEventHandler> navigationStarting;
    HandlerList<ICoreWebView2PermissionRequestedEventHandler> permissionRequested;
    HandlerList<ICoreWebView2WebMessageReceivedEventHandler> webMessageReceived;
    HandlerList<ICoreWebView2NewWindowRequestedEventHandler> newWindowRequested;
    HandlerList<ICoreWebView2DocumentTitleChangedEventHandler> documentTitleChanged;
    HandlerList<ICoreWebView2ContainsFullScreenElementChangedEventHandler> fullScreenElementChanged;
    HandlerList<ICoreWebView2WebResourceRequestedEventHandler> webResourceRequested;
    HandlerList<ICoreWebView2WindowCloseRequestedEventHandler> windowCloseRequested;
    HandlerList<ICoreWebView2DOMContentLoadedEventHandler> domContentLoaded;
    HandlerList<ICoreWebView2ProcessFailedEventHandler> processFailed;
    HandlerList<ICoreWebView2NavigationCompletedEventHandler> navigationCompleted;
    Environment* environment() const { return environment_.get(); }

    // Whether a registered resource filter covers a request made by this source kind.
    bool MatchesFilter(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                       COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source) const;

    // Page state that steps change.
    std::wstring documentTitle;
    bool containsFullScreenElement = false;
    std::uint64_t navigationId = 0;  // of the last Navigate
    // The live engine keeps these in step with the real page.
    void SetSource(std::wstring uri) { source_ = std::move(uri); }

private:
    HRESULT PostJson(Json line, LPCWSTR json);
    // Records the call; adds or removes the filter. `kinds`: the caller's source kinds, none for
    // the plain call.
    HRESULT Filter(const char* method, LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                   std::optional<COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS> kinds, bool add);

    ComPtr<Environment> environment_;
    ComPtr<Settings> settings_;
    std::wstring source_ = L"about:blank";
    std::vector<RegisteredFilter> filters_;
};

}  // namespace standin
