// Windows-only. Loads the built WebView2Loader.dll, drives it like the host
// does, and checks what the transcript says.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "test_handler.h"
#include "test_host.h"
#include "util/webview2.h"

namespace {

using nlohmann::json;

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"tessarine-standin-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
}

template <class Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

std::wstring LoaderPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"WebView2Loader.dll";
}

class StandinRun : public ::testing::Test {
protected:
    void SetUp() override {
        scenarioPath_ = TempPath(L"scenario.txt");
        transcriptPath_ = TempPath(L"transcript.jsonl");
        ::DeleteFileW(transcriptPath_.c_str());
        liveTestHandlers = 0;
    }

    void TearDown() override {
        if (loader_ != nullptr) ::FreeLibrary(loader_);
        ::DeleteFileW(scenarioPath_.c_str());
        ::DeleteFileW(transcriptPath_.c_str());
        ::SetEnvironmentVariableW(L"TESSARINE_STANDIN_SCENARIO", nullptr);
        ::SetEnvironmentVariableW(L"TESSARINE_STANDIN_TRANSCRIPT", nullptr);
        ::SetEnvironmentVariableW(L"COREWEBVIEW2_FORCED_HOSTING_MODE", nullptr);
    }

    // Writes the scenario and loads a fresh copy of the stand-in that plays it.
    HMODULE Load(const std::string& scenario) {
        std::ofstream(std::filesystem::path(scenarioPath_), std::ios::binary) << scenario;
        ::SetEnvironmentVariableW(L"TESSARINE_STANDIN_SCENARIO", scenarioPath_.c_str());
        ::SetEnvironmentVariableW(L"TESSARINE_STANDIN_TRANSCRIPT", transcriptPath_.c_str());
        loader_ = ::LoadLibraryW(LoaderPath().c_str());
        return loader_;
    }

    // Unloads the stand-in and returns every line it wrote.
    std::vector<json> Finish() {
        if (loader_ != nullptr) ::FreeLibrary(loader_);
        loader_ = nullptr;
        std::vector<json> lines;
        std::ifstream file(std::filesystem::path(transcriptPath_), std::ios::binary);
        std::string text;
        while (std::getline(file, text)) lines.push_back(json::parse(text));
        return lines;
    }

    // A full run: start the host, play the scenario, shut down in order.
    std::vector<json> RunHost(const std::string& scenario) {
        HMODULE loader = Load(scenario);
        EXPECT_NE(loader, nullptr);
        if (loader == nullptr) return {};
        {
            TestHost host(loader);
            EXPECT_EQ(host.Start(nullptr, L"C:\\users\\data\\App"), S_OK);
            EXPECT_TRUE(host.RunUntilQuit(20000)) << "the scenario did not end the loop";
            host.ReleaseBrowser();
            outcome_ = {host.completionInsideCreate,
                        host.environmentDelivered,
                        host.controllerDelivered,
                        host.usedControllerOptions,
                        host.environmentCode,
                        host.controllerCode,
                        host.messages,
                        host.nonStringMessages,
                        host.fullscreen};
        }
        return Finish();
    }

    struct Outcome {
        bool completionInsideCreate = false;
        bool environmentDelivered = false;
        bool controllerDelivered = false;
        bool usedControllerOptions = false;
        HRESULT environmentCode = S_OK;
        HRESULT controllerCode = S_OK;
        std::vector<std::wstring> messages;
        int nonStringMessages = 0;
        bool fullscreen = false;
    };
    Outcome outcome_;

    std::wstring scenarioPath_;
    std::wstring transcriptPath_;
    HMODULE loader_ = nullptr;
};

std::vector<json> All(const std::vector<json>& lines, const std::string& ev) {
    std::vector<json> found;
    for (const json& line : lines) {
        if (line.value("ev", "") == ev) found.push_back(line);
    }
    return found;
}

json One(const std::vector<json>& lines, const std::string& ev) {
    const std::vector<json> found = All(lines, ev);
    EXPECT_EQ(found.size(), 1u) << ev;
    return found.empty() ? json() : found.front();
}

std::ptrdiff_t IndexOf(const std::vector<json>& lines, const std::string& ev) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].value("ev", "") == ev) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

