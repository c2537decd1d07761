// Windows-only. The browser environment (ICoreWebView2Environment to 14): makes
// controllers, responses, file-system handles and object collections.
#pragma once

#include <string>

#include "handler_list.h"
#include "recorded_object.h"

namespace standin {

class Environment final : public RecordedObject<Environment, ICoreWebView2Environment14> {
public:
    static constexpr char objectName[] = "Environment";
    explicit Environment(std::wstring userDataFolder);
    ~Environment();
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase,
                                                        LPCWSTR headers,
                                                        ICoreWebView2WebResourceResponse** response) override;
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* versionInfo) override;
    HRESULT STDMETHODCALLTYPE get_UserDataFolder(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerOptions(ICoreWebView2ControllerOptions** value) override;
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerWithOptions(
        HWND ParentWindow, ICoreWebView2ControllerOptions* options,
        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebFileSystemFileHandle(LPCWSTR path,
                                                            COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
                                                            ICoreWebView2FileSystemHandle** value) override;
    HRESULT STDMETHODCALLTYPE CreateWebFileSystemDirectoryHandle(LPCWSTR path,
                                                                 COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
                                                                 ICoreWebView2FileSystemHandle** value) override;
    HRESULT STDMETHODCALLTYPE CreateObjectCollection(UINT32 length, IUnknown** items,
                                                     ICoreWebView2ObjectCollection** objectCollection) override;
    HRESULT STDMETHODCALLTYPE add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* eventHandler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_BrowserProcessExited(EventRegistrationToken token) override;

    HandlerList<ICoreWebView2BrowserProcessExitedEventHandler> browserProcessExited;

private:
    // Answers the request from a timer tick, after the call has returned.
    HRESULT ScheduleController(HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler,
                               COREWEBVIEW2_COLOR background);
    HRESULT CreateHandle(const char* method, COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND kind, LPCWSTR path,
                         COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission, ICoreWebView2FileSystemHandle** value);

    std::wstring userDataFolder_;
};

}  // namespace standin
