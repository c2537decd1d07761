// Windows-only.
#include "web_view.h"

#include <algorithm>
#include <utility>

#include "environment.h"
#include "object_collection.h"
#include "settings.h"
#include "wildcard.h"

namespace standin {

WebView::WebView(ComPtr<Environment> environment)
    : environment_(std::move(environment)), settings_(MakeObject<Settings>()) {
    Runtime::Get().webView = this;
}

WebView::~WebView() {
    const std::size_t released = ReleaseHandlers();
    if (Runtime* runtime = Runtime::Existing()) {
        if (runtime->webView == this) runtime->webView = nullptr;
        Json line = Event("destroyed:WebView");
        line["handlersReleased"] = released;
        runtime->Record(std::move(line));
    }
}

bool WebView::Answers(REFIID iid) const {
    const Runtime& runtime = Runtime::Get();
    if (iid == __uuidof(ICoreWebView2)) return true;
    if (IsOneOf(iid, __uuidof(ICoreWebView2_2), __uuidof(ICoreWebView2_3), __uuidof(ICoreWebView2_4),
                __uuidof(ICoreWebView2_5), __uuidof(ICoreWebView2_6), __uuidof(ICoreWebView2_7),
                __uuidof(ICoreWebView2_8), __uuidof(ICoreWebView2_9), __uuidof(ICoreWebView2_10),
                __uuidof(ICoreWebView2_11), __uuidof(ICoreWebView2_12), __uuidof(ICoreWebView2_13),
                __uuidof(ICoreWebView2_14), __uuidof(ICoreWebView2_15), __uuidof(ICoreWebView2_16),
                __uuidof(ICoreWebView2_17), __uuidof(ICoreWebView2_18), __uuidof(ICoreWebView2_19),
                __uuidof(ICoreWebView2_20), __uuidof(ICoreWebView2_21))) {
        return runtime.Offers(Offer::WebView2);
    }
    if (iid == __uuidof(ICoreWebView2_22)) return runtime.Offers(Offer::WebView2) && runtime.Offers(Offer::WebView22);
    if (iid == __uuidof(ICoreWebView2_23)) return runtime.Offers(Offer::WebView23);
    return false;
}

std::size_t WebView::ReleaseHandlers() {
    return navigationStarting.Clear() + permissionRequested.Clear() + webMessageReceived.Clear() +
           newWindowRequested.Clear() + documentTitleChanged.Clear() + fullScreenElementChanged.Clear() +
           webResourceRequested.Clear() + windowCloseRequested.Clear() + domContentLoaded.Clear() +
           processFailed.Clear() + navigationCompleted.Clear();
}

// add_<Event> and remove_<Event> for an event whose handlers are in `list`.
#define STANDIN_WEB_VIEW_EVENT(Name, HandlerType, list)                                     \
    HRESULT WebView::add_##Name(HandlerType* eventHandler, EventRegistrationToken* token) { \
        Json line = Call("add_" #Name);                                                     \
        const HRESULT hr = Register(list, eventHandler, token, line);                       \
        Record(std::move(line));                                                            \
        return hr;                                                                          \
    }                                                                                       \
    HRESULT WebView::remove_##Name(EventRegistrationToken token) {                          \
        Json line = Call("remove_" #Name);                                                  \
        const HRESULT hr = Unregister(list, token, line);                                   \
        Record(std::move(line));                                                            \
        return hr;                                                                          \
    }

STANDIN_WEB_VIEW_EVENT(NavigationStarting, ICoreWebView2NavigationStartingEventHandler, navigationStarting)
STANDIN_WEB_VIEW_EVENT(PermissionRequested, ICoreWebView2PermissionRequestedEventHandler, permissionRequested)
STANDIN_WEB_VIEW_EVENT(WebMessageReceived, ICoreWebView2WebMessageReceivedEventHandler, webMessageReceived)
STANDIN_WEB_VIEW_EVENT(NewWindowRequested, ICoreWebView2NewWindowRequestedEventHandler, newWindowRequested)
STANDIN_WEB_VIEW_EVENT(DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler, documentTitleChanged)
STANDIN_WEB_VIEW_EVENT(ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler,
                       fullScreenElementChanged)
STANDIN_WEB_VIEW_EVENT(WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler, webResourceRequested)
STANDIN_WEB_VIEW_EVENT(WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler, windowCloseRequested)
STANDIN_WEB_VIEW_EVENT(DOMContentLoaded, ICoreWebView2DOMContentLoadedEventHandler, domContentLoaded)
STANDIN_WEB_VIEW_EVENT(ProcessFailed, ICoreWebView2ProcessFailedEventHandler, processFailed)
STANDIN_WEB_VIEW_EVENT(NavigationCompleted, ICoreWebView2NavigationCompletedEventHandler, navigationCompleted)
#undef STANDIN_WEB_VIEW_EVENT

HRESULT WebView::get_Settings(ICoreWebView2Settings** settings) {
    return AnswerPart("get_Settings", settings, settings_.get());
}

HRESULT WebView::get_Source(LPWSTR* uri) {
    return AnswerText("get_Source", uri, source_);
}

HRESULT WebView::Navigate(LPCWSTR uri) {
    Json line = Call("Navigate");
    line["uri"] = WideJson(uri);
    if (uri == nullptr) return Finish(std::move(line), E_INVALIDARG);
    Runtime& runtime = Runtime::Get();
    if (const auto refused = runtime.scenario().navigateResult) {
        // Refused: nothing loads, but the steps still play.
        runtime.player().Start();
        return Finish(std::move(line), static_cast<HRESULT>(*refused));
    }
    Record(std::move(line));
    source_ = uri;
    if (LiveEngine* live = runtime.live()) {
        // The navigation's id comes with its NavigationStarting.
        live->Navigate(uri, *settings_.get());
        return S_OK;
    }
    navigationId = runtime.NextNavigationId();
    runtime.player().Start();
    return S_OK;
}

// The page starts again from its start page: a new navigation id, nothing else.
HRESULT WebView::Reload() {
    Record(Call("Reload"));
    Runtime& runtime = Runtime::Get();
    if (LiveEngine* live = runtime.live()) {
        live->Reload();
        return S_OK;
    }
    navigationId = runtime.NextNavigationId();
    return S_OK;
}

HRESULT WebView::NavigateToString(LPCWSTR htmlContent) {
    Json line = Call("NavigateToString");
    line["text"] = WideJson(htmlContent);
    Record(std::move(line));
    Runtime& runtime = Runtime::Get();
    navigationId = runtime.NextNavigationId();
    runtime.player().Start();
    return S_OK;
}

HRESULT WebView::PostJson(Json line, LPCWSTR json) {
    line["text"] = WideJson(json);
    // The runtime refuses a message that is not JSON; so do we, visibly.
    const HRESULT hr = json != nullptr && Json::accept(WideToUtf8(json)) ? S_OK : E_INVALIDARG;
    return Finish(std::move(line), hr);
}

HRESULT WebView::PostWebMessageAsJson(LPCWSTR webMessageAsJson) {
    const HRESULT hr = PostJson(Call("PostWebMessageAsJson"), webMessageAsJson);
    LiveEngine* live = Runtime::Get().live();
    if (live != nullptr && SUCCEEDED(hr)) live->PostJson(webMessageAsJson, nullptr);
    return hr;
}

HRESULT WebView::PostWebMessageAsJsonWithAdditionalObjects(LPCWSTR webMessageAsJson,
                                                           ICoreWebView2ObjectCollectionView* additionalObjects) {
    Json line = Call("PostWebMessageAsJsonWithAdditionalObjects");
    Json objects = DescribeCollection(additionalObjects);
    line["objects"] = objects;
    const HRESULT hr = PostJson(std::move(line), webMessageAsJson);
    LiveEngine* live = Runtime::Get().live();
    if (live != nullptr && SUCCEEDED(hr)) live->PostJson(webMessageAsJson, std::move(objects));
    return hr;
}

HRESULT WebView::PostWebMessageAsString(LPCWSTR webMessageAsString) {
    Json line = Call("PostWebMessageAsString");
    line["text"] = WideJson(webMessageAsString);
    Record(std::move(line));
    if (webMessageAsString == nullptr) return E_INVALIDARG;
    if (LiveEngine* live = Runtime::Get().live()) live->PostString(webMessageAsString);
    return S_OK;
}

HRESULT WebView::get_DocumentTitle(LPWSTR* title) {
    return AnswerText("get_DocumentTitle", title, documentTitle);
}

HRESULT WebView::OpenDevToolsWindow() {
    Record(Call("OpenDevToolsWindow"));
    return S_OK;
}

HRESULT WebView::get_ContainsFullScreenElement(BOOL* value) {
    return Answer<BOOL>("get_ContainsFullScreenElement", value, containsFullScreenElement ? TRUE : FALSE,
                        containsFullScreenElement);
}

HRESULT WebView::Filter(const char* method, LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                        std::optional<COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS> kinds, bool add) {
    Json line = Call(method);
    line["uri"] = WideJson(uri);
    line["context"] = static_cast<int>(context);
    if (kinds) line["sourceKinds"] = static_cast<std::uint32_t>(*kinds);
    Record(std::move(line));
    if (uri == nullptr) return E_INVALIDARG;
    // The plain filter covers only the requests of documents, as the runtime's does.
    const RegisteredFilter filter{uri, context,
                                  kinds.value_or(COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT)};
    if (add) {
        filters_.push_back(filter);
    } else {
        const auto found = std::find_if(filters_.begin(), filters_.end(), [&filter](const RegisteredFilter& held) {
            return held.uri == filter.uri && held.context == filter.context && held.sourceKinds == filter.sourceKinds;
        });
        if (found != filters_.end()) filters_.erase(found);
    }
    if (LiveEngine* live = Runtime::Get().live()) live->SetFilters(filters_);
    return S_OK;
}

HRESULT WebView::AddWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    return Filter("AddWebResourceRequestedFilter", uri, context, std::nullopt, true);
}

