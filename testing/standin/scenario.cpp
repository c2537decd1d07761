#include "scenario.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace standin {
namespace {

// Raised inside the parser for one bad line; turned into ScenarioError.
struct LineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A word of the line as a byte range, so that "the rest of the line" can be
// cut from the original text with its inner spacing intact.
struct Span {
    std::size_t begin;
    std::size_t end;
};

std::vector<Span> SplitWords(std::string_view line) {
    std::vector<Span> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size()) break;
        const std::size_t begin = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        words.push_back({begin, i});
    }
    return words;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string DecodePercent(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// Decimal or 0x-hexadecimal, optionally negative, the whole word.
bool ParseInteger(std::string_view word, std::int64_t& value) {
    bool negative = false;
    if (!word.empty() && word[0] == '-') {
        negative = true;
        word.remove_prefix(1);
    }
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty() || word.size() > 16) return false;
    std::uint64_t magnitude = 0;
    for (char c : word) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base) return false;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFFFFFull) return false;  // far beyond any value a step takes
    }
    value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::int64_t RequireInteger(std::string_view word, std::int64_t low, std::int64_t high, const char* what) {
    std::int64_t value = 0;
    if (!ParseInteger(word, value) || value < low || value > high) {
        throw LineError(std::string("bad ") + what + ": " + std::string(word));
    }
    return value;
}

