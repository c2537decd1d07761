#include "live_wire.h"

#include <cctype>

namespace standin {

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const std::uint32_t group = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        text.push_back(alphabet[(group >> 18) & 63]);
        text.push_back(alphabet[(group >> 12) & 63]);
        text.push_back(alphabet[(group >> 6) & 63]);
        text.push_back(alphabet[group & 63]);
    }
    const std::size_t left = size - i;
    if (left > 0) {
        const std::uint32_t group = (data[i] << 16) | (left == 2 ? data[i + 1] << 8 : 0);
        text.push_back(alphabet[(group >> 18) & 63]);
        text.push_back(alphabet[(group >> 12) & 63]);
        text.push_back(left == 2 ? alphabet[(group >> 6) & 63] : '=');
        text.push_back('=');
    }
    return text;
}

std::optional<std::string> LineSplitter::Next() {
    const std::size_t end = pending_.find('\n', start_);
    if (end == std::string::npos) {
        // Keep only the unfinished line, so a long run does not grow the buffer.
        pending_.erase(0, start_);
        start_ = 0;
        return std::nullopt;
    }
    std::string line = pending_.substr(start_, end - start_);
    start_ = end + 1;
    return line;
}

std::optional<BridgeAddress> ParseBridgeAddress(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == text.size()) return std::nullopt;
    std::uint32_t port = 0;
    for (const char c : text.substr(colon + 1)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        port = port * 10 + static_cast<std::uint32_t>(c - '0');
        if (port > 65535) return std::nullopt;
    }
    if (port == 0) return std::nullopt;
    return BridgeAddress{std::string(text.substr(0, colon)), static_cast<std::uint16_t>(port)};
}

}  // namespace standin
