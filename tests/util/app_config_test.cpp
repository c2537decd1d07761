#include "util/app_config.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

const char* const kModes[] = {"bundle", "remote"};
const char* const kDistributions[] = {"evergreen", "fixed"};
const char* const kHostings[] = {"windowed", "window-to-visual"};

std::map<std::string, std::string> Fields(const AppConfig& c) {
    const auto flag = [](bool on) { return on ? "1" : "0"; };
    const RgbColor& rgb = c.backgroundColor;
    return {
        {"name", c.name},
        {"main", c.main},
        {"title", c.title},
        {"size", std::to_string(c.width) + "x" + std::to_string(c.height)},
        {"icon", c.icon},
        {"frame", std::string(flag(c.caption)) + flag(c.resizable)},
        {"color", std::to_string(rgb.red) + "," + std::to_string(rgb.green) + "," + std::to_string(rgb.blue)},
        {"args", c.chromiumArgs},
        {"modes", std::string(kModes[static_cast<int>(c.contentMode)]) + " " +
                      kDistributions[static_cast<int>(c.distributionMode)] + " " +
                      kHostings[static_cast<int>(c.hostingMode)]},
        {"devtools", flag(c.enableDevTools)},
        {"input", flag(c.allowHostInputProcessing)},
        {"install", c.installRuntimeMessage == defaultInstallRuntimeMessage ? "(default)" : c.installRuntimeMessage}};
}

// Checks one row: `expected` is "!reason" for a failed parse ("!json" for the JSON
// library's own errors), else "key=value" pairs separated by ";" for the fields it pins.
void ExpectOutcome(const std::string& text, const std::string& expected) {
    SCOPED_TRACE(text);
    AppConfig config;
    std::string failure;
    try {
        ParseAppConfig(text, config);
    } catch (const nlohmann::json::exception&) {
        failure = "!json";
    } catch (const std::runtime_error& error) {
        failure = std::string("!") + error.what();
    }
    if (expected[0] == '!' || !failure.empty()) {
        EXPECT_EQ(failure, expected);
        return;
    }
    const auto fields = Fields(config);
    std::istringstream pairs(expected);
    for (std::string pair; std::getline(pairs, pair, ';');) {
        const auto equals = pair.find('=');
        EXPECT_EQ(fields.at(pair.substr(0, equals)), pair.substr(equals + 1)) << pair;
    }
}

std::string Window(const std::string& window) {
    return R"({"name": "demo", "window": )" + window + "}";
}

std::string Settings(const std::string& settings) {
    return R"({"name": "demo", "settings": )" + settings + "}";
}

TEST(AppConfig, ReadsEverySettingFromItsSectionWithDefaults) {
    ExpectOutcome(R"({"name": "demo"})",
                  "name=demo;main=index.html;title=Tessarine;size=1024x768;icon=;frame=11;color=0,0,0;args=;"
                  "modes=bundle evergreen windowed;devtools=1;input=1;install=(default)");
    // Each setting's effect is pinned end to end (start-up, geometry, settings, remote
    // mode); the icon only shows on the window.
    ExpectOutcome(Window(R"({"icon": "icon.png"})"), "icon=icon.png;title=Tessarine");
    // "chromium-args" belongs to the root only.
    ExpectOutcome(Settings(R"({"chromium-args": "--x"})"), "args=");
}

TEST(AppConfig, RefusalsDefaultsColoursAndStrictJson) {
    const std::string plain = R"({"name": "demo", "window": {"width": 900}})";
    const std::pair<std::string, std::string> rows[] = {
        // The name must be a non-empty string; mode words match byte for byte.
        {R"({"name": ""})", "!invalid name"},
        {R"({"name": 5})", "!invalid name"},
        {R"({"main": "a.html"})", "!invalid name"},
        {R"([{"name": "demo"}])", "!invalid name"},
        {Settings(R"({"distribution-mode": "fixed "})"), "!invalid distribution mode"},
        {Settings(R"({"hosting-mode": "window_to_visual"})"), "!invalid hosting mode"},
        {Settings(R"({"content-mode": "REMOTE"})"), "!invalid content mode"},
        // Wrong types give defaults; a section of the wrong type reads like a missing one.
        {Settings(R"({"content-mode": null, "hosting-mode": 1, "distribution-mode": ["fixed"]})"),
         "modes=bundle evergreen windowed"},
        {Window(R"({"width": 800.9, "height": -5, "resizable": "no", "title": 12})"),
         "size=800x-5;frame=11;title=Tessarine"},
        {Settings(R"({"enable-devtools": 0})"), "devtools=1"},
        {Window(R"({"caption": 0})"), "frame=11"},
        {Window(R"("big")"), "title=Tessarine;size=1024x768"},
        {Window(R"([{"width": 5, "background-color": [1, 2, 3]}])"), "size=1024x768;color=0,0,0"},
        {R"({"name": "demo", "messages": "Install!"})", "install=(default)"},
        // Colour elements become bytes: integers keep their low byte, floats beyond 32
        // bits become 0x80000000; anything but an array leaves black; short arrays fail.
        {Window(R"({"background-color": [300, -1, 0.5]})"), "color=44,255,0"},
        {Window(R"({"background-color": [true, false, 1]})"), "color=1,0,1"},
        {Window(R"({"background-color": [1, 2, 3, "extra", null]})"), "color=1,2,3"},
        {Window(R"({"background-color": [4294967551, -4294967041, 1e20]})"), "color=255,255,0"},
        {Window(R"({"background-color": "#ff8000"})"), "color=0,0,0"},
        {Window(R"({"background-color": [255, 128]})"), "!json"},
        {Window(R"({"background-color": ["255", 0, 0]})"), "!json"},
        // Strict JSON with an optional byte-order mark, read up to the first NUL.
        {"\xEF\xBB\xBF" + plain, "size=900x768"},
        {"// settings\n" + plain, "!json"},
        {" \xEF\xBB\xBF" + plain, "!json"},
        {"", "!json"},
        {plain + std::string("\0{{ not json", 12), "size=900x768"},
        {std::string("{\"name\": \"demo\"\0}", 17), "!json"},
    };
    for (const auto& [text, expected] : rows) ExpectOutcome(text, expected);
}

}  // namespace
