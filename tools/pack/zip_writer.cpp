#include "zip_writer.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <system_error>

#include <zlib.h>

#include "little_endian.h"

namespace {

constexpr uint64_t kZipLimit = 0xFFFFFFFFu;
constexpr uint64_t kDefaultTime = 1577836800;  // 2020-01-01 00:00:00 UTC
constexpr size_t kChunk = 1 << 20;
// Deflating this many pieces of this length, spread over a file, tells whether the whole
// is worth it: a bundle that begins with scripts may be mostly sound and pictures.
constexpr int kSamples = 16;
constexpr size_t kSampleLength = 64 << 10;
constexpr uint16_t kUtf8Names = 0x0800;
constexpr uint16_t kDataDescriptor = 0x0008;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;

std::string Extension(const std::string& name) {
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

struct Deflater {
    z_stream stream{};
    Deflater() {
        if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::runtime_error("zlib: cannot start deflating");
        }
    }
    ~Deflater() { deflateEnd(&stream); }
    // Deflates `length` bytes (all remaining ones when `last`) and appends the output.
    void Run(const char* data, size_t length, bool last, std::string& output) {
        stream.next_in = reinterpret_cast<Bytef*>(
            const_cast<char*>(data));  // NOLINT(cppcoreguidelines-pro-type-const-cast): zlib reads next_in only
        stream.avail_in = static_cast<uInt>(length);
        char buffer[1 << 16];
        int result;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            if (result == Z_STREAM_ERROR) throw std::runtime_error("zlib: deflate failed");
            output.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0 || (last && result != Z_STREAM_END));
    }
};

bool WorthDeflating(std::ifstream& in, uint64_t length) {
    if (length == 0) return false;
    std::string piece(kSampleLength, '\0');
    uint64_t sampled = 0, deflated = 0;
    for (int i = 0; i < kSamples; ++i) {
        const uint64_t at = length <= kSampleLength ? 0 : (length - kSampleLength) / (kSamples - 1) * i;
        in.seekg(static_cast<std::streamoff>(at));
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const size_t got = static_cast<size_t>(in.gcount());
        Deflater sample;
        std::string output;
        sample.Run(piece.data(), got, true, output);
        sampled += got;
        deflated += output.size();
        if (length <= kSampleLength) break;
    }
    in.clear();
    in.seekg(0);
    return deflated * 10 < sampled * 9;  // at least a tenth smaller
}

}  // namespace

bool IsCompressedMedia(const std::string& name) {
    static const char* const kMedia[] = {"png",  "jpg",   "jpeg", "gif",  "webp", "avif", "mp3",  "ogg",  "oga",
                                         "opus", "m4a",   "aac",  "flac", "mp4",  "m4v",  "webm", "mkv",  "mov",
                                         "woff", "woff2", "zip",  "gz",   "7z",   "br",   "ktx2", "basis"};
    const std::string extension = Extension(name);
    return std::any_of(std::begin(kMedia), std::end(kMedia), [&](const char* media) { return extension == media; });
}

int64_t ReproducibleTime() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr || *epoch == '\0') return kDefaultTime;
    char* end = nullptr;
    const long long value = std::strtoll(epoch, &end, 10);
    if (*end != '\0') throw std::runtime_error("SOURCE_DATE_EPOCH is not a number of seconds: " + std::string(epoch));
    return value;
}

ZipWriter::ZipWriter(OutputFile& out, int64_t time) : out_(out.Stream()), file_(&out) {
    SetTime(time);
}

ZipWriter::ZipWriter(std::ostream& out, int64_t time) : out_(out) {
    SetTime(time);
}

void ZipWriter::SetTime(int64_t time) {
    // Zip times are local times with two-second steps; UTC is taken as that local time.
    constexpr int64_t kDosFirst = 315532800;  // 1980-01-01
    time = std::clamp<int64_t>(time, kDosFirst, 4354819198);
    const int64_t days = time / 86400;
    const int64_t seconds = time % 86400;
    // Civil date from days since 1970 (Howard Hinnant's algorithm).
    const int64_t z = days + 719468;
    const int64_t era = z / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    dosDate_ = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    dosTime_ = static_cast<uint16_t>(((seconds / 3600) << 11) | ((seconds / 60 % 60) << 5) | (seconds % 60 / 2));
}

void ZipWriter::Write(const char* data, size_t length) {
    out_.write(data, static_cast<std::streamsize>(length));
    if (!out_) throw std::runtime_error("cannot write the zip archive");
    written_ += length;
}

void ZipWriter::Write(const std::string& bytes) {
    Write(bytes.data(), bytes.size());
}

