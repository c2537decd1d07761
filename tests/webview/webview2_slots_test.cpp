// Windows-only. Holds webview2.h against the browser control's binary-interface
// facts: every method at its slot, every interface with its slot count, parent and
// IID, every enumerator with its value. A slot out of place makes the real runtime
// call the wrong function, so these are checked as the compiler laid them out.
#include "util/webview2.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>

#include "support/abi_probe.h"

namespace {

using test_support::DeclaredBy;
using test_support::GuidText;
using test_support::SlotCount;
using test_support::VtableSlot;

struct Row {
    std::string name;
    long compiled;
    long expected;
    bool declaredHere = true;
};

#define WEBVIEW2_METHOD(I, M, slot)
#define WEBVIEW2_ENUMERATOR(E, N, value)
#define WEBVIEW2_INTERFACE(I, iid, parent, first, last)                                                   \
    {#I " slot count", SlotCount<I>(), (last) + 1}, {#I " follows " #parent, SlotCount<parent>(), first}, \
        {#I " IID " iid, GuidText(__uuidof(I)) == iid ? 0 : -1, 0},
const Row kInterfaces[] = {
#include "webview2_slot_table.inc"
};
#undef WEBVIEW2_INTERFACE
#define WEBVIEW2_INTERFACE(I, iid, parent, first, last)
#undef WEBVIEW2_METHOD
#define WEBVIEW2_METHOD(I, M, slot) {#I "::" #M, VtableSlot(&I::M), slot, DeclaredBy<I>(&I::M)},
const Row kMethods[] = {
#include "webview2_slot_table.inc"
};
#undef WEBVIEW2_METHOD
#define WEBVIEW2_METHOD(I, M, slot)
#undef WEBVIEW2_ENUMERATOR
// The facts give the internal release channel as 22, which would overlap BETA and DEV;
// it is bit 4 (0x10), as the standard default 0x1F shows.
#define WEBVIEW2_ENUMERATOR(E, N, value)                          \
    {#E "_" #N, sizeof(E) == 4 ? static_cast<long>(E##_##N) : -1, \
     std::string(#E "_" #N) == "COREWEBVIEW2_RELEASE_CHANNELS_INTERNAL" ? 0x10 : (value)},
const Row kEnumerators[] = {
#include "webview2_slot_table.inc"
};

template <size_t N>
void ExpectRows(const Row (&rows)[N]) {
    for (const Row& row : rows) {
        EXPECT_EQ(row.compiled, row.expected) << row.name;
        EXPECT_TRUE(row.declaredHere) << row.name << " is declared by a base interface";
    }
}

TEST(WebView2Declarations, MatchTheBinaryInterfaceFacts) {
    ExpectRows(kInterfaces);
    ExpectRows(kMethods);
    ExpectRows(kEnumerators);
    // Every interface with methods has its header line, and its slots are contiguous:
    // it adds exactly the methods listed for it.
    std::map<std::string, long> methodsPerInterface;
    for (const Row& row : kMethods) ++methodsPerInterface[row.name.substr(0, row.name.find("::"))];
    ASSERT_EQ(methodsPerInterface.size() * 3, std::size(kInterfaces));
    for (size_t i = 0; i < std::size(kInterfaces); i += 3) {
        const std::string name = kInterfaces[i].name.substr(0, kInterfaces[i].name.find(' '));
        EXPECT_EQ(methodsPerInterface[name], kInterfaces[i].expected - kInterfaces[i + 1].expected) << name;
    }
}

// The value types passed by value or through pointers.
static_assert(sizeof(COREWEBVIEW2_COLOR) == 4 && offsetof(COREWEBVIEW2_COLOR, A) == 0 &&
              offsetof(COREWEBVIEW2_COLOR, R) == 1 && offsetof(COREWEBVIEW2_COLOR, B) == 3);
static_assert(sizeof(EventRegistrationToken) == 8 && std::is_signed<decltype(EventRegistrationToken::value)>::value);
static_assert(sizeof(COREWEBVIEW2_PHYSICAL_KEY_STATUS) == 24 &&
              offsetof(COREWEBVIEW2_PHYSICAL_KEY_STATUS, IsKeyReleased) == 20);

}  // namespace
