// A damaged www\assets.dat is reported once and the app starts all the same.
#include <gtest/gtest.h>

#include <cctype>

#include "host_test_support.h"
#include "webview/app_origin.h"

namespace {

TEST(BrokenBundle, IsReportedThenTheAppStillStarts) {
    const std::string damaged[] = {
        std::string("this is not an asset bundle, just text"),
        std::string(),  // an empty file is no bundle either
    };
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.empty() ? "empty file" : "text file");
        auto app = e2e_test::MakeApp(R"({"name": "Damaged", "window": {"title": "Damaged App"}})");
        app->WriteFile("www/assets.dat", bytes);
        e2e::HostRunOptions options;
        options.scenario = "dom-content-loaded\nrecord-window\nclose-window\n";
        const e2e::HostRun run = RunHost(*app, options);
        e2e_test::ExpectEnded(run, 0);
        e2e_test::ExpectOnlyBox(run, "Tessarine", "Error reading asset bundle", e2e::IconKind::Error);
        EXPECT_TRUE(run.transcript.Has("deliver:controller")) << run.Describe();
        const auto window = run.transcript.First("step:record-window");
        ASSERT_FALSE(window.is_null()) << run.Describe();
        EXPECT_EQ(window["visible"], true);
    }
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(BrokenBundle, AValidBundleOrNoBundleStartsWithoutABox) {
    const std::string bundled = "<!doctype html><p>bundled</p>";
    for (const bool withBundle : {true, false}) {
        SCOPED_TRACE(withBundle ? "valid bundle" : "no bundle");
        auto app = e2e_test::MakeApp(R"({"name": "Sound", "window": {"title": "Sound App"}})");
        const std::string loose = "<!doctype html><p>loose</p>";
        app->WriteFile("www/index.html", loose);
        if (withBundle) app->WriteBundle({{"index.html", bundled}});
        e2e::HostRunOptions options;
        options.scenario = std::string("dom-content-loaded\nrecord-window\nrequest GET ") + appOriginUrl +
                           "index.html\nclose-window\n";
        const e2e::HostRun run = RunHost(*app, options);
        e2e_test::ExpectEnded(run, 0);
        EXPECT_TRUE(run.boxes.empty()) << run.Describe();
        const auto window = run.transcript.First("step:record-window");
        ASSERT_FALSE(window.is_null()) << run.Describe();
        EXPECT_EQ(window["visible"], true);
        // The bundle, when there is one, is what the page gets.
        const auto request = run.transcript.First("step:request");
        ASSERT_FALSE(request.is_null()) << run.Describe();
        ASSERT_TRUE(request["response"].is_object()) << run.Describe();
        EXPECT_EQ(request["response"]["status"], 200);
        ASSERT_TRUE(request["response"]["body"].is_object()) << run.Describe();
        EXPECT_EQ(Lower(request["response"]["body"].value("hex", std::string())), Hex(withBundle ? bundled : loose));
    }
}

}  // namespace
