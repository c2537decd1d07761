// The owners every close, unmap, free and release of the host goes through.
#include "util/win_handles.h"

#include <objidl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>

#include "support/owner_probes.h"
#include "support/temp_folder.h"
#include "util/mapped_file.h"

namespace {

using namespace test_support;

TEST(WinHandles, OwnersLetGoOnceAndMoveTheirValue) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle owner(first);
        UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner.valid());
        moved.reset(second);
        EXPECT_FALSE(IsOpenHandle(first));
        EXPECT_TRUE(IsOpenHandle(second));
        EXPECT_EQ(UniqueHandle(moved.release()).get(), second);
        EXPECT_FALSE(IsOpenHandle(second)) << "the temporary owner closed it";
    }
    EXPECT_FALSE(UniqueHandle(INVALID_HANDLE_VALUE).valid());

    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    const void* address = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    {
        MappedView view(address);
        ASSERT_TRUE(IsMapped(address));
    }
    EXPECT_FALSE(IsMapped(address));

    ASSERT_EQ(GetModuleHandleW(L"mpr.dll"), nullptr);
    {
        ModuleHandle module(LoadLibraryW(L"mpr.dll"));
        ASSERT_NE(GetModuleHandleW(L"mpr.dll"), nullptr);
    }
    EXPECT_EQ(GetModuleHandleW(L"mpr.dll"), nullptr);
}

TEST(WinHandles, ComPtrCountsReferencesAndQueriesByType) {
    ComPtr<ITestAnswer> owner;
    owner.attach(new FortyTwo);
    {
        ComPtr<ITestAnswer> copy = owner;
        ComPtr<ITestAnswer> moved = std::move(copy);
        EXPECT_FALSE(copy);
        copy = moved;
        copy = copy;
        EXPECT_EQ(References(owner.get()), 3u);
        const ComPtr<IUnknown> unknown = moved.query<IUnknown>();
        ASSERT_TRUE(unknown);
        EXPECT_EQ(unknown.query<ITestAnswer>()->Answer(), 42);
        EXPECT_FALSE(unknown.query<IStream>());
        EXPECT_EQ(References(owner.get()), 4u);
    }
    EXPECT_EQ(References(owner.get()), 1u);
    // put() lets go of what is held before handing out the slot.
    ComPtr<ITestAnswer> other = owner;
    EXPECT_EQ(*other.put(), nullptr);
    EXPECT_EQ(References(owner.get()), 1u);
}

TEST(MappedFile, MapsAWholeFileThatNobodyMayWriteMeanwhile) {
    const test_support::TempFolder folder(L"tessarine-mapped");
    ASSERT_TRUE(folder.Write(L"ten.bin", "0123456789"));
    MappedFile mapped = OpenMappedFile(folder.Utf8(L"ten.bin"));
    ASSERT_TRUE(mapped.view.valid());
    EXPECT_EQ(mapped.size, 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.data()), 10), "0123456789");
    // Opened for writing without truncating, as a sharing mistake would let it.
    EXPECT_FALSE(std::ofstream(folder.Wide(L"ten.bin").c_str(), std::ios::app).is_open()) << "writable while mapped";
    const void* view = mapped.view.get();
    mapped.Close();
    EXPECT_FALSE(IsMapped(view));
    EXPECT_TRUE(folder.Write(L"ten.bin", "")) << "the file is still held";

    // An empty file cannot be mapped: the open file is kept for the caller to close.
    mapped = OpenMappedFile(folder.Utf8(L"ten.bin"));
    EXPECT_TRUE(mapped.file.valid());
    EXPECT_FALSE(mapped.view.valid());
    EXPECT_FALSE(OpenMappedFile(folder.Utf8(L"missing.bin")).file.valid());
    EXPECT_FALSE(OpenMappedFile(folder.Utf8(L"ten.bin") + std::string("\0x", 2)).file.valid());
}

}  // namespace
