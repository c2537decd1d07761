// Windows-only. The event argument objects of the browser events that steps raise.
#pragma once

#include <cstdint>
#include <string>

#include "recorded_object.h"

namespace standin {

class NavigationStartingArgs final
    : public RecordedObject<NavigationStartingArgs, ICoreWebView2NavigationStartingEventArgs> {
public:
    static constexpr char objectName[] = "NavigationStartingArgs";
    NavigationStartingArgs(std::wstring uri, std::uint64_t navigationId, bool userInitiated = true,
                           bool redirected = false);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
    HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* isRedirected) override;
    HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
    HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigationId) override;

    bool cancel = false;

private:
    std::wstring uri_;
    std::uint64_t navigationId_;
    bool userInitiated_;
    bool redirected_;
};

class PermissionRequestedArgs final
    : public RecordedObject<PermissionRequestedArgs, ICoreWebView2PermissionRequestedEventArgs> {
public:
    static constexpr char objectName[] = "PermissionRequestedArgs";
    PermissionRequestedArgs(std::wstring uri, COREWEBVIEW2_PERMISSION_KIND kind);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* permissionKind) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;
    HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override;
    HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override;

    COREWEBVIEW2_PERMISSION_STATE state = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;

private:
    std::wstring uri_;
    COREWEBVIEW2_PERMISSION_KIND kind_;
};

class NewWindowRequestedArgs final
    : public RecordedObject<NewWindowRequestedArgs, ICoreWebView2NewWindowRequestedEventArgs> {
public:
    static constexpr char objectName[] = "NewWindowRequestedArgs";
    NewWindowRequestedArgs(std::wstring uri, bool userInitiated);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* newWindow) override;
    HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** newWindow) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
    HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* isUserInitiated) override;

    bool handled = false;

private:
    std::wstring uri_;
    ComPtr<ICoreWebView2> newWindow_;
    bool userInitiated_;
};

class WebMessageReceivedArgs final
    : public RecordedObject<WebMessageReceivedArgs, ICoreWebView2WebMessageReceivedEventArgs> {
public:
    static constexpr char objectName[] = "WebMessageReceivedArgs";
    // A string message holds text; any other message holds its JSON.
    WebMessageReceivedArgs(std::wstring source, std::wstring message, bool isString);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* value) override;

private:
    std::wstring source_;
    std::wstring message_;
    bool isString_;
};

class AcceleratorKeyPressedArgs final
    : public RecordedObject<AcceleratorKeyPressedArgs, ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    static constexpr char objectName[] = "AcceleratorKeyPressedArgs";
    AcceleratorKeyPressedArgs(UINT virtualKey, COREWEBVIEW2_KEY_EVENT_KIND kind);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* keyEventKind) override;
    HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* virtualKey) override;
    HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lParam) override;
    HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* physicalKeyStatus) override;
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;

    bool handled = false;

private:
    UINT virtualKey_;
    COREWEBVIEW2_KEY_EVENT_KIND kind_;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS status_{};
    INT lParam_ = 0;
};

class DOMContentLoadedArgs final : public RecordedObject<DOMContentLoadedArgs, ICoreWebView2DOMContentLoadedEventArgs> {
public:
    static constexpr char objectName[] = "DOMContentLoadedArgs";
    explicit DOMContentLoadedArgs(std::uint64_t navigationId);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) override;

private:
    std::uint64_t navigationId_;
};

class ProcessFailedArgs final : public RecordedObject<ProcessFailedArgs, ICoreWebView2ProcessFailedEventArgs> {
public:
    static constexpr char objectName[] = "ProcessFailedArgs";
    explicit ProcessFailedArgs(COREWEBVIEW2_PROCESS_FAILED_KIND kind) : kind_(kind) {}
    bool Answers(REFIID iid) const { return iid == __uuidof(ICoreWebView2ProcessFailedEventArgs); }

    HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* value) override;

private:
    COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

class BrowserProcessExitedArgs final
    : public RecordedObject<BrowserProcessExitedArgs, ICoreWebView2BrowserProcessExitedEventArgs> {
public:
    static constexpr char objectName[] = "BrowserProcessExitedArgs";
    explicit BrowserProcessExitedArgs(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind) : kind_(kind) {}
    bool Answers(REFIID iid) const { return iid == __uuidof(ICoreWebView2BrowserProcessExitedEventArgs); }

    HRESULT STDMETHODCALLTYPE get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* value) override;
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) override;

private:
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind_;
};

class NavigationCompletedArgs final
    : public RecordedObject<NavigationCompletedArgs, ICoreWebView2NavigationCompletedEventArgs> {
public:
    static constexpr char objectName[] = "NavigationCompletedArgs";
    NavigationCompletedArgs(bool success, std::uint64_t navigationId)
        : success_(success), navigationId_(navigationId) {}
    bool Answers(REFIID iid) const { return iid == __uuidof(ICoreWebView2NavigationCompletedEventArgs); }

    HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* value) override;
    HRESULT STDMETHODCALLTYPE get_WebErrorStatus(std::int32_t* value) override;
    HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* value) override;

private:
    bool success_;
    std::uint64_t navigationId_;
};

}  // namespace standin
