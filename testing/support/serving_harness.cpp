// Windows-only.
#include "support/serving_harness.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "bundle/bundle_writer.h"
#include "support/resource_doubles.h"
#include "util/text_convert.h"

namespace fs = std::filesystem;

namespace test_support {

ServingFolder::ServingFolder(const std::string& name) {
    root_ = fs::temp_directory_path() / fs::u8path("tessarine-serve-" + name);
    fs::remove_all(root_);
    fs::create_directories(root_ / "www");
}

ServingFolder::~ServingFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ServingFolder::Utf8() const {
    return root_.u8string() + "\\";
}

fs::path ServingFolder::File(const std::string& name) const {
    return root_ / "www" / fs::u8path(name);
}

void ServingFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

void ServingFolder::WriteSparse(const std::string& name, const std::string& head, uint64_t at,
                                const std::string& tail) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << head;
    out.seekp(static_cast<std::streamoff>(at));
    out << tail;
}

bool ServingFolder::Writable(const std::string& name) const {
    UniqueHandle file(CreateFileW(File(name).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    return file.valid();
}

Answer Ask(ContentServer& server, const std::string& path, const wchar_t* range, std::function<void()> whileAsking) {
    std::vector<std::pair<std::wstring, std::wstring>> headers;
    if (range != nullptr) headers.emplace_back(L"Range", range);
    ComPtr<RequestArgs> args;
    args.attach(new RequestArgs(L"https://tessarine.localhost/" + Utf8ToWide(path), headers));
    args->onGetHeader = std::move(whileAsking);
    ComPtr<ResponseMaker> maker;
    maker.attach(new ResponseMaker());
    Answer answer;
    if (server.HandleResourceRequest(maker.get(), args.get()) != S_OK || args->Answer() == nullptr) return answer;
    answer.status = args->Answer()->status;
    answer.headers = args->Answer()->headers;
    answer.body = args->Answer()->body;
    return answer;
}

std::shared_ptr<std::string> PackedArchive(const std::vector<std::pair<std::string, std::string>>& files) {
    BundleWriter writer;
    for (const auto& [name, bytes] : files) writer.AddBytes(name, bytes);
    std::ostringstream out;
    writer.Write(out);
    return std::make_shared<std::string>(out.str());
}

std::string OffsetBytes(size_t length) {
    std::string bytes(length, '\0');
    for (uint64_t at = 0; at + 8 <= length; at += 8) std::memcpy(&bytes[at], &at, 8);
    return bytes;
}

std::string CountingBytes(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

}  // namespace test_support
