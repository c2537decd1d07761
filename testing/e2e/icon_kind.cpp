#include "icon_kind.h"

#include <algorithm>

namespace e2e {

std::string IconKindName(IconKind kind) {
    switch (kind) {
        case IconKind::None:
            return "none";
        case IconKind::Error:
            return "error";
        case IconKind::Warning:
            return "warning";
        case IconKind::Information:
            return "information";
        case IconKind::Unknown:
            break;
    }
    return "unknown";
}

namespace {

enum class Hue { Neutral, Red, Yellow, Blue, Other };

Hue HueOf(uint32_t pixel) {
    const int red = (pixel >> 16) & 0xFF;
    const int green = (pixel >> 8) & 0xFF;
    const int blue = pixel & 0xFF;
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    const int spread = high - low;
    // Greys, white, black and washed-out anti-aliasing say nothing about the icon.
    if (spread < 60 || high < 90) return Hue::Neutral;
    double degrees;
    if (high == red) {
        degrees = 60.0 * (green - blue) / spread;
    } else if (high == green) {
        degrees = 60.0 * (blue - red) / spread + 120.0;
    } else {
        degrees = 60.0 * (red - green) / spread + 240.0;
    }
    if (degrees < 0) degrees += 360.0;
    if (degrees < 22.0 || degrees >= 330.0) return Hue::Red;
    if (degrees < 75.0) return Hue::Yellow;
    if (degrees >= 180.0 && degrees < 265.0) return Hue::Blue;
    return Hue::Other;
}

}  // namespace

IconKind ClassifyIconPixels(const std::vector<uint32_t>& pixels) {
    size_t red = 0, yellow = 0, blue = 0, coloured = 0;
    for (uint32_t pixel : pixels) {
        switch (HueOf(pixel)) {
            case Hue::Neutral:
                continue;
            case Hue::Red:
                ++red;
                break;
            case Hue::Yellow:
                ++yellow;
                break;
            case Hue::Blue:
                ++blue;
                break;
            case Hue::Other:
                break;
        }
        ++coloured;
    }
    // An icon fills a good part of its square; a few stray pixels are not an icon.
    if (coloured == 0 || coloured * 10 < pixels.size()) return IconKind::Unknown;
    const size_t best = std::max({red, yellow, blue});
    if (best * 2 <= coloured) return IconKind::Unknown;
    if (best == red) return IconKind::Error;
    if (best == yellow) return IconKind::Warning;
    return IconKind::Information;
}

}  // namespace e2e
