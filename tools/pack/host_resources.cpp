#include "host_resources.h"

#include <stdexcept>

#include "little_endian.h"
#include "pe_file.h"

namespace {

// What the host's own version resource says of it (src/app/resources/version_info.rc.in).
const char kHostDescription[] = "Tessarine web app host";
const char kMainIcon[] = "MAINICON";
constexpr uint16_t kFallbackIcon = 32512;
constexpr uint16_t kVersionId = 1;
constexpr uint16_t kManifestId = 1;
constexpr uint16_t kEnglishUs = 0x0409;

std::u16string Utf16(const std::string& utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > utf8.size()) throw std::runtime_error("text that is not UTF-8: " + utf8);
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) throw std::runtime_error("text that is not UTF-8: " + utf8);
            code = (code << 6) | (next & 0x3F);
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

void AddText(std::string& out, const std::u16string& text) {
    for (char16_t c : text) AppendLe16(out, c);
    AppendLe16(out, 0);
}

void Align4(std::string& out) {
    out.resize((out.size() + 3) / 4 * 4, '\0');
}

// One node of the version tree: length, value length, type, key, value, children,
// each part starting on a 32-bit boundary; the length leaves out trailing padding.
std::string Node(const std::string& key, uint16_t valueLength, bool text, const std::string& value,
                 const std::vector<std::string>& children = {}) {
    std::string out(6, '\0');
    AddText(out, Utf16(key));
    Align4(out);
    out += value;
    for (const std::string& child : children) {
        Align4(out);
        out += child;
    }
    std::string header;
    AppendLe16(header, static_cast<uint32_t>(out.size()));
    AppendLe16(header, valueLength);
    AppendLe16(header, text ? 1 : 0);
    out.replace(0, 6, header);
    return out;
}

std::string StringNode(const std::string& key, const std::string& value) {
    const std::u16string text = Utf16(value);
    std::string bytes;
    AddText(bytes, text);
    return Node(key, static_cast<uint16_t>(text.size() + 1), true, bytes);
}

bool Contains(const std::string& bytes, const std::string& utf8) {
    std::string needle;
    for (char16_t c : Utf16(utf8)) AppendLe16(needle, c);
    return bytes.find(needle) != std::string::npos;
}

}  // namespace

std::array<uint16_t, 4> ParseVersion(const std::string& version) {
    auto fail = [&](const std::string& why) {
        return std::runtime_error("invalid version \"" + version + "\": " + why);
    };
    std::array<uint16_t, 4> parts{};
    size_t part = 0, at = 0;
    for (;;) {
        const size_t end = version.find('.', at);
        const std::string digits = version.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (part == parts.size()) throw fail("more than four numbers");
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) {
            throw fail("write numbers 0 to 65535 joined by dots, such as 1.2.3");
        }
        const unsigned long value = std::stoul(digits);
        if (value > 0xFFFF) throw fail("write numbers 0 to 65535 joined by dots, such as 1.2.3");
        parts[part++] = static_cast<uint16_t>(value);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return parts;
}

std::string VersionResource(const ProductInfo& info) {
    const std::array<uint16_t, 4> v = ParseVersion(info.version);
    std::string fixed;
    AppendLe32(fixed, 0xFEEF04BD);             // signature
    AppendLe32(fixed, 0x00010000);             // structure version
    for (int twice = 0; twice < 2; ++twice) {  // file, then product version
        AppendLe32(fixed, uint32_t{v[0]} << 16 | v[1]);
        AppendLe32(fixed, uint32_t{v[2]} << 16 | v[3]);
    }
    AppendLe32(fixed, 0x3F);     // flags mask
    AppendLe32(fixed, 0);        // flags
    AppendLe32(fixed, 0x40004);  // VOS_NT_WINDOWS32
    AppendLe32(fixed, 1);        // VFT_APP
    AppendLe32(fixed, 0);        // subtype
    AppendLe32(fixed, 0);        // date, high
    AppendLe32(fixed, 0);        // date, low

    std::string internalName = info.fileName;
    if (internalName.size() > 4 && internalName.compare(internalName.size() - 4, 4, ".exe") == 0) {
        internalName.resize(internalName.size() - 4);
    }
    std::vector<std::string> strings;
    if (!info.publisher.empty()) strings.push_back(StringNode("CompanyName", info.publisher));
    strings.push_back(StringNode("FileDescription", info.description));
    strings.push_back(StringNode("FileVersion", info.version));
    strings.push_back(StringNode("InternalName", internalName));
    if (!info.copyright.empty()) strings.push_back(StringNode("LegalCopyright", info.copyright));
    strings.push_back(StringNode("OriginalFilename", info.fileName));
    strings.push_back(StringNode("ProductName", info.productName));
    strings.push_back(StringNode("ProductVersion", info.version));

    std::string translation;
    AppendLe16(translation, kEnglishUs);
    AppendLe16(translation, 1200);  // UTF-16
    const std::string stringInfo = Node("StringFileInfo", 0, true, "", {Node("040904B0", 0, true, "", strings)});
    const std::string varInfo = Node("VarFileInfo", 0, true, "", {Node("Translation", 4, false, translation)});
    return Node("VS_VERSION_INFO", static_cast<uint16_t>(fixed.size()), false, fixed, {stringInfo, varInfo});
}

std::string RewriteHost(const std::string& hostBytes, const std::string& shownName, const std::vector<IconImage>& icon,
                        const ProductInfo& info) {
    const PeFile host(hostBytes, shownName);
    ResourceTree tree = host.Resources();
    const auto version = tree.find(kResourceVersion);
    const auto groups = tree.find(kResourceGroupIcon);
    const bool isHost = !host.IsDll() && tree.count(kResourceManifest) && tree[kResourceManifest].count(kManifestId) &&
                        groups != tree.end() && groups->second.count(ResourceId(kMainIcon)) && version != tree.end() &&
                        version->second.count(kVersionId) && !version->second[kVersionId].empty() &&
                        Contains(version->second[kVersionId].begin()->second.bytes, kHostDescription);
    if (!isHost) {
        throw std::runtime_error(shownName + ": not the Tessarine host (tessarine.exe as the build makes it)");
    }
    // The languages the host's resources were written in stay theirs.
    const uint16_t versionLanguage = version->second[kVersionId].begin()->first;
    version->second[kVersionId] = {{versionLanguage, {VersionResource(info), 0}}};

    if (!icon.empty()) {
        const uint16_t iconLanguage = groups->second[ResourceId(kMainIcon)].begin()->first;
        std::string group;
        AppendLe16(group, 0);
        AppendLe16(group, 1);
        AppendLe16(group, static_cast<uint32_t>(icon.size()));
        auto& images = tree[kResourceIcon];
        images.clear();
        for (size_t i = 0; i < icon.size(); ++i) {
            const IconImage& image = icon[i];
            group.push_back(static_cast<char>(image.width & 0xFF));
            group.push_back(static_cast<char>(image.height & 0xFF));
            group.push_back(static_cast<char>(image.colorCount));
            group.push_back('\0');
            AppendLe16(group, image.planes);
            AppendLe16(group, image.bitCount);
            AppendLe32(group, static_cast<uint32_t>(image.bytes.size()));
            AppendLe16(group, static_cast<uint32_t>(i + 1));
            images[static_cast<uint16_t>(i + 1)] = {{iconLanguage, {image.bytes, 0}}};
        }
        groups->second.clear();
        groups->second[ResourceId(kMainIcon)] = {{iconLanguage, {group, 0}}};
        groups->second[kFallbackIcon] = {{iconLanguage, {group, 0}}};
    }
    return host.WithResources(tree);
}
