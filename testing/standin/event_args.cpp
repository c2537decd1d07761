// Windows-only.
#include "event_args.h"

#include <utility>

#include "resource_request.h"

namespace standin {
namespace {

// The JSON text of a string message: the text as a JSON string literal.
std::wstring JsonStringLiteral(const std::wstring& text) {
    return Utf8ToWide(Json(WideToUtf8(text.c_str())).dump(-1, ' ', false, Json::error_handler_t::replace));
}

}  // namespace

NavigationStartingArgs::NavigationStartingArgs(std::wstring uri, std::uint64_t navigationId, bool userInitiated,
                                               bool redirected)
    : uri_(std::move(uri)), navigationId_(navigationId), userInitiated_(userInitiated), redirected_(redirected) {}

bool NavigationStartingArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2NavigationStartingEventArgs);
}

HRESULT NavigationStartingArgs::get_Uri(LPWSTR* uri) {
    return AnswerText("get_Uri", uri, uri_);
}

HRESULT NavigationStartingArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
    return Answer<BOOL>("get_IsUserInitiated", isUserInitiated, userInitiated_ ? TRUE : FALSE, userInitiated_);
}

HRESULT NavigationStartingArgs::get_IsRedirected(BOOL* isRedirected) {
    return Answer<BOOL>("get_IsRedirected", isRedirected, redirected_ ? TRUE : FALSE, redirected_);
}

HRESULT NavigationStartingArgs::get_Cancel(BOOL* value) {
    return Answer<BOOL>("get_Cancel", value, cancel ? TRUE : FALSE, cancel);
}

HRESULT NavigationStartingArgs::put_Cancel(BOOL value) {
    cancel = value != FALSE;
    return NoteSet("put_Cancel", cancel);
}

HRESULT NavigationStartingArgs::get_NavigationId(UINT64* navigationId) {
    return Answer<UINT64>("get_NavigationId", navigationId, navigationId_, navigationId_);
}

PermissionRequestedArgs::PermissionRequestedArgs(std::wstring uri, COREWEBVIEW2_PERMISSION_KIND kind)
    : uri_(std::move(uri)), kind_(kind) {}

bool PermissionRequestedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2PermissionRequestedEventArgs);
}

HRESULT PermissionRequestedArgs::get_Uri(LPWSTR* uri) {
    return AnswerText("get_Uri", uri, uri_);
}

HRESULT PermissionRequestedArgs::get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) {
    return Answer<COREWEBVIEW2_PERMISSION_KIND>("get_PermissionKind", permissionKind, kind_, static_cast<int>(kind_));
}

HRESULT PermissionRequestedArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
    return Answer<BOOL>("get_IsUserInitiated", isUserInitiated, TRUE, true);
}

HRESULT PermissionRequestedArgs::get_State(COREWEBVIEW2_PERMISSION_STATE* value) {
    return Answer<COREWEBVIEW2_PERMISSION_STATE>("get_State", value, state, static_cast<int>(state));
}

HRESULT PermissionRequestedArgs::put_State(COREWEBVIEW2_PERMISSION_STATE value) {
    state = value;
    return NoteSet("put_State", static_cast<int>(value));
}

NewWindowRequestedArgs::NewWindowRequestedArgs(std::wstring uri, bool userInitiated)
    : uri_(std::move(uri)), userInitiated_(userInitiated) {}

bool NewWindowRequestedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2NewWindowRequestedEventArgs);
}

HRESULT NewWindowRequestedArgs::get_Uri(LPWSTR* uri) {
    return AnswerText("get_Uri", uri, uri_);
}

HRESULT NewWindowRequestedArgs::put_NewWindow(ICoreWebView2* newWindow) {
    newWindow_ = ComPtr<ICoreWebView2>::Wrap(newWindow);
    return NoteSet("put_NewWindow", newWindow != nullptr);
}

HRESULT NewWindowRequestedArgs::get_NewWindow(ICoreWebView2** newWindow) {
    ICoreWebView2* current = newWindow_.get();
    const HRESULT hr = Answer<ICoreWebView2*>("get_NewWindow", newWindow, current, current != nullptr);
    if (SUCCEEDED(hr) && current != nullptr) current->AddRef();
    return hr;
}

HRESULT NewWindowRequestedArgs::put_Handled(BOOL value) {
    handled = value != FALSE;
    return NoteSet("put_Handled", handled);
}

HRESULT NewWindowRequestedArgs::get_Handled(BOOL* value) {
    return Answer<BOOL>("get_Handled", value, handled ? TRUE : FALSE, handled);
}

HRESULT NewWindowRequestedArgs::get_IsUserInitiated(BOOL* isUserInitiated) {
    return Answer<BOOL>("get_IsUserInitiated", isUserInitiated, userInitiated_ ? TRUE : FALSE, userInitiated_);
}

WebMessageReceivedArgs::WebMessageReceivedArgs(std::wstring source, std::wstring message, bool isString)
    : source_(std::move(source)), message_(std::move(message)), isString_(isString) {}

