#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string SystemError() {
#ifdef _WIN32
    return std::system_category().message(static_cast<int>(GetLastError()));
#else
    return std::strerror(errno);
#endif
}

}  // namespace

// A stream buffer over an operating-system file handle, so the bytes can be synced.
class OutputFile::Buffer : public std::streambuf {
public:
#ifdef _WIN32
    using Handle = HANDLE;
#else
    using Handle = int;
#endif
    explicit Buffer(Handle handle) : handle_(handle), data_(1 << 20) {
        setp(data_.data(), data_.data() + data_.size());
    }
    ~Buffer() override {
        Close();
    }

    bool Sync() {
        if (!Drain()) return false;
#ifdef _WIN32
        return FlushFileBuffers(handle_) != 0;
#else
        return fsync(handle_) == 0;
#endif
    }
    // Sends what the stream holds, then `length` bytes of the file `in` from its start.
    bool AppendFrom(std::ifstream& in, const fs::path& source, uint64_t length) {
        if (!Drain()) return false;
        uint64_t done = 0;
#ifdef __linux__
        const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
        while (from >= 0 && done < length) {
            const ssize_t copied = copy_file_range(from, nullptr, handle_, nullptr,
                                                   static_cast<size_t>(std::min<uint64_t>(length - done, 1U << 30)), 0);
            if (copied < 0 && errno == EINTR) continue;
            if (copied <= 0) break;  // another file system or an old kernel: the loop below
            done += static_cast<uint64_t>(copied);
        }
        if (from >= 0) close(from);
#else
        (void)source;
#endif
        in.seekg(static_cast<std::streamoff>(done));
        while (done < length) {
            const auto want = static_cast<std::streamsize>(std::min<uint64_t>(length - done, data_.size()));
            in.read(data_.data(), want);
            if (in.gcount() != want) return false;
            setp(data_.data(), data_.data() + data_.size());
            pbump(static_cast<int>(want));
            if (!Drain()) return false;
            done += static_cast<uint64_t>(want);
        }
        return true;
    }
    bool Close() {
        if (!open_) return true;
        open_ = false;
#ifdef _WIN32
        return CloseHandle(handle_) != 0;
#else
        return close(handle_) == 0;
#endif
    }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    int sync() override {
        return Drain() ? 0 : -1;
    }

private:
    bool Drain() {
        const char* next = pbase();
        while (next < pptr()) {
#ifdef _WIN32
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(pptr() - next);
            if (!WriteFile(handle_, next, chunk, &written, nullptr) || written == 0) return false;
#else
            const ssize_t written = write(handle_, next, static_cast<size_t>(pptr() - next));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
#endif
            next += written;
        }
        setp(data_.data(), data_.data() + data_.size());
        return true;
    }

    Handle handle_;
    std::vector<char> data_;
    bool open_ = true;
};

namespace {

// Creates the file only if nothing is at the path; null when something is (or it fails).
std::unique_ptr<OutputFile::Buffer> CreateNew(const fs::path& path);

}  // namespace

OutputFile::OutputFile(fs::path path, fs::path target, std::unique_ptr<Buffer> buffer)
    : path_(std::move(path)),
      target_(std::move(target)),
      buffer_(std::move(buffer)),
      stream_(std::make_unique<std::ostream>(buffer_.get())) {}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : path_(std::move(other.path_)),
      target_(std::move(other.target_)),
      buffer_(std::move(other.buffer_)),
      stream_(std::move(other.stream_)),
      committed_(other.committed_) {
    other.committed_ = true;  // the moved-from object removes nothing
}

OutputFile::~OutputFile() {
    if (committed_) return;
    stream_.reset();
    buffer_.reset();
    std::error_code ignored;
    fs::remove(path_, ignored);
}

std::ostream& OutputFile::Stream() {
    return *stream_;
}

void OutputFile::AppendFileBytes(const fs::path& source, uint64_t length) {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + source.u8string());
    stream_->flush();
    if (!stream_->good() || !buffer_->AppendFrom(in, source, length)) {
        throw std::runtime_error("cannot copy " + source.u8string() + " into " + path_.u8string());
    }
}

OutputFile OutputFile::Temporary(const fs::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".partial-%08x%08x", random(), random());
        fs::path path = target;
        path += suffix;
        if (auto buffer = CreateNew(path)) return OutputFile(path, target, std::move(buffer));
#ifdef _WIN32
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
#else
        if (errno != EEXIST) break;
#endif
    }
    throw std::runtime_error("cannot create a temporary file beside " + target.u8string() + ": " + SystemError());
}

OutputFile OutputFile::Exclusive(const fs::path& path) {
    auto buffer = CreateNew(path);
    if (!buffer) throw std::runtime_error("cannot create " + path.u8string() + ": " + SystemError());
    return OutputFile(path, {}, std::move(buffer));
}

void OutputFile::Commit(Durability durability) {
    stream_->flush();
    const bool onDisk = durability == Durability::OnDisk;
    const bool synced = stream_->good() && (!onDisk || buffer_->Sync());
    if (!buffer_->Close() || !synced)
        throw std::runtime_error("cannot write " + path_.u8string() + ": " + SystemError());
    if (!target_.empty()) {
        std::error_code error;
        fs::rename(path_, target_, error);
        if (error) throw std::runtime_error("cannot rename " + path_.u8string() + ": " + error.message());
#ifndef _WIN32
        // The rename itself must reach the disk too.
        const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
        const int directory = onDisk ? open(folder.c_str(), O_RDONLY | O_DIRECTORY) : -1;
        if (directory >= 0) {
            fsync(directory);
            close(directory);
        }
#endif
    }
    committed_ = true;
}

namespace {

std::unique_ptr<OutputFile::Buffer> CreateNew(const fs::path& path) {
#ifdef _WIN32
    // CREATE_NEW fails on anything already there, a link included.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
#else
    // O_EXCL with O_CREAT fails on an existing link, dangling or not.
    const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (handle < 0) return nullptr;
#endif
    return std::make_unique<OutputFile::Buffer>(handle);
}

}  // namespace

bool IsLinkOrJunction(const fs::path& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(path, error));
#endif
}
