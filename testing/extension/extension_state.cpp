#include "extension_state.h"

#include <exception>

#include "call_record.h"
#include "environment_variable.h"

namespace {

ExtensionConfig ReadConfig() {
    const auto path = EnvironmentVariable(L"TESSARINE_TEST_EXTENSION_CONFIG");
    if (!path) return {};
    try {
        return LoadExtensionConfig(*path);
    } catch (const std::exception& error) {
        AppendRecord({{"call", "LoadConfig"}, {"error", error.what()}});
        return {};
    }
}

}  // namespace

ExtensionState& State() {
    static ExtensionState state = [] {
        ExtensionState initial;
        initial.config = ReadConfig();
        return initial;
    }();
    return state;
}
