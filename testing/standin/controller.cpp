// Windows-only.
#include "controller.h"

#include <utility>

#include "environment.h"
#include "web_view.h"
#include "window_record.h"

namespace standin {

Controller::Controller(ComPtr<Environment> environment, HWND parentWindow)
    : environment_(std::move(environment)), parentWindow_(parentWindow) {
    webView_ = MakeObject<WebView>(environment_);
    Runtime::Get().controller = this;
}

Controller::~Controller() {
    const std::size_t released = acceleratorKeyPressed.Clear();
    if (Runtime* runtime = Runtime::Existing()) {
        if (runtime->controller == this) runtime->controller = nullptr;
        Json line = Event("destroyed:Controller");
        line["handlersReleased"] = released;
        runtime->Record(std::move(line));
    }
}

bool Controller::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2Controller);
}

std::size_t Controller::ReleaseHandlers() {
    return acceleratorKeyPressed.Clear() + (webView_ ? webView_->ReleaseHandlers() : 0);
}

HRESULT Controller::get_IsVisible(BOOL* isVisible) {
    return Answer<BOOL>("get_IsVisible", isVisible, visible_, visible_);
}

HRESULT Controller::put_IsVisible(BOOL isVisible) {
    visible_ = isVisible != FALSE;
    NoteSet("put_IsVisible", visible_);
    if (LiveEngine* live = Runtime::Get().live()) live->SetVisible(visible_);
    return S_OK;
}

HRESULT Controller::get_Bounds(RECT* bounds) {
    return Answer<RECT>("get_Bounds", bounds, bounds_, RectJson(bounds_));
}

HRESULT Controller::put_Bounds(RECT bounds) {
    bounds_ = bounds;
    NoteSet("put_Bounds", RectJson(bounds));
    if (LiveEngine* live = Runtime::Get().live()) live->SetBounds(bounds);
    return S_OK;
}

HRESULT Controller::get_ZoomFactor(double* zoomFactor) {
    return Answer<double>("get_ZoomFactor", zoomFactor, zoomFactor_, zoomFactor_);
}

HRESULT Controller::put_ZoomFactor(double zoomFactor) {
    zoomFactor_ = zoomFactor;
    return NoteSet("put_ZoomFactor", zoomFactor);
}

HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
    bounds_ = bounds;
    zoomFactor_ = zoomFactor;
    Json line = Call("SetBoundsAndZoomFactor");
    line["bounds"] = RectJson(bounds);
    line["zoomFactor"] = zoomFactor;
    Record(std::move(line));
    if (LiveEngine* live = Runtime::Get().live()) live->SetBounds(bounds);
    return S_OK;
}

HRESULT Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
    Json line = Call("MoveFocus");
    line["reason"] = static_cast<int>(reason);
    Record(std::move(line));
    return S_OK;
}

HRESULT Controller::add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* eventHandler,
                                              EventRegistrationToken* token) {
    Json line = Call("add_AcceleratorKeyPressed");
    const HRESULT hr = Register(acceleratorKeyPressed, eventHandler, token, line);
    Record(std::move(line));
    return hr;
}

HRESULT Controller::remove_AcceleratorKeyPressed(EventRegistrationToken token) {
    Json line = Call("remove_AcceleratorKeyPressed");
    const HRESULT hr = Unregister(acceleratorKeyPressed, token, line);
    Record(std::move(line));
    return hr;
}

HRESULT Controller::get_ParentWindow(HWND* parentWindow) {
    return Answer<HWND>("get_ParentWindow", parentWindow, parentWindow_,
                        HandleText(reinterpret_cast<std::uintptr_t>(parentWindow_)));
}

HRESULT Controller::put_ParentWindow(HWND parentWindow) {
    parentWindow_ = parentWindow;
    Runtime::Get().mainWindow = parentWindow;
    return NoteSet("put_ParentWindow", HandleText(reinterpret_cast<std::uintptr_t>(parentWindow)));
}

HRESULT Controller::NotifyParentWindowPositionChanged() {
    Record(Call("NotifyParentWindowPositionChanged"));
    return S_OK;
}

HRESULT Controller::Close() {
    Json line = Call("Close");
    line["handlersReleased"] = ReleaseHandlers();
    line["parentWindowExists"] = ::IsWindow(parentWindow_) != FALSE;
    Record(std::move(line));
    return S_OK;
}

HRESULT Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) {
    return AnswerPart("get_CoreWebView2", coreWebView2, webView_.get());
}

}  // namespace standin