TEST_F(StandinRun, LoaderReportsTheRuntimeAndReadsTheOptions) {
    HMODULE loader = Load("runtime fixed absent\nbrowser-version 150.1.2.3\n");
    ASSERT_NE(loader, nullptr);
    const auto version =
        Export<GetAvailableCoreWebView2BrowserVersionStringFn>(loader, "GetAvailableCoreWebView2BrowserVersionString");
    ASSERT_NE(version, nullptr);
    LPWSTR text = nullptr;
    EXPECT_EQ(version(nullptr, &text), S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, L"150.1.2.3");
    ::CoTaskMemFree(text);
    text = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(version(L"webview2", &text), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(text, nullptr);

    ::SetEnvironmentVariableW(L"COREWEBVIEW2_FORCED_HOSTING_MODE", L"COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL");
    {
        TestHost host(loader);
        EXPECT_EQ(host.Start(L"webview2", L"C:\\data"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(host.Start(nullptr, L"C:\\data"), S_OK);
        // Nothing is delivered inside the call; the loop brings it.
        EXPECT_FALSE(host.environmentDelivered);
        MSG message;
        for (int i = 0; i < 200 && !host.controllerDelivered; ++i) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
            ::Sleep(5);
        }
        EXPECT_FALSE(host.completionInsideCreate);
        EXPECT_TRUE(host.controllerDelivered);
        EXPECT_TRUE(host.usedControllerOptions);
    }
    const std::vector<json> lines = Finish();

    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front()["ev"], "scenario");
    const std::vector<json> versions = All(lines, "Loader.GetAvailableCoreWebView2BrowserVersionString");
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0]["browserFolder"], nullptr);
    EXPECT_EQ(versions[0]["version"], "150.1.2.3");
    EXPECT_EQ(versions[1]["browserFolder"], "webview2");
    EXPECT_EQ(versions[1]["version"], nullptr);
    EXPECT_EQ(versions[1]["hr"], "0x80070002");

    const std::vector<json> creations = All(lines, "Loader.CreateCoreWebView2EnvironmentWithOptions");
    ASSERT_EQ(creations.size(), 2u);
    EXPECT_EQ(creations[0]["browserFolder"], "webview2");
    EXPECT_EQ(creations[0]["hr"], "0x80070002");
    EXPECT_EQ(creations[1]["browserFolder"], nullptr);
    EXPECT_EQ(creations[1]["userDataFolder"], "C:\\data");
    EXPECT_EQ(creations[1]["forcedHostingMode"], "COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL");
    EXPECT_EQ(creations[1]["options"], true);

    // The loader asks for all eight options interfaces; the tiny host object has only the first.
    const std::vector<json> queries = All(lines, "Options.QueryInterface");
    ASSERT_EQ(queries.size(), 16u);
    EXPECT_EQ(queries[0]["interface"], "ICoreWebView2EnvironmentOptions");
    EXPECT_EQ(queries[0]["hr"], "0x00000000");
    EXPECT_EQ(queries[7]["interface"], "ICoreWebView2EnvironmentOptions8");
    EXPECT_EQ(queries[7]["hr"], "0x80004002");
    const std::vector<json> arguments = All(lines, "Options.get_AdditionalBrowserArguments");
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_EQ(arguments[0]["value"], "--self-check");
    EXPECT_EQ(All(lines, "Options.get_Language")[0]["value"], nullptr);
    EXPECT_EQ(All(lines, "Options.get_TargetCompatibleBrowserVersion")[0]["value"], "144.0.3719.77");
    EXPECT_EQ(All(lines, "Options.get_AllowSingleSignOnUsingOSPrimaryAccount")[0]["value"], true);
    EXPECT_TRUE(All(lines, "Options.get_ScrollBarStyle").empty());

    const json withOptions = One(lines, "Environment.CreateCoreWebView2ControllerWithOptions");
    EXPECT_EQ(withOptions["options"]["defaultBackgroundColor"], "255,16,32,48");
    EXPECT_EQ(withOptions["options"]["allowHostInputProcessing"], true);
    EXPECT_EQ(One(lines, "ControllerOptions.put_DefaultBackgroundColor")["value"], "255,16,32,48");
    EXPECT_LT(IndexOf(lines, "Environment.CreateCoreWebView2ControllerWithOptions"),
              IndexOf(lines, "deliver:controller"));
    EXPECT_EQ(One(lines, "deliver:environment")["object"], true);
}

