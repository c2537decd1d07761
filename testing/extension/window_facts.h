#pragma once
// What the library can tell about the window the host hands it.

#include <windows.h>

#include <nlohmann/json.hpp>

// {"isWindow":..,"isVisible":..,"className":..,"icons":{"big":ICON,"small":ICON}}; the
// class name is "" for a handle that is not a window. ICON is null for none, else
// {"width":..,"height":..,"rgba":"<hex, 8 digits a pixel, rows top down>"}: the window's
// own icon (WM_GETICON) or else its class's, read inside the host's process, whose
// icon handles these are.
nlohmann::json DescribeWindow(HWND window);
