// The line a deliberately ignored failure leaves in the debugger's output.
#include <gtest/gtest.h>

#include "util/debug_trace.h"

namespace {

TEST(DebugTrace, NamesTheCallAndItsResultInHex) {
    const struct {
        const char* what;
        HRESULT result;
        const wchar_t* line;
    } cases[] = {
        {"put_Response", E_FAIL, L"tessarine: put_Response failed (0x80004005)\n"},
        {"CreateObjectCollection", E_OUTOFMEMORY, L"tessarine: CreateObjectCollection failed (0x8007000E)\n"},
        {"caf\xC3\xA9", HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), L"tessarine: caf\u00e9 failed (0x80070005)\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureTraceText(c.what, c.result), c.line) << c.what;
}

}  // namespace
