// A thread that answers every message box of a process while it runs (Windows-only).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "message_box_reader.h"

namespace e2e {

class MessageBoxWatcher {
public:
    using Listener = std::function<void(const MessageBoxRecord&)>;

    // Starts watching at once; listener (optional) hears each box right after it is read,
    // then the button is pressed.
    explicit MessageBoxWatcher(DWORD processId, Listener listener = {}, int button = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Looks once more for boxes, then ends the thread.
    void Stop();

    // Every box seen so far, in the order they appeared.
    std::vector<MessageBoxRecord> Boxes() const;

    // Class names of every top-level window of the process seen while watching.
    std::vector<std::string> WindowClasses() const;

    // Boxes that were still there after the button was pressed.
    int StuckBoxes() const { return stuck_; }

private:
    void Run();
    void Sweep(std::vector<HWND>& answered);

    DWORD processId_;
    Listener listener_;
    int button_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> stuck_{0};
    mutable std::mutex mutex_;
    std::vector<MessageBoxRecord> boxes_;
    std::set<std::string> windowClasses_;
    std::thread thread_;
};

}  // namespace e2e
