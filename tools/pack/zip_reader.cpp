#include "zip_reader.h"

#include <stdexcept>

#include <zlib.h>

namespace {

uint32_t Le(const std::string& bytes, size_t at, int width) {
    if (at + width > bytes.size()) throw std::runtime_error("not a zip archive (cut short)");
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::string Inflate(const std::string& input, size_t length) {
    std::string output(length, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::runtime_error("zlib: cannot start inflating");
    stream.next_in = reinterpret_cast<Bytef*>(
        const_cast<char*>(input.data()));  // NOLINT(cppcoreguidelines-pro-type-const-cast): zlib reads next_in only
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = stream.total_out == length;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || !whole) throw std::runtime_error("zip entry damaged");
    return output;
}

}  // namespace

std::optional<std::string> ReadZipEntry(const std::string& archive, const std::string& name) {
    // The end record lies within the last 64 KiB + 22 bytes (its comment comes last).
    const size_t floor = archive.size() > 0xFFFF + 22 ? archive.size() - 0xFFFF - 22 : 0;
    size_t end = std::string::npos;
    for (size_t at = archive.size() >= 22 ? archive.size() - 22 : 0; archive.size() >= 22; --at) {
        if (Le(archive, at, 4) == 0x06054b50) {
            end = at;
            break;
        }
        if (at == floor) break;
    }
    if (end == std::string::npos) throw std::runtime_error("not a zip archive");
    const uint32_t count = Le(archive, end + 10, 2);
    size_t at = Le(archive, end + 16, 4);
    for (uint32_t i = 0; i < count; ++i) {
        if (Le(archive, at, 4) != 0x02014b50) throw std::runtime_error("not a zip archive (damaged directory)");
        const uint32_t method = Le(archive, at + 10, 2);
        const uint32_t compressed = Le(archive, at + 20, 4);
        const uint32_t length = Le(archive, at + 24, 4);
        const uint32_t nameLength = Le(archive, at + 28, 2);
        const uint32_t extraLength = Le(archive, at + 30, 2);
        const uint32_t commentLength = Le(archive, at + 32, 2);
        const uint32_t local = Le(archive, at + 42, 4);
        if (at + 46 + nameLength > archive.size()) throw std::runtime_error("not a zip archive (damaged directory)");
        if (archive.compare(at + 46, nameLength, name) == 0 && nameLength == name.size()) {
            if (Le(archive, local, 4) != 0x04034b50) throw std::runtime_error("zip entry damaged");
            const size_t data = local + 30 + Le(archive, local + 26, 2) + Le(archive, local + 28, 2);
            if (data > archive.size() || compressed > archive.size() - data)
                throw std::runtime_error("zip entry damaged");
            const std::string bytes = archive.substr(data, compressed);
            if (method == 0) return bytes;
            if (method == 8) return Inflate(bytes, length);
            throw std::runtime_error("zip entry compressed in a way this tool does not read");
        }
        at += 46 + nameLength + extraLength + commentLength;
    }
    return std::nullopt;
}
