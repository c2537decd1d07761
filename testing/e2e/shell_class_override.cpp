#include "shell_class_override.h"

#include <windows.h>

#include <algorithm>

namespace e2e {

namespace {

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<std::wstring> DefaultValue(const std::wstring& path) {
    wchar_t value[2048] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

LSTATUS WriteDefault(const std::wstring& path, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

// Wine's HKEY_CLASSES_ROOT shows the machine's classes only (not HKCU\Software\Classes),
// so the test changes them there and undoes the change itself.
bool ShellClassOverride::SetDefault(const std::wstring& keyPath, const std::wstring& value) {
    const std::wstring className = keyPath.substr(0, keyPath.find(L'\\'));
    const bool created = std::find(createdClasses_.begin(), createdClasses_.end(), className) != createdClasses_.end();
    if (!created) {
        if (KeyExists(className)) {
            changes_.push_back({keyPath, DefaultValue(keyPath)});
        } else {
            createdClasses_.push_back(className);
        }
    }
    return WriteDefault(keyPath, value) == ERROR_SUCCESS;
}

ShellClassOverride::~ShellClassOverride() {
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change) {
        if (change->previous) {
            WriteDefault(change->keyPath, *change->previous);
        } else {
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, change->keyPath.c_str(), nullptr);
        }
    }
    for (const auto& className : createdClasses_) RegDeleteTreeW(HKEY_CLASSES_ROOT, className.c_str());
}

}  // namespace e2e
