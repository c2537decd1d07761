#pragma once
// What the test extension does, read from the JSON file named by
// TESSARINE_TEST_EXTENSION_CONFIG (see README.md for the format).

#include <string>
#include <vector>

// What the library does at one moment: Init, OnMainWindowCreated or each page message.
struct Reaction {
    // Asked in this order, before anything is posted.
    bool packageJson = false;
    std::vector<std::string> folderPaths;
    // Page messages only: post {"type":"extension-echo","received":<the message>}.
    bool echo = false;
    // Texts posted as they are, after the echo.
    std::vector<std::string> post;
};

struct ExtensionConfig {
    std::vector<std::string> componentIds;
    bool initReturnsNull = false;
    Reaction init;
    Reaction mainWindowCreated;
    Reaction message;
};

// Parses the configuration; raises std::runtime_error or the JSON library's error
// for malformed text, unknown members and members of the wrong type.
ExtensionConfig ParseExtensionConfig(const std::string& text);

// Reads and parses the file; raises as ParseExtensionConfig, and std::runtime_error
// when the file cannot be read.
ExtensionConfig LoadExtensionConfig(const std::wstring& path);
