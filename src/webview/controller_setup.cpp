// The controller arrives: settings, bounds, event handlers, start page.
#include "util/text_convert.h"
#include "webview/pallant_webview.h"

HRESULT PallantWebView::OnControllerCreated(HRESULT result, ICoreWebView2Controller* createdController) {
    if (FAILED(result) || !createdController) {
        FailBrowserStart(result);
        return S_OK;
    }
    controller = ComPtr<ICoreWebView2Controller>::Wrap(createdController);
    webView = ComPtr<ICoreWebView2>();
    controller->get_CoreWebView2(webView.put());
    if (!webView) {
        FailBrowserStart(result);
        return S_OK;
    }
    webView2 = webView.query<ICoreWebView2_2>();

    ComPtr<ICoreWebView2Settings> settings;
    webView->get_Settings(settings.put());
    if (settings) {
        settings->put_IsScriptEnabled(TRUE);
        settings->put_AreHostObjectsAllowed(FALSE);
        settings->put_AreDefaultScriptDialogsEnabled(TRUE);
        settings->put_IsWebMessageEnabled(TRUE);
        settings->put_IsZoomControlEnabled(FALSE);
        settings->put_AreDefaultContextMenusEnabled(TRUE);
        settings->put_AreDevToolsEnabled(config.enableDevTools ? TRUE : FALSE);
    }
    // Without Settings3 the browser keeps its own keys and F12 is left to it.
    if (auto settings3 = settings.query<ICoreWebView2Settings3>()) {
        settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
        RegisterAcceleratorKeyHandler();
    }
    if (auto settings8 = settings.query<ICoreWebView2Settings8>()) {
        settings8->put_IsReputationCheckingRequired(FALSE);
        settings8->put_IsPinchZoomEnabled(FALSE);
        settings8->put_IsSwipeNavigationEnabled(FALSE);
    }

    RECT bounds{};
    GetClientRect(window, &bounds);
    controller->put_Bounds(bounds);

    RegisterEventHandlers();

    const std::string startUrl = config.contentMode == ContentMode::Bundle ? originUrl + config.main : config.main;
    webView->Navigate(Utf8ToWide(startUrl).c_str());
    if (!webView2) {
        // Without DOM-content-loaded events nothing else would ever show the window.
        ShowPage();
    }
    return S_OK;
}
