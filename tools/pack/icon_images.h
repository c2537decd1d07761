#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// One image of an icon as the icon resources hold it: a PNG, or a BMP without its file
// header (height doubled for the mask), with the fields of its directory entry.
struct IconImage {
    uint32_t width = 0;  // 1 to 256
    uint32_t height = 0;
    uint8_t colorCount = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 32;
    std::string bytes;
};

// The sizes a PNG is resampled to.
inline constexpr uint32_t kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The images of an icon file: an .ico as it is, a PNG (or another image stb reads)
// resampled to every size of kIconSizes, square with transparent margins. Throws
// std::runtime_error naming the file when it cannot be read or is no image.
std::vector<IconImage> LoadIconImages(const std::filesystem::path& file, const std::string& shownName);
