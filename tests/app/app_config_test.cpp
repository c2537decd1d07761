#include "app/app_config.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

AppConfig Parse(const std::string& text) {
    AppConfig config;
    ParseAppConfig(text, config);
    return config;
}

// The reason of one of the parser's own failures; empty when it succeeds.
std::string OwnFailure(const std::string& text) {
    AppConfig config;
    try {
        ParseAppConfig(text, config);
    } catch (const nlohmann::json::exception&) {
        return "json error";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

std::string WithWindow(const std::string& window) {
    return R"({"name": "demo", "window": )" + window + "}";
}

std::string WithSettings(const std::string& settings) {
    return R"({"name": "demo", "settings": )" + settings + "}";
}

}  // namespace

TEST(AppConfig, NameAloneGivesEveryDefault) {
    const AppConfig config = Parse(R"({"name": "demo"})");
    EXPECT_EQ(config.name, "demo");
    EXPECT_EQ(config.main, "index.html");
    EXPECT_EQ(config.title, "Tessarine");
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.height, 768);
    EXPECT_EQ(config.icon, "");
    EXPECT_TRUE(config.caption);
    EXPECT_TRUE(config.resizable);
    EXPECT_EQ(config.backgroundColor.red, 0);
    EXPECT_EQ(config.backgroundColor.green, 0);
    EXPECT_EQ(config.backgroundColor.blue, 0);
    EXPECT_EQ(config.chromiumArgs, "");
    EXPECT_EQ(config.contentMode, ContentMode::Bundle);
    EXPECT_EQ(config.distributionMode, DistributionMode::Evergreen);
    EXPECT_EQ(config.hostingMode, HostingMode::Windowed);
    EXPECT_TRUE(config.enableDevTools);
    EXPECT_TRUE(config.allowHostInputProcessing);
    EXPECT_EQ(config.installRuntimeMessage,
              "This app requires the Microsoft Edge WebView2 runtime. Please download and install it in "
              "order to use this app. When you press OK, the web page where it can be downloaded will open.");
}

TEST(AppConfig, EverySettingIsReadFromItsSection) {
    const AppConfig config = Parse(R"({
        "name": "Ærø app", "main": "start/page.html", "chromium-args": "--disable-gpu --mute-audio",
        "window": {"title": "My App", "width": 640, "height": 480, "icon": "icon.png",
                   "caption": false, "resizable": false, "background-color": [16, 32, 48]},
        "settings": {"content-mode": "remote", "distribution-mode": "fixed",
                     "hosting-mode": "window-to-visual", "enable-devtools": false,
                     "allow-host-input-processing": false, "chromium-args": "--ignored"},
        "messages": {"install-webview2-required": "Install it."},
        "unknown": {"width": 1}
    })");
    EXPECT_EQ(config.name, "\xC3\x86r\xC3\xB8 app");
    EXPECT_EQ(config.main, "start/page.html");
    EXPECT_EQ(config.chromiumArgs, "--disable-gpu --mute-audio");
    EXPECT_EQ(config.title, "My App");
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 480);
    EXPECT_EQ(config.icon, "icon.png");
    EXPECT_FALSE(config.caption);
    EXPECT_FALSE(config.resizable);
    EXPECT_EQ(config.backgroundColor.red, 16);
    EXPECT_EQ(config.backgroundColor.green, 32);
    EXPECT_EQ(config.backgroundColor.blue, 48);
    EXPECT_EQ(config.contentMode, ContentMode::Remote);
    EXPECT_EQ(config.distributionMode, DistributionMode::Fixed);
    EXPECT_EQ(config.hostingMode, HostingMode::WindowToVisual);
    EXPECT_FALSE(config.enableDevTools);
    EXPECT_FALSE(config.allowHostInputProcessing);
    EXPECT_EQ(config.installRuntimeMessage, "Install it.");

    // "chromium-args" belongs to the root only.
    EXPECT_EQ(Parse(WithSettings(R"({"chromium-args": "--x"})")).chromiumArgs, "");
}

TEST(AppConfig, NameMustBeANonEmptyString) {
    EXPECT_EQ(OwnFailure(R"({"name": ""})"), "invalid name");
    EXPECT_EQ(OwnFailure(R"({"name": 5})"), "invalid name");
    EXPECT_EQ(OwnFailure(R"({"main": "a.html"})"), "invalid name");
    EXPECT_EQ(OwnFailure(R"([{"name": "demo"}])"), "invalid name");
}

TEST(AppConfig, FirstBadSettingDecidesTheFailure) {
    const std::string badModes = R"("settings": {"content-mode": "x", "hosting-mode": "x", "distribution-mode": "x"})";
    EXPECT_EQ(OwnFailure(R"({"name": "", )" + badModes + "}"), "invalid name");
    EXPECT_EQ(OwnFailure(R"({"name": "demo", )" + badModes + "}"), "invalid distribution mode");
    EXPECT_EQ(OwnFailure(WithSettings(R"({"content-mode": "x", "hosting-mode": "x"})")), "invalid hosting mode");
    EXPECT_EQ(OwnFailure(WithSettings(R"({"content-mode": "x"})")), "invalid content mode");
    // The colour is read before the modes, the name before the colour.
    EXPECT_EQ(OwnFailure(R"({"name": "demo", "window": {"background-color": [1]}, )" + badModes + "}"), "json error");
    EXPECT_EQ(OwnFailure(R"({"window": {"background-color": [1]}})"), "invalid name");
    // A syntax error anywhere fails before any setting is looked at.
    EXPECT_EQ(OwnFailure(R"({"name": "", )" + badModes + ","), "json error");
}

