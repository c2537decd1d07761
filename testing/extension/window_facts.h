#pragma once
// What the library can tell about the window the host hands it.

#include <windows.h>

#include <nlohmann/json.hpp>

// {"isWindow":..,"isVisible":..,"className":..}; the class name is "" for a handle
// that is not a window.
nlohmann::json DescribeWindow(HWND window);
