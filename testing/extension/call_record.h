#pragma once
// The record of what the host did to the library: one JSON object per line, appended
// to the file named by TESSARINE_TEST_EXTENSION_RECORD.

#include <nlohmann/json.hpp>

// Adds "seq" (1, 2, ... per load of the library) and appends the line, flushed, so a
// test can read it while the host still runs. Does nothing without the variable;
// never raises.
void AppendRecord(nlohmann::json line);

// A text for a record line; null stays null (a host fault worth seeing, not a crash).
nlohmann::json TextOrNull(const char* text);
