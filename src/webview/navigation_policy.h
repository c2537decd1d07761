#pragma once
// Decisions about URLs that the page hands the host: which navigations stay in the
// app, which permission requests come from the app itself, what may go to the shell.

#include <string>

// True when text begins with prefix, byte for byte.
bool HasPrefix(const std::string& text, const std::string& prefix);

// "scheme://host[:port]" in lower case, the scheme's default port left out;
// empty when the URL has no scheme and authority.
std::string UrlOrigin(const std::string& url);

// Only web pages and mail addresses go to the shell: other schemes (file:, custom
// protocol handlers) would let a page start programs.
bool IsShellSafeUri(const std::string& uri);
