#include "host_test_support.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "e2e/wide_text.h"

namespace e2e_test {

std::unique_ptr<e2e::AppFolder> MakeApp(const std::optional<std::string>& packageJson, bool withLoader) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string label = test ? std::string(test->test_suite_name()) + "-" + test->name() : "app";
    auto app = std::make_unique<e2e::AppFolder>(label);
    if (packageJson) app->WritePackageJson(*packageJson);
    app->WriteFile("www/index.html", "<!doctype html><title>e2e</title><p>Hello</p>\n");
    app->CopyHost(withLoader);
    return app;
}

std::string LocalAppDataFolder() {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path))) {
        folder = e2e::NarrowToUtf8(path);
    }
    CoTaskMemFree(path);
    if (folder.rfind("\\\\?\\", 0) == 0) folder.erase(0, 4);
    return folder;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::pair<std::wstring, std::wstring> NoExternalBrowser() {
    std::wstring overrides(4096, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides.data(), 4096);
    overrides.resize(length < 4096 ? length : 0);
    if (!overrides.empty()) overrides += L";";
    overrides += L"winebrowser.exe=d";
    return {L"WINEDLLOVERRIDES", overrides};
}

void ExpectEnded(const e2e::HostRun& run, unsigned long exitCode) {
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_FALSE(run.timedOut) << "the host did not end by itself\n" << run.Describe();
    EXPECT_EQ(run.stuckBoxes, 0) << run.Describe();
    EXPECT_EQ(run.exitCode, exitCode) << run.Describe();
    EXPECT_FALSE(run.transcript.Has("scenario-error")) << run.Describe();
    EXPECT_TRUE(run.transcript.badLines.empty()) << run.Describe();
}

void ExpectOnlyBox(const e2e::HostRun& run, const std::string& caption, const std::string& text, e2e::IconKind icon) {
    ASSERT_EQ(run.boxes.size(), 1u) << run.Describe();
    EXPECT_EQ(run.boxes[0].caption, caption);
    EXPECT_EQ(run.boxes[0].text, text);
    EXPECT_EQ(e2e::IconKindName(run.boxes[0].icon), e2e::IconKindName(icon));
}

void ExpectNoBrowserAndNoWindow(const e2e::HostRun& run) {
    EXPECT_FALSE(run.transcript.Has("Loader.CreateCoreWebView2EnvironmentWithOptions")) << run.Describe();
    EXPECT_FALSE(run.SawWindowClass("Tessarine")) << run.Describe();
}

}  // namespace e2e_test
