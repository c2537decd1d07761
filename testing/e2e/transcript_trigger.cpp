#include "transcript_trigger.h"

#include <windows.h>

#include "local_actions.h"

namespace e2e {

namespace {

// Only whole lines: the stand-in may be half-way through writing the last one.
std::string FinishedLines(const std::filesystem::path& path) {
    std::string lines = ReadWholeFile(path);
    const auto lastBreak = lines.rfind('\n');
    lines.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    return lines;
}

}  // namespace

TranscriptTrigger::TranscriptTrigger(const e2e::AppFolder& folder, std::function<bool(const e2e::Transcript&)> ready,
                                     std::function<void()> action)
    // The harness keeps each run's transcript here.
    : transcriptPath_(folder.Base() / L"transcript.jsonl"), ready_(std::move(ready)), action_(std::move(action)) {
    thread_ = std::thread([this] { Watch(); });
}

TranscriptTrigger::~TranscriptTrigger() {
    Finish();
}

bool TranscriptTrigger::Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return fired_;
}

void TranscriptTrigger::Watch() {
    while (!stop_) {
        if (ready_(e2e::ParseTranscript(FinishedLines(transcriptPath_)))) {
            action_();
            fired_ = true;
            return;
        }
        Sleep(20);
    }
}

std::function<bool(const e2e::Transcript&)> AfterEvents(const std::string& event, size_t count) {
    return [event, count](const e2e::Transcript& transcript) { return transcript.Events(event).size() >= count; };
}

}  // namespace e2e
