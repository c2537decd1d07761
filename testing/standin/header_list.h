// HTTP header lines by name, as the request and the response
// header collections hold them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin {

// Case-insensitive comparison of ASCII header names.
bool SameHeaderName(std::wstring_view a, std::wstring_view b);

class HeaderList {
public:
    using Header = std::pair<std::wstring, std::wstring>;

    HeaderList() = default;
    explicit HeaderList(std::vector<Header> headers) : headers_(std::move(headers)) {}

    // Adds the "Name: value" lines of a header text (CRLF or LF between lines);
    // a line without a colon names no header.
    void AddLines(std::wstring_view text);

    // Names compare without regard to letter case; the first match counts.
    const std::wstring* Find(std::wstring_view name) const;
    // Replaces the value of the first match, or adds the header at the end.
    void Set(std::wstring_view name, std::wstring_view value);
    // Removes every match.
    void Remove(std::wstring_view name);

private:
    std::vector<Header> headers_;
};

}  // namespace standin
