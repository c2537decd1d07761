#include "util/file_query.h"

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>

#include "util/long_path.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// A fresh folder under the temp folder, with a non-ASCII name; removed with all it holds.
class FileQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
        std::wstring base = temp;
        if (!base.empty() && base.back() == L'\\') base.pop_back();
        folder_ = ToLongPath(base + L"\\tessarine-\x00FC\x65E5-" + std::to_wstring(::GetCurrentProcessId()));
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(folder_); }

    // The UTF-8 path of a name inside the folder, as the host's callers hand it over.
    std::string Utf8(const std::wstring& name) const { return WideToUtf8(StripLongPathPrefix(folder_ + L"\\" + name)); }
    void WriteFile(const std::wstring& name, const std::string& bytes) const {
        UniqueHandle file(::CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ASSERT_EQ(written, bytes.size());
    }

    std::wstring folder_;
};

TEST_F(FileQueryTest, PathExistsForFoldersAndFilesOnly) {
    WriteFile(L"a.txt", "x");
    EXPECT_TRUE(PathExists(Utf8(L"")));
    EXPECT_TRUE(PathExists(Utf8(L"a.txt")));
    EXPECT_FALSE(PathExists(Utf8(L"missing.txt")));
    EXPECT_FALSE(PathExists(""));
    // A NUL would end the path early at the system call and name the folder.
    EXPECT_FALSE(PathExists(Utf8(L"") + std::string("\0b", 2)));
}

TEST_F(FileQueryTest, FileSizeOfFilesFoldersAndMissingPaths) {
    WriteFile(L"ten.bin", "0123456789");
    WriteFile(L"empty.bin", "");
    EXPECT_EQ(FileSize(Utf8(L"ten.bin")), 10u);
    EXPECT_EQ(FileSize(Utf8(L"empty.bin")), 0u);
    EXPECT_EQ(FileSize(Utf8(L"missing.bin")), 0u);
    EXPECT_EQ(FileSize(Utf8(L"")), 0u);
    EXPECT_EQ(FileSize(Utf8(L"ten.bin") + std::string("\0x", 2)), 0u);
    // Forward slashes are accepted like backslashes.
    std::string slashed = Utf8(L"ten.bin");
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(FileSize(slashed), 10u);
}

TEST_F(FileQueryTest, FileSizeBeyondTwoGigabytes) {
    {
        UniqueHandle file(::CreateFileW((folder_ + L"\\big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        DWORD returned = 0;
        // Sparse where the file system allows it, so no 3 GiB are written; fine either way.
        ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = 3221225472LL;
        ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.get()));
    }
    EXPECT_EQ(FileSize(Utf8(L"big.bin")), 3221225472u);
    EXPECT_TRUE(::DeleteFileW((folder_ + L"\\big.bin").c_str()));
}

TEST_F(FileQueryTest, PathsBeyondTheClassicLimit) {
    std::wstring deep;
    for (int level = 0; level < 5; ++level) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(::CreateDirectoryW((folder_ + deep).c_str(), nullptr));
    }
    const std::wstring name = deep.substr(1) + L"\\deep.txt";
    WriteFile(name, "12345");
    ASSERT_GT(Utf8(name).size(), 300u);
    EXPECT_TRUE(PathExists(Utf8(name)));
    EXPECT_EQ(FileSize(Utf8(name)), 5u);
}

}  // namespace
