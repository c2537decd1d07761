// Portable. How Windows reads the names in a path, for checks that must hold on
// Windows whatever system they run on.
#pragma once

#include <string>
#include <string_view>

// Windows drops the trailing dots and spaces of a path segment: "a. . " opens "a".
std::string_view TrimTrailingDotsAndSpaces(std::string_view segment);

// True for a segment that Windows opens as a device in any folder: CON, PRN, AUX, NUL,
// CONIN$, CONOUT$, COM0 to COM9 and LPT0 to LPT9 (also with the superscript digits
// ¹ ² ³), in any letter case, with any extension and trailing spaces before it.
bool IsWindowsDeviceName(std::string_view segment);

// True for a segment that Windows reads as the folder itself or its parent once
// its trailing dots and spaces are gone: "..", ". .", "...", ".. ".
bool IsDotSegment(std::string_view segment);

// `name` made into one folder name Windows accepts and reads as itself: each character
// it refuses (<>:"/\|?* and those below U+0020) becomes '_', trailing dots and spaces
// go, an empty result becomes "_", and a device name gets '_' after its stem
// ("CON" → "CON_", "com¹.txt" → "com¹_.txt"). A name that is already fine stays as it is.
std::string SafeFolderName(std::string_view name);
