#include "util/held_files.h"

#include <windows.h>

#include "util/long_path.h"
#include "util/text_convert.h"

void HeldFiles::Hold(const std::string& path) {
    UniqueHandle file(CreateFileW(ToLongPath(Utf8ToWide(path)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) handles_.push_back(std::move(file));
}
