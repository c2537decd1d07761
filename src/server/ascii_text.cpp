#include "server/ascii_text.h"

bool IsSpaceAscii(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string ToLowerAscii(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

void TrimSpace(std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsSpaceAscii(text[end - 1])) --end;
    text.erase(end);
    std::size_t begin = 0;
    while (begin < text.size() && IsSpaceAscii(text[begin])) ++begin;
    text.erase(0, begin);
}
