#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

enum class ContentMode : int32_t { Bundle = 0, Remote = 1 };
enum class DistributionMode : int32_t { Evergreen = 0, Fixed = 1 };
enum class HostingMode : int32_t { Windowed = 0, WindowToVisual = 1 };

// What the page may do with a folder it is handed: read and write it, only read it,
// or not have it at all.
enum class FolderAccess : int32_t { ReadWrite = 0, Read = 1, None = 2 };

// The folders handed to the page at its start-up handshake, in the order the page
// finds them by.
inline constexpr std::array<const char*, 13> folderPlaceholders = {
    "<app>",         "<web-resource>", "<current-app-data>", "<local-app-data>", "<roaming-app-data>",
    "<desktop>",     "<documents>",    "<downloads>",        "<pictures>",       "<profile>",
    "<saved-games>", "<screenshots>",  "<videos>",
};

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

inline constexpr const char defaultInstallRuntimeMessage[] =
    "This app requires the Microsoft Edge WebView2 runtime. Please download and install it in order "
    "to use this app. When you press OK, the web page where it can be downloaded will open.";

// The settings of package.json; filled once at start-up, read-only afterwards.
struct AppConfig {
    std::string name;
    std::string main = "index.html";
    std::string title = "Tessarine";
    int32_t width = 1024;
    int32_t height = 768;
    std::string icon;
    bool caption = true;
    bool resizable = true;
    RgbColor backgroundColor;
    std::string chromiumArgs;
    ContentMode contentMode = ContentMode::Bundle;
    DistributionMode distributionMode = DistributionMode::Evergreen;
    HostingMode hostingMode = HostingMode::Windowed;
    bool enableDevTools = true;
    bool allowHostInputProcessing = true;
    // Placeholder to access, from "folder-access" in "settings"; a folder not named
    // there gets its default (util/folder_defaults.h).
    std::map<std::string, FolderAccess> folderAccess;
    std::string installRuntimeMessage = defaultInstallRuntimeMessage;
    // Seconds a page that handles the close may take to save; 0: no waiting.
    int32_t closeTimeoutSeconds = 10;
    // A second start brings the running window to the front instead.
    bool singleInstance = false;
};

// Fills config from the text of package.json (read up to its first NUL).
// Raises std::runtime_error ("invalid name", "invalid distribution mode",
// "invalid hosting mode", "invalid content mode", "invalid folder access") or the JSON library's own
// error; config is then partly filled and should be discarded.
void ParseAppConfig(const std::string& text, AppConfig& config);
