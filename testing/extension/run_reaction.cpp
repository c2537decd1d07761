#include "run_reaction.h"

#include <string>

#include <nlohmann/json.hpp>

#include "call_record.h"

namespace {

using nlohmann::json;

void Post(IWrapperApp& app, const std::string& text, const char* during) {
    AppendRecord({{"call", "PostMessageToPage"}, {"during", during}, {"text", text}});
    app.PostMessageToPage(text.c_str());
}

std::string EchoOf(const char* pageMessage) {
    json received = json::parse(pageMessage, nullptr, false);
    if (received.is_discarded()) received = nullptr;
    return json{{"type", "extension-echo"}, {"received", received}}.dump(-1, ' ', false,
                                                                         json::error_handler_t::replace);
}

}  // namespace

void RunReaction(IWrapperApp& app, const Reaction& reaction, const char* during, const char* pageMessage) {
    if (reaction.packageJson) {
        const char* text = app.GetPackageJson();
        AppendRecord({{"call", "GetPackageJson"}, {"during", during}, {"result", TextOrNull(text)}});
    }
    for (const auto& placeholder : reaction.folderPaths) {
        const char* path = app.GetFolderPath(placeholder.c_str());
        AppendRecord({{"call", "GetFolderPath"},
                      {"during", during},
                      {"placeholder", placeholder},
                      {"result", TextOrNull(path)}});
    }
    if (reaction.echo && pageMessage) Post(app, EchoOf(pageMessage), during);
    for (const auto& text : reaction.post) Post(app, text, during);
}
