#pragma once

#include <string>

// Byte-wise text helpers with "C" locale meaning: only ASCII letters change
// case, only ASCII blanks are white space; bytes of 0x80 and above are left alone.
bool IsSpaceAscii(char c);
std::string ToLowerAscii(const std::string& text);
void TrimSpace(std::string& text);
