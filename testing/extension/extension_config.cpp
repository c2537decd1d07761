#include "extension_config.h"

#include <cstdio>
#include <initializer_list>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

// A misspelt member would silently change a test into another one: refuse it.
void RejectUnknownMembers(const json& object, std::initializer_list<const char*> known, const std::string& where) {
    if (!object.is_object()) throw std::runtime_error(where + " is not an object");
    for (const auto& member : object.items()) {
        bool found = false;
        for (const char* name : known) found = found || member.key() == name;
        if (!found) throw std::runtime_error("unknown member \"" + member.key() + "\" in " + where);
    }
}

std::vector<std::string> ReadStrings(const json& array) {
    std::vector<std::string> strings;
    for (const auto& item : array) strings.push_back(item.get<std::string>());
    return strings;
}

// A string is posted exactly as written (so tests can post any text, valid JSON or
// not); any other value as its compact JSON text.
std::vector<std::string> ReadMessages(const json& array) {
    std::vector<std::string> texts;
    for (const auto& item : array) texts.push_back(item.is_string() ? item.get<std::string>() : item.dump());
    return texts;
}

Reaction ReadReaction(const json& object, const std::string& where, bool mayEcho) {
    if (mayEcho) {
        RejectUnknownMembers(object, {"packageJson", "folderPaths", "echo", "post"}, where);
    } else {
        RejectUnknownMembers(object, {"packageJson", "folderPaths", "post"}, where);
    }
    Reaction reaction;
    reaction.packageJson = object.value("packageJson", false);
    if (object.contains("folderPaths")) reaction.folderPaths = ReadStrings(object.at("folderPaths"));
    reaction.echo = object.value("echo", false);
    if (object.contains("post")) reaction.post = ReadMessages(object.at("post"));
    return reaction;
}

}  // namespace

ExtensionConfig ParseExtensionConfig(const std::string& text) {
    const json root = json::parse(text);
    RejectUnknownMembers(root, {"componentIds", "initReturnsNull", "init", "mainWindowCreated", "message"},
                         "the configuration");
    ExtensionConfig config;
    if (root.contains("componentIds")) config.componentIds = ReadStrings(root.at("componentIds"));
    config.initReturnsNull = root.value("initReturnsNull", false);
    if (root.contains("init")) config.init = ReadReaction(root.at("init"), "\"init\"", false);
    if (root.contains("mainWindowCreated")) {
        config.mainWindowCreated = ReadReaction(root.at("mainWindowCreated"), "\"mainWindowCreated\"", false);
    }
    if (root.contains("message")) config.message = ReadReaction(root.at("message"), "\"message\"", true);
    return config;
}

ExtensionConfig LoadExtensionConfig(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) throw std::runtime_error("cannot open the configuration file");
    std::string text;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw std::runtime_error("cannot read the configuration file");
    return ParseExtensionConfig(text);
}
