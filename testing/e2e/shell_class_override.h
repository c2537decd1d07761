// Registry classes that decide what the shell starts for a URL or a file, changed for
// the length of a test and put back afterwards (Windows-only).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class ShellClassOverride {
public:
    ShellClassOverride() = default;
    // Puts every changed value back; removes the classes that did not exist before.
    ~ShellClassOverride();
    ShellClassOverride(const ShellClassOverride&) = delete;
    ShellClassOverride& operator=(const ShellClassOverride&) = delete;

    // Sets the default value of HKEY_CLASSES_ROOT\<keyPath>, creating the key. The first
    // component of keyPath is the class. False when the registry refused.
    bool SetDefault(const std::wstring& keyPath, const std::wstring& value);
    // The open command of a URL scheme or file class.
    bool SetOpenCommand(const std::wstring& className, const std::wstring& command) {
        return SetDefault(className + L"\\shell\\open\\command", command);
    }

private:
    struct Change {
        std::wstring keyPath;
        std::optional<std::wstring> previous;  // nullopt: there was no default value
    };
    std::vector<std::wstring> createdClasses_;
    std::vector<Change> changes_;
};

}  // namespace e2e
