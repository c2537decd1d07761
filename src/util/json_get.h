#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

// Typed member lookups for configuration and page messages. None of them
// raises: a value that is not an object, a missing member or a member of the
// wrong type gives the fallback.
std::string JsonGetString(const nlohmann::json& value, const char* name, const std::string& fallback);
int32_t JsonGetInt(const nlohmann::json& value, const char* name, int32_t fallback);
bool JsonGetBool(const nlohmann::json& value, const char* name, bool fallback);

// A JSON number as a signed 32-bit value: integers keep their low 32 bits,
// floating-point numbers are truncated toward zero and give -2147483648 when
// they lie outside the 32-bit range or are NaN. Nothing for a non-number.
std::optional<int32_t> JsonNumberToInt32(const nlohmann::json& value);
