#include "body_digest.h"

#include <cinttypes>
#include <cstdio>

namespace standin {

std::uint64_t Fnv1a64(const std::uint8_t* data, std::size_t size) {
    return Fnv1a64Continue(fnv1a64Start, data, size);
}

std::uint64_t Fnv1a64Continue(std::uint64_t hash, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string DigestText(std::uint64_t digest) {
    char text[20];
    std::snprintf(text, sizeof text, "%016" PRIx64, digest);
    return text;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 0x0F]);
    }
    return text;
}

Json DescribeBody(const std::vector<std::uint8_t>& bytes) {
    Json body = Json::object();
    body["length"] = bytes.size();
    body["fnv1a64"] = DigestText(Fnv1a64(bytes.data(), bytes.size()));
    if (bytes.size() <= maxHexBody) body["hex"] = HexBytes(bytes);
    return body;
}

}  // namespace standin
