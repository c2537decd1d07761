// What a test expects of one answer of the content server, checked against the
// stand-in's record of the response the host set (Windows-only).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace e2e_test {

// Reproducible bytes of every value 0..255, standing in for media and script files.
std::string PatternBytes(size_t size, uint32_t seed);

// FNV-1a 64-bit digest of the bytes, 16 lower-case hex digits.
std::string Fnv1a64Hex(const std::string& bytes);
// Two lower-case hex digits per byte.
std::string HexBytes(const std::string& bytes);

struct ExpectedResponse {
    int status = 0;
    std::string reason;
    std::string headers;              // the header lines joined by "\n"
    std::optional<std::string> body;  // nullopt: the response carries no stream at all
};

// 200 with the whole content.
ExpectedResponse WholeAnswer(const std::string& mimeType, const std::string& content);
// 206 for the inclusive byte window [first, last] of the content.
ExpectedResponse PartialAnswer(const std::string& mimeType, const std::string& content, uint64_t first, uint64_t last);
// 416: no length, no range, no body.
ExpectedResponse UnsatisfiableAnswer(const std::string& mimeType);
// 404 with the body "File not found".
ExpectedResponse MissingAnswer();

// Checks the "response" member of a "step:request" transcript line.
void ExpectResponse(const nlohmann::json& step, const ExpectedResponse& expected);

}  // namespace e2e_test
