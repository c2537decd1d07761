#pragma once
// The line protocol between the stand-in and the live bridge: one JSON object per
// line over a loopback socket. Response bodies travel as base64 pieces, each cut
// at a multiple of three bytes so the pieces join into the base64 of the whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// Bytes read from a body stream per piece: a multiple of three.
inline constexpr std::size_t bodyPieceBytes = 3 * 64 * 1024;

std::string Base64Encode(const std::uint8_t* data, std::size_t size);

// Splits received bytes into lines (without their line feed); a line may
// arrive in many pieces, and one piece may hold many lines.
class LineSplitter {
public:
    void Append(const char* data, std::size_t size) { pending_.append(data, size); }
    // The next complete line, if one has arrived.
    std::optional<std::string> Next();

private:
    std::string pending_;
    std::size_t start_ = 0;
};

struct BridgeAddress {
    std::string host;
    std::uint16_t port = 0;
};

// "127.0.0.1:4711"; nothing for text that is not host, colon, port 1 to 65535.
std::optional<BridgeAddress> ParseBridgeAddress(std::string_view text);

}  // namespace standin
