// Windows-only. What the content server's tests and benchmarks share: an app folder
// on disk, a request answered in-process through the doubles, archive bytes made
// with the host's own writer, and recognisable contents.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "server/content_server.h"
#include "util/win_handles.h"

namespace test_support {

// An app folder with its www folder, named after the running test, removed afterwards.
class ServingFolder {
public:
    explicit ServingFolder(const std::string& name);
    ~ServingFolder();
    ServingFolder(const ServingFolder&) = delete;
    ServingFolder& operator=(const ServingFolder&) = delete;

    // The folder as the host gets it: UTF-8, ending in a backslash.
    std::string Utf8() const;
    std::filesystem::path File(const std::string& name) const;
    void Write(const std::string& name, const std::string& bytes) const;
    // A sparse file: `head`, then nothing up to `at`, then `tail`.
    void WriteSparse(const std::string& name, const std::string& head, uint64_t at, const std::string& tail) const;
    // Whether another program could write the file now: not while the host maps it.
    bool Writable(const std::string& name) const;

private:
    std::filesystem::path root_;
};

struct Answer {
    int status = 0;
    std::wstring headers;
    ComPtr<IStream> body;
};

// Asks the server for the origin + path (ASCII), with a Range header if given;
// `whileAsking` runs when the server reads the header's value.
Answer Ask(ContentServer& server, const std::string& path, const wchar_t* range = nullptr,
           std::function<void()> whileAsking = {});

// Archive bytes, written by the host's BundleWriter, owned by a shared string as a
// mapping would be.
std::shared_ptr<std::string> PackedArchive(const std::vector<std::pair<std::string, std::string>>& files);

// Each eight bytes hold their own offset, so a piece tells where it came from.
std::string OffsetBytes(size_t length);
// Bytes that differ from their neighbours.
std::string CountingBytes(size_t length);

}  // namespace test_support
