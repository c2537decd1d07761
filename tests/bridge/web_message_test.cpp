// The message text as the host reads it: cut at a NUL, converted from the browser's
// UTF-16 (broken or not), and many messages in a row.
#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "bridge_host.h"
#include "util/text_convert.h"

namespace {

using bridge_test::BridgeHost;

const char kEmptyInitResponse[] = R"({"registeredComponentIds":[],"type":"wrapper-init-response"})";

std::vector<std::string> delivered;

void RecordDelivery(const char* text) {
    delivered.emplace_back(text);
}

// Every page message of type "extension-message" lands in `delivered`.
class ListeningHost : public BridgeHost {
public:
    ListeningHost() {
        delivered.clear();
        extensions().extensionMessageEntry = &RecordDelivery;
    }
};

bool IsValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        unsigned long code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned long minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

TEST(WebMessageText, TheTextEndsAtTheFirstNulAndReachesTheExtensionUnchanged) {
    ListeningHost bridge;
    const std::string message = "{ \"type\":\"extension-message\",\n\t\"x\": [1, 2] }";
    bridge.host().HandleWebMessage(message + std::string("\0{\"garbage", 10));
    bridge.host().HandleWebMessage(message);
    EXPECT_EQ(delivered, (std::vector<std::string>{message, message}));
    // Without a NUL cut, the trailing garbage would make the first message invalid.
    bridge.host().HandleWebMessage(std::string("{\"type\":\"extension-message\"} x", 30));
    EXPECT_EQ(delivered.size(), 2u);
}

TEST(WebMessageText, BrokenUtf16FromThePageNeverReachesTheExtensionAsBrokenUtf8) {
    ListeningHost bridge;
    const std::wstring prefix = L"{\"type\":\"extension-message\",\"s\":\"";
    const std::vector<std::wstring> members{
        std::wstring(1, wchar_t(0xD800)),                // lone high surrogate
        std::wstring(1, wchar_t(0xDFFF)) + L"x",         // lone low surrogate
        std::wstring{wchar_t(0xDC00), wchar_t(0xD800)},  // a pair in the wrong order
        std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)},  // a valid pair, for contrast
        L"caf" + std::wstring(1, wchar_t(0xE9)) + std::wstring(1, wchar_t(0xDBFF)),
    };
    for (const auto& member : members) {
        bridge.host().HandleWebMessage(WideToUtf8(prefix + member + L"\"}"));
    }
    for (const auto& text : delivered) EXPECT_TRUE(IsValidUtf8(text)) << text;
    // The valid pair arrives whole.
    EXPECT_NE(
        std::find(delivered.begin(), delivered.end(), "{\"type\":\"extension-message\",\"s\":\"\xF0\x9F\x98\x80\"}"),
        delivered.end());
    // And the channel still works.
    bridge.host().HandleWebMessage(R"({"type":"wrapper-init"})");
    EXPECT_EQ(bridge.Posts(), std::vector<std::string>{kEmptyInitResponse});
}

TEST(WebMessageFlood, AHundredThousandMessagesAreEachHandledOnceInOrder) {
    ListeningHost bridge;
    constexpr int count = 100000;
    int expectedDeliveries = 0;
    int expectedAnswers = 0;
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
            case 0:
                bridge.host().HandleWebMessage(R"({"type":"extension-message","n":)" + std::to_string(i) + "}");
                ++expectedDeliveries;
                break;
            case 1:
                bridge.host().HandleWebMessage(R"({"type":"wrapper-init"})");
                ++expectedAnswers;
                break;
            case 2:
                bridge.host().HandleWebMessage("{\"type\":\"extension-message\",\"n\":" + std::to_string(i));
                break;
            default:
                bridge.host().HandleWebMessage(R"({"type":"no-such-type"})");
                break;
        }
    }
    ASSERT_EQ(static_cast<int>(delivered.size()), expectedDeliveries);
    for (int k = 0; k < expectedDeliveries; ++k) {
        const std::string expected = R"({"type":"extension-message","n":)" + std::to_string(4 * k) + "}";
        if (delivered[k] != expected) {
            ADD_FAILURE() << "delivery " << k << ": " << delivered[k];
            break;
        }
    }
    const auto posts = bridge.Posts();
    ASSERT_EQ(static_cast<int>(posts.size()), expectedAnswers);
    for (const auto& post : posts) ASSERT_EQ(post, kEmptyInitResponse);
}

}  // namespace
