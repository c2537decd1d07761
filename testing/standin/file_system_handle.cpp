// Windows-only.
#include "file_system_handle.h"

#include <utility>

namespace standin {

FileSystemHandle::FileSystemHandle(COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND kind, std::wstring path,
                                   COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION permission)
    : kind_(kind), path_(std::move(path)), permission_(permission) {}

bool FileSystemHandle::Answers(REFIID iid) const {
    return iid == __uuidof(ICoreWebView2FileSystemHandle);
}

HRESULT FileSystemHandle::get_Kind(COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND* value) {
    return Answer<COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND>("get_Kind", value, kind_, static_cast<int>(kind_));
}

HRESULT FileSystemHandle::get_Path(LPWSTR* value) {
    return AnswerText("get_Path", value, path_);
}

HRESULT FileSystemHandle::get_Permission(COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION* value) {
    return Answer<COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION>("get_Permission", value, permission_,
                                                              static_cast<int>(permission_));
}

Json FileSystemHandle::Describe() const {
    Json handle = Json::object();
    handle["kind"] = kind_ == COREWEBVIEW2_FILE_SYSTEM_HANDLE_KIND_DIRECTORY ? "directory" : "file";
    handle["path"] = WideJson(path_.c_str());
    handle["permission"] = static_cast<int>(permission_);
    return handle;
}

}  // namespace standin