TEST(AppConfig, ModeWordsAreMatchedExactly) {
    EXPECT_EQ(OwnFailure(WithSettings(R"({"distribution-mode": "fixed "})")), "invalid distribution mode");
    EXPECT_EQ(OwnFailure(WithSettings(R"({"hosting-mode": "window_to_visual"})")), "invalid hosting mode");
    EXPECT_EQ(OwnFailure(WithSettings(R"({"content-mode": "REMOTE"})")), "invalid content mode");

    // Non-string words are replaced by the default word.
    const AppConfig config =
        Parse(WithSettings(R"({"content-mode": null, "hosting-mode": 1, "distribution-mode": ["fixed"]})"));
    EXPECT_EQ(config.contentMode, ContentMode::Bundle);
    EXPECT_EQ(config.hostingMode, HostingMode::Windowed);
    EXPECT_EQ(config.distributionMode, DistributionMode::Evergreen);

    const AppConfig explicitDefaults = Parse(
        WithSettings(R"({"content-mode": "bundle", "hosting-mode": "windowed", "distribution-mode": "evergreen"})"));
    EXPECT_EQ(explicitDefaults.contentMode, ContentMode::Bundle);
    EXPECT_EQ(explicitDefaults.hostingMode, HostingMode::Windowed);
    EXPECT_EQ(explicitDefaults.distributionMode, DistributionMode::Evergreen);
}

TEST(AppConfig, WrongTypesGiveDefaults) {
    const AppConfig wrongWindow =
        Parse(WithWindow(R"({"width": 800.9, "height": -5, "resizable": "no", "title": 12})"));
    EXPECT_EQ(wrongWindow.width, 800);
    EXPECT_EQ(wrongWindow.height, -5);
    EXPECT_TRUE(wrongWindow.resizable);
    EXPECT_EQ(wrongWindow.title, "Tessarine");
    EXPECT_EQ(Parse(R"({"name": "demo", "main": 3})").main, "index.html");
    EXPECT_TRUE(Parse(WithSettings(R"({"enable-devtools": 0})")).enableDevTools);

    // A section of the wrong type reads like a missing one.
    const AppConfig stringWindow = Parse(WithWindow(R"("big")"));
    EXPECT_EQ(stringWindow.title, "Tessarine");
    EXPECT_EQ(stringWindow.width, 1024);
    const AppConfig arrayWindow = Parse(WithWindow(R"([{"width": 5, "background-color": [1, 2, 3]}])"));
    EXPECT_EQ(arrayWindow.width, 1024);
    EXPECT_EQ(arrayWindow.backgroundColor.red, 0);
    EXPECT_EQ(Parse(R"({"name": "demo", "messages": "Install!"})").installRuntimeMessage, defaultInstallRuntimeMessage);
    EXPECT_EQ(Parse(WithSettings("7")).contentMode, ContentMode::Bundle);
}

TEST(AppConfig, BackgroundColorConversion) {
    const auto color = [](const std::string& value) {
        const RgbColor c = Parse(WithWindow(R"({"background-color": )" + value + "}")).backgroundColor;
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    };
    EXPECT_EQ(color("[300, -1, 0.5]"), "44,255,0");
    EXPECT_EQ(color("[true, false, 1]"), "1,0,1");
    EXPECT_EQ(color("[1, 2, 3, \"extra\", null]"), "1,2,3");
    // Integers beyond 32 bits keep their low byte; floats beyond 32 bits become 0x80000000.
    EXPECT_EQ(color("[4294967551, -4294967041, 1e20]"), "255,255,0");
    // Anything but an array leaves the background black.
    EXPECT_EQ(color("\"#ff8000\""), "0,0,0");
    EXPECT_EQ(color("16777215"), "0,0,0");
}

TEST(AppConfig, MalformedColorArraysFailTheParse) {
    const auto parse = [](const std::string& value) { Parse(WithWindow(R"({"background-color": )" + value + "}")); };
    EXPECT_THROW(parse("[255, 128]"), nlohmann::json::out_of_range);
    EXPECT_THROW(parse("[]"), nlohmann::json::out_of_range);
    EXPECT_THROW(parse("[\"255\", 0, 0]"), nlohmann::json::type_error);
    EXPECT_THROW(parse("[0, [1], 0]"), nlohmann::json::type_error);
}

TEST(AppConfig, CommentsRejectedByteOrderMarkAccepted) {
    const std::string plain = R"({"name": "demo", "window": {"width": 900}})";
    EXPECT_EQ(Parse(plain).width, 900);
    EXPECT_EQ(Parse("\xEF\xBB\xBF" + plain).width, 900);
    EXPECT_THROW(Parse("// settings\n" + plain), nlohmann::json::parse_error);
    EXPECT_THROW(Parse(R"({"name": "demo", /* size */ "window": {"width": 900}})"), nlohmann::json::parse_error);
    EXPECT_THROW(Parse("\xEF\xBB\xBF" + plain + " // end"), nlohmann::json::parse_error);
    // A mark anywhere but the very start is no mark.
    EXPECT_THROW(Parse(" \xEF\xBB\xBF" + plain), nlohmann::json::parse_error);
    EXPECT_THROW(Parse(""), nlohmann::json::parse_error);
}

TEST(AppConfig, TextEndsAtFirstNul) {
    const std::string valid = R"({"name": "demo"})";
    EXPECT_EQ(Parse(valid + std::string("\0{{ not json", 12)).name, "demo");
    EXPECT_THROW(Parse(std::string("{\"name\": \"demo\"\0}", 17)), nlohmann::json::parse_error);
    EXPECT_THROW(Parse(std::string("\0{\"name\": \"demo\"}", 17)), nlohmann::json::parse_error);
}
