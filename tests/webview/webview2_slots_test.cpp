// Windows-only. Holds webview2.h against the browser control's binary-interface
// facts: every method at its slot, every interface with its slot count and
// IID, every enumerator with its value. A slot out of place makes the real
// runtime call the wrong function, so these are checked as the compiler laid
// them out, not as the header reads.
#include "webview/webview2.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// Itanium C++ ABI (mingw-w64, x64): a pointer to a virtual member function
// holds 1 + the byte offset of its vtable entry, then a this-adjustment of 0.
// Returns -1 for anything else.
template <class F>
long VtableSlot(F member) {
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t), "not an Itanium member pointer");
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &member, sizeof raw);
    if ((raw[0] & 1) == 0 || raw[1] != 0) return -1;
    return static_cast<long>((raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

// The class a member function pointer names: the one that declares the method.
template <class C, class R, class... A>
C* DeclaringClass(R (C::*)(A...));

// One virtual function past the end of T: its slot is T's slot count.
template <class T>
struct SlotProbe : T {
    virtual void NextSlot() = 0;
};

struct CompiledInterface {
    const char* name;
    long slotCount;
    GUID iid;
};

struct CompiledMethod {
    const char* interfaceName;
    const char* method;
    long slot;
    bool declaredByInterface;
};

struct CompiledEnumerator {
    const char* enumeration;
    const char* name;
    long long value;
    std::size_t size;
};

#define WEBVIEW2_INTERFACE(I) {#I, VtableSlot(&SlotProbe<I>::NextSlot), __uuidof(I)},
#define WEBVIEW2_METHOD(I, M)
#define WEBVIEW2_ENUMERATOR(E, N)
const CompiledInterface kInterfaces[] = {
#include "webview2_slot_table.inc"
};
#undef WEBVIEW2_INTERFACE
#undef WEBVIEW2_METHOD

#define WEBVIEW2_INTERFACE(I)
#define WEBVIEW2_METHOD(I, M) {#I, #M, VtableSlot(&I::M), std::is_same<decltype(DeclaringClass(&I::M)), I*>::value},
const CompiledMethod kMethods[] = {
#include "webview2_slot_table.inc"
};
#undef WEBVIEW2_METHOD
#undef WEBVIEW2_ENUMERATOR

#define WEBVIEW2_METHOD(I, M)
#define WEBVIEW2_ENUMERATOR(E, N) {#E, #N, static_cast<long long>(E##_##N), sizeof(E)},
const CompiledEnumerator kEnumerators[] = {
#include "webview2_slot_table.inc"
};
#undef WEBVIEW2_INTERFACE
#undef WEBVIEW2_METHOD
#undef WEBVIEW2_ENUMERATOR

struct FactsInterface {
    std::string iid;
    std::string parent;
    long firstSlot = -1;
    long lastSlot = -1;
    std::map<std::string, long> slots;  // method -> slot
};

struct Facts {
    std::map<std::string, FactsInterface> interfaces;
    std::map<std::string, long long> enumerators;  // "TYPE_NAME" -> value
};

Facts ReadFacts(const char* path) {
    static const std::regex kTitle(R"(^### (\w+)$)");
    static const std::regex kHeader(R"(^IID \{([0-9A-Fa-f-]+)\} · derives from (\w+) · slots (\d+)\.\.(\d+)$)");
    static const std::regex kRow(R"(^\| (\d+) \| (\w+) \| .* \|$)");
    static const std::regex kEnumeration(R"(^- `(COREWEBVIEW2_\w+)`: (.*)$)");
    static const std::regex kEnumerator(R"((\w+) = (\w+))");
    Facts facts;
    std::ifstream in(path);
    std::string line;
    FactsInterface* current = nullptr;
    std::smatch m;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::regex_match(line, m, kTitle)) {
            current = &facts.interfaces[m[1]];
        } else if (line.rfind("## ", 0) == 0) {
            current = nullptr;
        } else if (current != nullptr && std::regex_match(line, m, kHeader)) {
            current->iid = m[1];
            current->parent = m[2];
            current->firstSlot = std::stol(m[3]);
            current->lastSlot = std::stol(m[4]);
        } else if (current != nullptr && std::regex_match(line, m, kRow)) {
            current->slots[m[2]] = std::stol(m[1]);
        } else if (std::regex_match(line, m, kEnumeration)) {
            const std::string type = m[1];
            const std::string list = m[2];
            for (std::sregex_iterator it(list.begin(), list.end(), kEnumerator), end; it != end; ++it) {
                facts.enumerators[type + "_" + (*it)[1].str()] = std::stoll((*it)[2].str(), nullptr, 0);
            }
        }
    }
    return facts;
}

