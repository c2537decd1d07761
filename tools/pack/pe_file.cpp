#include "pe_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint16_t kFileDll = 0x2000;
constexpr size_t kDirectoryExport = 0;
constexpr size_t kDirectoryResource = 2;
constexpr size_t kDirectorySecurity = 4;
constexpr size_t kDirectoryRelocation = 5;
constexpr size_t kSectionHeaderLength = 40;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr uint32_t kSectionDiscardable = 0x02000000u;
// The optional header's checksum, image size and data directories, from its start.
constexpr size_t kOptionalSizeOfImage = 56;
constexpr size_t kOptionalCheckSum = 64;
constexpr size_t kOptionalDirectoryCount = 108;
constexpr size_t kOptionalDirectories = 112;

uint32_t AlignUp(uint64_t value, uint32_t alignment) {
    const uint64_t aligned = (value + alignment - 1) / alignment * alignment;
    if (aligned > UINT32_MAX) throw std::runtime_error("the rewritten file would be too large");
    return static_cast<uint32_t>(aligned);
}

void Put16(std::string& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

ResourceId::ResourceId(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) name.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
}

bool ResourceId::operator<(const ResourceId& other) const {
    const bool named = !name.empty();
    const bool otherNamed = !other.name.empty();
    if (named != otherNamed) return named;
    if (!named) return id < other.id;
    return std::lexicographical_compare(name.begin(), name.end(), other.name.begin(), other.name.end(),
                                        [](char16_t a, char16_t b) { return Upper(a) < Upper(b); });
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) throw std::runtime_error("cannot read " + path.u8string());
    return std::move(bytes).str();
}

PeFile::PeFile(std::string bytes, std::string what) : bytes_(std::move(bytes)), what_(std::move(what)) {
    if (bytes_.size() < 0x40 || bytes_.compare(0, 2, "MZ") != 0) Fail("not a Windows program or library");
    const uint32_t peOffset = U32(0x3C);
    if (bytes_.size() < uint64_t{peOffset} + 24 || bytes_.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0) {
        Fail("not a Windows program or library");
    }
    coffHeader_ = peOffset + 4;
    optionalHeader_ = coffHeader_ + 20;
    if (U16(coffHeader_) != kMachineAmd64) Fail("not a 64-bit (x64) program or library");
    const uint16_t optionalLength = U16(coffHeader_ + 16);
    if (optionalLength < kOptionalDirectories || bytes_.size() < optionalHeader_ + optionalLength ||
        U16(optionalHeader_) != kMagicPe32Plus) {
        Fail("not a 64-bit (PE32+) program or library");
    }
    sectionAlignment_ = U32(optionalHeader_ + 32);
    fileAlignment_ = U32(optionalHeader_ + 36);
    if (sectionAlignment_ == 0 || fileAlignment_ == 0) Fail("damaged headers");
    const uint32_t directoryCount =
        std::min<uint32_t>(U32(optionalHeader_ + kOptionalDirectoryCount), (optionalLength - kOptionalDirectories) / 8);
    for (uint32_t i = 0; i < directoryCount; ++i) {
        const size_t at = optionalHeader_ + kOptionalDirectories + size_t{8} * i;
        directories_.push_back({U32(at), U32(at + 4)});
    }
    sectionTable_ = optionalHeader_ + optionalLength;
    const uint16_t sectionCount = U16(coffHeader_ + 2);
    if (bytes_.size() < sectionTable_ + kSectionHeaderLength * sectionCount) Fail("damaged section table");
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable_ + kSectionHeaderLength * i;
        Section section;
        section.name = bytes_.substr(at, 8);
        section.name.resize(std::min(section.name.find('\0'), section.name.size()));
        section.virtualSize = U32(at + 8);
        section.virtualAddress = U32(at + 12);
        section.rawSize = U32(at + 16);
        section.rawOffset = U32(at + 20);
        section.characteristics = U32(at + 36);
        if (section.rawSize != 0 && uint64_t{section.rawOffset} + section.rawSize > bytes_.size()) {
            Fail("a section lies beyond the end of the file");
        }
        sections_.push_back(section);
    }
}

void PeFile::Fail(const std::string& problem) const {
    throw std::runtime_error(what_ + ": " + problem);
}

uint32_t PeFile::U32(size_t offset) const {
    if (offset + 4 > bytes_.size()) Fail("damaged file");
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes_[offset + i]);
    return value;
}

