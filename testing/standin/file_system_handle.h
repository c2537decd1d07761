// Windows-only. A file-system handle made for the page (ICoreWebView2FileSystemHandle).
#pragma once

#include <string>

#include "recorded_object.h"

namespace standin {

class FileSystemHandle final : public RecordedObject<FileSystemHandle, ICoreWebView2FileSystemHandle> {
public:
    static constexpr char objectName[] = "FileSystemHandle";
    FileSystemHandle(COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND kind, std::wstring path,
                     COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Kind(COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND* value) override;
    HRESULT STDMETHODCALLTYPE get_Path(LPWSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_Permission(COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION* value) override;

    // {"kind", "path", "permission"}
    Json Describe() const;

private:
    COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND kind_;
    std::wstring path_;
    COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission_;
};

}  // namespace standin
