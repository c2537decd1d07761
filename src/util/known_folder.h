// Windows-only. The user's well-known folders.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include <string>

// UTF-8 path of the folder, without \\?\ and without a trailing backslash;
// empty when the system does not know the folder.
std::string GetKnownFolderPath(REFKNOWNFOLDERID id);
