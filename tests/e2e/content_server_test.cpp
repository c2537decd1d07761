// The content server end to end: requests for the app origin answered from the bundle
// and the www folder, byte for byte, as the browser receives them.
#include <windows.h>

#include <algorithm>
#include <iostream>

#include <gtest/gtest.h>

#include "e2e/local_actions.h"
#include "e2e/transcript_trigger.h"
#include "util/text_convert.h"
#include "host_checks.h"
#include "webview/app_origin.h"

namespace {

using e2e::OpenError;
using e2e::PatternBytes;
using e2e::WidePath;
using e2e_test::HeadOnly;
using e2e_test::Missing;
using e2e_test::Partial;
using e2e_test::Unsatisfiable;
using e2e_test::Whole;
using nlohmann::json;

const char kHtml[] = "text/html; charset=utf-8";
const char kText[] = "text/plain; charset=utf-8";
const char kOctets[] = "application/octet-stream";
constexpr uint64_t kCap = 2097152;

// A request for the app origin + path and the response the browser must get.
e2e_test::StepCheck Get(const std::string& path, const json& response, const std::string& headers = "",
                        const std::string& method = "GET") {
    return {"request " + method + " " + appOriginUrl + path + (headers.empty() ? "" : " " + headers), response,
            "response"};
}

e2e_test::StepCheck Range(const std::string& path, const std::string& value, const json& response) {
    return Get(path, response, "Range: " + value);
}

e2e::HostRun PlayRequests(const e2e::AppFolder& app, const std::vector<e2e_test::StepCheck>& checks) {
    e2e::HostRunOptions options;
    options.timeoutMs = 60000;
    return e2e_test::Play(app, checks, {}, options).run;
}

TEST(ContentServer, AnswersFromTheBundleThenTheFolderWithRangesDecodingAndNoWayOut) {
    auto app = e2e::MakeApp("content", R"({"name": "Content"})");
    const std::string folderIndex = "<!doctype html><title>folder</title>\n";
    const std::string bundleIndex = "<!doctype html><title>bundle</title>\n";
    const std::string script = PatternBytes(5000, 1);
    const std::string logo = PatternBytes(3000, 2);
    const std::string song = PatternBytes(10000, 3);
    const std::string bigBundle = PatternBytes(3 * 1024 * 1024 + 5, 4);
    const std::string bigFolder = PatternBytes(3 * 1024 * 1024 + 77, 6);
    // Longer than the decoding buffer once decoded, so it is looked up as sent.
    const std::string longRaw = "x%41" + std::string(2100, 'b') + ".txt";
    app->WriteBundle({{"index.html", bundleIndex},
                      {"lib/app.min.js", script},
                      {"media/song.mp3", song},
                      {"big/bundle.mp4", bigBundle},
                      {"space name.txt", "bundle space"},
                      {longRaw, "long"},
                      // The bundle's names are its own: the folder check is for the folder only.
                      {"../bundle-named.txt", "named so"},
                      {"a:b.txt", "a colon"}});
    const std::string archive = e2e::ReadWholeFile(app->App() / L"www" / L"assets.dat");
    for (const auto& [path, bytes] :
         std::vector<std::pair<std::string, std::string>>{{"www/index.html", folderIndex},
                                                          {"www/images/logo.png", logo},
                                                          {"www/empty.bin", ""},
                                                          {"www/big/folder.ogv", bigFolder},
                                                          {"www/docs/a b.txt", "folder space"},
                                                          {"www/nested/x/y.json", "[]"},
                                                          {"www/100%.txt", "percent"},
                                                          {"www/..dots.txt", "dots"},
                                                          {"www/docs/readme.txt", "docs"},
                                                          {"secret.txt", "TOP SECRET"}}) {
        app->WriteFile(path, bytes);
    }
    // The secret's absolute path, as a browser might be tricked into sending it.
    const std::string absolute = WideToUtf8((app->App() / L"secret.txt").wstring());
    ASSERT_EQ(absolute.find(' '), std::string::npos) << "the test needs a path without spaces: " << absolute;
    std::string forward = absolute;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    std::string escaped;
    for (char c : absolute) escaped += c == '\\' ? "%5C" : c == ':' ? "%3A" : std::string(1, c);

    std::vector<e2e_test::StepCheck> exchanges = {
        // Whole files: the bundle first, then the folder; method and other headers unread.
        Get("index.html", Whole(kHtml, bundleIndex)),
        Get("index.html", Whole(kHtml, bundleIndex), "Content-Type: text/plain", "POST"),
        Get("lib/app.min.js", Whole("application/javascript; charset=utf-8", script)),
        Get("Index.html", Whole(kHtml, folderIndex)),  // bundle names are exact, the folder's are not
        Get("images/logo.png", Whole("image/png", logo), "Accept: image/*"),
        Get("assets.dat", Whole(kOctets, archive)),
        Get("empty.bin", Whole(kOctets, "")),
        Get("", HeadOnly(Whole(kOctets, ""))),  // the www folder itself: found, nothing to read
        Get("missing.html", Missing()),
        // Byte windows from the bundle and the folder, at most 2 MiB (how Range values read
        // is the head composer's unit test).
        Range("media/song.mp3", "bytes=100-1099", Partial("audio/mpeg", song, 100, 1099)),
        Range("media/song.mp3", "bytes=-100", Partial("audio/mpeg", song, 9900, 9999)),
        Range("media/song.mp3", "bytes=-0", Unsatisfiable("audio/mpeg")),
        Range("big/bundle.mp4", "bytes=0-", Partial("video/mp4", bigBundle, 0, kCap - 1)),
        Range("big/folder.ogv", "bytes=0-", Partial("video/ogg", bigFolder, 0, kCap - 1)),
        Range("big/folder.ogv", "bytes=3145700-", Partial("video/ogg", bigFolder, 3145700, bigFolder.size() - 1)),
        Range("empty.bin", "bytes=0-", Unsatisfiable(kOctets)),
        Range("missing.webm", "bytes=0-9", Missing()),
        // Paths are percent-decoded once before the lookup; a query stays part of the path.
        Get("space%20name.txt", Whole(kText, "bundle space")),
        Get("docs/a%20b.txt", Whole(kText, "folder space")),
        Get("nested%2Fx%2Fy.json", Whole("application/json; charset=utf-8", "[]")),
        Get("100%25.txt", Whole(kText, "percent")),
        Get(longRaw, Whole(kText, "long")),
        Get("space%2520name.txt", Missing()),
        Get("index.html?v=2", Missing()),
        // Names with dots are fine; the bundle's own names are served as they are.
        Get("..dots.txt", Whole(kText, "dots")),
        Get("../bundle-named.txt", Whole(kText, "named so")),
        Get("a:b.txt", Whole(kText, "a colon")),
        Range("../secret.txt", "bytes=0-3", Missing()),
    };
    // Nothing outside the www folder, however the decoded path is spelled, no streams and no
    // NULs (the rule itself is the folder check's unit test).
    for (const std::string& path :
         {std::string("../secret.txt"), std::string("%2e%2e/secret.txt"), std::string("..%2Fsecret.txt"),
          std::string("..%5Csecret.txt"), std::string(".."), std::string("C%3A%5Cwindows%5Cwin.ini"), forward, escaped,
          "\\\\?\\" + absolute, std::string("docs/readme.txt%3A%3A%24DATA"), std::string("index.html%00.png")}) {
        exchanges.push_back(Get(path, Missing()));
    }
    PlayRequests(*app, exchanges);
}

TEST(ContentServer, MapsAFolderFileForItsFirstWindowAndHoldsItUntilTheEnd) {
    auto app = e2e::MakeApp("mapping", R"({"name": "Mapped"})");
    const std::string movie = PatternBytes(5000, 9);
    const std::string song = PatternBytes(300000, 7);
    app->WriteFile("www/locked.mp4", movie);
    app->WriteFile("www/media/song.ogg", song);
    // Another program holds the movie without sharing it.
    HANDLE lock = CreateFileW(WidePath(*app, "www/locked.mp4").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE) << GetLastError();

    // Once the song's first window is out: the lock goes, the song must be held for
    // reading only, and a file with other bytes takes its place (a host that opened the
    // path again would serve those). Wine lets a folder with an open file be renamed.
    DWORD songWriteError = 0;
    DWORD songReadError = 0;
    bool moved = false;
    e2e::TranscriptTrigger trigger(*app, e2e::AfterEvents("step:request", 4), [&] {
        CloseHandle(lock);
        songWriteError = OpenError(WidePath(*app, "www/media/song.ogg"), GENERIC_WRITE);
        songReadError = OpenError(WidePath(*app, "www/media/song.ogg"), GENERIC_READ);
        moved = MoveFileW(WidePath(*app, "www/media").c_str(), WidePath(*app, "www/held").c_str()) != 0;
        if (moved) app->WriteFile("www/media/song.ogg", PatternBytes(song.size(), 8));
    });
    json failed = HeadOnly(Partial("video/mp4", movie, 0, 99));
    failed["status"] = 500;
    failed["reason"] = "Internal Server Error";
    const e2e::HostRun run =
        PlayRequests(*app, {
                               Range("locked.mp4", "bytes=0-99", failed),
                               // Streams that cannot be opened go out as heads alone.
                               Get("locked.mp4", HeadOnly(Whole("video/mp4", movie))),
                               Range("locked.mp4", "bytes=0-", HeadOnly(Partial("video/mp4", movie, 0, 4999))),
                               Range("media/song.ogg", "bytes=100-199", Partial("audio/ogg", song, 100, 199)),
                               {"wait 3000", nullptr, ""},
                               // The failed mapping was not kept; the song's mapping was.
                               Range("locked.mp4", "bytes=4000-4999", Partial("video/mp4", movie, 4000, 4999)),
                               Range("media/song.ogg", "bytes=-50", Partial("audio/ogg", song, 299950, 299999)),
                               Range("media/song.ogg", "bytes=200000-", Partial("audio/ogg", song, 200000, 299999)),
                           });
    if (!trigger.Finish()) CloseHandle(lock);
    EXPECT_EQ(songWriteError, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << run.Describe();
    EXPECT_EQ(songReadError, 0u);
    if (!moved) std::cout << "[ note ] folder not moved: the reuse is shown by the sharing only\n";
    // Released at the end of the run.
    const std::wstring heldAt = WidePath(*app, moved ? "www/held/song.ogg" : "www/media/song.ogg");
    EXPECT_EQ(OpenError(heldAt, GENERIC_WRITE), 0u);
}

TEST(ContentServer, ADamagedBundleIsReportedAndTheFolderServesInstead) {
    for (const bool damaged : {true, false}) {
        auto app = e2e::MakeApp(damaged ? "damaged" : "no-bundle", R"({"name": "Damaged"})");
        if (damaged) app->WriteFile("www/assets.dat", "this is not an asset bundle, just text");
        e2e::HostRunOptions options;
        options.scenario = "dom-content-loaded\nrecord-window\n" + Get("index.html", nullptr).step + "\nclose-window\n";
        const e2e::HostRun run = RunHost(*app, options);
        e2e_test::ExpectEnded(run, 0);
        e2e_test::ExpectBox(run, damaged ? "Tessarine" : "", "Error reading asset bundle");
        EXPECT_EQ(run.transcript.First("step:record-window")["visible"], true) << run.Describe();
        EXPECT_EQ(run.transcript.First("step:request")["response"],
                  Whole(kHtml, "<!doctype html><title>e2e</title><p>Hello</p>\n"));
    }
}

}  // namespace