HRESULT WebView::RemoveWebResourceRequestedFilter(const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
    return Filter("RemoveWebResourceRequestedFilter", uri, context, std::nullopt, false);
}

HRESULT WebView::AddWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) {
    // A runtime that offers the call may still refuse it: the scenario says so.
    if (const auto refused = Runtime::Get().scenario().filterWithKindsResult) {
        Json line = Call("AddWebResourceRequestedFilterWithRequestSourceKinds");
        line["uri"] = WideJson(uri);
        line["sourceKinds"] = static_cast<std::uint32_t>(kinds);
        return Finish(std::move(line), static_cast<HRESULT>(*refused));
    }
    return Filter("AddWebResourceRequestedFilterWithRequestSourceKinds", uri, context, kinds, true);
}

HRESULT WebView::RemoveWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS kinds) {
    return Filter("RemoveWebResourceRequestedFilterWithRequestSourceKinds", uri, context, kinds, false);
}

bool WebView::MatchesFilter(const std::wstring& uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                            COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source) const {
    for (const RegisteredFilter& filter : filters_) {
        if ((filter.context == COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL || filter.context == context) &&
            (filter.sourceKinds & source) != 0 && WildcardMatch(filter.uri, uri)) {
            return true;
        }
    }
    return false;
}

HRESULT WebView::get_Environment(ICoreWebView2Environment** environment) {
    return AnswerPart("get_Environment", environment, environment_.get());
}

}  // namespace standin
