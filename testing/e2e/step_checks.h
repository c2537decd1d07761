// Plays a scenario of steps and reads, for each step, the one value a test checks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "e2e/host_runner.h"
#include "e2e/scenario.h"
#include "e2e/test_app.h"

namespace e2e {

// A step and what its transcript line must then hold in one member; by default "posts",
// what the host posted with PostWebMessageAsJson meanwhile; "calls:Ev" for how many
// lines named Ev the host wrote meanwhile; "" for nothing to check.
struct StepCheck {
    std::string step;
    nlohmann::json expected;
    std::string member = "posts";
};

struct Played {
    HostRun run;
    std::vector<int> lines;             // the scenario line of each check's step
    std::vector<nlohmann::json> found;  // what each check's member held
};

// Plays the checks' steps (see PlaySteps) and reads what each check names.
inline Played PlayChecks(const AppFolder& app, const std::vector<StepCheck>& checks,
                         const std::vector<std::string>& knobs, HostRunOptions options) {
    std::vector<std::string> steps;
    for (const StepCheck& check : checks) steps.push_back(check.step);
    Played played;
    played.run = PlaySteps(app, knobs, steps, played.lines, std::move(options));
    for (size_t i = 0; i < checks.size() && i < played.lines.size(); ++i) {
        const std::string& member = checks[i].member;
        const int line = played.lines[i];
        nlohmann::json found;
        if (member == "posts") {
            found = PostsDuring(played.run.transcript, line);
        } else if (member.rfind("calls:", 0) == 0) {
            found = CallsDuring(played.run.transcript, line, member.substr(6)).size();
        } else {
            const nlohmann::json result = StepResult(played.run.transcript, line);
            found =
                result.is_object() ? result.value(member, nlohmann::json("(none)")) : nlohmann::json("(not played)");
        }
        played.found.push_back(std::move(found));
    }
    return played;
}

// The page's window messages.
inline std::string SizeMessage(const std::string& width, const std::string& height) {
    return R"({"type":"set-window-size","windowWidth":)" + width + R"(,"windowHeight":)" + height + "}";
}
inline std::string PositionMessage(const std::string& x, const std::string& y) {
    return R"({"type":"set-window-position","windowX":)" + x + R"(,"windowY":)" + y + "}";
}

// The bounds the browser control got last while the step on this line ran.
inline nlohmann::json LastBounds(const Transcript& transcript, int line) {
    const auto calls = CallsDuring(transcript, line, "Controller.put_Bounds");
    return calls.empty() ? nlohmann::json() : calls.back()["value"];
}

// The test extension's record as "call@during" names.
inline std::vector<std::string> CallNames(const std::vector<nlohmann::json>& record) {
    std::vector<std::string> names;
    for (const auto& line : record) names.push_back(line.value("call", "?") + "@" + line.value("during", ""));
    return names;
}

}  // namespace e2e
