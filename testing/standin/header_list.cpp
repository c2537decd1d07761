#include "header_list.h"

namespace standin {

bool SameHeaderName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

void HeaderList::AddLines(std::wstring_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        const std::size_t colon = line.find(L':');
        if (colon != std::wstring_view::npos) {
            std::wstring_view value = line.substr(colon + 1);
            while (!value.empty() && (value.front() == L' ' || value.front() == L'\t')) {
                value.remove_prefix(1);
            }
            headers_.emplace_back(line.substr(0, colon), value);
        }
        start = end + 1;
    }
}

const std::wstring* HeaderList::Find(std::wstring_view name) const {
    for (const Header& header : headers_) {
        if (SameHeaderName(header.first, name)) return &header.second;
    }
    return nullptr;
}

void HeaderList::Set(std::wstring_view name, std::wstring_view value) {
    for (Header& header : headers_) {
        if (SameHeaderName(header.first, name)) {
            header.second = value;
            return;
        }
    }
    headers_.emplace_back(name, value);
}

void HeaderList::Remove(std::wstring_view name) {
    for (auto header = headers_.begin(); header != headers_.end();) {
        header = SameHeaderName(header->first, name) ? headers_.erase(header) : header + 1;
    }
}

}  // namespace standin
