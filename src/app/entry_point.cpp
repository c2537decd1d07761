// The host's entry point: start-up in a fixed order, the message loop, shutdown.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <gdiplus.h>
#include <knownfolders.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "util/app_config.h"
#include "app/error_box.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/window_state.h"
#include "bundle/asset_bundle.h"
#include "bundle/open_asset_bundle.h"
#include "extensions/extension_manager.h"
#include "util/executable_path.h"
#include "util/file_query.h"
#include "util/held_files.h"
#include "util/known_folder.h"
#include "util/long_path.h"
#include "util/text_convert.h"
#include "util/windows_names.h"
#include "webview/browser_loader.h"
#include "webview/pallant_webview.h"
#include "webview/runtime_check.h"

// Ask hybrid-graphics drivers for the discrete GPU.
extern "C" {
__declspec(dllexport) DWORD NvOptimusEnablement = 1;
__declspec(dllexport) DWORD AmdPowerXpressRequestHighPerformance = 1;
}

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string ReadPackageJson(const std::string& appFolder) {
    const std::string path = appFolder + "package.json";
    std::string text;
    FILE* file = nullptr;
    if (_wfopen_s(&file, ToLongPath(Utf8ToWide(path)).c_str(), L"rbS") != 0 || !file) return text;
    try {
        text.resize(static_cast<size_t>(FileSize(path)));
        // A short read leaves zero bytes, which end the text for the parser.
        if (!text.empty()) (void)fread(text.data(), 1, text.size(), file);
    } catch (const std::bad_alloc&) {
        text.clear();  // too large to hold: reported like an unreadable file
    }
    fclose(file);
    return text;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: never from the working folder or PATH, where
    // a planted DLL would run with the app's rights.
    // Only System32: a DLL planted in the app folder must not stand in for a system one.
    // The loader and the extension are loaded by their full paths.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    const std::string executable = ExecutablePath();
    const std::string appFolder = FolderOf(executable);
    // Held before they are read, for the whole run.
    HeldFiles heldFiles;
    heldFiles.Hold(executable);
    for (const char* name : {"WebView2Loader.dll", "Orvanta.dll", "package.json", "www\\assets.dat"}) {
        heldFiles.Hold(appFolder + name);
    }
    const std::string packageJsonText = ReadPackageJson(appFolder);
    if (packageJsonText.empty()) {
        ShowErrorBox("Failed to load package.json. Check the file is in the same folder as the app.");
        return 1;
    }
    AppConfig config;
    try {
        ParseAppConfig(packageJsonText, config);
    } catch (...) {
        ShowErrorBox(
            "Failed to parse package.json. Check the file has valid JSON and that all parameters are correct.");
        return 1;
    }
    // A second start of a single-instance app hands over to the running copy.
    std::optional<SingleInstance> onlyCopy;
    if (config.singleInstance) {
        onlyCopy.emplace(config.name);
        if (!onlyCopy->Claimed()) {
            onlyCopy->ActivateRunningCopy();
            return 0;
        }
    }
    // One folder under the local application data whatever the name holds: "..\" or a
    // device name must not move the browser profile, and the page's folder with it.
    const std::string userDataFolder = GetKnownFolderPath(FOLDERID_LocalAppData) + "\\" + SafeFolderName(config.name);

    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

    const WindowIcons icons = LoadWindowIcons(instance, config, appFolder);
    const std::wstring title = Utf8ToWide(config.title);

    BrowserLoader loader;
    const std::string loaderError = LoadBrowserLoader(appFolder, loader);
    if (!loaderError.empty()) {
        ShowErrorBox(loaderError);
        return 1;
    }
    const wchar_t* browserFolder = nullptr;
    if (!CheckBrowserRuntime(config, loader, browserFolder)) return 1;

    // Declared before the web view host, so both outlive it.
    AssetBundle bundle;
    SharedMappedFile bundleMapping;
    if (!OpenAssetBundle(bundle, appFolder, bundleMapping)) ShowErrorBox("Error reading asset bundle");

    // Left alone on an early exit: the process ends right after.
    auto* extensionManager = new ExtensionManager(appFolder, webFolderName, userDataFolder, packageJsonText);
    extensionManager->LoadExtension();

    if (!RegisterMainWindowClass(instance, icons)) {
        ShowErrorBox("Failed to register window class");
        return 1;
    }
    HWND window = CreateMainWindow(instance, config, title);
    if (!window) {
        ShowErrorBox("Failed to create window");
        return 1;
    }
    if (onlyCopy) onlyCopy->MarkWindow(window);
    extensionManager->NotifyMainWindowCreated(window);

    MSG message{};
    {
        // A browser that cannot start is told like the other start-up failures; the
        // hub then closes the window and the run ends with exit code 1.
        PallantWebView webView({config, bundle, window, appFolder, webFolderName, browserFolder, userDataFolder, loader,
                                *extensionManager, std::make_unique<WindowState>(window), ShowErrorBox});
        webView.Init();

        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }

        // Shutdown order: the window took the browser and the extension with it; the
        // cached mappings go before the bundle, the hub last.
        webView.CloseMappedFiles();
        extensionManager->Unload();
        delete extensionManager;
        // The archive is closed here unless the browser still holds bodies read from
        // it; the last of those closes it.
        bundle.Clear();
        bundleMapping.reset();
        Gdiplus::GdiplusShutdown(gdiplusToken);
    }
    return static_cast<int>(message.wParam);
}