TEST_F(StandinRun, StepsReachTheHostsHandlers) {
    const std::vector<json> lines = RunHost(
        "dom-content-loaded\n"
        "title% Hello%0AWorld\n"
        "fullscreen 1\n"
        "accelerator 123 key-up\n"
        "navigate https://elsewhere.example/\n"
        "navigate https://app.localhost/page.html\n"
        "new-window https://example.com/\n"
        "permission microphone https://app.localhost/\n"
        "record-window\n"
        "window-close-requested\n");

    EXPECT_EQ(One(lines, "step:dom-content-loaded")["handlers"], 1);
    EXPECT_EQ(One(lines, "Controller.put_IsVisible")["value"], true);
    EXPECT_EQ(One(lines, "Controller.MoveFocus")["reason"], 0);
    EXPECT_EQ(One(lines, "WebView.get_DocumentTitle")["value"], "Hello\nWorld");
    EXPECT_EQ(One(lines, "step:fullscreen")["handlers"], 1);
    EXPECT_EQ(One(lines, "WebView.get_ContainsFullScreenElement")["value"], true);
    EXPECT_TRUE(outcome_.fullscreen);
    const json accelerator = One(lines, "step:accelerator");
    EXPECT_EQ(accelerator["vk"], 123);
    EXPECT_EQ(accelerator["kind"], 1);
    EXPECT_EQ(accelerator["handled"], false);
    EXPECT_EQ(All(lines, "WebView.OpenDevToolsWindow").size(), 1u);
    const std::vector<json> navigations = All(lines, "step:navigate");
    ASSERT_EQ(navigations.size(), 2u);
    EXPECT_EQ(navigations[0]["cancel"], true);
    EXPECT_EQ(navigations[1]["cancel"], false);
    EXPECT_EQ(One(lines, "step:new-window")["handled"], true);
    EXPECT_EQ(One(lines, "step:permission")["state"], 1);
    EXPECT_EQ(One(lines, "step:permission")["kind"], 1);

    const json window = One(lines, "step:record-window");
    EXPECT_EQ(window["exists"], true);
    EXPECT_EQ(window["visible"], true);
    EXPECT_EQ(window["text"], "Hello\nWorld");
    EXPECT_EQ(window["style"].get<std::uint32_t>() & WS_CAPTION, static_cast<std::uint32_t>(WS_CAPTION));
    ASSERT_EQ(window["clientRect"].size(), 4u);
    // The close request went through the host's handler and ended its loop.
    EXPECT_EQ(One(lines, "step:window-close-requested")["handlers"], 1);
    // Every step comes one tick after the previous one, in scenario order, after Navigate.
    EXPECT_LT(IndexOf(lines, "WebView.Navigate"), IndexOf(lines, "step:dom-content-loaded"));
    EXPECT_LT(IndexOf(lines, "step:title"), IndexOf(lines, "step:fullscreen"));
    EXPECT_EQ(One(lines, "step:title")["line"], 2);
    EXPECT_EQ(All(lines, "steps-done").size(), 1u);
}

TEST_F(StandinRun, RequestsGetTheResponseTheHostSet) {
    const std::vector<json> lines = RunHost(
        "request GET https://app.localhost/index.html\n"
        "request GET https://app.localhost/video.mp4 Range: bytes=0-99\n"
        "request GET https://elsewhere.example/x.js\n"
        "close-window\n");
    const std::vector<json> requests = All(lines, "step:request");
    ASSERT_EQ(requests.size(), 3u);

    const json& whole = requests[0];
    EXPECT_EQ(whole["filtered"], true);
    EXPECT_EQ(whole["handlers"], 1);
    EXPECT_EQ(whole["response"]["status"], 200);
    EXPECT_EQ(whole["response"]["reason"], "OK");
    EXPECT_EQ(whole["response"]["headers"], "Content-Type: text/plain\r\nContent-Length: 5");
    EXPECT_EQ(whole["response"]["body"]["length"], 5);
    EXPECT_EQ(whole["response"]["body"]["hex"], "77686f6c65");  // "whole"
    EXPECT_EQ(whole["response"]["body"]["fnv1a64"].get<std::string>().size(), 16u);

    const json& partial = requests[1];
    EXPECT_EQ(partial["response"]["status"], 206);
    EXPECT_EQ(partial["response"]["body"]["hex"], "62797465733d302d3939");  // "bytes=0-99"
    // The host asked in lower and upper case; both found the header.
    const std::vector<json> contains = All(lines, "RequestHeaders.Contains");
    ASSERT_EQ(contains.size(), 2u);
    EXPECT_EQ(contains[0]["value"], false);
    EXPECT_EQ(contains[1]["value"], true);
    EXPECT_EQ(One(lines, "RequestHeaders.GetHeader")["value"], "bytes=0-99");

    // Not covered by the host's filter: the host never hears of it.
    EXPECT_EQ(requests[2]["filtered"], false);
    EXPECT_EQ(requests[2]["response"], nullptr);
    EXPECT_EQ(All(lines, "Environment.CreateWebResourceResponse").size(), 2u);
    EXPECT_EQ(One(lines, "WebView.AddWebResourceRequestedFilter")["uri"], "https://app.localhost/*");
}

