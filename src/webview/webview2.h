// WebView2 COM interfaces as the host sees them: every slot of every
// interface the host calls, implements or receives, in virtual-table order.
// Slots the host never calls are declared too; a missing one would shift
// every later slot and make the runtime call the wrong function.
// Windows-only.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>
#include <eventtoken.h>

#include <cstdint>

// Interfaces declared below.
struct ICoreWebView2Environment;
struct ICoreWebView2Environment2;
struct ICoreWebView2Environment3;
struct ICoreWebView2Environment4;
struct ICoreWebView2Environment5;
struct ICoreWebView2Environment6;
struct ICoreWebView2Environment7;
struct ICoreWebView2Environment8;
struct ICoreWebView2Environment9;
struct ICoreWebView2Environment10;
struct ICoreWebView2Environment11;
struct ICoreWebView2Environment12;
struct ICoreWebView2Environment13;
struct ICoreWebView2Environment14;
struct ICoreWebView2EnvironmentOptions;
struct ICoreWebView2EnvironmentOptions2;
struct ICoreWebView2EnvironmentOptions3;
struct ICoreWebView2EnvironmentOptions4;
struct ICoreWebView2EnvironmentOptions5;
struct ICoreWebView2EnvironmentOptions6;
struct ICoreWebView2EnvironmentOptions7;
struct ICoreWebView2EnvironmentOptions8;
struct ICoreWebView2CustomSchemeRegistration;
struct ICoreWebView2ControllerOptions;
struct ICoreWebView2ControllerOptions2;
struct ICoreWebView2ControllerOptions3;
struct ICoreWebView2ControllerOptions4;
struct ICoreWebView2Controller;
struct ICoreWebView2;
struct ICoreWebView2_2;
struct ICoreWebView2_3;
struct ICoreWebView2_4;
struct ICoreWebView2_5;
struct ICoreWebView2_6;
struct ICoreWebView2_7;
struct ICoreWebView2_8;
struct ICoreWebView2_9;
struct ICoreWebView2_10;
struct ICoreWebView2_11;
struct ICoreWebView2_12;
struct ICoreWebView2_13;
struct ICoreWebView2_14;
struct ICoreWebView2_15;
struct ICoreWebView2_16;
struct ICoreWebView2_17;
struct ICoreWebView2_18;
struct ICoreWebView2_19;
struct ICoreWebView2_20;
struct ICoreWebView2_21;
struct ICoreWebView2_22;
struct ICoreWebView2_23;
struct ICoreWebView2Settings;
struct ICoreWebView2Settings2;
struct ICoreWebView2Settings3;
struct ICoreWebView2Settings4;
struct ICoreWebView2Settings5;
struct ICoreWebView2Settings6;
struct ICoreWebView2Settings7;
struct ICoreWebView2Settings8;
struct ICoreWebView2WebResourceRequestedEventArgs;
struct ICoreWebView2WebResourceRequest;
struct ICoreWebView2HttpRequestHeaders;
struct ICoreWebView2HttpHeadersCollectionIterator;
struct ICoreWebView2WebResourceResponse;
struct ICoreWebView2HttpResponseHeaders;
struct ICoreWebView2NavigationStartingEventArgs;
struct ICoreWebView2PermissionRequestedEventArgs;
struct ICoreWebView2NewWindowRequestedEventArgs;
struct ICoreWebView2WebMessageReceivedEventArgs;
struct ICoreWebView2AcceleratorKeyPressedEventArgs;
struct ICoreWebView2DOMContentLoadedEventArgs;
struct ICoreWebView2FileSystemHandle;
struct ICoreWebView2ObjectCollectionView;
struct ICoreWebView2ObjectCollection;
struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler;
struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler;
struct ICoreWebView2AcceleratorKeyPressedEventHandler;
struct ICoreWebView2DocumentTitleChangedEventHandler;
struct ICoreWebView2WebResourceRequestedEventHandler;
struct ICoreWebView2NavigationStartingEventHandler;
struct ICoreWebView2PermissionRequestedEventHandler;
struct ICoreWebView2ContainsFullScreenElementChangedEventHandler;
struct ICoreWebView2WindowCloseRequestedEventHandler;
struct ICoreWebView2NewWindowRequestedEventHandler;
struct ICoreWebView2WebMessageReceivedEventHandler;
struct ICoreWebView2DOMContentLoadedEventHandler;

// Value types passed to and from the runtime.
struct COREWEBVIEW2_COLOR {
  BYTE A;
  BYTE R;
  BYTE G;
  BYTE B;
};

struct COREWEBVIEW2_PHYSICAL_KEY_STATUS {
  UINT32 RepeatCount;
  UINT32 ScanCode;
  BOOL IsExtendedKey;
  BOOL IsMenuKeyDown;
  BOOL WasKeyDown;
  BOOL IsKeyReleased;
};

// Enumerations (32-bit).
enum COREWEBVIEW2_WEB_RESOURCE_CONTEXT : std::int32_t {
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL = 0,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT = 1,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_STYLESHEET = 2,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_IMAGE = 3,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MEDIA = 4,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FONT = 5,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SCRIPT = 6,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_XML_HTTP_REQUEST = 7,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH = 8,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_TEXT_TRACK = 9,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_EVENT_SOURCE = 10,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_WEBSOCKET = 11,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_MANIFEST = 12,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_SIGNED_EXCHANGE = 13,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_PING = 14,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_CSP_VIOLATION_REPORT = 15,
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER = 16,
};

enum COREWEBVIEW2_MOVE_FOCUS_REASON : std::int32_t {
  COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC = 0,
  COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT = 1,
  COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS = 2,
};

enum COREWEBVIEW2_PERMISSION_STATE : std::int32_t {
  COREWEBVIEW2_PERMISSION_STATE_DEFAULT = 0,
  COREWEBVIEW2_PERMISSION_STATE_ALLOW = 1,
  COREWEBVIEW2_PERMISSION_STATE_DENY = 2,
};

enum COREWEBVIEW2_PERMISSION_KIND : std::int32_t {
  COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION = 0,
  COREWEBVIEW2_PERMISSION_KIND_MICROPHONE = 1,
  COREWEBVIEW2_PERMISSION_KIND_CAMERA = 2,
  COREWEBVIEW2_PERMISSION_KIND_GEOLOCATION = 3,
  COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS = 4,
  COREWEBVIEW2_PERMISSION_KIND_OTHER_SENSORS = 5,
  COREWEBVIEW2_PERMISSION_KIND_CLIPBOARD_READ = 6,
  COREWEBVIEW2_PERMISSION_KIND_MULTIPLE_AUTOMATIC_DOWNLOADS = 7,
  COREWEBVIEW2_PERMISSION_KIND_FILE_READ_WRITE = 8,
  COREWEBVIEW2_PERMISSION_KIND_AUTOPLAY = 9,
  COREWEBVIEW2_PERMISSION_KIND_LOCAL_FONTS = 10,
  COREWEBVIEW2_PERMISSION_KIND_MIDI_SYSTEM_EXCLUSIVE_MESSAGES = 11,
  COREWEBVIEW2_PERMISSION_KIND_WINDOW_MANAGEMENT = 12,
};

enum COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION : std::int32_t {
  COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_ONLY = 0,
  COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE = 1,
};

enum COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND : std::int32_t {
  COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND_FILE = 0,
  COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND_DIRECTORY = 1,
};

enum COREWEBVIEW2_KEY_EVENT_KIND : std::int32_t {
  COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN = 0,
  COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP = 1,
  COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN = 2,
  COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP = 3,
};

enum COREWEBVIEW2_CHANNEL_SEARCH_KIND : std::int32_t {
  COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE = 0,
  COREWEBVIEW2_CHANNEL_SEARCH_KIND_LEAST_STABLE = 1,
};

enum COREWEBVIEW2_RELEASE_CHANNELS : std::int32_t {
  COREWEBVIEW2_RELEASE_CHANNELS_NONE = 0,
  COREWEBVIEW2_RELEASE_CHANNELS_STABLE = 1,
  COREWEBVIEW2_RELEASE_CHANNELS_BETA = 2,
  COREWEBVIEW2_RELEASE_CHANNELS_DEV = 4,
  COREWEBVIEW2_RELEASE_CHANNELS_CANARY = 8,
  COREWEBVIEW2_RELEASE_CHANNELS_INTERNAL = 0x10,  // bit 4, above CANARY
};
DEFINE_ENUM_FLAG_OPERATORS(COREWEBVIEW2_RELEASE_CHANNELS)

enum COREWEBVIEW2_SCROLLBAR_STYLE : std::int32_t {
  COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT = 0,
  COREWEBVIEW2_SCROLLBAR_STYLE_FLUENT_OVERLAY = 1,
};

