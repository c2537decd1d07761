#pragma once
// Portable. How often the host brings a crashed page or browser back: at most
// `limit` restarts within any `windowMs` milliseconds, so a page that crashes at
// once after every start ends with a message instead of crashing for ever.

#include <cstdint>
#include <deque>

class RestartBudget {
public:
    explicit RestartBudget(unsigned limit = 3, uint64_t windowMs = 60000) : limit_(limit), windowMs_(windowMs) {}

    // A failure at `nowMs` (a monotonic clock): true, and counted, when a restart is
    // still allowed.
    bool TryRestart(uint64_t nowMs) {
        while (!restarts_.empty() && nowMs - restarts_.front() >= windowMs_) restarts_.pop_front();
        if (restarts_.size() >= limit_) return false;
        restarts_.push_back(nowMs);
        return true;
    }

private:
    const unsigned limit_;
    const uint64_t windowMs_;
    std::deque<uint64_t> restarts_;
};