TEST_F(StandinRun, MessagesAndDirectoryHandles) {
    const std::vector<json> lines = RunHost(
        "message https://app.localhost/index.html {\"type\":\"wrapper-init\"}\n"
        "message-json https://app.localhost/index.html {\"type\":\"wrapper-init\"}\n"
        "close-window\n");
    ASSERT_EQ(outcome_.messages.size(), 1u);
    EXPECT_EQ(outcome_.messages[0], L"{\"type\":\"wrapper-init\"}");
    EXPECT_EQ(outcome_.nonStringMessages, 1);
    const std::vector<json> reads = All(lines, "WebMessageReceivedArgs.TryGetWebMessageAsString");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1]["hr"], "0x80070057");
    EXPECT_EQ(reads[1]["value"], nullptr);

    const json handle = One(lines, "Environment.CreateWebFileSystemDirectoryHandle");
    EXPECT_EQ(handle["path"], "C:\\data");
    EXPECT_EQ(handle["permission"], 1);
    const json collection = One(lines, "Environment.CreateObjectCollection");
    EXPECT_EQ(collection["length"], 2);
    EXPECT_EQ(collection["items"][0]["kind"], "directory");
    EXPECT_EQ(collection["items"][1], nullptr);
    const json posted = One(lines, "WebView.PostWebMessageAsJsonWithAdditionalObjects");
    EXPECT_EQ(posted["text"], "{\"type\":\"directory-handles\"}");
    EXPECT_EQ(posted["objects"][0]["path"], "C:\\data");
    EXPECT_EQ(posted["objects"][1], nullptr);
    EXPECT_EQ(One(lines, "WebView.PostWebMessageAsJson")["text"], "{\"type\":\"wrapper-init-response\"}");
}

TEST_F(StandinRun, ShutdownReleasesEverythingInOrder) {
    const std::vector<json> lines = RunHost("dom-content-loaded\nclose-window\n");
    const std::ptrdiff_t webView = IndexOf(lines, "destroyed:WebView");
    const std::ptrdiff_t controller = IndexOf(lines, "destroyed:Controller");
    const std::ptrdiff_t environment = IndexOf(lines, "destroyed:Environment");
    ASSERT_GE(webView, 0);
    ASSERT_GE(controller, 0);
    ASSERT_GE(environment, 0);
    // The controller holds its web view, and both hold the environment.
    EXPECT_LT(controller, webView);
    EXPECT_LT(webView, environment);
    EXPECT_EQ(lines[controller]["handlersReleased"], 1);  // the accelerator handler
    EXPECT_EQ(lines[webView]["handlersReleased"], 9);
    const json unload = lines.back();
    EXPECT_EQ(unload["ev"], "unload");
    EXPECT_TRUE(unload["alive"].empty()) << unload.dump();
    EXPECT_EQ(unload["handlersReleased"], 0);
    EXPECT_EQ(liveTestHandlers, 0);
}

TEST_F(StandinRun, UnloadReleasesTheHandlersOfObjectsTheHostKept) {
    HMODULE loader = Load("dom-content-loaded\nclose-window\n");
    ASSERT_NE(loader, nullptr);
    {
        TestHost host(loader);
        ASSERT_EQ(host.Start(nullptr, L"C:\\data"), S_OK);
        ASSERT_TRUE(host.RunUntilQuit(20000));
        // A host that never lets go: its references die with the DLL, unreleased.
        host.controller.detach();
        host.webView.detach();
        host.webView2.detach();
        host.environment.detach();
    }
    EXPECT_GT(liveTestHandlers, 0);
    const std::vector<json> lines = Finish();
    const json unload = lines.back();
    EXPECT_EQ(unload["ev"], "unload");
    EXPECT_EQ(unload["handlersReleased"], 10);
    EXPECT_EQ(unload["alive"]["Controller"], 1);
    EXPECT_EQ(unload["alive"]["WebView"], 1);
    EXPECT_EQ(liveTestHandlers, 0);
}

