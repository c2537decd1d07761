// Checks every end-to-end test makes: how a run ended, its message boxes, and the
// answers of the content server as the browser received them.
#pragma once

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "e2e/host_runner.h"
#include "e2e/step_checks.h"
#include "e2e/test_app.h"

namespace e2e_test {

// The run ended by itself with this exit code, no box got stuck and the stand-in
// understood its scenario.
inline void ExpectEnded(const e2e::HostRun& run, unsigned long exitCode) {
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_FALSE(run.timedOut) << "the host did not end by itself\n" << run.Describe();
    EXPECT_EQ(run.stuckBoxes, 0) << run.Describe();
    EXPECT_EQ(run.exitCode, exitCode) << run.Describe();
    EXPECT_FALSE(run.transcript.Has("scenario-error")) << run.Describe();
    EXPECT_TRUE(run.transcript.badLines.empty()) << run.Describe();
}

// Exactly one message box, with these texts and icon; "" for no box at all.
inline void ExpectBox(const e2e::HostRun& run, const std::string& caption, const std::string& text = "",
                      e2e::IconKind icon = e2e::IconKind::Error) {
    if (caption.empty()) {
        EXPECT_TRUE(run.boxes.empty()) << run.Describe();
        return;
    }
    ASSERT_EQ(run.boxes.size(), 1u) << run.Describe();
    EXPECT_EQ(run.boxes[0].caption, caption);
    EXPECT_EQ(run.boxes[0].text, text);
    EXPECT_EQ(e2e::IconKindName(run.boxes[0].icon), e2e::IconKindName(icon));
}

using e2e::Played;
using e2e::StepCheck;

// Plays the checks' steps (see e2e::PlayChecks); checks that the host ended normally
// without a box, and each step.
inline Played Play(const e2e::AppFolder& app, const std::vector<StepCheck>& checks,
                   const std::vector<std::string>& knobs = {}, e2e::HostRunOptions options = {}) {
    Played played = e2e::PlayChecks(app, checks, knobs, std::move(options));
    ExpectEnded(played.run, 0);
    ExpectBox(played.run, "");
    EXPECT_EQ(played.found.size(), checks.size());
    for (size_t i = 0; i < checks.size() && i < played.found.size(); ++i) {
        if (checks[i].member.empty()) continue;
        EXPECT_EQ(played.found[i], checks[i].expected) << checks[i].step.substr(0, 300);
    }
    return played;
}

// What the stand-in records as the "response" of a request: 200 with the whole content,
// 206 for the bytes [first, last], 416, 404, and a head whose body could not be made.
inline nlohmann::json Response(int status, const std::string& reason, const std::string& headers,
                               const std::optional<std::string>& body) {
    return {{"status", status},
            {"reason", reason},
            {"headers", headers},
            {"body", body ? e2e::RecordedBody(*body) : nlohmann::json()}};
}
inline nlohmann::json Whole(const std::string& type, const std::string& content) {
    return Response(200, "OK",
                    "Cache-Control: no-store\nContent-Type: " + type +
                        "\nAccept-Ranges: bytes\nContent-Length: " + std::to_string(content.size()),
                    content);
}
inline nlohmann::json Partial(const std::string& type, const std::string& content, uint64_t first, uint64_t last) {
    return Response(206, "Partial Content",
                    "Cache-Control: no-store\nContent-Type: " + type + "\nAccept-Ranges: bytes\nContent-Range: bytes " +
                        std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(content.size()) +
                        "\nContent-Length: " + std::to_string(last - first + 1),
                    content.substr(first, last - first + 1));
}
inline nlohmann::json Unsatisfiable(const std::string& type) {
    return Response(416, "Range Not Satisfiable",
                    "Cache-Control: no-store\nContent-Type: " + type + "\nAccept-Ranges: bytes", std::nullopt);
}
inline nlohmann::json Missing() {
    return Response(404, "Not Found", "Cache-Control: no-store", std::string("File not found"));
}
inline nlohmann::json HeadOnly(nlohmann::json response) {
    response["body"] = nullptr;
    return response;
}

}  // namespace e2e_test
