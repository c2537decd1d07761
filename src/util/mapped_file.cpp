// Windows-only.
#include "util/mapped_file.h"

#include "util/file_query.h"

void MappedFile::Close() {
    view.reset();
    mapping.reset();
    file.reset();
    size = 0;
}

MappedFile OpenMappedFile(const std::string& path) {
    MappedFile mapped;
    const std::wstring systemPath = SystemFilePath(path);
    if (systemPath.empty()) return mapped;
    mapped.file.reset(::CreateFileW(systemPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!mapped.file.valid()) return mapped;
    // The size the handle sees: the view covers exactly that, whatever a name query said before.
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(mapped.file.get(), &length)) return mapped;
    mapped.size = static_cast<uint64_t>(length.QuadPart);
    mapped.mapping.reset(::CreateFileMappingW(mapped.file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapped.mapping.valid()) return mapped;
    mapped.view.reset(::MapViewOfFile(mapped.mapping.get(), FILE_MAP_READ, 0, 0, 0));
    return mapped;
}
