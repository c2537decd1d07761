// Windows-only.
#include "step_player.h"

#include <exception>

#include "runtime.h"
#include "step_actions.h"

namespace standin {

void StepPlayer::Start() {
    if (started_ || Runtime::Get().live()) return;
    started_ = true;
    Runtime& runtime = Runtime::Get();
    runtime.After(runtime.scenario().tickMs, [this] { PlayNext(); });
}

void StepPlayer::PlayNext() {
    Runtime& runtime = Runtime::Get();
    const auto& steps = runtime.scenario().steps;
    unsigned delay = runtime.scenario().tickMs;
    if (next_ < steps.size()) {
        const Step& step = steps[next_++];
        Json line = Event(std::string("step:") + StepKeyword(step.kind));
        line["line"] = step.line;
        try {
            delay = PlayStep(step, line);
        } catch (const std::exception& error) {
            // Nothing may escape into the host's message loop.
            line["error"] = error.what();
        }
        // Written after the step: the calls the host made while handling it come first.
        runtime.Record(std::move(line));
    }
    if (next_ >= steps.size()) {
        runtime.Record(Event("steps-done"));
        return;
    }
    runtime.After(delay, [this] { PlayNext(); });
}

}  // namespace standin