void ZipWriter::AddFile(const std::string& name, const std::filesystem::path& source, std::optional<uint32_t> crc) {
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + source.u8string());
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(source, error);
    if (error) throw std::runtime_error("cannot read " + source.u8string());
    const bool deflate = !IsCompressedMedia(name) && WorthDeflating(in, size);

    Entry entry;
    entry.name = name;
    entry.offset = written_;
    entry.method = deflate ? kDeflated : kStored;
    if (entry.offset > kZipLimit) throw std::runtime_error("the zip archive would pass 4 GiB");

    std::string header;
    AppendLe32(header, 0x04034b50);
    AppendLe16(header, 20);  // version needed: 2.0
    AppendLe16(header, kUtf8Names | kDataDescriptor);
    AppendLe16(header, entry.method);
    AppendLe16(header, dosTime_);
    AppendLe16(header, dosDate_);
    for (int i = 0; i < 3; ++i) AppendLe32(header, 0);  // in the data descriptor
    AppendLe16(header, static_cast<uint32_t>(name.size()));
    AppendLe16(header, 0);
    header += name;
    Write(header);

    if (!deflate && crc && file_ != nullptr) {
        if (size > kZipLimit) throw std::runtime_error(source.u8string() + " is too large for a zip archive (4 GiB)");
        file_->AppendFileBytes(source, size);
        written_ += size;
        entry.length = entry.compressed = size;
        entry.crc = *crc;
        FinishEntry(std::move(entry));
        return;
    }
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    in.read(buffer.get(), kChunk);
    size_t got = static_cast<size_t>(in.gcount());
    Deflater deflater;
    uLong sum = crc32(0, nullptr, 0);
    std::string output;
    for (;;) {
        const bool last = got < kChunk;
        sum = crc32(sum, reinterpret_cast<const Bytef*>(buffer.get()), static_cast<uInt>(got));
        entry.length += got;
        if (entry.method == kDeflated) {
            output.clear();
            deflater.Run(buffer.get(), got, last, output);
            entry.compressed += output.size();
            Write(output);
        } else {
            entry.compressed += got;
            Write(buffer.get(), got);
        }
        if (last) break;
        in.read(buffer.get(), kChunk);
        got = static_cast<size_t>(in.gcount());
    }
    if (in.bad()) throw std::runtime_error("cannot read " + source.u8string());
    if (entry.length > kZipLimit || entry.compressed > kZipLimit) {
        throw std::runtime_error(source.u8string() + " is too large for a zip archive (4 GiB)");
    }
    entry.crc = static_cast<uint32_t>(sum);
    FinishEntry(std::move(entry));
}

void ZipWriter::FinishEntry(Entry entry) {
    std::string descriptor;
    AppendLe32(descriptor, 0x08074b50);
    AppendLe32(descriptor, entry.crc);
    AppendLe32(descriptor, entry.compressed);
    AppendLe32(descriptor, entry.length);
    Write(descriptor);
    entries_.push_back(std::move(entry));
}

uint64_t ZipWriter::Finish() {
    const uint64_t start = written_;
    std::string directory;
    for (const Entry& entry : entries_) {
        AppendLe32(directory, 0x02014b50);
        AppendLe16(directory, 20);  // made by: MS-DOS, 2.0; no Unix permissions
        AppendLe16(directory, 20);
        AppendLe16(directory, kUtf8Names | kDataDescriptor);
        AppendLe16(directory, entry.method);
        AppendLe16(directory, dosTime_);
        AppendLe16(directory, dosDate_);
        AppendLe32(directory, entry.crc);
        AppendLe32(directory, entry.compressed);
        AppendLe32(directory, entry.length);
        AppendLe16(directory, static_cast<uint32_t>(entry.name.size()));
        AppendLe16(directory, 0);  // extra
        AppendLe16(directory, 0);  // comment
        AppendLe16(directory, 0);  // disk
        AppendLe16(directory, 0);  // internal attributes
        AppendLe32(directory, 0);  // external attributes: a plain file
        AppendLe32(directory, entry.offset);
        directory += entry.name;
    }
    if (entries_.size() > 0xFFFF || start + directory.size() > kZipLimit) {
        throw std::runtime_error("the zip archive would pass the format's limits (65535 files, 4 GiB)");
    }
    AppendLe32(directory, 0x06054b50);
    AppendLe16(directory, 0);
    AppendLe16(directory, 0);
    AppendLe16(directory, static_cast<uint32_t>(entries_.size()));
    AppendLe16(directory, static_cast<uint32_t>(entries_.size()));
    AppendLe32(directory, directory.size() - 12);  // the entries: 12 bytes of this record are in already
    AppendLe32(directory, start);
    AppendLe16(directory, 0);
    Write(directory);
    out_.flush();
    return written_;
}

std::streamsize Crc32PassThrough::xsputn(const char* data, std::streamsize length) {
    out_.write(data, length);
    if (!out_) return 0;
    crc_ = static_cast<uint32_t>(crc32_z(crc_, reinterpret_cast<const Bytef*>(data), static_cast<z_size_t>(length)));
    return length;
}

Crc32PassThrough::int_type Crc32PassThrough::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

int Crc32PassThrough::sync() {
    out_.flush();
    return out_ ? 0 : -1;
}
