#pragma once

#include <string>

// MIME type for a request path, chosen by the text from its last dot;
// "application/octet-stream" when the extension is unknown or absent.
std::string MimeTypeForPath(const std::string& path);
