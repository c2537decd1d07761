#include "webview/navigation_policy.h"

#include <algorithm>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

std::string SchemeOf(const std::string& uri) {
    const auto colon = uri.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    const std::string scheme = uri.substr(0, colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    });
    return valid ? Lower(scheme) : std::string();
}

}  // namespace

bool HasPrefix(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

std::string UrlOrigin(const std::string& url) {
    const std::string scheme = SchemeOf(url);
    if (scheme.empty() || url.compare(scheme.size(), 3, "://") != 0) return {};
    const auto authorityStart = scheme.size() + 3;
    const auto authorityEnd = url.find_first_of("/?#", authorityStart);
    std::string authority = Lower(url.substr(
        authorityStart, authorityEnd == std::string::npos ? std::string::npos : authorityEnd - authorityStart));
    // User information never names the origin.
    const auto at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);
    if (authority.empty()) return {};
    const std::string defaultPort = scheme == "https" ? ":443" : scheme == "http" ? ":80" : "";
    if (!defaultPort.empty() && authority.size() > defaultPort.size() &&
        authority.compare(authority.size() - defaultPort.size(), defaultPort.size(), defaultPort) == 0) {
        authority.erase(authority.size() - defaultPort.size());
    }
    return scheme + "://" + authority;
}

bool IsShellSafeUri(const std::string& uri) {
    const std::string scheme = SchemeOf(uri);
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}