std::int32_t ParseHresult(std::string_view word) {
    static const std::map<std::string_view, std::uint32_t> names = {
        {"S_OK", 0x00000000u},           {"E_FAIL", 0x80004005u},        {"E_ABORT", 0x80004004u},
        {"E_ACCESSDENIED", 0x80070005u}, {"E_INVALIDARG", 0x80070057u},  {"E_NOINTERFACE", 0x80004002u},
        {"E_NOTIMPL", 0x80004001u},      {"E_OUTOFMEMORY", 0x8007000Eu}, {"E_POINTER", 0x80004003u},
        {"E_UNEXPECTED", 0x8000FFFFu},
    };
    const auto named = names.find(word);
    if (named != names.end()) return static_cast<std::int32_t>(named->second);
    const std::int64_t value = RequireInteger(word, INT32_MIN, UINT32_MAX, "HRESULT");
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool ParseSwitch(std::string_view word, std::string_view yes, std::string_view no) {
    if (word == yes) return true;
    if (word == no) return false;
    throw LineError("expected " + std::string(yes) + " or " + std::string(no) + ": " + std::string(word));
}

std::int64_t ParseNamedNumber(std::string_view word, const std::map<std::string_view, std::int64_t>& names,
                              const char* what) {
    const auto named = names.find(word);
    if (named != names.end()) return named->second;
    return RequireInteger(word, 0, INT32_MAX, what);
}

const std::map<std::string_view, std::int64_t>& KeyEventKinds() {
    static const std::map<std::string_view, std::int64_t> kinds = {
        {"key-down", 0}, {"key-up", 1}, {"system-key-down", 2}, {"system-key-up", 3}};
    return kinds;
}

const std::map<std::string_view, std::int64_t>& PermissionKinds() {
    static const std::map<std::string_view, std::int64_t> kinds = {
        {"unknown", 0},
        {"microphone", 1},
        {"camera", 2},
        {"geolocation", 3},
        {"notifications", 4},
        {"other-sensors", 5},
        {"clipboard-read", 6},
        {"multiple-automatic-downloads", 7},
        {"file-read-write", 8},
        {"autoplay", 9},
        {"local-fonts", 10},
        {"midi-system-exclusive-messages", 11},
        {"window-management", 12},
    };
    return kinds;
}

// What made a request, as the bits of the runtime's source kinds.
const std::map<std::string_view, std::int64_t>& RequestSources() {
    static const std::map<std::string_view, std::int64_t> sources = {
        {"document", 1}, {"shared-worker", 2}, {"service-worker", 4}};
    return sources;
}

const std::map<std::string_view, Offer>& OfferNames() {
    static const std::map<std::string_view, Offer> offers = {
        {"environment5", Offer::Environment5},   {"environment10", Offer::Environment10},
        {"environment14", Offer::Environment14}, {"controller-options4", Offer::ControllerOptions4},
        {"webview2", Offer::WebView2},           {"webview22", Offer::WebView22},
        {"webview23", Offer::WebView23},         {"settings3", Offer::Settings3},
        {"settings8", Offer::Settings8},
    };
    return offers;
}

const std::map<std::string_view, std::int64_t>& ProcessFailedKinds() {
    static const std::map<std::string_view, std::int64_t> kinds = {
        {"browser", 0},        {"render", 1}, {"unresponsive", 2}, {"frame", 3},        {"utility", 4},
        {"sandbox-helper", 5}, {"gpu", 6},    {"ppapi-plugin", 7}, {"ppapi-broker", 8}, {"unknown", 9},
    };
    return kinds;
}

const std::map<std::string_view, StepKind>& StepKeywords() {
    static const std::map<std::string_view, StepKind> steps = {
        {"dom-content-loaded", StepKind::DomContentLoaded},
        {"record-window", StepKind::RecordWindow},
        {"close-window", StepKind::CloseWindow},
        {"end-session", StepKind::EndSession},
        {"window-close-requested", StepKind::WindowCloseRequested},
        {"wait", StepKind::Wait},
        {"title", StepKind::Title},
        {"fullscreen", StepKind::Fullscreen},
        {"accelerator", StepKind::Accelerator},
        {"navigate", StepKind::Navigate},
        {"new-window", StepKind::NewWindow},
        {"permission", StepKind::Permission},
        {"request", StepKind::Request},
        {"request-from", StepKind::RequestFrom},
        {"message", StepKind::Message},
        {"message-json", StepKind::MessageJson},
        {"repeat", StepKind::Repeat},
        {"process-failed", StepKind::ProcessFailed},
        {"browser-exited", StepKind::BrowserExited},
        {"navigation-completed", StepKind::NavigationCompleted},
    };
    return steps;
}

// One line split into its keyword and arguments, decoding as the keyword asks.
class Line {
public:
    Line(std::string_view text, std::vector<Span> words, bool escaped)
        : text_(text), words_(std::move(words)), escaped_(escaped) {}

    std::size_t ArgumentCount() const { return words_.size() - 1; }

    // Argument i (0 = first after the keyword).
    std::string Argument(std::size_t i) const { return Decode(Raw(i)); }

    std::string_view Raw(std::size_t i) const {
        const Span& word = words_.at(i + 1);
        return text_.substr(word.begin, word.end - word.begin);
    }

    // Everything from argument i to the end of the line; empty when absent.
    std::string RestFrom(std::size_t i) const {
        if (i + 1 >= words_.size()) return {};
        return Decode(text_.substr(words_[i + 1].begin));
    }

    // The raw text between argument i and the start of argument j (or the end).
    std::string_view Between(std::size_t i, std::size_t j) const {
        const std::size_t begin = words_.at(i + 1).begin;
        const std::size_t end = j + 1 < words_.size() ? words_[j + 1].begin : text_.size();
        std::string_view part = text_.substr(begin, end - begin);
        while (!part.empty() && IsBlank(part.back())) part.remove_suffix(1);
        return part;
    }

    std::string Decode(std::string_view raw) const { return escaped_ ? DecodePercent(raw) : std::string(raw); }

    void ExpectArguments(std::size_t low, std::size_t high) const {
        const std::size_t count = ArgumentCount();
        if (count < low) throw LineError("missing argument");
        if (count > high) throw LineError("unexpected argument: " + std::string(Raw(high)));
    }

private:
    std::string_view text_;
    std::vector<Span> words_;
    bool escaped_;
};

std::vector<Header> ParseHeaders(const Line& line, std::size_t first) {
    std::vector<Header> headers;
    std::vector<std::size_t> names;
    for (std::size_t i = first; i < line.ArgumentCount(); ++i) {
        const std::string_view word = line.Raw(i);
        if (word.size() >= 2 && word.back() == ':') names.push_back(i);
    }
    if (first < line.ArgumentCount() && (names.empty() || names.front() != first)) {
        throw LineError("header value without a name: " + std::string(line.Raw(first)));
    }
    for (std::size_t n = 0; n < names.size(); ++n) {
        const std::size_t at = names[n];
        std::string_view name = line.Raw(at);
        name.remove_suffix(1);
        const std::size_t next = n + 1 < names.size() ? names[n + 1] : line.ArgumentCount();
        Header header;
        header.name = line.Decode(name);
        if (at + 1 < next) header.value = line.Decode(line.Between(at + 1, next));
        headers.push_back(std::move(header));
    }
    return headers;
}

Step ParseStep(StepKind kind, const Line& line) {
    Step step;
    step.kind = kind;
    switch (kind) {
        case StepKind::DomContentLoaded:
        case StepKind::RecordWindow:
        case StepKind::CloseWindow:
        case StepKind::EndSession:
        case StepKind::WindowCloseRequested:
            line.ExpectArguments(0, 0);
            break;
        case StepKind::Wait:
            line.ExpectArguments(1, 1);
            step.number = RequireInteger(line.Argument(0), 0, 600000, "milliseconds");
            break;
        case StepKind::Title:
            step.text = line.RestFrom(0);
            break;
        case StepKind::Fullscreen:
            line.ExpectArguments(1, 1);
            step.number = RequireInteger(line.Argument(0), 0, 1, "fullscreen value");
            break;
        case StepKind::Accelerator:
            line.ExpectArguments(1, 2);
            step.number = RequireInteger(line.Argument(0), 0, 255, "virtual key");
            if (line.ArgumentCount() == 2) {
                step.number2 = ParseNamedNumber(line.Argument(1), KeyEventKinds(), "key event kind");
            }
            break;
        case StepKind::Navigate:
            line.ExpectArguments(1, 1);
            step.uri = line.Argument(0);
            break;
        case StepKind::NewWindow:
            line.ExpectArguments(1, 2);
            step.uri = line.Argument(0);
            step.number2 = line.ArgumentCount() == 2 ? ParseSwitch(line.Argument(1), "user", "script") : 1;
            break;
        case StepKind::Permission:
            line.ExpectArguments(2, 2);
            step.number = ParseNamedNumber(line.Argument(0), PermissionKinds(), "permission kind");
            step.uri = line.Argument(1);
            break;
        case StepKind::Request:
            line.ExpectArguments(2, SIZE_MAX);
            step.text = line.Argument(0);
            step.uri = line.Argument(1);
            step.headers = ParseHeaders(line, 2);
            step.number2 = 1;
            break;
        case StepKind::RequestFrom:
            line.ExpectArguments(3, SIZE_MAX);
            step.number2 = ParseNamedNumber(line.Argument(0), RequestSources(), "request source");
            step.text = line.Argument(1);
            step.uri = line.Argument(2);
            step.headers = ParseHeaders(line, 3);
            break;
        case StepKind::Message:
        case StepKind::MessageJson:
            line.ExpectArguments(1, SIZE_MAX);
            step.uri = line.Argument(0);
            step.text = line.RestFrom(1);
            break;
        case StepKind::ProcessFailed:
            line.ExpectArguments(1, 1);
            step.number = ParseNamedNumber(line.Argument(0), ProcessFailedKinds(), "process failure kind");
            break;
        case StepKind::BrowserExited:
            line.ExpectArguments(1, 1);
            step.number = ParseSwitch(line.Argument(0), "failed", "normal");
            break;
        case StepKind::NavigationCompleted:
            line.ExpectArguments(1, 1);
            step.number = ParseSwitch(line.Argument(0), "ok", "failed");
            break;
        case StepKind::Repeat:
            line.ExpectArguments(1, 2);
            step.number = RequireInteger(line.Argument(0), 1, 10000000, "repeat count");
            step.number2 =
                line.ArgumentCount() == 2 ? RequireInteger(line.Argument(1), 1, 10000, "number of steps") : 1;
            break;
    }
    return step;
}

// Where the next parsed step goes: the scenario's list, or the block of the
// repeat that is still collecting its steps.
class StepSink {
public:
    explicit StepSink(std::vector<Step>& steps) : steps_(steps) {}

    void Add(Step step) {
        if (open_ == 0) {
            steps_.push_back(std::move(step));
            if (steps_.back().kind == StepKind::Repeat) open_ = steps_.back().number2;
            return;
        }
        // A wait would stall the one tick the block is played in; nesting is not needed.
        if (step.kind == StepKind::Wait || step.kind == StepKind::Repeat) {
            throw LineError(std::string(StepKeyword(step.kind)) + " inside a repeat block");
        }
        steps_.back().block.push_back(std::move(step));
        --open_;
    }

    // The repeat whose block the text ended in, if any.
    std::optional<ScenarioError> Unfinished() const {
        if (open_ == 0) return std::nullopt;
        return ScenarioError{steps_.back().line,
                             "the repeat block lacks " + std::to_string(open_) + " step(s) at the end of the scenario"};
    }

private:
    std::vector<Step>& steps_;
    std::int64_t open_ = 0;  // steps the last repeat still takes
};

void ParseKnob(std::string_view keyword, const Line& line, Scenario& scenario) {
    if (keyword == "runtime") {
        line.ExpectArguments(2, 2);
        const std::string kind = line.Argument(0);
        const bool present = ParseSwitch(line.Argument(1), "present", "absent");
        if (kind == "evergreen") {
            scenario.evergreenPresent = present;
        } else if (kind == "fixed") {
            scenario.fixedPresent = present;
        } else {
            throw LineError("unknown runtime kind: " + kind);
        }
    } else if (keyword == "browser-version") {
        line.ExpectArguments(1, 1);
        scenario.browserVersion = line.Argument(0);
    } else if (keyword == "offer") {
        line.ExpectArguments(2, 2);
        const std::string name = line.Argument(0);
        const auto offer = OfferNames().find(name);
        if (offer == OfferNames().end()) throw LineError("unknown interface: " + name);
        scenario.offers[static_cast<std::size_t>(offer->second)] = ParseSwitch(line.Argument(1), "on", "off");
    } else if (keyword == "environment-result") {
        line.ExpectArguments(1, 1);
        scenario.environmentResult = ParseHresult(line.Argument(0));
    } else if (keyword == "controller-result") {
        line.ExpectArguments(1, 1);
        scenario.controllerResult = ParseHresult(line.Argument(0));
    } else if (keyword == "navigate-result") {
        line.ExpectArguments(1, 1);
        scenario.navigateResult = ParseHresult(line.Argument(0));
    } else if (keyword == "filter-with-kinds-result") {
        line.ExpectArguments(1, 1);
        scenario.filterWithKindsResult = ParseHresult(line.Argument(0));
    } else if (keyword == "tick") {
        line.ExpectArguments(1, 1);
        scenario.tickMs = static_cast<unsigned>(RequireInteger(line.Argument(0), 1, 60000, "tick"));
    } else {
        throw LineError("unknown keyword: " + std::string(keyword));
    }
}

}  // namespace

