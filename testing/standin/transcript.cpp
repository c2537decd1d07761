#include "transcript.h"

#include <cinttypes>

#include "util/text_convert.h"

namespace standin {

Transcript::~Transcript() {
    if (file_ != nullptr) std::fclose(file_);
}

void Transcript::Attach(std::FILE* file) {
    if (file_ != nullptr) std::fclose(file_);
    file_ = file;
}

void Transcript::Write(const Json& line) {
    if (file_ == nullptr) return;
    std::string text = FormatLine(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

Json Event(std::string_view ev) {
    Json line = Json::object();
    line["ev"] = std::string(ev);
    return line;
}

std::string FormatLine(const Json& line) {
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string HresultText(std::int32_t hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIx32, static_cast<std::uint32_t>(hr));
    return text;
}

std::string HandleText(std::uintptr_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR, value);
    return text;
}

Json WideJson(const wchar_t* text) {
    if (text == nullptr) return nullptr;
    return WideToUtf8(text);
}

}  // namespace standin
