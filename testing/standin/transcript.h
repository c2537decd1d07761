#pragma once
// The transcript: one JSON object per line, each flushed as soon as it is
// written, so that a process that is killed leaves every finished line.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace standin {

// Members keep the order in which they are set, so "ev" always comes first.
using Json = nlohmann::ordered_json;

class Transcript {
public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    // Takes over an open file (appending); null leaves the transcript off.
    void Attach(std::FILE* file);
    bool IsOn() const { return file_ != nullptr; }
    void Write(const Json& line);

private:
    std::FILE* file_ = nullptr;
};

// A new transcript line naming what happened.
Json Event(std::string_view ev);

// The text of one line, without its line break. Invalid UTF-8 in strings is
// replaced, never raised, so a bad byte cannot cost the line.
std::string FormatLine(const Json& line);

// "0x80070057": 8 lower-case hex digits.
std::string HresultText(std::int32_t hr);
// "0x1a2b": a handle or pointer value.
std::string HandleText(std::uintptr_t value);

// A string the host passed, as UTF-8 (an unpaired surrogate becomes U+FFFD);
// null stays null.
Json WideJson(const wchar_t* text);

}  // namespace standin
