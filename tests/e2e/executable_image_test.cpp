// What tessarine.exe carries in its image for the loader, the shell and graphics
// drivers: the GPU preference exports, the icons and the manifest.
#include <windows.h>

#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "e2e/app_folder.h"
#include "e2e/local_actions.h"

namespace {

const std::wstring kHost = (e2e::HostFolder() / L"tessarine.exe").wstring();

std::string Resource(const wchar_t* name, const wchar_t* type) {
    return e2e::ImageResource(kHost, name, type);
}

TEST(ExecutableImage, ExportsTwoDataValuesThatAskForTheDiscreteGpu) {
    // Loaded as a module whose imports are not resolved and whose code never runs.
    HMODULE module = LoadLibraryExW(kHost.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(module, nullptr) << GetLastError();
    for (const char* name : {"NvOptimusEnablement", "AmdPowerXpressRequestHighPerformance"}) {
        const auto* value = reinterpret_cast<const DWORD*>(GetProcAddress(module, name));
        ASSERT_NE(value, nullptr) << name;
        EXPECT_EQ(*value, 1u) << name;
        MEMORY_BASIC_INFORMATION memory{};
        ASSERT_NE(VirtualQuery(value, &memory, sizeof memory), 0u);
        EXPECT_EQ(memory.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY),
                  0u)
            << name << " is data, not code";
    }
    FreeLibrary(module);
}

TEST(ExecutableImage, CarriesTheIconsOfTheShellAndTheWindow) {
    // MAINICON for the shell; 32512 is what the window falls back to. Each group's first
    // entry (after a 6-byte header; its resource id at byte 12) names an icon of the image.
    for (const wchar_t* name : {L"MAINICON", static_cast<const wchar_t*>(MAKEINTRESOURCEW(32512))}) {
        const std::string group = Resource(name, RT_GROUP_ICON);
        ASSERT_GE(group.size(), 20u);
        EXPECT_FALSE(Resource(MAKEINTRESOURCEW(*reinterpret_cast<const WORD*>(group.data() + 18)), RT_ICON).empty());
    }
}

TEST(ExecutableImage, ManifestAsksForPerMonitorDpiUtf8TheSegmentHeapAndWindows10) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    const std::string settings = "\\s+xmlns=\"http://schemas.microsoft.com/SMI/20";
    for (const std::string& pattern : {
             std::string("<requestedExecutionLevel[^>]*\\slevel=\"asInvoker\""),
             // Per-monitor v2, with per-monitor (v1) for Windows before 10 1607.
             "<dpiAware" + settings + "05/WindowsSettings\"\\s*>\\s*true/pm\\s*</",
             "<dpiAwareness" + settings + "16/WindowsSettings\"\\s*>\\s*PerMonitorV2\\s*</",
             "<activeCodePage" + settings + "19/WindowsSettings\"\\s*>\\s*UTF-8\\s*</",
             "<heapType" + settings + "20/WindowsSettings\"\\s*>\\s*SegmentHeap\\s*</",
             std::string("<supportedOS\\s+Id=\"\\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\\}\""),
         }) {
        EXPECT_TRUE(std::regex_search(manifest, std::regex(pattern))) << pattern << "\n" << manifest;
    }
}

}  // namespace
