// Windows-only.
#include "environment.h"

#include <utility>
#include <vector>

#include "controller.h"
#include "controller_options.h"
#include "file_system_handle.h"
#include "object_collection.h"
#include "resource_response.h"

namespace standin {

Environment::Environment(std::wstring userDataFolder) : userDataFolder_(std::move(userDataFolder)) {}

Environment::~Environment() {
    if (Runtime* runtime = Runtime::Existing()) runtime->Record(Event("destroyed:Environment"));
}

HRESULT Environment::add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* eventHandler,
                                              EventRegistrationToken* token) {
    Json line = Call("add_BrowserProcessExited");
    const HRESULT hr = Register(browserProcessExited, eventHandler, token, line);
    Record(std::move(line));
    return hr;
}

HRESULT Environment::remove_BrowserProcessExited(EventRegistrationToken token) {
    Json line = Call("remove_BrowserProcessExited");
    const HRESULT hr = Unregister(browserProcessExited, token, line);
    Record(std::move(line));
    return hr;
}

bool Environment::Answers(REFIID iid) const {
    const Runtime& runtime = Runtime::Get();
    if (IsOneOf(iid, __uuidof(ICoreWebView2Environment), __uuidof(ICoreWebView2Environment2),
                __uuidof(ICoreWebView2Environment3), __uuidof(ICoreWebView2Environment4))) {
        return true;
    }
    if (IsOneOf(iid, __uuidof(ICoreWebView2Environment5), __uuidof(ICoreWebView2Environment6),
                __uuidof(ICoreWebView2Environment7), __uuidof(ICoreWebView2Environment8),
                __uuidof(ICoreWebView2Environment9))) {
        return runtime.Offers(Offer::Environment5);
    }
    if (iid == __uuidof(ICoreWebView2Environment10)) return runtime.Offers(Offer::Environment10);
    if (IsOneOf(iid, __uuidof(ICoreWebView2Environment11), __uuidof(ICoreWebView2Environment12),
                __uuidof(ICoreWebView2Environment13), __uuidof(ICoreWebView2Environment14))) {
        return runtime.Offers(Offer::Environment14);
    }
    return false;
}

namespace {

void DeliverController(const ComPtr<Environment>& environment, HWND parentWindow,
                       const ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>& completion,
                       std::optional<std::int32_t> failure) {
    Deliver("deliver:controller", completion, failure,
            [&] { return MakeObject<Controller>(environment, parentWindow); });
}

}  // namespace

HRESULT Environment::ScheduleController(HWND parentWindow,
                                        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler,
                                        COREWEBVIEW2_COLOR background) {
    if (handler == nullptr) return E_INVALIDARG;
    Runtime& runtime = Runtime::Get();
    runtime.mainWindow = parentWindow;
    auto self = ComPtr<Environment>::Wrap(this);
    auto completion = ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>::Wrap(handler);
    if (LiveEngine* live = runtime.live()) {
        live->CreatePage(background, [self, parentWindow, completion](HRESULT code) {
            DeliverController(self, parentWindow, completion,
                              FAILED(code) ? std::optional<std::int32_t>(code) : std::nullopt);
        });
        return S_OK;
    }
    runtime.After(runtime.scenario().tickMs, [self, parentWindow, completion] {
        DeliverController(self, parentWindow, completion, Runtime::Get().scenario().controllerResult);
    });
    return S_OK;
}

HRESULT Environment::CreateCoreWebView2Controller(HWND parentWindow,
                                                  ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
    Json line = Call("CreateCoreWebView2Controller");
    line["parentWindow"] = HandleText(reinterpret_cast<std::uintptr_t>(parentWindow));
    // Without options the runtime starts with an opaque white background.
    const HRESULT hr = ScheduleController(parentWindow, handler, COREWEBVIEW2_COLOR{255, 255, 255, 255});
    return Finish(std::move(line), hr);
}

HRESULT Environment::CreateCoreWebView2ControllerOptions(ICoreWebView2ControllerOptions** value) {
    Json line = Call("CreateCoreWebView2ControllerOptions");
    if (value == nullptr) return Finish(std::move(line), E_POINTER);
    Record(std::move(line));
    *value = MakeObject<ControllerOptions>().detach()->AsInterface();
    return S_OK;
}

