#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

// MIME type for a request path, chosen by the text from its last dot;
// "application/octet-stream" when the extension is unknown or absent. The text
// lives as long as the process.
std::string_view MimeTypeForPath(std::string_view path);

// No type the lookup gives is longer.
constexpr std::size_t maxMimeTypeLength = 64;

// The table's rows (extension with its dot, type) in the order it is built.
struct MimeTypeRows {
    const std::pair<std::string_view, std::string_view>* rows;
    std::size_t count;
};
MimeTypeRows MimeTypeTable();