bool WebMessageReceivedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2WebMessageReceivedEventArgs);
}

HRESULT WebMessageReceivedArgs::get_Source(LPWSTR* value) {
    return AnswerText("get_Source", value, source_);
}

HRESULT WebMessageReceivedArgs::get_WebMessageAsJson(LPWSTR* value) {
    return AnswerText("get_WebMessageAsJson", value, isString_ ? JsonStringLiteral(message_) : message_);
}

HRESULT WebMessageReceivedArgs::TryGetWebMessageAsString(LPWSTR* value) {
    if (isString_) return AnswerText("TryGetWebMessageAsString", value, message_);
    // Not a string: the runtime fails the call and hands out nothing.
    Json line = Call("TryGetWebMessageAsString");
    const HRESULT hr = value == nullptr ? E_POINTER : E_INVALIDARG;
    if (value != nullptr) *value = nullptr;
    line["value"] = nullptr;
    line["hr"] = HresultText(hr);
    Record(std::move(line));
    return hr;
}

AcceleratorKeyPressedArgs::AcceleratorKeyPressedArgs(UINT virtualKey, COREWEBVIEW2_KEY_EVENT_KIND kind)
    : virtualKey_(virtualKey), kind_(kind) {
    const bool released =
        kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP || kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP;
    status_.RepeatCount = 1;
    status_.ScanCode = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    status_.WasKeyDown = released ? TRUE : FALSE;
    status_.IsKeyReleased = released ? TRUE : FALSE;
    // The lParam of the key message: repeat count, scan code, previous state and transition.
    lParam_ = static_cast<INT>(1u | (status_.ScanCode << 16) | (released ? 0xC0000000u : 0u));
}

bool AcceleratorKeyPressedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2AcceleratorKeyPressedEventArgs);
}

HRESULT AcceleratorKeyPressedArgs::get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) {
    return Answer<COREWEBVIEW2_KEY_EVENT_KIND>("get_KeyEventKind", keyEventKind, kind_, static_cast<int>(kind_));
}

HRESULT AcceleratorKeyPressedArgs::get_VirtualKey(UINT* virtualKey) {
    return Answer<UINT>("get_VirtualKey", virtualKey, virtualKey_, virtualKey_);
}

HRESULT AcceleratorKeyPressedArgs::get_KeyEventLParam(INT* lParam) {
    return Answer<INT>("get_KeyEventLParam", lParam, lParam_, lParam_);
}

HRESULT AcceleratorKeyPressedArgs::get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) {
    Json shown = Json::object();
    shown["repeatCount"] = status_.RepeatCount;
    shown["scanCode"] = status_.ScanCode;
    shown["isKeyReleased"] = status_.IsKeyReleased != FALSE;
    return Answer<COREWEBVIEW2_PHYSICAL_KEY_STATUS>("get_PhysicalKeyStatus", physicalKeyStatus, status_, shown);
}

HRESULT AcceleratorKeyPressedArgs::get_Handled(BOOL* value) {
    return Answer<BOOL>("get_Handled", value, handled ? TRUE : FALSE, handled);
}

HRESULT AcceleratorKeyPressedArgs::put_Handled(BOOL value) {
    handled = value != FALSE;
    return NoteSet("put_Handled", handled);
}

DOMContentLoadedArgs::DOMContentLoadedArgs(std::uint64_t navigationId) : navigationId_(navigationId) {}

bool DOMContentLoadedArgs::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2DOMContentLoadedEventArgs);
}

HRESULT DOMContentLoadedArgs::get_NavigationId(UINT64* value) {
    return Answer<UINT64>("get_NavigationId", value, navigationId_, navigationId_);
}

HRESULT ProcessFailedArgs::get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) {
    return Answer<COREWEBVIEW2_PROCESS_FAILED_KIND>("get_ProcessFailedKind", value, kind_, static_cast<int>(kind_));
}

HRESULT BrowserProcessExitedArgs::get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* value) {
    return Answer<COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND>("get_BrowserProcessExitKind", value, kind_,
                                                          static_cast<int>(kind_));
}

HRESULT BrowserProcessExitedArgs::get_BrowserProcessId(UINT32* value) {
    // No process of its own: the stand-in's.
    const UINT32 id = GetCurrentProcessId();
    return Answer<UINT32>("get_BrowserProcessId", value, id, id);
}

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* value) {
    return Answer<BOOL>("get_IsSuccess", value, success_ ? TRUE : FALSE, success_);
}

HRESULT NavigationCompletedArgs::get_WebErrorStatus(std::int32_t* value) {
    // 0 unknown; 9 "cannot connect", as an app origin nobody answers gives.
    const std::int32_t status = success_ ? 0 : 9;
    return Answer<std::int32_t>("get_WebErrorStatus", value, status, status);
}

HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* value) {
    return Answer<UINT64>("get_NavigationId", value, navigationId_, navigationId_);
}

}  // namespace standin
