#include "transcript.h"

#include <fstream>
#include <sstream>

namespace e2e {

std::vector<nlohmann::json> Transcript::Events(const std::string& name) const {
    std::vector<nlohmann::json> found;
    for (const auto& line : lines) {
        if (line.value("ev", std::string()) == name) found.push_back(line);
    }
    return found;
}

nlohmann::json Transcript::First(const std::string& name) const {
    const long index = IndexOf(name);
    return index < 0 ? nlohmann::json() : lines[static_cast<size_t>(index)];
}

long Transcript::IndexOf(const std::string& name, size_t from) const {
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i].value("ev", std::string()) == name) return static_cast<long>(i);
    }
    return -1;
}

std::string Transcript::Summary() const {
    std::string summary;
    for (const auto& line : lines) summary += line.dump() + "\n";
    for (const auto& line : badLines) summary += "(not JSON) " + line + "\n";
    return summary;
}

Transcript ParseTranscript(const std::string& text) {
    Transcript transcript;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        nlohmann::json value = nlohmann::json::parse(line, nullptr, false);
        if (value.is_object() && value.contains("ev")) {
            transcript.lines.push_back(std::move(value));
        } else {
            transcript.badLines.push_back(line);
        }
    }
    return transcript;
}

Transcript ReadTranscript(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return ParseTranscript(text.str());
}

}  // namespace e2e
