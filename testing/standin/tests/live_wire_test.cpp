#include "live_wire.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "body_digest.h"

namespace standin {
namespace {

const std::uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

TEST(LiveWire, Base64MatchesTheStandardVectors) {
    const std::vector<std::pair<std::string, std::string>> vectors = {{"", ""},
                                                                      {"f", "Zg=="},
                                                                      {"fo", "Zm8="},
                                                                      {"foo", "Zm9v"},
                                                                      {"foob", "Zm9vYg=="},
                                                                      {"fooba", "Zm9vYmE="},
                                                                      {"foobar", "Zm9vYmFy"},
                                                                      {std::string("\xff\xfe\x00", 3), "//4A"}};
    for (const auto& [plain, encoded] : vectors) {
        EXPECT_EQ(Base64Encode(Bytes(plain), plain.size()), encoded) << plain;
    }
}

TEST(LiveWire, PiecesOfWholeGroupsJoinIntoTheBase64OfTheWhole) {
    std::string body;
    for (int i = 0; i < 1000; ++i) body.push_back(static_cast<char>(i * 7));
    std::string joined;
    std::uint64_t digest = fnv1a64Start;
    for (std::size_t at = 0; at < body.size(); at += 300) {
        const std::size_t size = std::min<std::size_t>(300, body.size() - at);
        joined += Base64Encode(Bytes(body) + at, size);
        digest = Fnv1a64Continue(digest, Bytes(body) + at, size);
    }
    EXPECT_EQ(joined, Base64Encode(Bytes(body), body.size()));
    EXPECT_EQ(digest, Fnv1a64(Bytes(body), body.size()));
    EXPECT_EQ(bodyPieceBytes % 3, 0u);
}

TEST(LiveWire, LinesArriveWholeWhateverThePieces) {
    LineSplitter splitter;
    EXPECT_FALSE(splitter.Next());
    for (const char* piece : {"{\"ev\":", "\"a\"}\n{\"ev\":\"b\"}\n\n{\"e", "v\":\"c\"}"}) {
        splitter.Append(piece, std::char_traits<char>::length(piece));
    }
    std::vector<std::string> lines;
    while (auto line = splitter.Next()) lines.push_back(*line);
    EXPECT_EQ(lines, (std::vector<std::string>{"{\"ev\":\"a\"}", "{\"ev\":\"b\"}", ""}));
    splitter.Append("\n", 1);  // the unfinished line was kept
    EXPECT_EQ(splitter.Next().value_or("none"), "{\"ev\":\"c\"}");
}

TEST(LiveWire, BridgeAddresses) {
    const std::vector<std::pair<std::string, bool>> cases = {{"127.0.0.1:4711", true},   {"localhost:1", true},
                                                             {"127.0.0.1:65535", true},  {"127.0.0.1:0", false},
                                                             {"127.0.0.1:65536", false}, {"127.0.0.1:", false},
                                                             {":4711", false},           {"127.0.0.1", false},
                                                             {"127.0.0.1:47a1", false},  {"", false}};
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(ParseBridgeAddress(text).has_value(), valid) << text;
    }
    const auto parsed = ParseBridgeAddress("127.0.0.1:4711");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->host, "127.0.0.1");
    EXPECT_EQ(parsed->port, 4711);
}

}  // namespace
}  // namespace standin
