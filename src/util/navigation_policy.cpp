#include "util/navigation_policy.h"

#include <algorithm>
#include <utility>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string SchemeOf(const std::string& uri) {
    const auto colon = uri.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    const std::string scheme = uri.substr(0, colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(static_cast<char>(c)) || c == '+' ||
               c == '-' || c == '.';
    });
    return valid ? scheme : std::string();
}

// A hierarchical URL taken apart as written; `valid` is false for anything else.
struct UrlParts {
    bool valid = false;
    std::string scheme;
    std::string host;
    long port = -1;  // -1: the scheme's default
    std::string path;
};

long DefaultPort(const std::string& lowerScheme) {
    return lowerScheme == "https" ? 443 : lowerScheme == "http" ? 80 : -1;
}

UrlParts SplitUrl(const std::string& url) {
    UrlParts parts;
    parts.scheme = SchemeOf(url);
    if (parts.scheme.empty() || url.compare(parts.scheme.size(), 3, "://") != 0) return parts;
    const auto authorityStart = parts.scheme.size() + 3;
    const auto authorityEnd = std::min(url.find_first_of("/?#", authorityStart), url.size());
    std::string authority = url.substr(authorityStart, authorityEnd - authorityStart);
    // User information never names the origin.
    const auto at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);

    // The host is everything before the port: a bracketed IPv6 address, or up to the
    // first colon. What follows must be one port number, or nothing.
    std::string::size_type hostEnd = 0;
    if (!authority.empty() && authority[0] == '[') {
        hostEnd = authority.find(']');
        if (hostEnd == std::string::npos) return parts;
        ++hostEnd;
    } else {
        hostEnd = std::min(authority.find(':'), authority.size());
    }
    parts.host = authority.substr(0, hostEnd);
    if (parts.host.empty()) return parts;
    if (hostEnd < authority.size()) {
        if (authority[hostEnd] != ':') return parts;
        const std::string digits = authority.substr(hostEnd + 1);
        if (!std::all_of(digits.begin(), digits.end(), IsDigit)) return parts;
        if (!digits.empty()) {
            const auto significant = digits.find_first_not_of('0');
            const std::string number = significant == std::string::npos ? "0" : digits.substr(significant);
            if (number.size() > 5) return parts;
            parts.port = std::stol(number);
            if (parts.port > 65535) return parts;
        }
    }
    if (parts.port == DefaultPort(Lower(parts.scheme))) parts.port = -1;
    parts.path = url.substr(authorityEnd, std::min(url.find_first_of("?#", authorityEnd), url.size()) - authorityEnd);
    parts.valid = true;
    return parts;
}

bool HasDotSegment(const std::string& path) {
    const std::string lower = Lower(path);
    if (lower.find("%2e") != std::string::npos) return true;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        if (segment == "." || segment == "..") return true;
        start = end + 1;
    }
    return false;
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoded until nothing changes: a mail program may decode once more than we do.
std::string FullyDecoded(std::string text) {
    for (bool changed = true; changed;) {
        changed = false;
        std::string decoded;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
                decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
                i += 2;
                changed = true;
            } else {
                decoded += text[i];
            }
        }
        text = std::move(decoded);
    }
    return text;
}

// A mail link whose header fields name a file to attach: mail programs that honour
// "attach" would send the user's files to whoever wrote the link.
bool AsksToAttach(const std::string& mailto) {
    const std::string decoded = Lower(FullyDecoded(mailto));
    const auto query = decoded.find('?');
    if (query == std::string::npos) return false;
    size_t start = query + 1;
    while (start <= decoded.size()) {
        const auto end = std::min(decoded.find_first_of("&;", start), decoded.size());
        std::string field = decoded.substr(start, std::min(decoded.find('=', start), end) - start);
        const auto first = field.find_first_not_of(" \t\r\n");
        const auto last = field.find_last_not_of(" \t\r\n");
        field = first == std::string::npos ? std::string() : field.substr(first, last - first + 1);
        if (field == "attach" || field == "attachment") return true;
        start = end + 1;
    }
    return false;
}

bool HasPrefix(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool IsAppPage(const std::string& source, const std::string& appUrl) {
    const UrlParts page = SplitUrl(source);
    const UrlParts app = SplitUrl(appUrl);
    if (!page.valid || !app.valid) return false;
    if (page.scheme != Lower(app.scheme) || page.host != Lower(app.host) || page.port != app.port) return false;
    if (page.path.empty() || page.path[0] != '/' || HasDotSegment(page.path)) return false;
    const std::string appPath = app.path.empty() ? "/" : app.path;
    if (page.path == appPath) return true;
    return HasPrefix(page.path, appPath) && (appPath.back() == '/' || page.path[appPath.size()] == '/');
}

}  // namespace

std::string UrlOrigin(const std::string& url) {
    const UrlParts parts = SplitUrl(url);
    if (!parts.valid) return {};
    std::string origin = Lower(parts.scheme) + "://" + Lower(parts.host);
    if (parts.port >= 0) origin += ":" + std::to_string(parts.port);
    return origin;
}

bool IsAppUrl(AppUrlQuestion question, const std::string& url, const std::string& appUrl) {
    switch (question) {
        case AppUrlQuestion::Navigation:
            return HasPrefix(url, appUrl);
        case AppUrlQuestion::Permission: {
            const std::string origin = UrlOrigin(url);
            return !origin.empty() && origin == UrlOrigin(appUrl);
        }
        case AppUrlQuestion::Message:
            return IsAppPage(url, appUrl);
    }
    return false;
}

bool IsSecurePage(const std::string& source) {
    const UrlParts page = SplitUrl(source);
    if (!page.valid) return false;
    const std::string scheme = Lower(page.scheme);
    const std::string host = Lower(page.host);
    return scheme == "https" || (scheme == "http" && (host == "localhost" || host == "127.0.0.1" || host == "[::1]"));
}

bool IsShellSafeUri(const std::string& uri) {
    const std::string scheme = Lower(SchemeOf(uri));
    if (scheme == "mailto") return !AsksToAttach(uri);
    return scheme == "http" || scheme == "https";
}
