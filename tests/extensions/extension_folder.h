#pragma once
// A fresh app folder for one test of the extension manager (Windows-only), with the
// test extension's configuration and record files in it and the two environment
// variables that name them set for the process.

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class ExtensionFolder {
public:
    // Creates <temp>\tessarine-extension-<pid>-<n>-Grüße\ and points the record
    // variable at a file in it. Throws std::runtime_error when it cannot.
    ExtensionFolder();
    // Clears both variables and removes the folder.
    ~ExtensionFolder();
    ExtensionFolder(const ExtensionFolder&) = delete;
    ExtensionFolder& operator=(const ExtensionFolder&) = delete;

    // The folder in UTF-8 with its trailing backslash, as the host passes it.
    std::string AppFolder() const;
    // Copies a library built beside this test program into the folder as Orvanta.dll.
    void InstallLibrary(const std::wstring& builtName) const;
    // Writes the extension's configuration (JSON text) and points the variable at it.
    void Configure(const std::string& configText) const;
    // The lines the extension has recorded so far, parsed.
    std::vector<nlohmann::json> Records() const;

private:
    std::filesystem::path path_;
};