HRESULT Environment::CreateCoreWebView2ControllerWithOptions(
    HWND ParentWindow, ICoreWebView2ControllerOptions* options,
    ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
    Json line = Call("CreateCoreWebView2ControllerWithOptions");
    line["parentWindow"] = HandleText(reinterpret_cast<std::uintptr_t>(ParentWindow));
    COREWEBVIEW2_COLOR background{255, 255, 255, 255};
    if (options == nullptr) {
        line["options"] = nullptr;
    } else if (const ControllerOptions* own = ControllerOptions::FromInterface(options)) {
        line["options"] = own->Describe();
        background = own->background();
    } else {
        line["options"] = "other";
    }
    const HRESULT hr = ScheduleController(ParentWindow, handler, background);
    return Finish(std::move(line), hr);
}

HRESULT Environment::CreateWebResourceResponse(IStream* content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
                                               ICoreWebView2WebResourceResponse** response) {
    Json line = Call("CreateWebResourceResponse");
    line["statusCode"] = statusCode;
    line["reasonPhrase"] = WideJson(reasonPhrase);
    line["headers"] = WideJson(headers);
    line["content"] = content != nullptr;
    if (response == nullptr) return Finish(std::move(line), E_POINTER);
    Record(std::move(line));
    *response = MakeObject<Response>(content, statusCode, reasonPhrase ? reasonPhrase : L"", headers ? headers : L"")
                    .detach()
                    ->AsInterface();
    return S_OK;
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* versionInfo) {
    return AnswerText("get_BrowserVersionString", versionInfo, Utf8ToWide(Runtime::Get().scenario().browserVersion));
}

HRESULT Environment::get_UserDataFolder(LPWSTR* value) {
    return AnswerText("get_UserDataFolder", value, userDataFolder_);
}

HRESULT Environment::CreateHandle(const char* method, COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND kind, LPCWSTR path,
                                  COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
                                  ICoreWebView2FileSystemHandle** value) {
    Json line = Call(method);
    line["path"] = WideJson(path);
    line["permission"] = static_cast<int>(permission);
    HRESULT hr = S_OK;
    if (value == nullptr) {
        hr = E_POINTER;
    } else if (path == nullptr) {
        *value = nullptr;
        hr = E_INVALIDARG;
    } else {
        *value = MakeObject<FileSystemHandle>(kind, path, permission).detach()->AsInterface();
    }
    return Finish(std::move(line), hr);
}

HRESULT Environment::CreateWebFileSystemFileHandle(LPCWSTR path, COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
                                                   ICoreWebView2FileSystemHandle** value) {
    return CreateHandle("CreateWebFileSystemFileHandle", COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND_FILE, path, permission,
                        value);
}

HRESULT Environment::CreateWebFileSystemDirectoryHandle(LPCWSTR path,
                                                        COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
                                                        ICoreWebView2FileSystemHandle** value) {
    return CreateHandle("CreateWebFileSystemDirectoryHandle", COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND_DIRECTORY, path,
                        permission, value);
}

HRESULT Environment::CreateObjectCollection(UINT32 length, IUnknown** items,
                                            ICoreWebView2ObjectCollection** objectCollection) {
    Json line = Call("CreateObjectCollection");
    line["length"] = length;
    HRESULT hr = S_OK;
    std::vector<ComPtr<IUnknown>> held;
    if (objectCollection == nullptr) {
        hr = E_POINTER;
    } else if (items == nullptr && length != 0) {
        *objectCollection = nullptr;
        hr = E_INVALIDARG;
    } else {
        Json described = Json::array();
        for (UINT32 i = 0; i < length; ++i) {
            described.push_back(DescribeCollectionItem(items[i]));
            held.push_back(ComPtr<IUnknown>::Wrap(items[i]));
        }
        line["items"] = std::move(described);
        *objectCollection = MakeObject<ObjectCollection>(std::move(held)).detach()->AsInterface();
    }
    return Finish(std::move(line), hr);
}

}  // namespace standin
