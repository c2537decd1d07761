// Windows-only, under Wine with real files: the content server driven in-process
// through light doubles of the browser's request objects, and its body streams.
#include "server/content_server.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>
#include <set>
#include <thread>

#include "support/bundle_bytes.h"
#include "bundle/open_asset_bundle.h"
#include "server/body_stream.h"
#include "support/resource_doubles.h"
#include "support/serving_harness.h"

using namespace bundle_test;
using namespace test_support;

namespace {

TEST(BodyStream, KeepsTheStreamContract) {
    const std::string bytes = "0123456789";
    ComPtr<IStream> stream = MakeBodyStream(nullptr, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(stream);
    struct Step {
        char op;  // r: read count; s: seek by move from origin; w: write; z: set size
        int64_t move;
        DWORD originOrCount;
        HRESULT hr;
        const char* read;   // bytes a read gives
        uint64_t position;  // after a seek that succeeded
    };
    const Step steps[] = {
        {'r', 0, 4, S_OK, "0123", 0},
        {'s', 2, STREAM_SEEK_CUR, S_OK, "", 6},
        {'r', 0, 10, S_FALSE, "6789", 0},  // a short count at the end
        {'r', 0, 1, S_FALSE, "", 0},
        {'s', -3, STREAM_SEEK_END, S_OK, "", 7},
        {'s', -8, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, "", 0},  // before the start: nothing moves
        {'r', 0, 2, S_OK, "78", 0},
        {'s', 20, STREAM_SEEK_SET, S_OK, "", 20},  // past the end is allowed
        {'r', 0, 5, S_FALSE, "", 0},
        {'s', -1, STREAM_SEEK_SET, S_OK, "", UINT64_MAX},  // from the start the move is unsigned
        {'r', 0, 5, S_FALSE, "", 0},
        {'s', 1, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, "", 0},  // beyond 64 bits
        {'s', 5, STREAM_SEEK_END, S_OK, "", 15},
        {'s', -15, STREAM_SEEK_CUR, S_OK, "", 0},
        {'s', 0, 3, STG_E_INVALIDFUNCTION, "", 0},
        {'r', 0, 0, S_OK, "", 0},
        {'r', 0, 3, S_OK, "012", 0},
        {'w', 0, 3, STG_E_ACCESSDENIED, "", 0},
        {'z', 0, 3, STG_E_ACCESSDENIED, "", 0},
    };
    int index = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE("step " + std::to_string(index++));
        if (step.op == 'r') {
            char buffer[16] = {};
            ULONG read = 99;
            EXPECT_EQ(stream->Read(buffer, step.originOrCount, &read), step.hr);
            EXPECT_EQ(std::string(buffer, read), step.read);
        } else if (step.op == 's') {
            ULARGE_INTEGER position{};
            position.QuadPart = 12345;
            LARGE_INTEGER move{};
            move.QuadPart = step.move;
            EXPECT_EQ(stream->Seek(move, step.originOrCount, &position), step.hr);
            EXPECT_EQ(position.QuadPart, step.hr == S_OK ? step.position : 12345u);
        } else if (step.op == 'w') {
            ULONG written = 99;
            EXPECT_EQ(stream->Write("abc", step.originOrCount, &written), step.hr);
            EXPECT_EQ(written, 0u);
        } else {
            EXPECT_EQ(stream->SetSize(ULARGE_INTEGER{}), step.hr);
        }
    }
    // The position is 3 now. A clone starts there and moves on its own.
    ComPtr<IStream> clone;
    ASSERT_EQ(stream->Clone(clone.put()), S_OK);
    EXPECT_EQ(ReadToEnd(clone.get(), 4), "3456789");
    EXPECT_EQ(ReadToEnd(stream.get(), 2), "3456789");

    for (const DWORD flags : {DWORD{STATFLAG_DEFAULT}, DWORD{STATFLAG_NONAME}}) {
        STATSTG stat{};
        stat.pwcsName = reinterpret_cast<LPOLESTR>(1);
        ASSERT_EQ(stream->Stat(&stat, flags), S_OK);
        EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
        EXPECT_EQ(stat.cbSize.QuadPart, 10u);
        EXPECT_EQ(stat.pwcsName, nullptr);  // it has no name to give
    }
    STATSTG stat{};
    EXPECT_EQ(stream->Stat(&stat, 8), STG_E_INVALIDFLAG);
    EXPECT_EQ(stream->Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
    EXPECT_EQ(stream->Read(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
    EXPECT_EQ(stream->Clone(nullptr), STG_E_INVALIDPOINTER);
    EXPECT_TRUE(stream.query<ISequentialStream>());

    // CopyTo moves what it copies past, and no further.
    ComPtr<IStream> target;
    target.attach(SHCreateMemStream(nullptr, 0));
    ASSERT_TRUE(target);
    LARGE_INTEGER start{};
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    ULARGE_INTEGER count{}, read{}, written{};
    count.QuadPart = 4;
    ASSERT_EQ(stream->CopyTo(target.get(), count, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 4u);
    EXPECT_EQ(written.QuadPart, 4u);
    EXPECT_EQ(ReadToEnd(stream.get()), "456789");
    ASSERT_EQ(target->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    EXPECT_EQ(ReadToEnd(target.get()), "0123");
}

TEST(BodyStream, IsAgileAndKeepsAPositionAnotherThreadMoved) {
    const std::string bytes = "0123456789";
    ComPtr<IStream> stream = MakeBodyStream(nullptr, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(stream);
    EXPECT_TRUE(stream.query<IAgileObject>());
    EXPECT_TRUE(stream.query<IMarshal>());

    // Handed to a multi-threaded apartment, it arrives as itself, not as a proxy
    // that would call back into this thread.
    const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IStream* marshaled = nullptr;
    ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(__uuidof(IStream), stream.get(), &marshaled), S_OK);
    IStream* arrived = nullptr;
    std::string read(4, '\0');
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(
                CoGetInterfaceAndReleaseStream(marshaled, __uuidof(IStream), reinterpret_cast<void**>(&arrived)))) {
            ULONG done = 0;
            arrived->Read(read.data(), 4, &done);
            read.resize(done);
            arrived->Release();
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(arrived, stream.get());
    EXPECT_EQ(read, "0123");
    if (SUCCEEDED(initialized)) CoUninitialize();

    // A short copy gives back what the target left, unless the position was moved meanwhile.
    ComPtr<HalfTaker> target;
    target.attach(new HalfTaker(stream.get(), 9));
    ULARGE_INTEGER count{}, copied{};
    count.QuadPart = 4;
    ASSERT_EQ(stream->CopyTo(target.get(), count, &copied, nullptr), S_OK);
    EXPECT_EQ(target->taken, "45");
    EXPECT_EQ(copied.QuadPart, 2u);
    EXPECT_EQ(ReadToEnd(stream.get()), "9");
}

TEST(ContentServer, BodiesReadTheMappingOnAnyThreadAndKeepItAliveAfterShutdown) {
    ServingFolder app("shutdown");
    const std::string content = OffsetBytes(8 << 20);
    auto bytes = PackedArchive({{"data.bin", content}, {"small.txt", "hello"}});
    std::weak_ptr<std::string> watch = bytes;
    ComPtr<IStream> whole, part;
    {
        AssetBundle bundle;
        bundle.SetMemorySource(bytes->data(), bytes->size(), bytes);
        bundle.Load();
        ContentServer server(bundle, app.Utf8(), "www\\", "https://tessarine.localhost/");
        Answer answer = Ask(server, "data.bin");
        EXPECT_EQ(answer.status, 200);
        whole = answer.body;
        answer = Ask(server, "small.txt", L"\t\n\v\f\r bytes=1-3 \r\n");  // ASCII blanks are trimmed
        EXPECT_EQ(answer.status, 206);
        part = answer.body;
        // Shutdown: the cache, the bundle and the host's own reference go.
        server.CloseMappedFiles();
        bundle.Clear();
    }
    bytes.reset();
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(ReadToEnd(part.get()), "ell");

    // Two threads read one stream: each piece is taken whole by one of them.
    constexpr ULONG piece = 4096;
    std::set<uint64_t> starts[2];
    auto reader = [&](std::set<uint64_t>& seen) {
        std::string buffer(piece, '\0');
        ULONG read = 0;
        while (SUCCEEDED(whole->Read(buffer.data(), piece, &read)) && read == piece) {
            uint64_t at = 0;
            std::memcpy(&at, buffer.data(), 8);
            if (at > content.size() - piece || content.compare(at, piece, buffer) != 0) return;
            if (!seen.insert(at).second) return;
        }
    };
    std::thread other(reader, std::ref(starts[1]));
    reader(starts[0]);
    other.join();
    EXPECT_EQ(starts[0].size() + starts[1].size(), content.size() / piece);
    std::set<uint64_t> all(starts[0].begin(), starts[0].end());
    all.insert(starts[1].begin(), starts[1].end());
    EXPECT_EQ(all.size(), content.size() / piece);
    EXPECT_EQ(*all.rbegin(), content.size() - piece);

    // Released on another thread: the last reference closes the archive.
    std::thread([&] { whole.reset(); }).join();
    part.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(ContentServer, AnswersBeyondFourGibibytesAndRangesPastTwo) {
    ServingFolder app("large");
    const uint64_t big = (uint64_t{5} << 30) + 3;
    // A sparse archive whose one entry is 5 GiB and ends in "end"; a folder file
    // that ends in a marker at 2 GiB.
    const std::string head = Header() + "blob" + BigEndian(big, 8);
    app.WriteSparse("assets.dat", head, head.size() + big - 3,
                    "end" + Chunk("fdir", Directory({{"huge.bin", 0, big}})));
    app.WriteSparse("media.bin", "", uint64_t{1} << 31, "marker");
    AssetBundle bundle;
    SharedMappedFile mapping;
    ASSERT_TRUE(OpenAssetBundle(bundle, app.Utf8(), mapping));
    ContentServer server(bundle, app.Utf8(), "www\\", "https://tessarine.localhost/");

    Answer whole = Ask(server, "huge.bin");
    EXPECT_EQ(whole.status, 200);
    EXPECT_NE(whole.headers.find(L"Content-Length: 5368709123"), std::wstring::npos);
    STATSTG stat{};
    ASSERT_EQ(whole.body->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, big);
    LARGE_INTEGER back{};
    back.QuadPart = -5;
    ASSERT_EQ(whole.body->Seek(back, STREAM_SEEK_END, nullptr), S_OK);
    EXPECT_EQ(ReadToEnd(whole.body.get()), std::string("\0\0end", 5));

    struct Row {
        std::string path;
        const wchar_t* range;
        int status;
        std::string body;
    };
    const Row rows[] = {
        {"huge.bin", L"bytes=5368709120-", 206, "end"},
        {"media.bin", L"bytes=2147483648-2147483653", 206, "marker"},
        {"media.bin", L"bytes=2147483650-", 206, "rker"},
        {"media.bin", L"bytes=2147483654-", 416, ""},
    };
    for (const Row& row : rows) {
        const Answer answer = Ask(server, row.path, row.range);
        EXPECT_EQ(answer.status, row.status) << row.path;
        EXPECT_EQ(ReadToEnd(answer.body.get()), row.body) << row.path;
    }
}

TEST(ContentServer, APartialAnswerTakesItsLengthFromTheMappedFile) {
    const std::string original = CountingBytes(3 << 20);
    struct Row {
        const wchar_t* range;
        size_t shrunkTo;  // the page rewrites the file while the request is answered
        int status;
        const wchar_t* contentRange;
        size_t start;
    };
    const Row rows[] = {
        {L"bytes=1000000-", 1500000, 206, L"Content-Range: bytes 1000000-1499999/1500000", 1000000},
        {L"bytes=1000000-", 1000, 416, nullptr, 0},
        {L"bytes=-100", 5000, 206, L"Content-Range: bytes 4900-4999/5000", 4900},
    };
    for (const Row& row : rows) {
        ServingFolder app("shrink");
        app.Write("clip.mp4", original);
        AssetBundle bundle;
        ContentServer server(bundle, app.Utf8(), "www\\", "https://tessarine.localhost/");
        const Answer answer =
            Ask(server, "clip.mp4", row.range, [&] { app.Write("clip.mp4", original.substr(0, row.shrunkTo)); });
        EXPECT_EQ(answer.status, row.status) << row.shrunkTo;
        if (row.contentRange == nullptr) continue;
        EXPECT_NE(answer.headers.find(row.contentRange), std::wstring::npos) << row.shrunkTo;
        EXPECT_EQ(ReadToEnd(answer.body.get()), original.substr(row.start, row.shrunkTo - row.start)) << row.shrunkTo;
    }
}

TEST(ContentServer, TheMappingCacheEvictsTheLeastRecentlyUsedFileNoAnswerReads) {
    ServingFolder app("lru");
    for (const char* name : {"a", "b", "c", "d", "e"}) app.Write(name, CountingBytes(100000));
    AssetBundle bundle;
    ContentServer server(bundle, app.Utf8(), "www\\", "https://tessarine.localhost/", 2);
    auto partial = [&](const char* name) { return Ask(server, name, L"bytes=10-19"); };

    EXPECT_EQ(partial("a").status, 206);
    Answer heldB = partial("b");
    EXPECT_EQ(partial("c").status, 206);  // evicts a
    EXPECT_EQ(partial("d").status, 206);  // b is older but still read: evicts c
    struct Row {
        const char* name;
        bool writable;
    };
    for (const Row& row : {Row{"a", true}, Row{"b", false}, Row{"c", true}, Row{"d", false}}) {
        EXPECT_EQ(app.Writable(row.name), row.writable) << row.name;
    }
    // Every cached file is read: a new one is served but not kept.
    Answer heldD = partial("d");
    Answer e = partial("e");
    EXPECT_EQ(ReadToEnd(e.body.get()), CountingBytes(100000).substr(10, 10));
    EXPECT_FALSE(app.Writable("e"));
    e.body.reset();
    EXPECT_TRUE(app.Writable("e"));
    EXPECT_FALSE(app.Writable("b"));

    // After shutdown a body still reads its file, which closes when it goes.
    server.CloseMappedFiles();
    EXPECT_EQ(ReadToEnd(heldB.body.get()), CountingBytes(100000).substr(10, 10));
    EXPECT_FALSE(app.Writable("b"));
    heldB.body.reset();
    EXPECT_TRUE(app.Writable("b"));
}

}  // namespace
