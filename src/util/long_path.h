// Portable. Extended-length (\\?\) paths, so the app folder may lie deeper
// than the classic 260-character limit.
#pragma once

#include <string>

// Adds \\?\ (or \\?\UNC\ for a network path \\server\share) unless the input is
// shorter than 4 units or already begins with \\?\, and turns every / into \.
// Nothing else changes: the input must already be an absolute, resolved path.
std::wstring ToLongPath(const std::wstring& path);

// Removes a leading \\?\ (and turns \\?\UNC\server\share back into \\server\share).
std::wstring StripLongPathPrefix(const std::wstring& path);