uint16_t PeFile::U16(size_t offset) const {
    if (offset + 2 > bytes_.size()) Fail("damaged file");
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes_[offset]) |
                                 (static_cast<unsigned char>(bytes_[offset + 1]) << 8));
}

size_t PeFile::SectionOf(uint32_t rva) const {
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        const uint32_t extent = std::max(section.virtualSize, section.rawSize);
        if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) return i;
    }
    Fail("an address outside every section");
}

size_t PeFile::Offset(uint32_t rva, uint32_t length) const {
    const Section& section = sections_[SectionOf(rva)];
    const uint64_t inSection = rva - section.virtualAddress;
    if (inSection + length > section.rawSize) Fail("data beyond the end of its section");
    return section.rawOffset + inSection;
}

std::string PeFile::Text(uint32_t rva) const {
    const Section& section = sections_[SectionOf(rva)];
    const size_t start = Offset(rva, 1);
    const size_t end = bytes_.find('\0', start);
    if (end == std::string::npos || end >= section.rawOffset + size_t{section.rawSize}) Fail("damaged name");
    return bytes_.substr(start, end - start);
}

bool PeFile::IsDll() const {
    return (U16(coffHeader_ + 18) & kFileDll) != 0;
}

std::vector<std::string> PeFile::ExportNames() const {
    std::vector<std::string> names;
    if (directories_.size() <= kDirectoryExport || directories_[kDirectoryExport].rva == 0) return names;
    const size_t table = Offset(directories_[kDirectoryExport].rva, 40);
    const uint32_t count = U32(table + 24);
    const uint32_t nameTable = U32(table + 32);
    if (count > 0x10000) Fail("damaged export table");
    const size_t at = count == 0 ? 0 : Offset(nameTable, count * 4);
    for (uint32_t i = 0; i < count; ++i) names.push_back(Text(U32(at + size_t{4} * i)));
    return names;
}

void PeFile::ReadResourceDirectory(uint32_t base, uint32_t offset, int level, ResourceTree& tree,
                                   std::vector<ResourceId>& path) const {
    if (level > 2) Fail("resource tree deeper than three levels");
    const size_t directory = Offset(base + offset, 16);
    const uint32_t entries = uint32_t{U16(directory + 12)} + U16(directory + 14);
    const size_t first = Offset(base + offset + 16, entries * 8);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t nameField = U32(first + size_t{8} * i);
        const uint32_t target = U32(first + size_t{8} * i + 4);
        ResourceId id;
        if (nameField & kSubdirectoryFlag) {
            const uint32_t at = base + (nameField & ~kSubdirectoryFlag);
            const uint16_t length = U16(Offset(at, 2));
            const size_t chars = Offset(at + 2, length * 2u);
            for (uint16_t c = 0; c < length; ++c) id.name.push_back(static_cast<char16_t>(U16(chars + size_t{2} * c)));
        } else {
            id.id = static_cast<uint16_t>(nameField);
        }
        path.push_back(id);
        if (target & kSubdirectoryFlag) {
            ReadResourceDirectory(base, target & ~kSubdirectoryFlag, level + 1, tree, path);
        } else {
            if (level != 2) Fail("resource tree shallower than three levels");
            const size_t entry = Offset(base + target, 16);
            ResourceData data;
            const uint32_t size = U32(entry + 4);
            data.bytes = size == 0 ? std::string() : bytes_.substr(Offset(U32(entry), size), size);
            data.codePage = U32(entry + 8);
            tree[path[0]][path[1]][path[2].id] = std::move(data);
        }
        path.pop_back();
    }
}

ResourceTree PeFile::Resources() const {
    ResourceTree tree;
    if (directories_.size() <= kDirectoryResource || directories_[kDirectoryResource].rva == 0) return tree;
    std::vector<ResourceId> path;
    ReadResourceDirectory(directories_[kDirectoryResource].rva, 0, 0, tree, path);
    return tree;
}