enum COREWEBVIEW2_PROCESS_FAILED_KIND : std::int32_t {
  COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED = 0,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED = 1,
  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE = 2,
  COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED = 3,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UTILITY_PROCESS_EXITED = 4,
  COREWEBVIEW2_PROCESS_FAILED_KIND_SANDBOX_HELPER_PROCESS_EXITED = 5,
  COREWEBVIEW2_PROCESS_FAILED_KIND_GPU_PROCESS_EXITED = 6,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_PLUGIN_PROCESS_EXITED = 7,
  COREWEBVIEW2_PROCESS_FAILED_KIND_PPAPI_BROKER_PROCESS_EXITED = 8,
  COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED = 9,
};

enum COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND : std::int32_t {
  COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL = 0,
  COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED = 1,
};

// Which requests a resource filter covers, by what made them (a bit set).
enum COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS : std::int32_t {
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_NONE = 0,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT = 1,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SHARED_WORKER = 2,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_SERVICE_WORKER = 4,
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL = -1,  // 0xFFFFFFFF
};
DEFINE_ENUM_FLAG_OPERATORS(COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS)

// Enumerations that only appear in slots the host never calls.
enum COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND : std::int32_t {};
enum COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT : std::int32_t {};
enum COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND : std::int32_t {};
enum COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT : std::int32_t {};
enum COREWEBVIEW2_FAVICON_IMAGE_FORMAT : std::int32_t {};
enum COREWEBVIEW2_PRINT_DIALOG_KIND : std::int32_t {};
enum COREWEBVIEW2_SHARED_BUFFER_ACCESS : std::int32_t {};
enum COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL : std::int32_t {};
enum COREWEBVIEW2_PDF_TOOLBAR_ITEMS : std::int32_t {};
DEFINE_ENUM_FLAG_OPERATORS(COREWEBVIEW2_PDF_TOOLBAR_ITEMS)

// Interfaces that only appear in slots the host never calls: opaque.
struct ICoreWebView2NewBrowserVersionAvailableEventHandler : public IUnknown {};
struct ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler : public IUnknown {};
struct ICoreWebView2PointerInfo : public IUnknown {};
struct ICoreWebView2BrowserProcessExitedEventHandler;
struct ICoreWebView2PrintSettings : public IUnknown {};
struct ICoreWebView2ProcessInfosChangedEventHandler : public IUnknown {};
struct ICoreWebView2ProcessInfoCollection : public IUnknown {};
struct ICoreWebView2ContextMenuItem : public IUnknown {};
struct ICoreWebView2SharedBuffer : public IUnknown {};
struct ICoreWebView2GetProcessExtendedInfosCompletedHandler : public IUnknown {};
struct ICoreWebView2ZoomFactorChangedEventHandler : public IUnknown {};
struct ICoreWebView2MoveFocusRequestedEventHandler : public IUnknown {};
struct ICoreWebView2FocusChangedEventHandler : public IUnknown {};
struct ICoreWebView2ContentLoadingEventHandler : public IUnknown {};
struct ICoreWebView2SourceChangedEventHandler : public IUnknown {};
struct ICoreWebView2HistoryChangedEventHandler : public IUnknown {};
struct ICoreWebView2NavigationCompletedEventHandler;
struct ICoreWebView2ScriptDialogOpeningEventHandler : public IUnknown {};
struct ICoreWebView2ProcessFailedEventHandler;
struct ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler : public IUnknown {};
struct ICoreWebView2ExecuteScriptCompletedHandler : public IUnknown {};
struct ICoreWebView2CapturePreviewCompletedHandler : public IUnknown {};
struct ICoreWebView2CallDevToolsProtocolMethodCompletedHandler : public IUnknown {};
struct ICoreWebView2DevToolsProtocolEventReceiver : public IUnknown {};
struct ICoreWebView2WebResourceResponseReceivedEventHandler : public IUnknown {};
struct ICoreWebView2CookieManager : public IUnknown {};
struct ICoreWebView2TrySuspendCompletedHandler : public IUnknown {};
struct ICoreWebView2FrameCreatedEventHandler : public IUnknown {};
struct ICoreWebView2DownloadStartingEventHandler : public IUnknown {};
struct ICoreWebView2ClientCertificateRequestedEventHandler : public IUnknown {};
struct ICoreWebView2PrintToPdfCompletedHandler : public IUnknown {};
struct ICoreWebView2IsMutedChangedEventHandler : public IUnknown {};
struct ICoreWebView2IsDocumentPlayingAudioChangedEventHandler : public IUnknown {};
struct ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler : public IUnknown {};
struct ICoreWebView2BasicAuthenticationRequestedEventHandler : public IUnknown {};
struct ICoreWebView2ContextMenuRequestedEventHandler : public IUnknown {};
struct ICoreWebView2StatusBarTextChangedEventHandler : public IUnknown {};
struct ICoreWebView2Profile : public IUnknown {};
struct ICoreWebView2ServerCertificateErrorDetectedEventHandler : public IUnknown {};
struct ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler : public IUnknown {};
struct ICoreWebView2FaviconChangedEventHandler : public IUnknown {};
struct ICoreWebView2GetFaviconCompletedHandler : public IUnknown {};
struct ICoreWebView2PrintCompletedHandler : public IUnknown {};
struct ICoreWebView2PrintToPdfStreamCompletedHandler : public IUnknown {};
struct ICoreWebView2LaunchingExternalUriSchemeEventHandler : public IUnknown {};
struct ICoreWebView2ExecuteScriptWithResultCompletedHandler : public IUnknown {};
struct ICoreWebView2Deferral : public IUnknown {};
struct ICoreWebView2WindowFeatures : public IUnknown {};

