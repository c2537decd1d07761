// Portable: when a crashed app is brought back, and when a close waits for the page.
#include <gtest/gtest.h>

#include <vector>

#include "webview/close_protocol.h"
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

TEST(CloseProtocol, AnnouncesOnlyTheFirstCloseAndOnlyWhenThePageAskedAndMayWait) {
    using D = CloseProtocol::Decision;
    struct Row {
        const char* what;
        int32_t timeout;
        std::vector<bool> enable;  // set before the closes, in order
        std::vector<D> decisions;  // of three closes
    };
    const Row rows[] = {
        {"off by default", 10, {}, {D::CloseNow, D::CloseNow, D::CloseNow}},
        {"on", 10, {true}, {D::Announce, D::CloseNow, D::CloseNow}},
        {"on, then off", 10, {true, false}, {D::CloseNow, D::CloseNow, D::CloseNow}},
        {"no time to wait", 0, {true}, {D::CloseNow, D::CloseNow, D::CloseNow}},
    };
    for (const Row& row : rows) {
        CloseProtocol close(row.timeout);
        for (const bool on : row.enable) close.SetEnabled(on);
        std::vector<D> decisions;
        for (int i = 0; i < 3; ++i) decisions.push_back(close.OnCloseRequested());
        EXPECT_EQ(decisions, row.decisions) << row.what;
        EXPECT_EQ(close.Announced(), row.decisions[0] == D::Announce) << row.what;
    }
    EXPECT_EQ(CloseProtocol(86400).TimeoutMs(), 86400000u);
    EXPECT_EQ(CloseProtocol(-5).TimeoutMs(), 0u);
}

}  // namespace
