// Windows-only. A fresh folder under the temp folder for one test, with a name that is
// not ASCII (paths travel as UTF-8 and back), removed with everything in it, paths
// beyond the classic length limit included.
#pragma once

#include <cstdint>
#include <string>

namespace test_support {

class TempFolder {
public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // \\?\ form, for Windows calls, of a name inside (the folder itself for "").
    std::wstring Wide(const std::wstring& name) const;
    // The plain UTF-8 form, as the host's callers hand paths over.
    std::string Utf8(const std::wstring& name) const;
    // Writes (replacing) a file; false when it cannot.
    bool Write(const std::wstring& name, const std::string& bytes) const;
    // A file of `size` zero bytes, without writing them where the file system allows.
    bool WriteZeros(const std::wstring& name, uint64_t size) const;
    bool MakeFolder(const std::wstring& name) const;

private:
    std::wstring folder_;
};

// The folder this test program lies in, with \\?\.
std::wstring ProgramFolder();

}  // namespace test_support