namespace {

// The resource section's bytes for a section placed at `base`: the directories first,
// then the data entries, the names and the data, each piece of data 8-byte aligned.
std::string BuildResourceSection(const ResourceTree& tree, uint32_t base) {
    auto directoryLength = [](size_t entries) { return 16 + 8 * entries; };
    size_t directories = directoryLength(tree.size());
    size_t dataEntries = 0;
    std::vector<const std::u16string*> names;
    for (const auto& [type, byName] : tree) {
        if (!type.name.empty()) names.push_back(&type.name);
        directories += directoryLength(byName.size());
        for (const auto& [name, byLanguage] : byName) {
            if (!name.name.empty()) names.push_back(&name.name);
            directories += directoryLength(byLanguage.size());
            dataEntries += byLanguage.size();
        }
    }
    const size_t entriesStart = directories;
    size_t namesLength = 0;
    for (const std::u16string* name : names) namesLength += 2 + 2 * name->size();
    const size_t namesStart = entriesStart + 16 * dataEntries;
    const size_t dataStart = (namesStart + namesLength + 7) / 8 * 8;

    std::string out(dataStart, '\0');
    size_t nextDirectory = 0, nextEntry = entriesStart, nextName = namesStart;
    std::string data;
    auto writeName = [&](const ResourceId& id) -> uint32_t {
        if (id.name.empty()) return id.id;
        const size_t at = nextName;
        Put16(out, at, static_cast<uint16_t>(id.name.size()));
        for (size_t i = 0; i < id.name.size(); ++i) Put16(out, at + 2 + 2 * i, static_cast<uint16_t>(id.name[i]));
        nextName += 2 + 2 * id.name.size();
        return static_cast<uint32_t>(at) | kSubdirectoryFlag;
    };
    // One directory header; returns where its entries go.
    auto writeDirectory = [&](size_t named, size_t numbered) {
        const size_t at = nextDirectory;
        Put16(out, at + 12, static_cast<uint16_t>(named));
        Put16(out, at + 14, static_cast<uint16_t>(numbered));
        nextDirectory += directoryLength(named + numbered);
        return at + 16;
    };
    auto counts = [](const auto& level) {
        size_t named = 0;
        for (const auto& item : level) named += item.first.name.empty() ? 0 : 1;
        return std::make_pair(named, level.size() - named);
    };
    // Breadth by level keeps every directory's entries together.
    auto [typesNamed, typesNumbered] = counts(tree);
    size_t typeSlot = writeDirectory(typesNamed, typesNumbered);
    for (const auto& [type, byName] : tree) {
        Put32(out, typeSlot, writeName(type));
        Put32(out, typeSlot + 4, static_cast<uint32_t>(nextDirectory) | kSubdirectoryFlag);
        typeSlot += 8;
        auto [named, numbered] = counts(byName);
        size_t nameSlot = writeDirectory(named, numbered);
        for (const auto& [name, byLanguage] : byName) {
            Put32(out, nameSlot, writeName(name));
            Put32(out, nameSlot + 4, static_cast<uint32_t>(nextDirectory) | kSubdirectoryFlag);
            nameSlot += 8;
            size_t languageSlot = writeDirectory(0, byLanguage.size());
            for (const auto& [language, resource] : byLanguage) {
                Put32(out, languageSlot, language);
                Put32(out, languageSlot + 4, static_cast<uint32_t>(nextEntry));
                languageSlot += 8;
                const uint64_t at = uint64_t{base} + dataStart + data.size();
                if (at > UINT32_MAX) throw std::runtime_error("resources too large");
                Put32(out, nextEntry, static_cast<uint32_t>(at));
                Put32(out, nextEntry + 4, static_cast<uint32_t>(resource.bytes.size()));
                Put32(out, nextEntry + 8, resource.codePage);
                nextEntry += 16;
                data += resource.bytes;
                data.resize((data.size() + 7) / 8 * 8, '\0');
            }
        }
    }
    return out + data;
}

}  // namespace

