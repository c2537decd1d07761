#include "bundle/bundle_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <stdexcept>
#include <system_error>

#include "bundle/bundle_format.h"

namespace {

constexpr size_t kCopyBufferLength = 1 << 20;

void AppendU32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

void AppendU64(std::string& out, uint64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

uint64_t CheckedAdd(uint64_t a, uint64_t b) {
    if (b > std::numeric_limits<uint64_t>::max() - a) {
        throw std::runtime_error("archive too large for the bundle format");
    }
    return a + b;
}

std::string Describe(const std::filesystem::path& path) {
    return path.u8string();
}

void WriteOut(std::ostream& out, const char* data, size_t length) {
    out.write(data, static_cast<std::streamsize>(length));
    if (!out) {
        throw std::runtime_error("write failed");
    }
}

// Everything written goes through one buffer, reused for the whole archive and
// never zero-filled: files are read straight into its free space, so small files
// share one write and large ones need no second copy.
class OutputBuffer {
public:
    explicit OutputBuffer(std::ostream& out) : out_(out), bytes_(new char[kCopyBufferLength]) {}

    void Append(const char* data, size_t length) {
        while (length > 0) {
            const size_t piece = std::min(length, Free());
            std::memcpy(End(), data, piece);
            Commit(piece);
            data += piece;
            length -= piece;
        }
    }
    char* End() { return bytes_.get() + used_; }
    size_t Free() const { return kCopyBufferLength - used_; }
    // Counts `length` bytes placed at End() as written; sends them on when full.
    void Commit(size_t length) {
        used_ += length;
        if (used_ == kCopyBufferLength) Flush();
    }
    void Flush() {
        WriteOut(out_, bytes_.get(), used_);
        used_ = 0;
    }

private:
    std::ostream& out_;
    std::unique_ptr<char[]> bytes_;
    size_t used_ = 0;
};

// Copies exactly `length` bytes of the file; a file that has grown or shrunk
// since it was measured would make the directory lie, so that fails.
void CopySourceFile(OutputBuffer& out, const std::filesystem::path& source, uint64_t length, uint64_t& written,
                    uint64_t total, const BundleWriter::Progress& progress) {
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0);  // reads land in the output buffer directly
    in.open(source, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + Describe(source));
    }
    uint64_t left = length;
    while (left > 0) {
        const size_t want = left < out.Free() ? static_cast<size_t>(left) : out.Free();
        in.read(out.End(), static_cast<std::streamsize>(want));
        const auto got = static_cast<size_t>(in.gcount());
        if (got != want) {
            if (in.bad()) {
                throw std::runtime_error("cannot read " + Describe(source));
            }
            throw std::runtime_error("file changed while packing: " + Describe(source));
        }
        out.Commit(got);
        left -= got;
        written += got;
        if (progress) {
            progress(written, total);
        }
    }
    if (in.peek() != std::char_traits<char>::eof()) {
        throw std::runtime_error("file changed while packing: " + Describe(source));
    }
}

}  // namespace

void BundleWriter::AddBytes(const std::string& name, std::string bytes) {
    files_.push_back(File{name, std::move(bytes), {}, false});
}

void BundleWriter::AddFile(const std::string& name, const std::filesystem::path& source) {
    files_.push_back(File{name, {}, source, true});
}

uint64_t BundleWriter::Write(std::ostream& out, const Progress& progress) const {
    if (files_.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::runtime_error("too many files for the bundle format");
    }

    // Measure everything first: both chunk lengths precede the data they describe.
    std::set<std::string> names;
    std::vector<uint64_t> lengths;
    lengths.reserve(files_.size());
    uint64_t blobLength = 0;
    uint64_t directoryLength = 4;
    for (const File& file : files_) {
        if (!names.insert(file.name).second) {
            throw std::runtime_error("duplicate entry name: " + file.name);
        }
        if (file.name.size() > std::numeric_limits<uint32_t>::max()) {
            throw std::runtime_error("entry name too long for the bundle format");
        }
        uint64_t length = file.bytes.size();
        if (file.fromFile) {
            std::error_code error;
            length = std::filesystem::file_size(file.source, error);
            if (error) {
                throw std::runtime_error("cannot read " + Describe(file.source) + ": " + error.message());
            }
        }
        lengths.push_back(length);
        blobLength = CheckedAdd(blobLength, length);
        directoryLength = CheckedAdd(directoryLength, CheckedAdd(kEntryFixedLength, file.name.size()));
    }
    const uint64_t total = CheckedAdd(CheckedAdd(kBundleHeaderLength + kChunkHeaderLength, blobLength),
                                      CheckedAdd(kChunkHeaderLength, directoryLength));

    OutputBuffer buffer(out);
    std::string head;
    AppendU32(head, kBundleMagic);
    AppendU32(head, kBundleVersion);
    AppendU32(head, static_cast<uint32_t>(kBundleHeaderLength));  // first chunk offset
    AppendU32(head, kBundleFlags);
    AppendU32(head, kBlobChunkId);
    AppendU64(head, blobLength);
    buffer.Append(head.data(), head.size());

    uint64_t written = 0;
    for (size_t i = 0; i < files_.size(); ++i) {
        const File& file = files_[i];
        if (file.fromFile) {
            CopySourceFile(buffer, file.source, lengths[i], written, blobLength, progress);
        } else {
            buffer.Append(file.bytes.data(), file.bytes.size());
            written += file.bytes.size();
            if (progress) {
                progress(written, blobLength);
            }
        }
    }

    std::string directory;
    directory.reserve(static_cast<size_t>(kChunkHeaderLength + directoryLength));
    AppendU32(directory, kDirectoryChunkId);
    AppendU64(directory, directoryLength);
    AppendU32(directory, static_cast<uint32_t>(files_.size()));
    uint64_t offset = 0;
    for (size_t i = 0; i < files_.size(); ++i) {
        AppendU32(directory, 0);  // reserved
        AppendU32(directory, 0);  // reserved
        AppendU64(directory, offset);
        AppendU64(directory, lengths[i]);
        AppendU64(directory, 0);    // extra
        directory.push_back('\0');  // stored, not compressed
        AppendU32(directory, static_cast<uint32_t>(files_[i].name.size()));
        directory.append(files_[i].name);
        offset += lengths[i];
    }
    buffer.Append(directory.data(), directory.size());
    buffer.Flush();
    out.flush();
    if (!out) {
        throw std::runtime_error("write failed");
    }
    return total;
}
