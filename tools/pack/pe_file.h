#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// A 64-bit Windows program or library (PE32+) read from its bytes, without the Windows
// API, so that the packer can inspect and rewrite one on any system. Throws
// std::runtime_error with a message for the user when the bytes are not such a file.

// A resource's type or name: a number, or (when `name` is not empty) a UTF-16 name.
struct ResourceId {
    uint16_t id = 0;
    std::u16string name;

    ResourceId() = default;
    ResourceId(uint16_t number) : id(number) {}  // NOLINT: ids read best as plain numbers
    explicit ResourceId(const char* text);
    // The order of a resource directory: names before numbers, names without regard to case.
    bool operator<(const ResourceId& other) const;
    bool operator==(const ResourceId& other) const { return id == other.id && name == other.name; }
};

struct ResourceData {
    std::string bytes;
    uint32_t codePage = 0;
};

// type -> name -> language -> data, the three levels of the resource tree.
using ResourceTree = std::map<ResourceId, std::map<ResourceId, std::map<uint16_t, ResourceData>>>;

inline constexpr uint16_t kResourceIcon = 3;
inline constexpr uint16_t kResourceGroupIcon = 14;
inline constexpr uint16_t kResourceVersion = 16;
inline constexpr uint16_t kResourceManifest = 24;

class PeFile {
public:
    // `what` names the file in messages ("WebView2Loader.dll", a path).
    PeFile(std::string bytes, std::string what);

    const std::string& Bytes() const { return bytes_; }
    bool IsDll() const;
    std::vector<std::string> ExportNames() const;
    ResourceTree Resources() const;
    // The file with its resource section replaced by `tree`: the sections after it move
    // up, the image size, section table, data directories and checksum follow. Debug
    // sections, the symbol table and a signature are dropped, as strip does: the
    // loader never reads the first two, and the signature would no longer match.
    std::string WithResources(const ResourceTree& tree) const;

private:
    struct Section {
        uint32_t virtualSize = 0;
        uint32_t virtualAddress = 0;
        uint32_t rawSize = 0;
        uint32_t rawOffset = 0;
        uint32_t characteristics = 0;
        std::string name;
    };
    struct Directory {
        uint32_t rva = 0;
        uint32_t size = 0;
    };

    uint32_t U32(size_t offset) const;
    uint16_t U16(size_t offset) const;
    // File offset of `length` bytes at `rva`, all inside one section; throws otherwise.
    size_t Offset(uint32_t rva, uint32_t length) const;
    std::string Text(uint32_t rva) const;
    size_t SectionOf(uint32_t rva) const;
    void ReadResourceDirectory(uint32_t base, uint32_t offset, int level, ResourceTree& tree,
                               std::vector<ResourceId>& path) const;
    [[noreturn]] void Fail(const std::string& problem) const;

    std::string bytes_;
    std::string what_;
    size_t coffHeader_ = 0;
    size_t optionalHeader_ = 0;
    size_t sectionTable_ = 0;
    uint32_t sectionAlignment_ = 0;
    uint32_t fileAlignment_ = 0;
    std::vector<Section> sections_;
    std::vector<Directory> directories_;
};

// The standard PE checksum of `bytes`, whose checksum field lies at `checksumOffset`.
uint32_t PeChecksum(const std::string& bytes, size_t checksumOffset);

// Reads a whole file; throws std::runtime_error naming it when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