std::string PeFile::WithResources(const ResourceTree& tree) const {
    if (directories_.size() <= kDirectoryRelocation || directories_[kDirectoryResource].rva == 0) {
        Fail("has no resources to replace");
    }
    const size_t resource = SectionOf(directories_[kDirectoryResource].rva);
    if (sections_[resource].virtualAddress != directories_[kDirectoryResource].rva) {
        Fail("resources that do not start their section");
    }
    // Only the relocations may follow, as nothing refers to where they lie but their
    // directory, and debug sections (named in the symbol table's strings: "/4"), which go.
    std::vector<size_t> kept;
    for (size_t i = resource + 1; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        const bool debug = (section.characteristics & kSectionDiscardable) != 0 &&
                           (section.name.rfind('/', 0) == 0 || section.name.rfind(".debug", 0) == 0);
        if (section.name == ".reloc") {
            kept.push_back(i);
        } else if (!debug) {
            Fail("an unexpected section after the resources (" + section.name + ")");
        }
    }
    for (size_t i = 0; i < directories_.size(); ++i) {
        if (i == kDirectoryResource || i == kDirectoryRelocation || i == kDirectorySecurity) continue;
        if (directories_[i].rva != 0 && SectionOf(directories_[i].rva) >= resource) {
            Fail("data in or after the resource section that cannot move");
        }
    }
    for (size_t i = 1; i < sections_.size(); ++i) {
        if (sections_[i].virtualAddress < sections_[i - 1].virtualAddress ||
            (sections_[i].rawSize != 0 && sections_[i].rawOffset < sections_[i - 1].rawOffset)) {
            Fail("sections out of order");
        }
    }

    const Section& old = sections_[resource];
    const std::string rsrc = BuildResourceSection(tree, old.virtualAddress);
    std::string out = bytes_.substr(0, old.rawOffset);
    std::vector<Section> placed(sections_.begin(), sections_.begin() + static_cast<std::ptrdiff_t>(resource) + 1);
    placed[resource].virtualSize = static_cast<uint32_t>(rsrc.size());
    placed[resource].rawSize = AlignUp(rsrc.size(), fileAlignment_);
    out += rsrc;
    out.resize(old.rawOffset + size_t{placed[resource].rawSize}, '\0');
    uint32_t relocationDelta = 0;
    for (size_t i : kept) {
        const Section& previous = placed.back();
        Section moved = sections_[i];
        moved.virtualAddress = AlignUp(
            uint64_t{previous.virtualAddress} + std::max(previous.virtualSize, previous.rawSize), sectionAlignment_);
        moved.rawOffset = static_cast<uint32_t>(out.size());
        out += bytes_.substr(sections_[i].rawOffset, sections_[i].rawSize);
        relocationDelta = moved.virtualAddress - sections_[i].virtualAddress;
        placed.push_back(moved);
    }

    // The kept headers move up over the dropped ones; the rest of the table is cleared.
    for (size_t i = resource; i < sections_.size(); ++i) {
        const size_t at = sectionTable_ + kSectionHeaderLength * i;
        if (i >= placed.size()) {
            out.replace(at, kSectionHeaderLength, kSectionHeaderLength, '\0');
            continue;
        }
        const size_t from = sectionTable_ + kSectionHeaderLength * (i == resource ? resource : kept[i - resource - 1]);
        out.replace(at, kSectionHeaderLength, bytes_, from, kSectionHeaderLength);
        Put32(out, at + 8, placed[i].virtualSize);
        Put32(out, at + 12, placed[i].virtualAddress);
        Put32(out, at + 16, placed[i].rawSize);
        Put32(out, at + 20, placed[i].rawOffset);
    }
    Put16(out, coffHeader_ + 2, static_cast<uint16_t>(placed.size()));
    const Section& last = placed.back();
    Put32(out, optionalHeader_ + kOptionalSizeOfImage,
          AlignUp(uint64_t{last.virtualAddress} + std::max(last.virtualSize, last.rawSize), sectionAlignment_));
    auto directoryAt = [&](size_t index) { return optionalHeader_ + kOptionalDirectories + 8 * index; };
    Put32(out, directoryAt(kDirectoryResource) + 4, static_cast<uint32_t>(rsrc.size()));
    if (directories_[kDirectoryRelocation].rva != 0) {
        Put32(out, directoryAt(kDirectoryRelocation), directories_[kDirectoryRelocation].rva + relocationDelta);
    }
    // A signature would no longer match, and the symbol table lay after the old sections.
    Put32(out, directoryAt(kDirectorySecurity), 0);
    Put32(out, directoryAt(kDirectorySecurity) + 4, 0);
    Put32(out, coffHeader_ + 8, 0);
    Put32(out, coffHeader_ + 12, 0);
    Put32(out, optionalHeader_ + kOptionalCheckSum, PeChecksum(out, optionalHeader_ + kOptionalCheckSum));
    return out;
}

uint32_t PeChecksum(const std::string& bytes, size_t checksumOffset) {
    uint64_t sum = 0;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        if (i == checksumOffset || i == checksumOffset + 2) continue;
        uint32_t word = static_cast<unsigned char>(bytes[i]);
        if (i + 1 < bytes.size()) word |= uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum + bytes.size());
}