ParsedScenario ParseScenario(const std::string& text) {
    ParsedScenario result;
    std::string_view rest(text);
    // A UTF-8 byte-order mark written by an editor is not part of the first keyword.
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    int lineNumber = 0;
    StepSink sink(result.scenario.steps);
    while (!rest.empty()) {
        ++lineNumber;
        const std::size_t end = rest.find('\n');
        std::string_view lineText = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!lineText.empty() && lineText.back() == '\r') lineText.remove_suffix(1);

        std::vector<Span> words = SplitWords(lineText);
        if (words.empty() || lineText[words[0].begin] == '#') continue;
        std::string_view keyword = lineText.substr(words[0].begin, words[0].end - words[0].begin);
        const bool escaped = keyword.size() > 1 && keyword.back() == '%';
        if (escaped) keyword.remove_suffix(1);
        const Line line(lineText, std::move(words), escaped);

        try {
            const auto step = StepKeywords().find(keyword);
            if (step != StepKeywords().end()) {
                Step parsed = ParseStep(step->second, line);
                parsed.line = lineNumber;
                sink.Add(std::move(parsed));
            } else {
                ParseKnob(keyword, line, result.scenario);
            }
        } catch (const LineError& error) {
            result.error = ScenarioError{lineNumber, error.what()};
            return result;
        }
    }
    result.error = sink.Unfinished();
    return result;
}

const char* StepKeyword(StepKind kind) {
    for (const auto& [keyword, stepKind] : StepKeywords()) {
        if (stepKind == kind) return keyword.data();
    }
    return "?";
}

}  // namespace standin
