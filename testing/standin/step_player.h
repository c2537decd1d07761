// Windows-only. Plays the scenario's steps into the host, one per timer tick,
// so that the host's message loop runs between two steps.
#pragma once

#include <cstddef>

namespace standin {

class StepPlayer {
public:
    // The first call schedules the first step one tick later; later calls do nothing.
    void Start();
    bool started() const { return started_; }

private:
    void PlayNext();

    bool started_ = false;
    std::size_t next_ = 0;
};

}  // namespace standin
