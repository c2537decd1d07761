// Acting while the host runs: a thread that watches the stand-in's transcript of a run
// and does something once it shows that the host got far enough (Windows-only).
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "app_folder.h"
#include "transcript.h"

namespace e2e {

class TranscriptTrigger {
public:
    // Starts watching the transcript of the first run in `folder`; once `ready` holds for
    // its finished lines, calls `action` once, on the watching thread. Start it before
    // RunHost and make the scenario wait long enough after the awaited step.
    TranscriptTrigger(const e2e::AppFolder& folder, std::function<bool(const e2e::Transcript&)> ready,
                      std::function<void()> action);
    ~TranscriptTrigger();
    TranscriptTrigger(const TranscriptTrigger&) = delete;
    TranscriptTrigger& operator=(const TranscriptTrigger&) = delete;

    // Stops watching; true when the action ran.
    bool Finish();

private:
    void Watch();

    std::filesystem::path transcriptPath_;
    std::function<bool(const e2e::Transcript&)> ready_;
    std::function<void()> action_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// A `ready` test: the transcript holds at least `count` lines whose "ev" is `event`.
std::function<bool(const e2e::Transcript&)> AfterEvents(const std::string& event, size_t count);

}  // namespace e2e
