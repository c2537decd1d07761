#include "app/error_box.h"

#include <windows.h>

#include "util/text_convert.h"

void ShowErrorBox(const std::string& text) {
    MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"Tessarine", MB_OK | MB_ICONERROR);
}
