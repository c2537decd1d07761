// Probes for the tests of the resource owners (Windows-only): whether a handle is open,
// an address mapped, how many references a COM object has; and a COM object to count.
#pragma once

#include <windows.h>

#include "util/com_object.h"

struct ITestAnswer : IUnknown {
    virtual int STDMETHODCALLTYPE Answer() = 0;
};
__CRT_UUID_DECL(ITestAnswer, 0x6d1c5a3e, 0x8f0b, 0x4c2d, 0x9a, 0x71, 0x3e, 0x52, 0x0c, 0xd4, 0x17, 0x88)

namespace test_support {

inline bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

inline bool IsMapped(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(address, &info, sizeof info) != 0 && info.State == MEM_COMMIT;
}

inline ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class FortyTwo final : public ComObject<ITestAnswer> {
public:
    int STDMETHODCALLTYPE Answer() override { return 42; }
};

}  // namespace test_support
