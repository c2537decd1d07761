// What tessarine.exe carries in its image for the loader, the shell and graphics
// drivers: the GPU preference exports, the icon group and the manifest.
#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "e2e/app_folder.h"

namespace {

// The built host, mapped as an image for reading: no code runs, nothing is resolved.
class HostImage {
public:
    HostImage() {
        const std::wstring path = (e2e::RunnerFolder() / L"tessarine.exe").wstring();
        module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    }
    ~HostImage() {
        if (module_) FreeLibrary(module_);
    }
    HostImage(const HostImage&) = delete;
    HostImage& operator=(const HostImage&) = delete;

    HMODULE module() const { return module_; }
    // The low bits of the handle mark how the image was loaded.
    const BYTE* base() const {
        return reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3});
    }
    const IMAGE_NT_HEADERS64* headers() const {
        return reinterpret_cast<const IMAGE_NT_HEADERS64*>(base() +
                                                           reinterpret_cast<const IMAGE_DOS_HEADER*>(base())->e_lfanew);
    }

    // Exported name -> address (RVA).
    std::map<std::string, DWORD> Exports() const {
        std::map<std::string, DWORD> exports;
        const IMAGE_DATA_DIRECTORY& entry = headers()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        if (entry.VirtualAddress == 0) return exports;
        const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base() + entry.VirtualAddress);
        const auto* names = reinterpret_cast<const DWORD*>(base() + directory->AddressOfNames);
        const auto* ordinals = reinterpret_cast<const WORD*>(base() + directory->AddressOfNameOrdinals);
        const auto* functions = reinterpret_cast<const DWORD*>(base() + directory->AddressOfFunctions);
        for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
            exports[reinterpret_cast<const char*>(base() + names[i])] = functions[ordinals[i]];
        }
        return exports;
    }

    // The characteristics of the section holding the address; 0 when none does.
    DWORD SectionFlags(DWORD rva) const {
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers());
        for (WORD i = 0; i < headers()->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize) {
                return section->Characteristics;
            }
        }
        return 0;
    }

    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_ = nullptr;
};

TEST(ExecutableImage, ExportsTwoDataValuesThatAskForTheDiscreteGpu) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    const auto exports = image.Exports();
    for (const char* name : {"NvOptimusEnablement", "AmdPowerXpressRequestHighPerformance"}) {
        SCOPED_TRACE(name);
        const auto found = exports.find(name);
        ASSERT_NE(found, exports.end());
        const DWORD flags = image.SectionFlags(found->second);
        EXPECT_TRUE(flags & IMAGE_SCN_CNT_INITIALIZED_DATA) << std::hex << flags;
        EXPECT_FALSE(flags & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE)) << std::hex << flags;
        EXPECT_EQ(*reinterpret_cast<const DWORD*>(image.base() + found->second), 1u);
    }
}

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;  // 1: icons
    WORD count;
};
struct IconGroupEntry {
    BYTE width;  // 0 means 256
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ExecutableImage, IconGroupsHoldEverySizeFrom16To256) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    // MAINICON for the shell; 32512 is what the window falls back to.
    for (const wchar_t* name :
         {static_cast<const wchar_t*>(L"MAINICON"), static_cast<const wchar_t*>(MAKEINTRESOURCEW(32512))}) {
        SCOPED_TRACE(IS_INTRESOURCE(name) ? "32512" : "MAINICON");
        const std::string group = image.Resource(name, RT_GROUP_ICON);
        ASSERT_GE(group.size(), sizeof(IconGroupHeader));
        const auto* header = reinterpret_cast<const IconGroupHeader*>(group.data());
        EXPECT_EQ(header->type, 1);
        ASSERT_EQ(group.size(), sizeof(IconGroupHeader) + header->count * sizeof(IconGroupEntry));
        std::set<int> sizes;
        const auto* entries = reinterpret_cast<const IconGroupEntry*>(group.data() + sizeof(IconGroupHeader));
        for (WORD i = 0; i < header->count; ++i) {
            const int width = entries[i].width == 0 ? 256 : entries[i].width;
            const int height = entries[i].height == 0 ? 256 : entries[i].height;
            EXPECT_EQ(width, height);
            sizes.insert(width);
            // Every image the group names is there, as long as the group says.
            EXPECT_EQ(image.Resource(MAKEINTRESOURCEW(entries[i].id), RT_ICON).size(), entries[i].bytes) << width;
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 32, 64, 128, 256}));
    }
}

// The start tag of the first element with this local name (with or without a prefix),
// and the text right after it.
struct Element {
    std::string tag;
    std::string text;
};

std::optional<Element> FindElement(const std::string& xml, const std::string& name) {
    for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        const size_t nameEnd = xml.find_first_of(" \t\r\n/>", at + 1);
        if (nameEnd == std::string::npos) break;
        std::string tagName = xml.substr(at + 1, nameEnd - at - 1);
        const size_t colon = tagName.find(':');
        if (colon != std::string::npos) tagName.erase(0, colon + 1);
        if (tagName != name) continue;
        const size_t tagEnd = xml.find('>', at);
        if (tagEnd == std::string::npos) break;
        Element element;
        element.tag = xml.substr(at, tagEnd - at + 1);
        if (xml[tagEnd - 1] != '/') element.text = xml.substr(tagEnd + 1, xml.find('<', tagEnd) - tagEnd - 1);
        return element;
    }
    return std::nullopt;
}

bool HasAttribute(const Element& element, const std::string& name, const std::string& value) {
    return element.tag.find(" " + name + "=\"" + value + "\"") != std::string::npos;
}

TEST(ExecutableImage, ManifestAsksForSystemDpiUtf8TheSegmentHeapAndWindows10) {
    HostImage image;
    ASSERT_NE(image.module(), nullptr) << GetLastError();
    const std::string manifest = image.Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    SCOPED_TRACE(manifest);

    const auto level = FindElement(manifest, "requestedExecutionLevel");
    ASSERT_TRUE(level);
    EXPECT_TRUE(HasAttribute(*level, "level", "asInvoker")) << level->tag;

    // System DPI awareness: dpiAware true, and no per-monitor dpiAwareness to override it.
    const auto dpiAware = FindElement(manifest, "dpiAware");
    ASSERT_TRUE(dpiAware);
    EXPECT_EQ(dpiAware->text, "true");
    EXPECT_TRUE(HasAttribute(*dpiAware, "xmlns", "http://schemas.microsoft.com/SMI/2005/WindowsSettings"));
    EXPECT_FALSE(FindElement(manifest, "dpiAwareness"));

    const auto codePage = FindElement(manifest, "activeCodePage");
    ASSERT_TRUE(codePage);
    EXPECT_EQ(codePage->text, "UTF-8");
    EXPECT_TRUE(HasAttribute(*codePage, "xmlns", "http://schemas.microsoft.com/SMI/2019/WindowsSettings"));

    const auto heap = FindElement(manifest, "heapType");
    ASSERT_TRUE(heap);
    EXPECT_EQ(heap->text, "SegmentHeap");
    EXPECT_TRUE(HasAttribute(*heap, "xmlns", "http://schemas.microsoft.com/SMI/2020/WindowsSettings"));

    const auto os = FindElement(manifest, "supportedOS");
    ASSERT_TRUE(os);
    EXPECT_TRUE(HasAttribute(*os, "Id", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}")) << os->tag;
}

}  // namespace
