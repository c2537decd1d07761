// Page messages: any text runs at most one request, none when it is over the size or
// depth limits, and nothing escapes the dispatch.
#include <cstring>
#include <string>

#include "bridge/page_message.h"

namespace {

struct Counter final : PageRequests {
    void SendInitResponse(bool) override { ++calls; }
    void DeliverPageMessage(const std::string&) override { ++calls; }
    void SetFullscreen(bool) override { ++calls; }
    void SetClientSize(int32_t, int32_t) override { ++calls; }
    void MoveWindowTo(int32_t, int32_t) override { ++calls; }
    void ShowMainWindow(WindowShow) override { ++calls; }
    void FocusWindow() override { ++calls; }
    void SetPointerLockEnabled(bool) override { ++calls; }
    void SetCloseHandling(bool) override { ++calls; }
    void CloseWindow() override { ++calls; }
    int calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Counter counter;
    const std::string text(reinterpret_cast<const char*>(data), size);
    HandleWebMessage(text, counter, size % 2 == 0);
    if (counter.calls > 1) __builtin_trap();
    if (counter.calls > 0 && !IsWithinPageMessageLimits(std::string_view(text.c_str(), std::strlen(text.c_str())))) {
        __builtin_trap();
    }
    return 0;
}