struct ICoreWebView2Environment : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(  // 3
      HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(  // 4
      IStream *content, int statusCode, LPCWSTR reasonPhrase, LPCWSTR headers,
      ICoreWebView2WebResourceResponse **response) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR *versionInfo) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(  // 6
      ICoreWebView2NewBrowserVersionAvailableEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(  // 7
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment, 0xb96d755e, 0x0319, 0x4e92, 0xa2, 0x96, 0x23, 0x43, 0x6f, 0x46, 0xa1, 0xfc)

struct ICoreWebView2Environment2 : public ICoreWebView2Environment {
  virtual HRESULT STDMETHODCALLTYPE CreateWebResourceRequest(  // 8
      LPCWSTR uri, LPCWSTR Method, IStream *postData, LPCWSTR Headers,
      ICoreWebView2WebResourceRequest **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment2, 0x41f3632b, 0x5ef4, 0x404f, 0xad, 0x82, 0x2d, 0x60, 0x6c, 0x5a, 0x9a, 0x21)

struct ICoreWebView2Environment3 : public ICoreWebView2Environment2 {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionController(  // 9
      HWND ParentWindow,
      ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2PointerInfo(  // 10
      ICoreWebView2PointerInfo **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment3, 0x80a22ae3, 0xbe7c, 0x4ce2, 0xaf, 0xe1, 0x5a, 0x50, 0x05, 0x6c, 0xde, 0xeb)

struct ICoreWebView2Environment4 : public ICoreWebView2Environment3 {
  virtual HRESULT STDMETHODCALLTYPE GetAutomationProviderForWindow(  // 11
      HWND hwnd, IUnknown **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment4, 0x20944379, 0x6dcf, 0x41d6, 0xa0, 0xa0, 0xab, 0xc0, 0xfc, 0x50, 0xde, 0x0d)

struct ICoreWebView2Environment5 : public ICoreWebView2Environment4 {
  virtual HRESULT STDMETHODCALLTYPE add_BrowserProcessExited(  // 12
      ICoreWebView2BrowserProcessExitedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_BrowserProcessExited(  // 13
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment5, 0x319e423d, 0xe0d7, 0x4b8d, 0x92, 0x54, 0xae, 0x94, 0x75, 0xde, 0x9b, 0x17)

struct ICoreWebView2Environment6 : public ICoreWebView2Environment5 {
  virtual HRESULT STDMETHODCALLTYPE CreatePrintSettings(  // 14
      ICoreWebView2PrintSettings **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment6, 0xe59ee362, 0xacbd, 0x4857, 0x9a, 0x8e, 0xd3, 0x64, 0x4d, 0x94, 0x59, 0xa9)

struct ICoreWebView2Environment7 : public ICoreWebView2Environment6 {
  virtual HRESULT STDMETHODCALLTYPE get_UserDataFolder(LPWSTR *value) = 0;  // 15
};
__CRT_UUID_DECL(ICoreWebView2Environment7, 0x43c22296, 0x3bbd, 0x43a4, 0x9c, 0x00, 0x5c, 0x0d, 0xf6, 0xdd, 0x29, 0xa2)

struct ICoreWebView2Environment8 : public ICoreWebView2Environment7 {
  virtual HRESULT STDMETHODCALLTYPE add_ProcessInfosChanged(  // 16
      ICoreWebView2ProcessInfosChangedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ProcessInfosChanged(  // 17
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProcessInfos(  // 18
      ICoreWebView2ProcessInfoCollection **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment8, 0xd6eb91dd, 0xc3d2, 0x45e5, 0xbd, 0x29, 0x6d, 0xc2, 0xbc, 0x4d, 0xe9, 0xcf)

struct ICoreWebView2Environment9 : public ICoreWebView2Environment8 {
  virtual HRESULT STDMETHODCALLTYPE CreateContextMenuItem(  // 19
      LPCWSTR Label, IStream *iconStream, COREWEBVIEW2_CONTEXT_MENU_ITEM_KIND Kind,
      ICoreWebView2ContextMenuItem **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment9, 0xf06f41bf, 0x4b5a, 0x49d8, 0xb9, 0xf6, 0xfa, 0x16, 0xcd, 0x29, 0xf2, 0x74)

struct ICoreWebView2Environment10 : public ICoreWebView2Environment9 {
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerOptions(  // 20
      ICoreWebView2ControllerOptions **value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2ControllerWithOptions(  // 21
      HWND ParentWindow, ICoreWebView2ControllerOptions *options,
      ICoreWebView2CreateCoreWebView2ControllerCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionControllerWithOptions(  // 22
      HWND ParentWindow, ICoreWebView2ControllerOptions *options,
      ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment10, 0xee0eb9df, 0x6f12, 0x46ce, 0xb5, 0x3f, 0x3f, 0x47, 0xb9, 0xc9, 0x28, 0xe0)

struct ICoreWebView2Environment11 : public ICoreWebView2Environment10 {
  virtual HRESULT STDMETHODCALLTYPE get_FailureReportFolderPath(LPWSTR *value) = 0;  // 23
};
__CRT_UUID_DECL(ICoreWebView2Environment11, 0xf0913dc6, 0xa0ec, 0x42ef, 0x98, 0x05, 0x91, 0xdf, 0xf3, 0xa2, 0x96, 0x6a)

struct ICoreWebView2Environment12 : public ICoreWebView2Environment11 {
  virtual HRESULT STDMETHODCALLTYPE CreateSharedBuffer(  // 24
      UINT64 Size, ICoreWebView2SharedBuffer **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment12, 0xf503db9b, 0x739f, 0x48dd, 0xb1, 0x51, 0xfd, 0xfc, 0xf2, 0x53, 0xf5, 0x4e)

struct ICoreWebView2Environment13 : public ICoreWebView2Environment12 {
  virtual HRESULT STDMETHODCALLTYPE GetProcessExtendedInfos(  // 25
      ICoreWebView2GetProcessExtendedInfosCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment13, 0xaf641f58, 0x72b2, 0x11ee, 0xb9, 0x62, 0x02, 0x42, 0xac, 0x12, 0x00, 0x02)

struct ICoreWebView2Environment14 : public ICoreWebView2Environment13 {
  virtual HRESULT STDMETHODCALLTYPE CreateWebFileSystemFileHandle(  // 26
      LPCWSTR path, COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
      ICoreWebView2FileSystemHandle **value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateWebFileSystemDirectoryHandle(  // 27
      LPCWSTR path, COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission,
      ICoreWebView2FileSystemHandle **value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateObjectCollection(  // 28
      UINT32 length, IUnknown **items, ICoreWebView2ObjectCollection **objectCollection) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Environment14, 0xa5e9fad9, 0xc875, 0x59da, 0x9b, 0xd7, 0x47, 0x3a, 0xa5, 0xca, 0x1c, 0xef)

struct ICoreWebView2EnvironmentOptions : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_Language(LPWSTR *value) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR *value) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(  // 9
      BOOL *allow) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(  // 10
      BOOL allow) = 0;
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions, 0x2fde08a8, 0x1e9a, 0x4766, 0x8c, 0x05, 0x95, 0xa9, 0xce, 0xb9, 0xd1, 0xc5)

struct ICoreWebView2EnvironmentOptions2 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions2, 0xff85c98a, 0x1ba7, 0x4a6b, 0x90, 0xc8, 0x2b, 0x75, 0x2c, 0x89, 0xe9, 0xe2)

struct ICoreWebView2EnvironmentOptions3 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions3, 0x4a5c436e, 0xa9e3, 0x4a2e, 0x89, 0xc3, 0x91, 0x0d, 0x35, 0x13, 0xf5, 0xcc)

struct ICoreWebView2EnvironmentOptions4 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(  // 3
      UINT32 *count, ICoreWebView2CustomSchemeRegistration ***schemeRegistrations) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(  // 4
      UINT32 count, ICoreWebView2CustomSchemeRegistration **schemeRegistrations) = 0;
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions4, 0xac52d13f, 0x0d38, 0x475a, 0x9d, 0xca, 0x87, 0x65, 0x80, 0xd6, 0x79, 0x3e)

struct ICoreWebView2EnvironmentOptions5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions5, 0x0ae35d64, 0xc47f, 0x4464, 0x81, 0x4e, 0x25, 0x9c, 0x34, 0x5d, 0x15, 0x01)

struct ICoreWebView2EnvironmentOptions6 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions6, 0x57d29cc3, 0xc84f, 0x42a0, 0xb0, 0xe2, 0xef, 0xfb, 0xd5, 0xe1, 0x79, 0xde)

struct ICoreWebView2EnvironmentOptions7 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(  // 3
      COREWEBVIEW2_CHANNEL_SEARCH_KIND *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(  // 4
      COREWEBVIEW2_CHANNEL_SEARCH_KIND value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReleaseChannels(  // 5
      COREWEBVIEW2_RELEASE_CHANNELS *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ReleaseChannels(  // 6
      COREWEBVIEW2_RELEASE_CHANNELS value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions7, 0xc48d539f, 0xe39f, 0x441c, 0xae, 0x68, 0x1f, 0x66, 0xe5, 0x70, 0xbd, 0xc5)

struct ICoreWebView2EnvironmentOptions8 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(  // 3
      COREWEBVIEW2_SCROLLBAR_STYLE *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(  // 4
      COREWEBVIEW2_SCROLLBAR_STYLE value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2EnvironmentOptions8, 0x7c7ecf51, 0xe918, 0x5caf, 0x85, 0x3c, 0xe9, 0xa2, 0xbc, 0xc2, 0x77, 0x75)

struct ICoreWebView2CustomSchemeRegistration : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_SchemeName(LPWSTR *schemeName) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_TreatAsSecure(BOOL *treatAsSecure) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE put_TreatAsSecure(BOOL value) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE GetAllowedOrigins(  // 6
      UINT32 *allowedOriginsCount, LPWSTR **allowedOrigins) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetAllowedOrigins(  // 7
      UINT32 allowedOriginsCount, LPCWSTR *allowedOrigins) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HasAuthorityComponent(  // 8
      BOOL *hasAuthorityComponent) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_HasAuthorityComponent(BOOL hasAuthorityComponent) = 0;  // 9
};
__CRT_UUID_DECL(ICoreWebView2CustomSchemeRegistration, 0xd60ac92c, 0x37a6, 0x4b26, 0xa3, 0x9e, 0x95, 0xcf, 0xe5, 0x90, 0x47, 0xbb)

struct ICoreWebView2ControllerOptions : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ProfileName(LPWSTR *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_ProfileName(LPCWSTR value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_IsInPrivateModeEnabled(BOOL *value) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_IsInPrivateModeEnabled(BOOL value) = 0;  // 6
};
__CRT_UUID_DECL(ICoreWebView2ControllerOptions, 0x12aae616, 0x8ccb, 0x44ec, 0xbc, 0xb3, 0xeb, 0x18, 0x31, 0x88, 0x16, 0x35)

struct ICoreWebView2ControllerOptions2 : public ICoreWebView2ControllerOptions {
  virtual HRESULT STDMETHODCALLTYPE get_ScriptLocale(LPWSTR *value) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_ScriptLocale(LPCWSTR value) = 0;  // 8
};
__CRT_UUID_DECL(ICoreWebView2ControllerOptions2, 0x06c991d8, 0x9e7e, 0x11ed, 0xa8, 0xfc, 0x02, 0x42, 0xac, 0x12, 0x00, 0x02)

struct ICoreWebView2ControllerOptions3 : public ICoreWebView2ControllerOptions2 {
  virtual HRESULT STDMETHODCALLTYPE get_DefaultBackgroundColor(COREWEBVIEW2_COLOR *value) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR value) = 0;  // 10
};
__CRT_UUID_DECL(ICoreWebView2ControllerOptions3, 0xb32b191a, 0x8998, 0x57ca, 0xb7, 0xcb, 0xe0, 0x46, 0x17, 0xe4, 0xce, 0x4a)

struct ICoreWebView2ControllerOptions4 : public ICoreWebView2ControllerOptions3 {
  virtual HRESULT STDMETHODCALLTYPE get_AllowHostInputProcessing(BOOL *value) = 0;  // 11
  virtual HRESULT STDMETHODCALLTYPE put_AllowHostInputProcessing(BOOL value) = 0;  // 12
};
__CRT_UUID_DECL(ICoreWebView2ControllerOptions4, 0x21eb052f, 0xad39, 0x555e, 0x82, 0x4a, 0xc8, 0x7b, 0x09, 0x1d, 0x4d, 0x36)

struct ICoreWebView2Controller : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL *isVisible) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_Bounds(RECT *bounds) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_ZoomFactor(double *zoomFactor) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(  // 9
      ICoreWebView2ZoomFactorChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(  // 10
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(  // 11
      RECT bounds, double zoomFactor) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(  // 13
      ICoreWebView2MoveFocusRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(  // 14
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_GotFocus(  // 15
      ICoreWebView2FocusChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) = 0;  // 16
  virtual HRESULT STDMETHODCALLTYPE add_LostFocus(  // 17
      ICoreWebView2FocusChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) = 0;  // 18
  virtual HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(  // 19
      ICoreWebView2AcceleratorKeyPressedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(  // 20
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND *parentWindow) = 0;  // 21
  virtual HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) = 0;  // 22
  virtual HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() = 0;  // 23
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;  // 24
  virtual HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2 **coreWebView2) = 0;  // 25
};
__CRT_UUID_DECL(ICoreWebView2Controller, 0x4d00c0d1, 0x9434, 0x4eb6, 0x80, 0x78, 0x86, 0x97, 0xa5, 0x60, 0x33, 0x4f)

struct ICoreWebView2 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings **settings) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR *uri) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(  // 7
      ICoreWebView2NavigationStartingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(  // 8
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(  // 9
      ICoreWebView2ContentLoadingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;  // 10
  virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(  // 11
      ICoreWebView2SourceChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(  // 13
      ICoreWebView2HistoryChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;  // 14
  virtual HRESULT STDMETHODCALLTYPE add_NavigationCompleted(  // 15
      ICoreWebView2NavigationCompletedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(  // 16
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(  // 17
      ICoreWebView2NavigationStartingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(  // 18
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(  // 19
      ICoreWebView2NavigationCompletedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(  // 20
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(  // 21
      ICoreWebView2ScriptDialogOpeningEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(  // 22
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_PermissionRequested(  // 23
      ICoreWebView2PermissionRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(  // 24
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(  // 25
      ICoreWebView2ProcessFailedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;  // 26
  virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(  // 27
      LPCWSTR javaScript,
      ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;  // 28
  virtual HRESULT STDMETHODCALLTYPE ExecuteScript(  // 29
      LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE CapturePreview(  // 30
      COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream *imageStream,
      ICoreWebView2CapturePreviewCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reload() = 0;  // 31
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) = 0;  // 32
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) = 0;  // 33
  virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(  // 34
      ICoreWebView2WebMessageReceivedEventHandler *handler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(  // 35
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(  // 36
      LPCWSTR methodName, LPCWSTR parametersAsJson,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32 *value) = 0;  // 37
  virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL *canGoBack) = 0;  // 38
  virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL *canGoForward) = 0;  // 39
  virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;  // 40
  virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;  // 41
  virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(  // 42
      LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver **receiver) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;  // 43
  virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(  // 44
      ICoreWebView2NewWindowRequestedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(  // 45
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(  // 46
      ICoreWebView2DocumentTitleChangedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(  // 47
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR *title) = 0;  // 48
  virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT *object) = 0;  // 49
  virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;  // 50
  virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;  // 51
  virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(  // 52
      ICoreWebView2ContainsFullScreenElementChangedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContainsFullScreenElementChanged(  // 53
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(  // 54
      BOOL *containsFullScreenElement) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_WebResourceRequested(  // 55
      ICoreWebView2WebResourceRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(  // 56
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(  // 57
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(  // 58
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_WindowCloseRequested(  // 59
      ICoreWebView2WindowCloseRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(  // 60
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2, 0x76eceacb, 0x0462, 0x4d94, 0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77, 0x5e)

struct ICoreWebView2_2 : public ICoreWebView2 {
  virtual HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(  // 61
      ICoreWebView2WebResourceResponseReceivedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebResourceResponseReceived(  // 62
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE NavigateWithWebResourceRequest(  // 63
      ICoreWebView2WebResourceRequest *request) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(  // 64
      ICoreWebView2DOMContentLoadedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(  // 65
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CookieManager(  // 66
      ICoreWebView2CookieManager **cookieManager) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Environment(  // 67
      ICoreWebView2Environment **environment) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_2, 0x9e8f0cf8, 0xe670, 0x4b5e, 0xb2, 0xbc, 0x73, 0xe0, 0x61, 0xe3, 0x18, 0x4c)

struct ICoreWebView2_3 : public ICoreWebView2_2 {
  virtual HRESULT STDMETHODCALLTYPE TrySuspend(  // 68
      ICoreWebView2TrySuspendCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE Resume() = 0;  // 69
  virtual HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL *isSuspended) = 0;  // 70
  virtual HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(  // 71
      LPCWSTR hostName, LPCWSTR folderPath, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(  // 72
      LPCWSTR hostName) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_3, 0xa0d6df20, 0x3b92, 0x416d, 0xaa, 0x0c, 0x43, 0x7a, 0x9c, 0x72, 0x78, 0x57)

struct ICoreWebView2_4 : public ICoreWebView2_3 {
  virtual HRESULT STDMETHODCALLTYPE add_FrameCreated(  // 73
      ICoreWebView2FrameCreatedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) = 0;  // 74
  virtual HRESULT STDMETHODCALLTYPE add_DownloadStarting(  // 75
      ICoreWebView2DownloadStartingEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DownloadStarting(  // 76
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_4, 0x20d02d59, 0x6df2, 0x42dc, 0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b, 0x13, 0x02)

struct ICoreWebView2_5 : public ICoreWebView2_4 {
  virtual HRESULT STDMETHODCALLTYPE add_ClientCertificateRequested(  // 77
      ICoreWebView2ClientCertificateRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ClientCertificateRequested(  // 78
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_5, 0xbedb11b8, 0xd63c, 0x11eb, 0xb8, 0xbc, 0x02, 0x42, 0xac, 0x13, 0x00, 0x03)

struct ICoreWebView2_6 : public ICoreWebView2_5 {
  virtual HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() = 0;  // 79
};
__CRT_UUID_DECL(ICoreWebView2_6, 0x499aadac, 0xd92c, 0x4589, 0x8a, 0x75, 0x11, 0x1b, 0xfc, 0x16, 0x77, 0x95)

struct ICoreWebView2_7 : public ICoreWebView2_6 {
  virtual HRESULT STDMETHODCALLTYPE PrintToPdf(  // 80
      LPCWSTR ResultFilePath, ICoreWebView2PrintSettings *printSettings,
      ICoreWebView2PrintToPdfCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_7, 0x79c24d83, 0x09a3, 0x45ae, 0x94, 0x18, 0x48, 0x7f, 0x32, 0xa5, 0x87, 0x40)

struct ICoreWebView2_8 : public ICoreWebView2_7 {
  virtual HRESULT STDMETHODCALLTYPE add_IsMutedChanged(  // 81
      ICoreWebView2IsMutedChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) = 0;  // 82
  virtual HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL *value) = 0;  // 83
  virtual HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL value) = 0;  // 84
  virtual HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(  // 85
      ICoreWebView2IsDocumentPlayingAudioChangedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsDocumentPlayingAudioChanged(  // 86
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL *value) = 0;  // 87
};
__CRT_UUID_DECL(ICoreWebView2_8, 0xe9632730, 0x6e1e, 0x43ab, 0xb7, 0xb8, 0x7b, 0x2c, 0x9e, 0x62, 0xe0, 0x94)

struct ICoreWebView2_9 : public ICoreWebView2_8 {
  virtual HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(  // 88
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler *handler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsDefaultDownloadDialogOpenChanged(  // 89
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL *value) = 0;  // 90
  virtual HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() = 0;  // 91
  virtual HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() = 0;  // 92
  virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogCornerAlignment(  // 93
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogCornerAlignment(  // 94
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT *value) = 0;  // 95
  virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT value) = 0;  // 96
};
__CRT_UUID_DECL(ICoreWebView2_9, 0x4d7b2eab, 0x9fdc, 0x468d, 0xb9, 0x98, 0xa9, 0x26, 0x0b, 0x5e, 0xd6, 0x51)

struct ICoreWebView2_10 : public ICoreWebView2_9 {
  virtual HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(  // 97
      ICoreWebView2BasicAuthenticationRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_BasicAuthenticationRequested(  // 98
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_10, 0xb1690564, 0x6f5a, 0x4983, 0x8e, 0x48, 0x31, 0xd1, 0x14, 0x3f, 0xec, 0xdb)

struct ICoreWebView2_11 : public ICoreWebView2_10 {
  virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethodForSession(  // 99
      LPCWSTR sessionId, LPCWSTR methodName, LPCWSTR parametersAsJson,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(  // 100
      ICoreWebView2ContextMenuRequestedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(  // 101
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_11, 0x0be78e56, 0xc193, 0x4051, 0xb9, 0x43, 0x23, 0xb4, 0x60, 0xc0, 0x8b, 0xdb)

struct ICoreWebView2_12 : public ICoreWebView2_11 {
  virtual HRESULT STDMETHODCALLTYPE add_StatusBarTextChanged(  // 102
      ICoreWebView2StatusBarTextChangedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(  // 103
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR *value) = 0;  // 104
};
__CRT_UUID_DECL(ICoreWebView2_12, 0x35d69927, 0xbcfa, 0x4566, 0x93, 0x49, 0x6b, 0x3e, 0x0d, 0x15, 0x4c, 0xac)

struct ICoreWebView2_13 : public ICoreWebView2_12 {
  virtual HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile **value) = 0;  // 105
};
__CRT_UUID_DECL(ICoreWebView2_13, 0xf75f09a8, 0x667e, 0x4983, 0x88, 0xd6, 0xc8, 0x77, 0x3f, 0x31, 0x5e, 0x84)

struct ICoreWebView2_14 : public ICoreWebView2_13 {
  virtual HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(  // 106
      ICoreWebView2ServerCertificateErrorDetectedEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ServerCertificateErrorDetected(  // 107
      EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(  // 108
      ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_14, 0x6daa4f10, 0x4a90, 0x4753, 0x88, 0x98, 0x77, 0xc5, 0xdf, 0x53, 0x41, 0x65)

struct ICoreWebView2_15 : public ICoreWebView2_14 {
  virtual HRESULT STDMETHODCALLTYPE add_FaviconChanged(  // 109
      ICoreWebView2FaviconChangedEventHandler *eventHandler, EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) = 0;  // 110
  virtual HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR *value) = 0;  // 111
  virtual HRESULT STDMETHODCALLTYPE GetFavicon(  // 112
      COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
      ICoreWebView2GetFaviconCompletedHandler *completedHandler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_15, 0x517b2d1d, 0x7dae, 0x4a66, 0xa4, 0xf4, 0x10, 0x35, 0x2f, 0xfb, 0x95, 0x18)

struct ICoreWebView2_16 : public ICoreWebView2_15 {
  virtual HRESULT STDMETHODCALLTYPE Print(  // 113
      ICoreWebView2PrintSettings *printSettings, ICoreWebView2PrintCompletedHandler *handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowPrintUI(  // 114
      COREWEBVIEW2_PRINT_DIALOG_KIND printDialogKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE PrintToPdfStream(  // 115
      ICoreWebView2PrintSettings *printSettings,
      ICoreWebView2PrintToPdfStreamCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_16, 0x0eb34dc9, 0x9f91, 0x41e1, 0x86, 0x39, 0x95, 0xcd, 0x59, 0x43, 0x90, 0x6b)

struct ICoreWebView2_17 : public ICoreWebView2_16 {
  virtual HRESULT STDMETHODCALLTYPE PostSharedBufferToScript(  // 116
      ICoreWebView2SharedBuffer *sharedBuffer, COREWEBVIEW2_SHARED_BUFFER_ACCESS access,
      LPCWSTR additionalDataAsJson) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_17, 0x702e75d4, 0xfd44, 0x434d, 0x9d, 0x70, 0x1a, 0x68, 0xa6, 0xb1, 0x19, 0x2a)

struct ICoreWebView2_18 : public ICoreWebView2_17 {
  virtual HRESULT STDMETHODCALLTYPE add_LaunchingExternalUriScheme(  // 117
      ICoreWebView2LaunchingExternalUriSchemeEventHandler *eventHandler,
      EventRegistrationToken *token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_LaunchingExternalUriScheme(  // 118
      EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_18, 0x7a626017, 0x28be, 0x49b2, 0xb8, 0x65, 0x3b, 0xa2, 0xb3, 0x52, 0x2d, 0x90)

struct ICoreWebView2_19 : public ICoreWebView2_18 {
  virtual HRESULT STDMETHODCALLTYPE get_MemoryUsageTargetLevel(  // 119
      COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MemoryUsageTargetLevel(  // 120
      COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_19, 0x6921f954, 0x79b0, 0x437f, 0xa9, 0x97, 0xc8, 0x58, 0x11, 0x89, 0x7c, 0x68)

struct ICoreWebView2_20 : public ICoreWebView2_19 {
  virtual HRESULT STDMETHODCALLTYPE get_FrameId(UINT32 *value) = 0;  // 121
};
__CRT_UUID_DECL(ICoreWebView2_20, 0xb4bc1926, 0x7305, 0x11ee, 0xb9, 0x62, 0x02, 0x42, 0xac, 0x12, 0x00, 0x02)

struct ICoreWebView2_21 : public ICoreWebView2_20 {
  virtual HRESULT STDMETHODCALLTYPE ExecuteScriptWithResult(  // 122
      LPCWSTR javaScript, ICoreWebView2ExecuteScriptWithResultCompletedHandler *handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_21, 0xc4980dea, 0x587b, 0x43b9, 0x81, 0x43, 0x3e, 0xf3, 0xbf, 0x55, 0x2d, 0x95)

struct ICoreWebView2_22 : public ICoreWebView2_21 {
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(  // 123
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(  // 124
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_22, 0xdb75dfc7, 0xa857, 0x4632, 0xa3, 0x98, 0x69, 0x69, 0xdd, 0xe2, 0x6c, 0x0a)

struct ICoreWebView2_23 : public ICoreWebView2_22 {
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJsonWithAdditionalObjects(  // 125
      LPCWSTR webMessageAsJson, ICoreWebView2ObjectCollectionView *additionalObjects) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_23, 0x508f0db5, 0x90c4, 0x5872, 0x90, 0xa7, 0x26, 0x7a, 0x91, 0x37, 0x75, 0x02)

struct ICoreWebView2Settings : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL *isScriptEnabled) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL isScriptEnabled) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL *isWebMessageEnabled) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL isWebMessageEnabled) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(  // 7
      BOOL *areDefaultScriptDialogsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(  // 8
      BOOL areDefaultScriptDialogsEnabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsStatusBarEnabled(BOOL *isStatusBarEnabled) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE put_IsStatusBarEnabled(BOOL isStatusBarEnabled) = 0;  // 10
  virtual HRESULT STDMETHODCALLTYPE get_AreDevToolsEnabled(BOOL *areDevToolsEnabled) = 0;  // 11
  virtual HRESULT STDMETHODCALLTYPE put_AreDevToolsEnabled(BOOL areDevToolsEnabled) = 0;  // 12
  virtual HRESULT STDMETHODCALLTYPE get_AreDefaultContextMenusEnabled(BOOL *enabled) = 0;  // 13
  virtual HRESULT STDMETHODCALLTYPE put_AreDefaultContextMenusEnabled(BOOL enabled) = 0;  // 14
  virtual HRESULT STDMETHODCALLTYPE get_AreHostObjectsAllowed(BOOL *allowed) = 0;  // 15
  virtual HRESULT STDMETHODCALLTYPE put_AreHostObjectsAllowed(BOOL allowed) = 0;  // 16
  virtual HRESULT STDMETHODCALLTYPE get_IsZoomControlEnabled(BOOL *enabled) = 0;  // 17
  virtual HRESULT STDMETHODCALLTYPE put_IsZoomControlEnabled(BOOL enabled) = 0;  // 18
  virtual HRESULT STDMETHODCALLTYPE get_IsBuiltInErrorPageEnabled(BOOL *enabled) = 0;  // 19
  virtual HRESULT STDMETHODCALLTYPE put_IsBuiltInErrorPageEnabled(BOOL enabled) = 0;  // 20
};
__CRT_UUID_DECL(ICoreWebView2Settings, 0xe562e4f0, 0xd7fa, 0x43ac, 0x8d, 0x71, 0xc0, 0x51, 0x50, 0x49, 0x9f, 0x00)

struct ICoreWebView2Settings2 : public ICoreWebView2Settings {
  virtual HRESULT STDMETHODCALLTYPE get_UserAgent(LPWSTR *value) = 0;  // 21
  virtual HRESULT STDMETHODCALLTYPE put_UserAgent(LPCWSTR value) = 0;  // 22
};
__CRT_UUID_DECL(ICoreWebView2Settings2, 0xee9a0f68, 0xf46c, 0x4e32, 0xac, 0x23, 0xef, 0x8c, 0xac, 0x22, 0x4d, 0x2a)

struct ICoreWebView2Settings3 : public ICoreWebView2Settings2 {
  virtual HRESULT STDMETHODCALLTYPE get_AreBrowserAcceleratorKeysEnabled(BOOL *value) = 0;  // 23
  virtual HRESULT STDMETHODCALLTYPE put_AreBrowserAcceleratorKeysEnabled(BOOL value) = 0;  // 24
};
__CRT_UUID_DECL(ICoreWebView2Settings3, 0xfdb5ab74, 0xaf33, 0x4854, 0x84, 0xf0, 0x0a, 0x63, 0x1d, 0xeb, 0x5e, 0xba)

struct ICoreWebView2Settings4 : public ICoreWebView2Settings3 {
  virtual HRESULT STDMETHODCALLTYPE get_IsPasswordAutosaveEnabled(BOOL *value) = 0;  // 25
  virtual HRESULT STDMETHODCALLTYPE put_IsPasswordAutosaveEnabled(BOOL value) = 0;  // 26
  virtual HRESULT STDMETHODCALLTYPE get_IsGeneralAutofillEnabled(BOOL *value) = 0;  // 27
  virtual HRESULT STDMETHODCALLTYPE put_IsGeneralAutofillEnabled(BOOL value) = 0;  // 28
};
__CRT_UUID_DECL(ICoreWebView2Settings4, 0xcb56846c, 0x4168, 0x4d53, 0xb0, 0x4f, 0x03, 0xb6, 0xd6, 0x79, 0x6f, 0xf2)

struct ICoreWebView2Settings5 : public ICoreWebView2Settings4 {
  virtual HRESULT STDMETHODCALLTYPE get_IsPinchZoomEnabled(BOOL *value) = 0;  // 29
  virtual HRESULT STDMETHODCALLTYPE put_IsPinchZoomEnabled(BOOL value) = 0;  // 30
};
__CRT_UUID_DECL(ICoreWebView2Settings5, 0x183e7052, 0x1d03, 0x43a0, 0xab, 0x99, 0x98, 0xe0, 0x43, 0xb6, 0x6b, 0x39)

struct ICoreWebView2Settings6 : public ICoreWebView2Settings5 {
  virtual HRESULT STDMETHODCALLTYPE get_IsSwipeNavigationEnabled(BOOL *value) = 0;  // 31
  virtual HRESULT STDMETHODCALLTYPE put_IsSwipeNavigationEnabled(BOOL value) = 0;  // 32
};
__CRT_UUID_DECL(ICoreWebView2Settings6, 0x11cb3acd, 0x9bc8, 0x43b8, 0x83, 0xbf, 0xf4, 0x07, 0x53, 0x71, 0x4f, 0x87)

struct ICoreWebView2Settings7 : public ICoreWebView2Settings6 {
  virtual HRESULT STDMETHODCALLTYPE get_HiddenPdfToolbarItems(  // 33
      COREWEBVIEW2_PDF_TOOLBAR_ITEMS *value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_HiddenPdfToolbarItems(  // 34
      COREWEBVIEW2_PDF_TOOLBAR_ITEMS value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2Settings7, 0x488dc902, 0x35ef, 0x42d2, 0xbc, 0x7d, 0x94, 0xb6, 0x5c, 0x4b, 0xc4, 0x9c)

struct ICoreWebView2Settings8 : public ICoreWebView2Settings7 {
  virtual HRESULT STDMETHODCALLTYPE get_IsReputationCheckingRequired(BOOL *value) = 0;  // 35
  virtual HRESULT STDMETHODCALLTYPE put_IsReputationCheckingRequired(BOOL value) = 0;  // 36
};
__CRT_UUID_DECL(ICoreWebView2Settings8, 0x9e6b0e8f, 0x86ad, 0x4e81, 0x81, 0x47, 0xa9, 0xb5, 0xed, 0xb6, 0x86, 0x50)

struct ICoreWebView2WebResourceRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Request(  // 3
      ICoreWebView2WebResourceRequest **request) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Response(  // 4
      ICoreWebView2WebResourceResponse **response) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Response(  // 5
      ICoreWebView2WebResourceResponse *response) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_ResourceContext(  // 7
      COREWEBVIEW2_WEB_RESOURCE_CONTEXT *context) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebResourceRequestedEventArgs, 0x453e667f, 0x12c7, 0x49d4, 0xbe, 0x6d, 0xdd, 0xbe, 0x79, 0x56, 0xf5, 0x7a)

struct ICoreWebView2WebResourceRequest : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_Uri(LPCWSTR uri) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_Method(LPWSTR *method) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_Method(LPCWSTR method) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_Content(IStream **content) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_Content(IStream *content) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE get_Headers(  // 9
      ICoreWebView2HttpRequestHeaders **headers) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebResourceRequest, 0x97055cd4, 0x512c, 0x4264, 0x8b, 0x5f, 0xe3, 0xf4, 0x46, 0xce, 0xa6, 0xa5)

struct ICoreWebView2HttpRequestHeaders : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE GetHeaders(  // 4
      LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator **value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL *value) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE SetHeader(LPCWSTR name, LPCWSTR value) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE RemoveHeader(LPCWSTR name) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE GetIterator(  // 8
      ICoreWebView2HttpHeadersCollectionIterator **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2HttpRequestHeaders, 0xe86cac0e, 0x5523, 0x465c, 0xb5, 0x36, 0x8f, 0xb9, 0xfc, 0x8c, 0x8c, 0x60)

struct ICoreWebView2HttpHeadersCollectionIterator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCurrentHeader(LPWSTR *name, LPWSTR *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_HasCurrentHeader(BOOL *hasCurrent) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE MoveNext(BOOL *hasNext) = 0;  // 5
};
__CRT_UUID_DECL(ICoreWebView2HttpHeadersCollectionIterator, 0x0702fc30, 0xf43b, 0x47bb, 0xab, 0x52, 0xa4, 0x2c, 0xb5, 0x52, 0xad, 0x9f)

struct ICoreWebView2WebResourceResponse : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Content(IStream **content) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_Content(IStream *content) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_Headers(  // 5
      ICoreWebView2HttpResponseHeaders **headers) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StatusCode(int *statusCode) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE put_StatusCode(int statusCode) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE get_ReasonPhrase(LPWSTR *reasonPhrase) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE put_ReasonPhrase(LPCWSTR reasonPhrase) = 0;  // 9
};
__CRT_UUID_DECL(ICoreWebView2WebResourceResponse, 0xaafcc94f, 0xfa27, 0x48fd, 0x97, 0xdf, 0x83, 0x0e, 0xf7, 0x5a, 0xae, 0xc9)

struct ICoreWebView2HttpResponseHeaders : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AppendHeader(LPCWSTR name, LPCWSTR value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE Contains(LPCWSTR name, BOOL *value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE GetHeader(LPCWSTR name, LPWSTR *value) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE GetHeaders(  // 6
      LPCWSTR name, ICoreWebView2HttpHeadersCollectionIterator **value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIterator(  // 7
      ICoreWebView2HttpHeadersCollectionIterator **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2HttpResponseHeaders, 0x03c5ff5a, 0x9b45, 0x4a88, 0x88, 0x1c, 0x89, 0xa9, 0xf3, 0x28, 0x61, 0x9c)

struct ICoreWebView2NavigationStartingEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL *isRedirected) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE get_RequestHeaders(  // 6
      ICoreWebView2HttpRequestHeaders **requestHeaders) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Cancel(BOOL *cancel) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *navigationId) = 0;  // 9
};
__CRT_UUID_DECL(ICoreWebView2NavigationStartingEventArgs, 0x5b495469, 0xe119, 0x438a, 0x9b, 0x18, 0x76, 0x04, 0xf2, 0x5f, 0x2e, 0x49)

struct ICoreWebView2PermissionRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_PermissionKind(  // 4
      COREWEBVIEW2_PERMISSION_KIND *permissionKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE *state) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;  // 8
};
__CRT_UUID_DECL(ICoreWebView2PermissionRequestedEventArgs, 0x973ae2ef, 0xff18, 0x4894, 0x8f, 0xb2, 0x3c, 0x75, 0x8f, 0x04, 0x68, 0x10)

struct ICoreWebView2NewWindowRequestedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR *uri) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2 *newWindow) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2 **newWindow) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;  // 6
  virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL *isUserInitiated) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral **deferral) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE get_WindowFeatures(  // 10
      ICoreWebView2WindowFeatures **value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NewWindowRequestedEventArgs, 0x34acb11c, 0xfc37, 0x4418, 0x91, 0x32, 0xf9, 0xc2, 0x1d, 0x1e, 0xaf, 0xb9)

struct ICoreWebView2WebMessageReceivedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR *value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR *value) = 0;  // 5
};
__CRT_UUID_DECL(ICoreWebView2WebMessageReceivedEventArgs, 0x0f99a40c, 0xe962, 0x4207, 0x9e, 0x92, 0xe3, 0xd5, 0x42, 0xef, 0xf8, 0x49)

struct ICoreWebView2AcceleratorKeyPressedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_KeyEventKind(  // 3
      COREWEBVIEW2_KEY_EVENT_KIND *keyEventKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT *virtualKey) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT *lParam) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(  // 6
      COREWEBVIEW2_PHYSICAL_KEY_STATUS *physicalKeyStatus) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Handled(BOOL *handled) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) = 0;  // 8
};
__CRT_UUID_DECL(ICoreWebView2AcceleratorKeyPressedEventArgs, 0x9f760f8a, 0xfb79, 0x42be, 0x99, 0x90, 0x7b, 0x56, 0x90, 0x0f, 0xa9, 0xc7)

struct ICoreWebView2DOMContentLoadedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *value) = 0;  // 3
};
__CRT_UUID_DECL(ICoreWebView2DOMContentLoadedEventArgs, 0x16b1e21a, 0xc503, 0x44f2, 0x84, 0xc9, 0x70, 0xab, 0xa5, 0x03, 0x12, 0x83)

struct ICoreWebView2FileSystemHandle : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_Path(LPWSTR *value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_Permission(  // 5
      COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION *value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2FileSystemHandle, 0xc65100ac, 0x0de2, 0x5551, 0xa3, 0x62, 0x23, 0xd9, 0xbd, 0x1d, 0x0e, 0x1f)

struct ICoreWebView2ObjectCollectionView : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Count(UINT32 *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, IUnknown **value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2ObjectCollectionView, 0x0f36fd87, 0x4f69, 0x4415, 0x98, 0xda, 0x88, 0x8f, 0x89, 0xfb, 0x9a, 0x33)

struct ICoreWebView2ObjectCollection : public ICoreWebView2ObjectCollectionView {
  virtual HRESULT STDMETHODCALLTYPE RemoveValueAtIndex(UINT32 index) = 0;  // 5
  virtual HRESULT STDMETHODCALLTYPE InsertValueAtIndex(UINT32 index, IUnknown *value) = 0;  // 6
};
__CRT_UUID_DECL(ICoreWebView2ObjectCollection, 0x5cfec11c, 0x25bd, 0x4e8d, 0x9e, 0x1a, 0x7a, 0xcd, 0xae, 0xee, 0xc0, 0x47)

struct ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      HRESULT errorCode, ICoreWebView2Environment *result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler, 0x4e8a3389, 0xc9d8, 0x4bd2, 0xb6, 0xb5, 0x12, 0x4f, 0xee, 0x6c, 0xc1, 0x4d)

struct ICoreWebView2CreateCoreWebView2ControllerCompletedHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      HRESULT errorCode, ICoreWebView2Controller *result) = 0;
};
__CRT_UUID_DECL(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler, 0x6c4819f3, 0xc9b7, 0x4260, 0x81, 0x27, 0xc9, 0xf5, 0xbd, 0xe7, 0xf6, 0x8c)

struct ICoreWebView2AcceleratorKeyPressedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2Controller *sender, ICoreWebView2AcceleratorKeyPressedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2AcceleratorKeyPressedEventHandler, 0xb29c7e28, 0xfa79, 0x41a8, 0x8e, 0x44, 0x65, 0x81, 0x1c, 0x76, 0xdc, 0xb2)

struct ICoreWebView2DocumentTitleChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;  // 3
};
__CRT_UUID_DECL(ICoreWebView2DocumentTitleChangedEventHandler, 0xf5f2b923, 0x953e, 0x4042, 0x9f, 0x95, 0xf3, 0xa1, 0x18, 0xe1, 0xaf, 0xd4)

struct ICoreWebView2WebResourceRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2WebResourceRequestedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebResourceRequestedEventHandler, 0xab00b74c, 0x15f1, 0x4646, 0x80, 0xe8, 0xe7, 0x63, 0x41, 0xd2, 0x5d, 0x71)

struct ICoreWebView2NavigationStartingEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2NavigationStartingEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NavigationStartingEventHandler, 0x9adbe429, 0xf36d, 0x432b, 0x9d, 0xdc, 0xf8, 0x88, 0x1f, 0xbd, 0x76, 0xe3)

struct ICoreWebView2PermissionRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2PermissionRequestedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2PermissionRequestedEventHandler, 0x15e1c6a3, 0xc72a, 0x4df3, 0x91, 0xd7, 0xd0, 0x97, 0xfb, 0xec, 0x6b, 0xfd)

struct ICoreWebView2ContainsFullScreenElementChangedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;  // 3
};
__CRT_UUID_DECL(ICoreWebView2ContainsFullScreenElementChangedEventHandler, 0xe45d98b1, 0xafef, 0x45be, 0x8b, 0xaf, 0x6c, 0x77, 0x28, 0x86, 0x7f, 0x73)

struct ICoreWebView2WindowCloseRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(ICoreWebView2 *sender, IUnknown *args) = 0;  // 3
};
__CRT_UUID_DECL(ICoreWebView2WindowCloseRequestedEventHandler, 0x5c19e9e0, 0x092f, 0x486b, 0xaf, 0xfa, 0xca, 0x82, 0x31, 0x91, 0x30, 0x39)

struct ICoreWebView2NewWindowRequestedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2NewWindowRequestedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NewWindowRequestedEventHandler, 0xd4c185fe, 0xc81c, 0x4989, 0x97, 0xaf, 0x2d, 0x3f, 0xa7, 0xab, 0x56, 0x51)

struct ICoreWebView2WebMessageReceivedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2WebMessageReceivedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2WebMessageReceivedEventHandler, 0x57213f19, 0x00e6, 0x49fa, 0x8e, 0x07, 0x89, 0x8e, 0xa0, 0x1e, 0xcb, 0xd2)

struct ICoreWebView2DOMContentLoadedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2DOMContentLoadedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2DOMContentLoadedEventHandler, 0x4bac7e9c, 0x199e, 0x49ed, 0x87, 0xed, 0x24, 0x93, 0x03, 0xac, 0xf0, 0x19)

struct ICoreWebView2NavigationCompletedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_WebErrorStatus(std::int32_t *value) = 0;  // 4
  virtual HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64 *value) = 0;  // 5
};
__CRT_UUID_DECL(ICoreWebView2NavigationCompletedEventArgs, 0x30d68b7d, 0x20d9, 0x4752, 0xa9, 0xca, 0xec, 0x84, 0x48, 0xfb, 0xb5, 0xc1)

struct ICoreWebView2ProcessFailedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND *value) = 0;  // 3
};
__CRT_UUID_DECL(ICoreWebView2ProcessFailedEventArgs, 0x8155a9a4, 0x1474, 0x4a86, 0x8c, 0xae, 0x15, 0x1b, 0x0f, 0xa6, 0xb8, 0xca)

struct ICoreWebView2BrowserProcessExitedEventArgs : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND *value) = 0;  // 3
  virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32 *value) = 0;  // 4
};
__CRT_UUID_DECL(ICoreWebView2BrowserProcessExitedEventArgs, 0x1f00663f, 0xaf8c, 0x4782, 0x9c, 0xdd, 0xdd, 0x01, 0xc5, 0x2e, 0x34, 0xcb)

struct ICoreWebView2NavigationCompletedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2NavigationCompletedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2NavigationCompletedEventHandler, 0xd33a35bf, 0x1c49, 0x4f98, 0x93, 0xab, 0x00, 0x6e, 0x05, 0x33, 0xfe, 0x1c)

struct ICoreWebView2ProcessFailedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2 *sender, ICoreWebView2ProcessFailedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2ProcessFailedEventHandler, 0x79e0aea4, 0x990b, 0x42d9, 0xaa, 0x1d, 0x0f, 0xcc, 0x2e, 0x5b, 0xc7, 0xf1)

struct ICoreWebView2BrowserProcessExitedEventHandler : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(  // 3
      ICoreWebView2Environment *sender, ICoreWebView2BrowserProcessExitedEventArgs *args) = 0;
};
__CRT_UUID_DECL(ICoreWebView2BrowserProcessExitedEventHandler, 0xfa504257, 0xa216, 0x4911, 0xa8, 0x60, 0xfe, 0x88, 0x25, 0x71, 0x28, 0x61)

// The same IIDs under their conventional names.
inline const IID& IID_ICoreWebView2Environment = __uuidof(ICoreWebView2Environment);
inline const IID& IID_ICoreWebView2Environment2 = __uuidof(ICoreWebView2Environment2);
inline const IID& IID_ICoreWebView2Environment3 = __uuidof(ICoreWebView2Environment3);
inline const IID& IID_ICoreWebView2Environment4 = __uuidof(ICoreWebView2Environment4);
inline const IID& IID_ICoreWebView2Environment5 = __uuidof(ICoreWebView2Environment5);
inline const IID& IID_ICoreWebView2Environment6 = __uuidof(ICoreWebView2Environment6);
inline const IID& IID_ICoreWebView2Environment7 = __uuidof(ICoreWebView2Environment7);
inline const IID& IID_ICoreWebView2Environment8 = __uuidof(ICoreWebView2Environment8);
inline const IID& IID_ICoreWebView2Environment9 = __uuidof(ICoreWebView2Environment9);
inline const IID& IID_ICoreWebView2Environment10 = __uuidof(ICoreWebView2Environment10);
inline const IID& IID_ICoreWebView2Environment11 = __uuidof(ICoreWebView2Environment11);
inline const IID& IID_ICoreWebView2Environment12 = __uuidof(ICoreWebView2Environment12);
inline const IID& IID_ICoreWebView2Environment13 = __uuidof(ICoreWebView2Environment13);
inline const IID& IID_ICoreWebView2Environment14 = __uuidof(ICoreWebView2Environment14);
inline const IID& IID_ICoreWebView2EnvironmentOptions = __uuidof(ICoreWebView2EnvironmentOptions);
inline const IID& IID_ICoreWebView2EnvironmentOptions2 = __uuidof(ICoreWebView2EnvironmentOptions2);
inline const IID& IID_ICoreWebView2EnvironmentOptions3 = __uuidof(ICoreWebView2EnvironmentOptions3);
inline const IID& IID_ICoreWebView2EnvironmentOptions4 = __uuidof(ICoreWebView2EnvironmentOptions4);
inline const IID& IID_ICoreWebView2EnvironmentOptions5 = __uuidof(ICoreWebView2EnvironmentOptions5);
inline const IID& IID_ICoreWebView2EnvironmentOptions6 = __uuidof(ICoreWebView2EnvironmentOptions6);
inline const IID& IID_ICoreWebView2EnvironmentOptions7 = __uuidof(ICoreWebView2EnvironmentOptions7);
inline const IID& IID_ICoreWebView2EnvironmentOptions8 = __uuidof(ICoreWebView2EnvironmentOptions8);
inline const IID& IID_ICoreWebView2CustomSchemeRegistration =
    __uuidof(ICoreWebView2CustomSchemeRegistration);
inline const IID& IID_ICoreWebView2ControllerOptions = __uuidof(ICoreWebView2ControllerOptions);
inline const IID& IID_ICoreWebView2ControllerOptions2 = __uuidof(ICoreWebView2ControllerOptions2);
inline const IID& IID_ICoreWebView2ControllerOptions3 = __uuidof(ICoreWebView2ControllerOptions3);
inline const IID& IID_ICoreWebView2ControllerOptions4 = __uuidof(ICoreWebView2ControllerOptions4);
inline const IID& IID_ICoreWebView2Controller = __uuidof(ICoreWebView2Controller);
inline const IID& IID_ICoreWebView2 = __uuidof(ICoreWebView2);
inline const IID& IID_ICoreWebView2_2 = __uuidof(ICoreWebView2_2);
inline const IID& IID_ICoreWebView2_3 = __uuidof(ICoreWebView2_3);
inline const IID& IID_ICoreWebView2_4 = __uuidof(ICoreWebView2_4);
inline const IID& IID_ICoreWebView2_5 = __uuidof(ICoreWebView2_5);
inline const IID& IID_ICoreWebView2_6 = __uuidof(ICoreWebView2_6);
inline const IID& IID_ICoreWebView2_7 = __uuidof(ICoreWebView2_7);
inline const IID& IID_ICoreWebView2_8 = __uuidof(ICoreWebView2_8);
inline const IID& IID_ICoreWebView2_9 = __uuidof(ICoreWebView2_9);
inline const IID& IID_ICoreWebView2_10 = __uuidof(ICoreWebView2_10);
inline const IID& IID_ICoreWebView2_11 = __uuidof(ICoreWebView2_11);
inline const IID& IID_ICoreWebView2_12 = __uuidof(ICoreWebView2_12);
inline const IID& IID_ICoreWebView2_13 = __uuidof(ICoreWebView2_13);
inline const IID& IID_ICoreWebView2_14 = __uuidof(ICoreWebView2_14);
inline const IID& IID_ICoreWebView2_15 = __uuidof(ICoreWebView2_15);
inline const IID& IID_ICoreWebView2_16 = __uuidof(ICoreWebView2_16);
inline const IID& IID_ICoreWebView2_17 = __uuidof(ICoreWebView2_17);
inline const IID& IID_ICoreWebView2_18 = __uuidof(ICoreWebView2_18);
inline const IID& IID_ICoreWebView2_19 = __uuidof(ICoreWebView2_19);
inline const IID& IID_ICoreWebView2_20 = __uuidof(ICoreWebView2_20);
inline const IID& IID_ICoreWebView2_21 = __uuidof(ICoreWebView2_21);
inline const IID& IID_ICoreWebView2_22 = __uuidof(ICoreWebView2_22);
inline const IID& IID_ICoreWebView2_23 = __uuidof(ICoreWebView2_23);
inline const IID& IID_ICoreWebView2Settings = __uuidof(ICoreWebView2Settings);
inline const IID& IID_ICoreWebView2Settings2 = __uuidof(ICoreWebView2Settings2);
inline const IID& IID_ICoreWebView2Settings3 = __uuidof(ICoreWebView2Settings3);
inline const IID& IID_ICoreWebView2Settings4 = __uuidof(ICoreWebView2Settings4);
inline const IID& IID_ICoreWebView2Settings5 = __uuidof(ICoreWebView2Settings5);
inline const IID& IID_ICoreWebView2Settings6 = __uuidof(ICoreWebView2Settings6);
inline const IID& IID_ICoreWebView2Settings7 = __uuidof(ICoreWebView2Settings7);
inline const IID& IID_ICoreWebView2Settings8 = __uuidof(ICoreWebView2Settings8);
inline const IID& IID_ICoreWebView2WebResourceRequestedEventArgs =
    __uuidof(ICoreWebView2WebResourceRequestedEventArgs);
inline const IID& IID_ICoreWebView2WebResourceRequest = __uuidof(ICoreWebView2WebResourceRequest);
inline const IID& IID_ICoreWebView2HttpRequestHeaders = __uuidof(ICoreWebView2HttpRequestHeaders);
inline const IID& IID_ICoreWebView2HttpHeadersCollectionIterator =
    __uuidof(ICoreWebView2HttpHeadersCollectionIterator);
inline const IID& IID_ICoreWebView2WebResourceResponse = __uuidof(ICoreWebView2WebResourceResponse);
inline const IID& IID_ICoreWebView2HttpResponseHeaders = __uuidof(ICoreWebView2HttpResponseHeaders);
inline const IID& IID_ICoreWebView2NavigationStartingEventArgs =
    __uuidof(ICoreWebView2NavigationStartingEventArgs);
inline const IID& IID_ICoreWebView2PermissionRequestedEventArgs =
    __uuidof(ICoreWebView2PermissionRequestedEventArgs);
inline const IID& IID_ICoreWebView2NewWindowRequestedEventArgs =
    __uuidof(ICoreWebView2NewWindowRequestedEventArgs);
inline const IID& IID_ICoreWebView2WebMessageReceivedEventArgs =
    __uuidof(ICoreWebView2WebMessageReceivedEventArgs);
inline const IID& IID_ICoreWebView2AcceleratorKeyPressedEventArgs =
    __uuidof(ICoreWebView2AcceleratorKeyPressedEventArgs);
inline const IID& IID_ICoreWebView2DOMContentLoadedEventArgs =
    __uuidof(ICoreWebView2DOMContentLoadedEventArgs);
inline const IID& IID_ICoreWebView2FileSystemHandle = __uuidof(ICoreWebView2FileSystemHandle);
inline const IID& IID_ICoreWebView2ObjectCollectionView =
    __uuidof(ICoreWebView2ObjectCollectionView);
inline const IID& IID_ICoreWebView2ObjectCollection = __uuidof(ICoreWebView2ObjectCollection);
inline const IID& IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler =
    __uuidof(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler);
inline const IID& IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler =
    __uuidof(ICoreWebView2CreateCoreWebView2ControllerCompletedHandler);
inline const IID& IID_ICoreWebView2AcceleratorKeyPressedEventHandler =
    __uuidof(ICoreWebView2AcceleratorKeyPressedEventHandler);
inline const IID& IID_ICoreWebView2DocumentTitleChangedEventHandler =
    __uuidof(ICoreWebView2DocumentTitleChangedEventHandler);
inline const IID& IID_ICoreWebView2WebResourceRequestedEventHandler =
    __uuidof(ICoreWebView2WebResourceRequestedEventHandler);
inline const IID& IID_ICoreWebView2NavigationStartingEventHandler =
    __uuidof(ICoreWebView2NavigationStartingEventHandler);
inline const IID& IID_ICoreWebView2PermissionRequestedEventHandler =
    __uuidof(ICoreWebView2PermissionRequestedEventHandler);
inline const IID& IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler =
    __uuidof(ICoreWebView2ContainsFullScreenElementChangedEventHandler);
inline const IID& IID_ICoreWebView2WindowCloseRequestedEventHandler =
    __uuidof(ICoreWebView2WindowCloseRequestedEventHandler);
inline const IID& IID_ICoreWebView2NewWindowRequestedEventHandler =
    __uuidof(ICoreWebView2NewWindowRequestedEventHandler);
inline const IID& IID_ICoreWebView2WebMessageReceivedEventHandler =
    __uuidof(ICoreWebView2WebMessageReceivedEventHandler);
inline const IID& IID_ICoreWebView2DOMContentLoadedEventHandler =
    __uuidof(ICoreWebView2DOMContentLoadedEventHandler);

// Exports of WebView2Loader.dll, resolved at run time.
using GetAvailableCoreWebView2BrowserVersionStringFn =
    HRESULT(STDMETHODCALLTYPE*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);
using CreateCoreWebView2EnvironmentWithOptionsFn = HRESULT(STDMETHODCALLTYPE*)(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
using CreateCoreWebView2EnvironmentFn = HRESULT(STDMETHODCALLTYPE*)(
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
using CompareBrowserVersionsFn =
    HRESULT(STDMETHODCALLTYPE*)(PCWSTR version1, PCWSTR version2, int* result);
