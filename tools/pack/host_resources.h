#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "icon_images.h"

// What Explorer, the taskbar and Task Manager show of a shipped game: its version
// resource's strings.
struct ProductInfo {
    std::string productName;
    std::string description;  // Task Manager's name of the process
    std::string publisher;    // may be empty
    std::string copyright;    // may be empty
    std::string version;      // as the author wrote it, "1.2" or "1.2.3.4"
    std::string fileName;     // the executable's name, with ".exe"
};

// "1", "1.2", "1.2.3" or "1.2.3.4", each part 0 to 65535, missing parts 0. Throws
// std::runtime_error("invalid version \"...\": ...") otherwise.
std::array<uint16_t, 4> ParseVersion(const std::string& version);

// A VS_VERSIONINFO resource with US English strings in UTF-16.
std::string VersionResource(const ProductInfo& info);

// The host executable `hostBytes` with its icon groups (both the shell's MAINICON and
// the window's fallback 32512) replaced by `icon`, unless it is empty, and its version
// resource replaced; every other resource, the manifest among them, as it was. Throws
// std::runtime_error when the bytes are not the Tessarine host.
std::string RewriteHost(const std::string& hostBytes, const std::string& shownName, const std::vector<IconImage>& icon,
                        const ProductInfo& info);