TEST_F(StandinRun, WithdrawnInterfacesMakeTheHostFallBack) {
    const std::vector<json> lines = RunHost(
        "offer environment10 off\n"
        "offer webview2 off\n"
        "offer settings3 off\n"
        "offer settings8 off\n"
        "offer environment14 off\n"
        "dom-content-loaded\n"
        "accelerator 123\n"
        "message https://app.localhost/ {\"type\":\"wrapper-init\"}\n"
        "close-window\n");
    EXPECT_FALSE(outcome_.usedControllerOptions);
    EXPECT_EQ(All(lines, "Environment.CreateCoreWebView2Controller").size(), 1u);
    EXPECT_TRUE(All(lines, "Environment.CreateCoreWebView2ControllerWithOptions").empty());
    const std::vector<json> queries = All(lines, "Environment.QueryInterface");
    ASSERT_FALSE(queries.empty());
    EXPECT_EQ(queries[0]["interface"], "ICoreWebView2Environment10");
    EXPECT_EQ(queries[0]["offered"], false);
    // No ICoreWebView2_2: no DOMContentLoaded handler; no Settings3: no accelerator handler.
    EXPECT_EQ(One(lines, "step:dom-content-loaded")["handlers"], 0);
    EXPECT_EQ(One(lines, "step:accelerator")["handlers"], 0);
    EXPECT_TRUE(All(lines, "Settings.put_AreBrowserAcceleratorKeysEnabled").empty());
    EXPECT_TRUE(All(lines, "Settings.put_IsPinchZoomEnabled").empty());
    EXPECT_TRUE(All(lines, "Environment.CreateWebFileSystemDirectoryHandle").empty());
    EXPECT_EQ(One(lines, "WebView.PostWebMessageAsJson")["text"], "{\"type\":\"wrapper-init-response\"}");
}

TEST_F(StandinRun, FailedCreationDeliversTheCodeAndNoObject) {
    std::vector<json> lines = RunHost("environment-result E_ACCESSDENIED\nclose-window\n");
    EXPECT_TRUE(outcome_.environmentDelivered);
    EXPECT_EQ(outcome_.environmentCode, E_ACCESSDENIED);
    EXPECT_FALSE(outcome_.controllerDelivered);
    json delivered = One(lines, "deliver:environment");
    EXPECT_EQ(delivered["hr"], "0x80070005");
    EXPECT_EQ(delivered["object"], false);
    // The steps still run, so a scenario can end the host after a failure.
    EXPECT_EQ(One(lines, "step:close-window")["posted"], true);

    lines = RunHost("controller-result 0x80004005\nrecord-window\nclose-window\n");
    EXPECT_TRUE(outcome_.controllerDelivered);
    EXPECT_EQ(outcome_.controllerCode, E_FAIL);
    delivered = One(lines, "deliver:controller");
    EXPECT_EQ(delivered["object"], false);
    EXPECT_EQ(delivered["hr"], "0x80004005");
    EXPECT_EQ(One(lines, "step:record-window")["exists"], true);
    EXPECT_TRUE(All(lines, "WebView.Navigate").empty());
}

TEST_F(StandinRun, ABrokenScenarioHidesTheRuntime) {
    HMODULE loader = Load("dom-content-loaded\nfly away\n");
    ASSERT_NE(loader, nullptr);
    const auto version =
        Export<GetAvailableCoreWebView2BrowserVersionStringFn>(loader, "GetAvailableCoreWebView2BrowserVersionString");
    LPWSTR text = nullptr;
    EXPECT_EQ(version(nullptr, &text), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(text, nullptr);
    const std::vector<json> lines = Finish();
    const json error = One(lines, "scenario-error");
    EXPECT_EQ(error["line"], 2);
    EXPECT_NE(error["message"].get<std::string>().find("fly"), std::string::npos);
}

}  // namespace
