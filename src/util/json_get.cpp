#include "util/json_get.h"

#include <cmath>
#include <limits>

namespace {

const nlohmann::json* FindMember(const nlohmann::json& value, const char* name) {
    if (!value.is_object()) return nullptr;
    const auto found = value.find(name);
    return found == value.end() ? nullptr : &*found;
}

// Modular narrowing, spelled out so it does not rely on implementation-defined
// conversions.
int32_t LowWord(uint64_t bits) {
    const uint32_t low = static_cast<uint32_t>(bits);
    if (low <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return static_cast<int32_t>(low);
    return static_cast<int32_t>(static_cast<int64_t>(low) - (int64_t{1} << 32));
}

int32_t TruncateToInt32(double number) {
    const double truncated = std::trunc(number);
    // Written so that NaN fails the test too; converting an out-of-range
    // double to an integer is undefined.
    if (truncated >= -2147483648.0 && truncated <= 2147483647.0) return static_cast<int32_t>(truncated);
    return std::numeric_limits<int32_t>::min();
}

}  // namespace

std::optional<int32_t> JsonNumberToInt32(const nlohmann::json& value) {
    switch (value.type()) {
        case nlohmann::json::value_t::number_unsigned:
            return LowWord(value.get<uint64_t>());
        case nlohmann::json::value_t::number_integer:
            return LowWord(static_cast<uint64_t>(value.get<int64_t>()));
        case nlohmann::json::value_t::number_float:
            return TruncateToInt32(value.get<double>());
        default:
            return std::nullopt;
    }
}

std::string JsonGetString(const nlohmann::json& value, const char* name, const std::string& fallback) {
    const nlohmann::json* member = FindMember(value, name);
    if (member == nullptr || !member->is_string()) return fallback;
    return member->get<std::string>();
}

int32_t JsonGetInt(const nlohmann::json& value, const char* name, int32_t fallback) {
    const nlohmann::json* member = FindMember(value, name);
    if (member == nullptr) return fallback;
    return JsonNumberToInt32(*member).value_or(fallback);
}

bool JsonGetBool(const nlohmann::json& value, const char* name, bool fallback) {
    const nlohmann::json* member = FindMember(value, name);
    if (member == nullptr || !member->is_boolean()) return fallback;
    return member->get<bool>();
}
