// Page messages over the size and depth limits, and the host's memory for one message:
// every allocation of this program is counted, so the peak of one message is measured.
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/page_message.h"

namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

// Each block carries its size in front, so the count goes down on delete.
constexpr size_t kHeader = alignof(std::max_align_t);

}  // namespace

void* operator new(size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = liveBytes += size;
    size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}
void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    liveBytes -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}
void operator delete(void* pointer, size_t) noexcept {
    operator delete(pointer);
}

namespace {

struct Recorder final : PageRequests {
    std::vector<std::string> calls;
    void SendInitResponse(bool) override { calls.push_back("init"); }
    void DeliverPageMessage(const std::string& text) override {
        calls.push_back("extension " + std::to_string(text.size()));
    }
    void SetFullscreen(bool on) override { calls.push_back(on ? "fullscreen" : "windowed"); }
    void SetClientSize(int32_t w, int32_t h) override {
        calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h));
    }
    void MoveWindowTo(int32_t, int32_t) override { calls.push_back("move"); }
    void ShowMainWindow(WindowShow) override { calls.push_back("show"); }
    void FocusWindow() override { calls.push_back("focus"); }
    void SetPointerLockEnabled(bool) override { calls.push_back("lock"); }
    void SetCloseHandling(bool) override { calls.push_back("close handling"); }
    void CloseWindow() override { calls.push_back("close"); }
};

// The head's members, then `fill` as often as fits in an array "pad", closed: at most `bytes` long.
std::string Filled(const std::string& head, const std::string& fill, size_t bytes) {
    std::string text = head + R"(,"pad":[)";
    text.reserve(bytes);
    while (text.size() + fill.size() + 3 <= bytes) text += fill;
    return text + "0]}";
}

// Exactly `bytes` long: the head's members and blanks.
std::string Blank(const std::string& head, size_t bytes) {
    return head + std::string(bytes - head.size() - 1, ' ') + "}";
}

TEST(PageMessageLimits, TextsOverTheSizeOrDepthAreDroppedBeforeParsingAndOthersCostLittleMoreThanTheirText) {
    const size_t limit = maxPageMessageBytes;
    const std::string nested = std::string(maxPageMessageDepth - 1, '[') + std::string(maxPageMessageDepth - 1, ']');
    const std::string maximize = R"({"type":"maximize-window")";
    const std::string extension = R"({"type":"extension-message")";
    const std::vector<std::string> shown{"show"}, none;
    const std::string deepExtension = extension + R"(,"deep":)" + nested + "}";
    struct Row {
        const char* label;
        std::string text;
        std::vector<std::string> calls;
    };
    const Row rows[] = {
        {"deepest allowed", maximize + R"(,"deep":)" + nested + "}", shown},
        {"one level too deep", maximize + R"(,"deep":[)" + nested + "]}", none},
        {"brackets in strings do not count", maximize + R"(,"s":")" + std::string(1000, '[') + "\"}", shown},
        {"an escaped quote does not end a string", maximize + R"(,"s":"\"[[[[")" + "}", shown},
        {"8 MB of nested brackets", std::string(4'000'000, '[') + std::string(4'000'000, ']'), none},
        {"10 MB of nested brackets", std::string(5'000'000, '[') + std::string(5'000'000, ']'), none},
        {"the largest, of empty arrays", Filled(maximize, "[],", limit), shown},
        {"the largest, of objects", Filled(maximize, R"({"a":[{}]},)", limit), shown},
        {"the largest, of members", Blank(R"({"type":"set-window-size","windowWidth":7,"a":1)", limit), {"size 7x0"}},
        {"one byte over", Blank(maximize, limit + 1), none},
        {"extension text at the limit", Blank(extension, limit), {"extension " + std::to_string(limit)}},
        {"deep extension text", deepExtension, {"extension " + std::to_string(deepExtension.size())}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Recorder recorder;
        recorder.calls.reserve(4);
        const size_t before = liveBytes;
        peakBytes = before;
        HandleWebMessage(row.text, recorder);
        const size_t used = peakBytes - before;
        // The text is the caller's; the parse may hold a copy of a long token of it
        // (blanks, a string) while its buffer grows.
        EXPECT_LE(used, row.text.size() * 2 + 64 * 1024) << used << " bytes for " << row.text.size();
        EXPECT_EQ(recorder.calls, row.calls);
    }
}

}  // namespace
