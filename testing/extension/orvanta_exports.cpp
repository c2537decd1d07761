// The four entry points the host looks up by name (exported undecorated through the
// .def files). Each records the call, then does what the configuration asks.

#include <exception>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

#include "call_record.h"
#include "extension_state.h"
#include "extensions/wrapper_app.h"
#include "run_reaction.h"
#include "window_facts.h"

namespace {

// An exception must never unwind into the host.
void RecordFailure(const char* call) {
    try {
        throw;
    } catch (const std::exception& error) {
        AppendRecord({{"call", call}, {"error", error.what()}});
    } catch (...) {
        AppendRecord({{"call", call}, {"error", "unknown exception"}});
    }
}

}  // namespace

extern "C" {

const char** Init(const char* appFolder, const char* webFolder, const char* userDataFolder, IWrapperApp* app) {
    try {
        ExtensionState& state = State();
        AppendRecord({{"call", "Init"},
                      {"appFolder", TextOrNull(appFolder)},
                      {"webFolder", TextOrNull(webFolder)},
                      {"userDataFolder", TextOrNull(userDataFolder)},
                      {"hasApp", app != nullptr}});
        state.app = app;
        if (app) RunReaction(*app, state.config.init, "Init", nullptr);
        if (state.config.initReturnsNull) return nullptr;
        state.componentIds = state.config.componentIds;
        state.componentIdList.clear();
        for (const auto& id : state.componentIds) state.componentIdList.push_back(id.c_str());
        state.componentIdList.push_back(nullptr);
        return state.componentIdList.data();
    } catch (...) {
        RecordFailure("Init");
        return nullptr;
    }
}

void Release() {
    try {
        AppendRecord({{"call", "Release"}});
        State().app = nullptr;
    } catch (...) {
        RecordFailure("Release");
    }
}

void OnMainWindowCreated(HWND mainWindow) {
    try {
        ExtensionState& state = State();
        nlohmann::json line = DescribeWindow(mainWindow);
        line["call"] = "OnMainWindowCreated";
        AppendRecord(std::move(line));
        if (state.app) RunReaction(*state.app, state.config.mainWindowCreated, "OnMainWindowCreated", nullptr);
    } catch (...) {
        RecordFailure("OnMainWindowCreated");
    }
}

void OnExtensionMessage(const char* messageJson) {
    try {
        ExtensionState& state = State();
        AppendRecord({{"call", "OnExtensionMessage"}, {"text", TextOrNull(messageJson)}});
        if (state.app) RunReaction(*state.app, state.config.message, "OnExtensionMessage", messageJson);
    } catch (...) {
        RecordFailure("OnExtensionMessage");
    }
}

}  // extern "C"

// The host calls these through its own declarations: keep them the same.
static_assert(std::is_same_v<decltype(&Init), ExtensionInitFunction>);
static_assert(std::is_same_v<decltype(&Release), ExtensionReleaseFunction>);
static_assert(std::is_same_v<decltype(&OnMainWindowCreated), ExtensionMainWindowCreatedFunction>);
static_assert(std::is_same_v<decltype(&OnExtensionMessage), ExtensionMessageFunction>);
