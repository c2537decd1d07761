#include "icon_images.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "little_endian.h"
#include "pe_file.h"

// stb is header-only: its implementations are compiled here, once.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

// Sizes up to this are stored as bitmaps, which every version of Windows reads; larger
// ones as PNG, which keeps the 256-pixel image small.
constexpr uint32_t kLargestBitmap = 128;

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

uint16_t Le16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::vector<IconImage> ParseIco(const std::string& bytes, const std::string& shownName) {
    auto fail = [&](const std::string& why) -> std::runtime_error {
        return std::runtime_error("icon " + shownName + " cannot be used: " + why);
    };
    if (bytes.size() < 6 || Le16(bytes, 0) != 0 || Le16(bytes, 2) != 1) throw fail("not an .ico file");
    const uint16_t count = Le16(bytes, 4);
    if (count == 0) throw fail("it holds no image");
    if (bytes.size() < 6 + 16u * count) throw fail("its directory is cut short");
    std::vector<IconImage> images;
    for (uint16_t i = 0; i < count; ++i) {
        const size_t at = 6 + 16u * i;
        IconImage image;
        image.width = static_cast<unsigned char>(bytes[at]) == 0 ? 256 : static_cast<unsigned char>(bytes[at]);
        image.height = static_cast<unsigned char>(bytes[at + 1]) == 0 ? 256 : static_cast<unsigned char>(bytes[at + 1]);
        image.colorCount = static_cast<uint8_t>(bytes[at + 2]);
        image.planes = Le16(bytes, at + 4);
        image.bitCount = Le16(bytes, at + 6);
        const uint32_t length = Le32(bytes, at + 8);
        const uint32_t offset = Le32(bytes, at + 12);
        if (length == 0 || offset > bytes.size() || length > bytes.size() - offset) {
            throw fail("image " + std::to_string(i + 1) + " lies outside the file");
        }
        image.bytes = bytes.substr(offset, length);
        images.push_back(std::move(image));
    }
    return images;
}

// A 32-bit bitmap image: BITMAPINFOHEADER, the colour rows bottom-up, an empty mask.
IconImage Bitmap(const unsigned char* rgba, uint32_t size) {
    IconImage image;
    image.width = image.height = size;
    std::string& out = image.bytes;
    AppendLe32(out, 40);
    AppendLe32(out, size);
    AppendLe32(out, uint64_t{size} * 2);
    AppendLe16(out, 1);
    AppendLe16(out, 32);
    for (int i = 0; i < 6; ++i) AppendLe32(out, 0);
    for (uint32_t row = size; row-- > 0;) {
        const unsigned char* pixel = rgba + size_t{row} * size * 4;
        for (uint32_t x = 0; x < size; ++x, pixel += 4) {
            out.push_back(static_cast<char>(pixel[2]));
            out.push_back(static_cast<char>(pixel[1]));
            out.push_back(static_cast<char>(pixel[0]));
            out.push_back(static_cast<char>(pixel[3]));
        }
    }
    const size_t maskRow = size_t{(size + 31) / 32} * 4;
    out.append(maskRow * size, '\0');
    return image;
}

IconImage Png(const unsigned char* rgba, uint32_t size) {
    IconImage image;
    image.width = image.height = size;
    auto append = [](void* context, void* data, int length) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(length));
    };
    const int side = static_cast<int>(size);
    if (stbi_write_png_to_func(append, &image.bytes, side, side, 4, rgba, side * 4) == 0) {
        throw std::runtime_error("cannot encode a " + std::to_string(size) + " pixel icon");
    }
    return image;
}

std::vector<IconImage> Resample(const std::string& bytes, const std::string& shownName) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                                  static_cast<int>(bytes.size()), &width, &height, &channels, 4);
    if (pixels == nullptr) {
        throw std::runtime_error("icon " + shownName + " cannot be used: not a readable image (" +
                                 stbi_failure_reason() + ")");
    }
    // Centred on a transparent square, so that a wide image keeps its proportions.
    const int side = std::max(width, height);
    std::vector<unsigned char> square(size_t(side) * side * 4, 0);
    for (int y = 0; y < height; ++y) {
        std::copy_n(pixels + size_t(y) * width * 4, size_t(width) * 4,
                    square.begin() +
                        static_cast<std::ptrdiff_t>((size_t(y + (side - height) / 2) * side + (side - width) / 2) * 4));
    }
    stbi_image_free(pixels);

    std::vector<IconImage> images;
    for (uint32_t size : kIconSizes) {
        std::vector<unsigned char> scaled(size_t{size} * size * 4);
        const int target = static_cast<int>(size);
        if (stbir_resize_uint8_srgb(square.data(), side, side, 0, scaled.data(), target, target, 0, 4, 3, 0) == 0) {
            throw std::runtime_error("icon " + shownName + " cannot be resampled to " + std::to_string(size) +
                                     " pixels");
        }
        images.push_back(size <= kLargestBitmap ? Bitmap(scaled.data(), size) : Png(scaled.data(), size));
    }
    return images;
}

}  // namespace

std::vector<IconImage> LoadIconImages(const std::filesystem::path& file, const std::string& shownName) {
    std::string bytes;
    try {
        bytes = ReadWholeFile(file);
    } catch (const std::exception&) {
        throw std::runtime_error("icon " + shownName + " cannot be read");
    }
    const bool ico = bytes.size() >= 4 && Le16(bytes, 0) == 0 && Le16(bytes, 2) == 1;
    return ico ? ParseIco(bytes, shownName) : Resample(bytes, shownName);
}
