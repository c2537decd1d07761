#include "entry_name_check.h"

#include <map>
#include <string_view>

#include "util/windows_names.h"

namespace {

// The UTF-16 units Windows counts for a UTF-8 segment: four-byte sequences take two.
size_t Utf16Length(const std::string& segment) {
    size_t units = 0;
    for (const char c : segment) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::string FoldedCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return folded;
}

// Length of the valid UTF-8 sequence at `at` that is no C1 control, or 0.
size_t PrintableSequence(const std::string& text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xC2 && second < 0xA0) return 0;  // C1 controls
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90) ||
        (lead == 0xED && second >= 0xA0)) {
        return 0;  // over-long forms, surrogates, beyond U+10FFFF
    }
    return length;
}

std::string SegmentReason(const std::string& segment) {
    if (segment.empty()) return "empty path segment";
    if (segment == "." || segment == "..") return "'" + segment + "' segment";
    if (segment.back() == '.' || segment.back() == ' ') return "segment ending in a dot or space";
    if (IsWindowsDeviceName(segment)) return "reserved device name '" + segment + "'";
    if (Utf16Length(segment) > 255) return "path segment longer than 255 characters";
    return "";
}

}  // namespace

std::string UnsafeEntryNameReason(const std::string& name) {
    if (name.empty()) return "empty name";
    if (name.front() == '/') return "absolute path";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') return "backslash in name";
        if (c == ':') return "drive or stream designator ':'";
        if (byte < 0x20 || byte == 0x7F) return "control character in name";
        if (std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
            return std::string("character '") + c + "' that Windows refuses in names";
        }
    }
    size_t begin = 0;
    while (true) {
        const size_t end = name.find('/', begin);
        std::string reason = SegmentReason(name.substr(begin, end - begin));
        if (!reason.empty()) return reason;
        if (end == std::string::npos) return "";
        begin = end + 1;
    }
}

std::optional<BadEntry> FirstBadEntry(const std::vector<std::string>& names) {
    std::map<std::string, const std::string*> files;  // folded name -> the name
    std::map<std::string, const std::string*> folders;
    for (size_t index = 0; index < names.size(); ++index) {
        const std::string& name = names[index];
        std::string reason = UnsafeEntryNameReason(name);
        const std::string folded = FoldedCase(name);
        for (size_t slash = folded.find('/'); reason.empty() && slash != std::string::npos;
             slash = folded.find('/', slash + 1)) {
            const std::string folder = folded.substr(0, slash);
            const auto file = files.find(folder);
            if (file != files.end()) reason = "'" + *file->second + "' is both a file and a folder";
            folders.emplace(folder, &name);
        }
        if (reason.empty()) {
            if (folders.count(folded) != 0) {
                reason = "'" + name + "' is both a file and a folder";
            } else if (const auto file = files.find(folded); file != files.end()) {
                reason = *file->second == name ? "the name appears twice"
                                               : "the same file as '" + *file->second + "' once case is ignored";
            }
        }
        if (!reason.empty()) return BadEntry{index, reason};
        files.emplace(folded, &name);
    }
    return std::nullopt;
}

std::string PrintableName(const std::string& name) {
    std::string out;
    for (size_t at = 0; at < name.size();) {
        const auto byte = static_cast<unsigned char>(name[at]);
        const bool plain = byte >= 0x20 && byte < 0x7F;
        const size_t sequence = byte >= 0x80 ? PrintableSequence(name, at) : plain ? 1 : 0;
        if (sequence > 0) {
            out.append(name, at, sequence);
            at += sequence;
        } else {
            static const char hex[] = "0123456789ABCDEF";
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
            ++at;
        }
    }
    return out;
}
