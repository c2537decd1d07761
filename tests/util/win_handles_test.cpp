#include "util/win_handles.h"

#include <objidl.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(WinHandles, UniqueHandleClosesOnceAndMoves) {
    HANDLE first = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(first && second);
    {
        UniqueHandle owner(first);
        UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner.valid());
        EXPECT_EQ(moved.get(), first);
        moved.reset(second);
        EXPECT_FALSE(IsOpenHandle(first));
        EXPECT_TRUE(IsOpenHandle(second));
    }
    EXPECT_FALSE(IsOpenHandle(second));

    HANDLE kept = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle owner(kept);
        EXPECT_EQ(owner.release(), kept);
        EXPECT_FALSE(owner.valid());
    }
    EXPECT_TRUE(IsOpenHandle(kept));
    ::CloseHandle(kept);

    EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE).valid());
    EXPECT_FALSE(UniqueHandle().valid());
}

TEST(WinHandles, MappedViewUnmapsOnce) {
    UniqueHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    ASSERT_TRUE(mapping.valid());
    void* address = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(address, nullptr);
    MEMORY_BASIC_INFORMATION info = {};
    {
        MappedView view(address);
        MappedView moved(std::move(view));
        EXPECT_EQ(view.get(), nullptr);
        EXPECT_EQ(moved.get(), address);
        ASSERT_NE(::VirtualQuery(address, &info, sizeof(info)), 0u);
        EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    }
    ASSERT_NE(::VirtualQuery(address, &info, sizeof(info)), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

TEST(WinHandles, ModuleHandleFreesTheLibrary) {
    const wchar_t* name = L"mpr.dll";
    if (::GetModuleHandleW(name) != nullptr) GTEST_SKIP() << "library already loaded";
    {
        ModuleHandle module(::LoadLibraryW(name));
        ASSERT_TRUE(module.valid());
        ModuleHandle moved(std::move(module));
        EXPECT_FALSE(module.valid());
        EXPECT_NE(::GetModuleHandleW(name), nullptr);
    }
    EXPECT_EQ(::GetModuleHandleW(name), nullptr);
}

// Counts every CoTaskMemFree while registered.
class FreeCounter : public IMallocSpy {
public:
    int frees = 0;
    void* lastFreed = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *out = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override { return actual; }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override {
        ++frees;
        lastFreed = request;
        return request;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** actual, BOOL) override {
        *actual = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

TEST(WinHandles, CoTaskMemPtrFreesOnce) {
    FreeCounter counter;
    ASSERT_EQ(::CoRegisterMallocSpy(&counter), S_OK);
    void* first = ::CoTaskMemAlloc(16);
    void* second = ::CoTaskMemAlloc(16);
    {
        CoTaskMemPtr<wchar_t> owner(static_cast<wchar_t*>(first));
        CoTaskMemPtr<wchar_t> moved(std::move(owner));
        EXPECT_EQ(counter.frees, 0);
        // put() frees the old value before it is overwritten.
        wchar_t** slot = moved.put();
        EXPECT_EQ(counter.frees, 1);
        EXPECT_EQ(counter.lastFreed, first);
        EXPECT_EQ(*slot, nullptr);
        *slot = static_cast<wchar_t*>(second);
        EXPECT_EQ(moved.get(), second);
    }
    EXPECT_EQ(counter.frees, 2);
    EXPECT_EQ(counter.lastFreed, second);
    { CoTaskMemPtr<wchar_t> empty; }
    EXPECT_EQ(counter.frees, 2);
    ::CoRevokeMallocSpy();
}

const IID kIidExtra = {0x6d1c5a3e, 0x8f0b, 0x4c2d, {0x9a, 0x71, 0x3e, 0x52, 0x0c, 0xd4, 0x17, 0x88}};

struct IExtra : IUnknown {
    virtual int STDMETHODCALLTYPE Answer() = 0;
};

// A COM object that counts its references.
class FakeObject : public IExtra {
public:
    LONG references = 1;
    int Answer() override { return 42; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == kIidExtra) {
            *out = static_cast<IExtra*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

TEST(WinHandles, ComPtrCountsReferences) {
    FakeObject object;
    {
        ComPtr<IUnknown> first = ComPtr<IUnknown>::Wrap(&object);
        EXPECT_EQ(object.references, 2);
        ComPtr<IUnknown> copy = first;
        EXPECT_EQ(object.references, 3);
        ComPtr<IUnknown> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.references, 3);
        copy = moved;
        moved = copy;
        EXPECT_EQ(object.references, 4);
        moved.reset();
        copy.reset();
        EXPECT_EQ(object.references, 2);
        first = first;
        EXPECT_EQ(object.references, 2);
    }
    EXPECT_EQ(object.references, 1);

    object.AddRef();
    {
        ComPtr<IUnknown> owner;
        owner.attach(&object);
        EXPECT_EQ(object.references, 2);
        EXPECT_EQ(owner.detach(), &object);
        EXPECT_FALSE(owner);
    }
    EXPECT_EQ(object.references, 2);
    object.Release();

    {
        ComPtr<IUnknown> owner = ComPtr<IUnknown>::Wrap(&object);
        IUnknown** slot = owner.put();
        EXPECT_EQ(object.references, 1);
        EXPECT_EQ(*slot, nullptr);
    }
    EXPECT_EQ(object.references, 1);
}

TEST(WinHandles, ComPtrQueryFindsOtherInterfaces) {
    FakeObject object;
    {
        ComPtr<IUnknown> unknown = ComPtr<IUnknown>::Wrap(&object);
        ComPtr<IExtra> extra = unknown.query<IExtra>(kIidExtra);
        ASSERT_TRUE(extra);
        EXPECT_EQ(extra->Answer(), 42);
        EXPECT_EQ(object.references, 3);
        EXPECT_FALSE(unknown.query<IExtra>(IID_IMallocSpy));
        EXPECT_FALSE(ComPtr<IUnknown>().query<IExtra>(kIidExtra));
        EXPECT_EQ(object.references, 3);
    }
    EXPECT_EQ(object.references, 1);
}

}  // namespace