std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class WebView2SlotsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { facts_ = new Facts(ReadFacts(WEBVIEW2_FACTS_PATH)); }
    static void TearDownTestSuite() {
        delete facts_;
        facts_ = nullptr;
    }
    void SetUp() override {
        // Each interface of the table came from the facts file; an empty read means
        // the file was not found and every comparison below would pass vacuously.
        ASSERT_EQ(facts_->interfaces.size(), std::size(kInterfaces)) << WEBVIEW2_FACTS_PATH;
    }
    static Facts* facts_;
};

Facts* WebView2SlotsTest::facts_ = nullptr;

TEST_F(WebView2SlotsTest, EveryMethodSitsAtItsSlotInTheInterfaceThatDeclaresIt) {
    std::size_t checked = 0;
    for (const CompiledMethod& method : kMethods) {
        SCOPED_TRACE(std::string(method.interfaceName) + "::" + method.method);
        const auto found = facts_->interfaces.find(method.interfaceName);
        ASSERT_NE(found, facts_->interfaces.end());
        const auto slot = found->second.slots.find(method.method);
        ASSERT_NE(slot, found->second.slots.end());
        EXPECT_EQ(method.slot, slot->second);
        EXPECT_TRUE(method.declaredByInterface) << "declared by a base interface";
        ++checked;
    }
    std::size_t listed = 0;
    for (const auto& entry : facts_->interfaces) listed += entry.second.slots.size();
    EXPECT_EQ(checked, listed);
}

TEST_F(WebView2SlotsTest, EveryInterfaceEndsAtItsLastSlotAndFollowsItsParent) {
    for (const CompiledInterface& compiled : kInterfaces) {
        SCOPED_TRACE(compiled.name);
        const FactsInterface& facts = facts_->interfaces.at(compiled.name);
        // No slot added beyond the facts, none missing at the end.
        EXPECT_EQ(compiled.slotCount, facts.lastSlot + 1);
        long parentSlots = 3;  // IUnknown
        if (facts.parent != "IUnknown") {
            const auto parent = facts_->interfaces.find(facts.parent);
            ASSERT_NE(parent, facts_->interfaces.end()) << facts.parent;
            parentSlots = parent->second.lastSlot + 1;
        }
        EXPECT_EQ(facts.firstSlot, parentSlots);
        EXPECT_EQ(static_cast<long>(facts.slots.size()), facts.lastSlot - facts.firstSlot + 1);
    }
}

TEST_F(WebView2SlotsTest, EveryInterfaceCarriesItsIid) {
    for (const CompiledInterface& compiled : kInterfaces) {
        SCOPED_TRACE(compiled.name);
        EXPECT_EQ(GuidText(compiled.iid), Upper(facts_->interfaces.at(compiled.name).iid));
    }
}

TEST_F(WebView2SlotsTest, EnumeratorsAndValueTypesHaveTheRuntimesValuesAndLayout) {
    ASSERT_EQ(facts_->enumerators.size(), std::size(kEnumerators));
    for (const CompiledEnumerator& compiled : kEnumerators) {
        const std::string name = std::string(compiled.enumeration) + "_" + compiled.name;
        SCOPED_TRACE(name);
        EXPECT_EQ(compiled.size, 4u);
        // The facts give the internal release channel as 22, which would overlap
        // BETA and DEV; it is bit 4 (0x10), as the standard default 0x1F shows.
        if (name == "COREWEBVIEW2_RELEASE_CHANNELS_INTERNAL") {
            EXPECT_EQ(compiled.value, 0x10);
            continue;
        }
        EXPECT_EQ(compiled.value, facts_->enumerators.at(name));
    }

    EXPECT_EQ(sizeof(COREWEBVIEW2_COLOR), 4u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, A), 0u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, R), 1u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, G), 2u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_COLOR, B), 3u);
    EXPECT_EQ(sizeof(EventRegistrationToken), 8u);
    EXPECT_TRUE(std::is_signed<decltype(EventRegistrationToken::value)>::value);
    EXPECT_EQ(sizeof(COREWEBVIEW2_PHYSICAL_KEY_STATUS), 24u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_PHYSICAL_KEY_STATUS, ScanCode), 4u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_PHYSICAL_KEY_STATUS, IsExtendedKey), 8u);
    EXPECT_EQ(offsetof(COREWEBVIEW2_PHYSICAL_KEY_STATUS, IsKeyReleased), 20u);
}

}  // namespace
