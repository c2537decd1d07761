#include "call_record.h"

#include <cstdio>
#include <string>

#include "environment_variable.h"

namespace {

unsigned long long lastSequenceNumber = 0;

}  // namespace

void AppendRecord(nlohmann::json line) {
    try {
        const auto path = EnvironmentVariable(L"TESSARINE_TEST_EXTENSION_RECORD");
        if (!path || path->empty()) return;
        line["seq"] = ++lastSequenceNumber;
        // Texts from the host should be UTF-8; a stray byte must not cost the whole line.
        const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        // Opened per line: the file is complete whenever the host stops, and tests may
        // read or remove it between runs.
        FILE* file = _wfopen(path->c_str(), L"ab");
        if (!file) return;
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    } catch (...) {
        // Nothing may escape into the host.
    }
}

nlohmann::json TextOrNull(const char* text) {
    return text ? nlohmann::json(text) : nlohmann::json(nullptr);
}
