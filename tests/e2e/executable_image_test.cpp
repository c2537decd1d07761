// What tessarine.exe carries in its image for the loader, the shell and graphics
// drivers: the GPU preference exports, the icon groups and the manifest.
#include <windows.h>

#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "e2e/app_folder.h"

namespace {

// The built host, mapped as an image for reading: no code runs, nothing is resolved.
class HostImage {
public:
    HostImage()
        : module_(LoadLibraryExW((e2e::RunnerFolder() / L"tessarine.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE)) {}
    ~HostImage() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE module() const { return module_; }
    // The low bits of the handle mark how the image was loaded.
    const BYTE* At(DWORD rva) const { return reinterpret_cast<const BYTE*>(ULONG_PTR(module_) & ~ULONG_PTR{3}) + rva; }
    const IMAGE_NT_HEADERS64* Headers() const {
        return reinterpret_cast<const IMAGE_NT_HEADERS64*>(
            At(reinterpret_cast<const IMAGE_DOS_HEADER*>(At(0))->e_lfanew));
    }
    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, name, type);
        const void* bytes = found ? LockResource(LoadResource(module_, found)) : nullptr;
        return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_;
};

TEST(ExecutableImage, ExportsTwoDataValuesThatAskForTheDiscreteGpu) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    const IMAGE_DATA_DIRECTORY& entry = image.Headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(image.At(entry.VirtualAddress));
    const auto* names = reinterpret_cast<const DWORD*>(image.At(directory->AddressOfNames));
    const auto* ordinals = reinterpret_cast<const WORD*>(image.At(directory->AddressOfNameOrdinals));
    const auto* functions = reinterpret_cast<const DWORD*>(image.At(directory->AddressOfFunctions));
    std::set<std::string> found;
    for (DWORD i = 0; entry.VirtualAddress && i < directory->NumberOfNames; ++i) {
        const std::string name = reinterpret_cast<const char*>(image.At(names[i]));
        const DWORD rva = functions[ordinals[i]];
        // A 32-bit 1 in a section of initialised data, not code.
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(image.Headers());
        while (rva < section->VirtualAddress || rva >= section->VirtualAddress + section->Misc.VirtualSize) ++section;
        EXPECT_EQ(
            section->Characteristics & (IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE),
            DWORD{IMAGE_SCN_CNT_INITIALIZED_DATA})
            << name;
        EXPECT_EQ(*reinterpret_cast<const DWORD*>(image.At(rva)), 1u) << name;
        found.insert(name);
    }
    EXPECT_EQ(found, (std::set<std::string>{"AmdPowerXpressRequestHighPerformance", "NvOptimusEnablement"}));
}

TEST(ExecutableImage, IconGroupsHoldEverySizeFrom16To256) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    // MAINICON for the shell; 32512 is what the window falls back to.
    for (const wchar_t* name : {L"MAINICON", static_cast<const wchar_t*>(MAKEINTRESOURCEW(32512))}) {
        const std::string group = image.Resource(name, RT_GROUP_ICON);
        ASSERT_GE(group.size(), 6u);
        const auto* words = reinterpret_cast<const WORD*>(group.data());
        EXPECT_EQ(words[1], 1) << "an icon group";
        ASSERT_EQ(group.size(), 6u + words[2] * 14u);
        std::set<int> sizes;
        for (WORD i = 0; i < words[2]; ++i) {
            // Each entry: width, height (0 for 256), ..., the image's length and resource id.
            const char* entry = group.data() + 6 + i * 14;
            const int width = static_cast<BYTE>(entry[0]) ? static_cast<BYTE>(entry[0]) : 256;
            EXPECT_EQ(static_cast<BYTE>(entry[1]), static_cast<BYTE>(entry[0]));
            sizes.insert(width);
            const WORD id = *reinterpret_cast<const WORD*>(entry + 12);
            EXPECT_EQ(image.Resource(MAKEINTRESOURCEW(id), RT_ICON).size(), *reinterpret_cast<const DWORD*>(entry + 8));
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 32, 64, 128, 256}));
    }
}

TEST(ExecutableImage, ManifestAsksForSystemDpiUtf8TheSegmentHeapAndWindows10) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    const std::string manifest = image.Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    const std::string settings = "\\s+xmlns=\"http://schemas.microsoft.com/SMI/20";
    for (const std::string& pattern : {
             std::string("<requestedExecutionLevel[^>]*\\slevel=\"asInvoker\""),
             "<dpiAware" + settings + "05/WindowsSettings\"\\s*>\\s*true\\s*</",
             "<activeCodePage" + settings + "19/WindowsSettings\"\\s*>\\s*UTF-8\\s*</",
             "<heapType" + settings + "20/WindowsSettings\"\\s*>\\s*SegmentHeap\\s*</",
             std::string("<supportedOS\\s+Id=\"\\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\\}\""),
         }) {
        EXPECT_TRUE(std::regex_search(manifest, std::regex(pattern))) << pattern << "\n" << manifest;
    }
    // No per-monitor awareness that would override the system-level one.
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
}

}  // namespace
