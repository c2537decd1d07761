// Windows-only. Completion and event handler objects for the test host: the
// host's own callback objects, each carrying a mark that counts how many are
// alive, so a test can see that the stand-in released every handler it was given.
#pragma once

#include <atomic>
#include <utility>

#include "webview/com_callback.h"

inline std::atomic<int> liveTestHandlers{0};

// Lives inside a handler's function, so it goes when the handler object does.
class LiveHandlerMark {
public:
    LiveHandlerMark() { ++liveTestHandlers; }
    LiveHandlerMark(const LiveHandlerMark&) { ++liveTestHandlers; }
    LiveHandlerMark& operator=(const LiveHandlerMark&) = default;
    ~LiveHandlerMark() { --liveTestHandlers; }
};

template <class Interface, class Function>
ComPtr<Interface> MakeHandler(Function&& function) {
    return MakeCallback<Interface>([mark = LiveHandlerMark(), function = std::forward<Function>(function)](
                                       auto... args) { return function(args...); });
}
