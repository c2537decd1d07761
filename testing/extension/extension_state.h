#pragma once
// What the library keeps between the host's calls.

#include <string>
#include <vector>

#include "extension_config.h"
#include "extensions/wrapper_app.h"

struct ExtensionState {
    ExtensionConfig config;
    // Given by Init; null before it.
    IWrapperApp* app = nullptr;
    // The list handed back from Init, kept until the library is unloaded.
    std::vector<std::string> componentIds;
    std::vector<const char*> componentIdList;
};

// The one state of this load of the library, with its configuration read on first
// use: the default configuration when TESSARINE_TEST_EXTENSION_CONFIG is not set,
// and also, after a "LoadConfig" error line in the record, when the file is bad.
ExtensionState& State();
