// The message text as the host reads it: cut at a NUL, and many messages in a row.
#include <windows.h>

#include <gtest/gtest.h>

#include "bridge_host.h"

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
