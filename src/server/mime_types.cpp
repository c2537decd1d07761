#include "server/mime_types.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Table order; an extension already present would keep its first type.
constexpr std::pair<std::string_view, std::string_view> mimeTypeRows[] = {
    {".html", "text/html; charset=utf-8"},
    {".htm", "text/html; charset=utf-8"},
    {".js", "application/javascript; charset=utf-8"},
    {".ts", "application/typescript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".json", "application/json; charset=utf-8"},
    {".xml", "text/xml; charset=utf-8"},
    {".csv", "text/csv; charset=utf-8"},
    {".tsv", "text/tab-separated-values; charset=utf-8"},
    {".txt", "text/plain; charset=utf-8"},
    {".md", "text/markdown; charset=utf-8"},
    {".ini", "text/plain; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".wast", "application/wast"},
    {".png", "image/png"},
    {".apng", "image/apng"},
    {".jpg", "image/jpeg"},
    {".jpeg", "image/jpeg"},
    {".jxl", "image/jxl"},
    {".svg", "image/svg+xml"},
    {".webp", "image/webp"},
    {".gif", "image/gif"},
    {".tif", "image/tiff"},
    {".tiff", "image/tiff"},
    {".bmp", "image/bmp"},
    {".ico", "image/x-icon"},
    {".avif", "image/avif"},
    {".webm", "video/webm"},
    {".m4a", "audio/mp4"},
    {".mp3", "audio/mpeg"},
    {".mp4", "video/mp4"},
    {".mpg", "video/mpeg"},
    {".mpeg", "video/mpeg"},
    {".opus", "audio/ogg; codecs=opus"},
    {".ogg", "audio/ogg"},
    {".ogv", "video/ogg"},
    {".flac", "audio/flac"},
    {".wav", "audio/wav"},
    {".mid", "audio/midi"},
    {".midi", "audio/midi"},
    {".kar", "audio/midi"},
    {".woff", "application/font-woff"},
    {".woff2", "font/woff2"},
    {".ttf", "application/font-sfnt"},
    {".otf", "application/font-sfnt"},
    {".eot", "application/vnd.ms-fontobject"},
    {".zip", "application/zip"},
    {".pdf", "application/pdf"},
    {".scml", "text/xml"},
    {".scon", "application/json"},
};

constexpr std::size_t LongestExtension() {
    std::size_t longest = 0;
    for (const auto& row : mimeTypeRows) longest = row.first.size() > longest ? row.first.size() : longest;
    return longest;
}
// With its dot; a longer extension cannot be in the table.
constexpr std::size_t maxExtensionLength = LongestExtension();
static_assert(maxExtensionLength <= 8, "an extension is looked up as one 64-bit key");

constexpr bool TypesFit() {
    for (const auto& row : mimeTypeRows) {
        if (row.second.size() > maxMimeTypeLength) return false;
    }
    return true;
}
static_assert(TypesFit(), "a type longer than maxMimeTypeLength");

// An extension as one number, its bytes after the dot and its length: lookups
// compare numbers, not strings.
uint64_t ExtensionKey(const char* extension, std::size_t length) {
    uint64_t key = 0;
    std::memcpy(&key, extension + 1, length - 1);
    return key ^ (uint64_t{length} << 56);
}

struct MimeType {
    uint64_t key;
    std::string_view type;
};

// The table sorted by key; of two rows with one extension the first would stay.
std::vector<MimeType> BuildMimeTypes() {
    std::vector<MimeType> types;
    for (const auto& row : mimeTypeRows)
        types.push_back({ExtensionKey(row.first.data(), row.first.size()), row.second});
    std::stable_sort(types.begin(), types.end(), [](const MimeType& a, const MimeType& b) { return a.key < b.key; });
    types.erase(
        std::unique(types.begin(), types.end(), [](const MimeType& a, const MimeType& b) { return a.key == b.key; }),
        types.end());
    return types;
}

// Built before start-up runs and only read afterwards; the types are literals.
const std::vector<MimeType> mimeTypes = BuildMimeTypes();
constexpr std::string_view defaultMimeType = "application/octet-stream";

}  // namespace

MimeTypeRows MimeTypeTable() {
    return {mimeTypeRows, sizeof mimeTypeRows / sizeof mimeTypeRows[0]};
}

std::string_view MimeTypeForPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot > maxExtensionLength) return defaultMimeType;
    // Lower-cased on the stack: a lookup per request must not allocate.
    char lower[maxExtensionLength];
    const std::size_t length = path.size() - dot;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = path[dot + i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const uint64_t key = ExtensionKey(lower, length);
    const auto found = std::lower_bound(mimeTypes.begin(), mimeTypes.end(), key,
                                        [](const MimeType& type, uint64_t wanted) { return type.key < wanted; });
    return found != mimeTypes.end() && found->key == key ? found->type : defaultMimeType;
}
