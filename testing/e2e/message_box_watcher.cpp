#include "message_box_watcher.h"

#include <algorithm>

#include "process_windows.h"
#include "util/text_convert.h"

namespace e2e {

namespace {
constexpr DWORD kPollMs = 50;
}

MessageBoxWatcher::MessageBoxWatcher(DWORD processId, Listener listener, int button)
    : processId_(processId), listener_(std::move(listener)), button_(button), thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    Stop();
}

void MessageBoxWatcher::Stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<MessageBoxRecord> MessageBoxWatcher::Boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

std::vector<std::string> MessageBoxWatcher::WindowClasses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {windowClasses_.begin(), windowClasses_.end()};
}

void MessageBoxWatcher::Run() {
    std::vector<HWND> answered;
    while (!stopping_) {
        Sweep(answered);
        Sleep(kPollMs);
    }
    Sweep(answered);
}

void MessageBoxWatcher::Sweep(std::vector<HWND>& answered) {
    // Handles of closed boxes may be reused by the next one.
    answered.erase(std::remove_if(answered.begin(), answered.end(), [](HWND box) { return !IsWindow(box); }),
                   answered.end());
    for (HWND window : TopLevelWindows(processId_)) {
        std::string name = WideToUtf8(WindowClassName(window));
        std::lock_guard<std::mutex> lock(mutex_);
        windowClasses_.insert(std::move(name));
    }
    for (HWND box : FindMessageBoxes(processId_)) {
        if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
        MessageBoxRecord record = ReadMessageBox(box);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(record);
        }
        if (listener_) listener_(record);
        if (!DismissMessageBox(box, button_)) ++stuck_;
        answered.push_back(box);
    }
}

}  // namespace e2e
