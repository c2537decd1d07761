// Only the separators change and the prefix is added once; network paths take the UNC
// form. Fuzzed for the same round trip over any drive or network path.
#include "util/long_path.h"

#include <gtest/gtest.h>

TEST(LongPath, AddsThePrefixOnceAndStripsOnlyIt) {
    const std::pair<const wchar_t*, const wchar_t*> toLong[] = {
        {L"C:/app/www/index.html", L"\\\\?\\C:\\app\\www\\index.html"},
        {L"C:/App/./x/../y//Z", L"\\\\?\\C:\\App\\.\\x\\..\\y\\\\Z"},
        {L"\\\\?\\C:/app/x", L"\\\\?\\C:\\app\\x"},
        {L"C:/", L"C:\\"},  // too short to need it
        {L"", L""},
        {L"//?/C:/x", L"\\\\?\\\\\\?\\C:\\x"},  // a slashed look-alike of the prefix is not the prefix
        {L"\\\\server\\share\\app\\x.js", L"\\\\?\\UNC\\server\\share\\app\\x.js"},
        {L"//server/share/x", L"\\\\?\\UNC\\server\\share\\x"},
    };
    for (const auto& [path, expected] : toLong) EXPECT_EQ(ToLongPath(path), expected) << path;
    const std::pair<const wchar_t*, const wchar_t*> stripped[] = {
        {L"\\\\?\\C:\\app\\", L"C:\\app\\"},
        {L"C:\\app\\", L"C:\\app\\"},
        {L"\\\\?\\", L""},
        {L"\\\\?", L"\\\\?"},
        {L"\\\\?\\C:/a", L"C:/a"},
        {L"\\\\?\\UNC\\server\\share\\x", L"\\\\server\\share\\x"},
        {L"\\\\?\\unc\\server\\share", L"\\\\server\\share"},
        {L"\\\\?\\UNCLE\\x", L"UNCLE\\x"},
    };
    for (const auto& [path, expected] : stripped) EXPECT_EQ(StripLongPathPrefix(path), expected) << path;
}
