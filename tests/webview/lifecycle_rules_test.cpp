// Portable: how often a crashed app is brought back (the close protocol is played end to end).
#include <gtest/gtest.h>

#include <vector>

#include "webview/restart_budget.h"

namespace {

TEST(RestartBudget, AllowsThreeRestartsInAnySixtySeconds) {
    struct Row {
        const char* what;
        std::vector<uint64_t> failures;  // milliseconds
        std::vector<bool> allowed;
    };
    const Row rows[] = {
        {"a burst", {0, 10, 20, 30}, {true, true, true, false}},
        {"spread out", {0, 30000, 60000, 90000, 120000}, {true, true, true, true, true}},
        {"the oldest leaves the window at exactly 60 s", {0, 1, 2, 59999, 60000}, {true, true, true, false, true}},
        // A refused failure does not count against later ones.
        {"refused ones are not counted", {0, 1, 2, 3, 4, 60001, 60002}, {true, true, true, false, false, true, true}},
    };
    for (const Row& row : rows) {
        RestartBudget budget;
        std::vector<bool> allowed;
        for (const uint64_t at : row.failures) allowed.push_back(budget.TryRestart(at));
        EXPECT_EQ(allowed, row.allowed) << row.what;
    }
}

}  // namespace
