// What the compiler made of a COM interface declaration, for checking it against the
// binary-interface facts (mingw-w64, x64, Itanium C++ ABI).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

namespace test_support {

// A pointer to a virtual member function holds 1 + the byte offset of its vtable entry,
// then a this-adjustment of 0. -1 for anything else.
template <class F>
long VtableSlot(F member) {
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t), "not an Itanium member pointer");
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &member, sizeof raw);
    if ((raw[0] & 1) == 0 || raw[1] != 0) return -1;
    return static_cast<long>((raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

// One virtual function past the end of T: its slot is T's slot count.
template <class T>
struct SlotProbe : T {
    virtual void NextSlot() = 0;
};

template <class T>
long SlotCount() {
    return VtableSlot(&SlotProbe<T>::NextSlot);
}

// True when I itself declares the method, not one of its bases.
template <class I, class C, class R, class... A>
constexpr bool DeclaredBy(R (C::*)(A...)) {
    return std::is_same<I, C>::value;
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper case.
inline std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

}  // namespace test_support
