// Windows-only. The controller (ICoreWebView2Controller): the web view's place
// in the host's window, its visibility, focus and accelerator keys.
#pragma once

#include "recorded_object.h"
#include "handler_list.h"

namespace standin {

class Environment;
class WebView;

class Controller final : public RecordedObject<Controller, ICoreWebView2Controller> {
public:
    static constexpr char objectName[] = "Controller";
    Controller(ComPtr<Environment> environment, HWND parentWindow);
    ~Controller();
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* eventHandler,
                                                        EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;

    // Releases the handlers of the controller and its web view; returns how many.
    std::size_t ReleaseHandlers();

    HandlerList<ICoreWebView2AcceleratorKeyPressedEventHandler> acceleratorKeyPressed;

private:
    ComPtr<Environment> environment_;
    ComPtr<WebView> webView_;
    HWND parentWindow_;
    bool visible_ = true;
    RECT bounds_{};
    double zoomFactor_ = 1.0;
};

}  // namespace standin
