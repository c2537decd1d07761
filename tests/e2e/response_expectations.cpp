#include "response_expectations.h"

#include <gtest/gtest.h>

namespace e2e_test {

std::string PatternBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string Fnv1a64Hex(const std::string& bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = digits[hash & 0xF];
    return text;
}

std::string HexBytes(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

ExpectedResponse WholeAnswer(const std::string& mimeType, const std::string& content) {
    return {200, "OK",
            "Cache-Control: no-store\nContent-Type: " + mimeType +
                "\nAccept-Ranges: bytes\nContent-Length: " + std::to_string(content.size()),
            content};
}

ExpectedResponse PartialAnswer(const std::string& mimeType, const std::string& content, uint64_t first, uint64_t last) {
    const uint64_t length = last - first + 1;
    return {206, "Partial Content",
            "Cache-Control: no-store\nContent-Type: " + mimeType + "\nAccept-Ranges: bytes\nContent-Range: bytes " +
                std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(content.size()) +
                "\nContent-Length: " + std::to_string(length),
            content.substr(first, length)};
}

ExpectedResponse UnsatisfiableAnswer(const std::string& mimeType) {
    return {416, "Range Not Satisfiable",
            "Cache-Control: no-store\nContent-Type: " + mimeType + "\nAccept-Ranges: bytes", std::nullopt};
}

ExpectedResponse MissingAnswer() {
    return {404, "Not Found", "Cache-Control: no-store", std::string("File not found")};
}

void ExpectResponse(const nlohmann::json& step, const ExpectedResponse& expected) {
    std::string shown = step.dump();
    if (shown.size() > 700) shown = shown.substr(0, 700) + "...";
    SCOPED_TRACE(shown);
    EXPECT_EQ(step.value("handlers", -1), 1);
    ASSERT_TRUE(step.contains("response") && step["response"].is_object());
    const nlohmann::json& response = step["response"];
    EXPECT_EQ(response["status"], expected.status);
    EXPECT_EQ(response["reason"], expected.reason);
    EXPECT_EQ(response["headers"], expected.headers);
    if (!expected.body) {
        EXPECT_TRUE(response["body"].is_null());
        return;
    }
    const nlohmann::json& body = response["body"];
    ASSERT_TRUE(body.is_object());
    EXPECT_EQ(body["length"], expected.body->size());
    EXPECT_EQ(body["fnv1a64"], Fnv1a64Hex(*expected.body));
    if (expected.body->size() <= 4096) {
        EXPECT_EQ(body.value("hex", std::string("(none)")), HexBytes(*expected.body));
    }
    EXPECT_FALSE(body.contains("readError"));
}

}  // namespace e2e_test
