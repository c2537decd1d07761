#pragma once
// Decisions about URLs that the page hands the host: which navigations stay in the
// app, which pages may talk to the host, what may go to the shell.

#include <string>

// "scheme://host[:port]" in lower case, the scheme's default port left out;
// empty when the URL has no scheme and authority, or its port is not a number.
std::string UrlOrigin(const std::string& url);

// What the host asks of a URL the browser reports, each question with its own rule.
enum class AppUrlQuestion {
    // May the page navigate there? Only when the URL begins with the app's URL, byte
    // for byte: anything else is a place outside the bundle.
    Navigation,
    // May it be granted permissions without asking? Only the app's own origin (scheme,
    // host and port, compared as origins); third-party frames keep the default.
    Permission,
    // May it talk to the host? Only one of the app's own pages: same scheme, host and
    // port, and a path that equals the app's path or continues it after a "/". The query
    // and fragment do not count. A browser reports its pages' URLs normalised, so a URL
    // with upper-case scheme or host, dot segments or an empty path is refused rather
    // than guessed at.
    Message,
};

// Whether `url` is the app for this question, the app being at `appUrl` (the origin
// URL, or `main` in remote mode).
bool IsAppUrl(AppUrlQuestion question, const std::string& url, const std::string& appUrl);

// Whether a page may be handed the user's folders: one that came over https, or
// from this machine (localhost, 127.0.0.1, [::1]), which no one on the network can
// have changed on its way.
bool IsSecurePage(const std::string& source);

// Only web pages and mail addresses go to the shell: other schemes (file:, custom
// protocol handlers) would let a page start programs.
bool IsShellSafeUri(const std::string& uri);
