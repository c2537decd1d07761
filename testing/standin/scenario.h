#pragma once
// The scenario a stand-in run plays: which runtime is found, which newer
// interfaces are offered, how creation completes, and the list of browser
// events to raise. Text format described in README.md.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// Newer interfaces that a scenario can withhold.
enum class Offer {
    Environment10,
    Environment14,
    ControllerOptions4,
    WebView2,
    WebView23,
    Settings3,
    Settings8,
    WebView22,
    Environment5,
};
inline constexpr std::size_t offerCount = 9;

enum class StepKind {
    DomContentLoaded,
    RecordWindow,
    CloseWindow,
    EndSession,
    WindowCloseRequested,
    Wait,
    Title,
    Fullscreen,
    Accelerator,
    Navigate,
    NewWindow,
    Permission,
    Request,
    RequestFrom,
    Message,
    MessageJson,
    Repeat,
    ProcessFailed,
    BrowserExited,
    NavigationCompleted,
};

struct Header {
    std::string name;
    std::string value;
};

// One step; each kind uses the fields its keyword takes.
struct Step {
    StepKind kind = StepKind::Wait;
    int line = 0;                 // line in the scenario file, for the transcript
    std::string uri;              // navigate, new-window, permission, request, message source
    std::string text;             // title, message text or JSON, request method
    std::int64_t number = 0;      // wait ms, fullscreen 0/1, accelerator key, permission kind,
                                  // repeat count, process-failed kind, browser-exited kind (1 failed),
                                  // navigation-completed success (1 ok)
    std::int64_t number2 = 0;     // accelerator event kind; request source kind (bit, 1 = document);
                                  // new-window: 1 when the user asked for it
    std::vector<Header> headers;  // request
    std::vector<Step> block;      // repeat: the steps played count times over, in order
};

struct Scenario {
    bool evergreenPresent = true;
    bool fixedPresent = true;
    std::string browserVersion = "144.0.3719.77";
    std::array<bool, offerCount> offers{true, true, true, true, true, true, true, true, true};
    std::optional<std::int32_t> environmentResult;
    std::optional<std::int32_t> controllerResult;
    std::optional<std::int32_t> filterWithKindsResult;
    std::optional<std::int32_t> navigateResult;
    unsigned tickMs = 10;
    std::vector<Step> steps;

    bool Offers(Offer offer) const { return offers[static_cast<std::size_t>(offer)]; }
};

struct ScenarioError {
    int line = 0;
    std::string message;
};

struct ParsedScenario {
    Scenario scenario;
    std::optional<ScenarioError> error;  // set: the scenario is not usable
};

ParsedScenario ParseScenario(const std::string& text);

// The keyword that names a step kind in scenarios and transcripts.
const char* StepKeyword(StepKind kind);

}  // namespace standin
