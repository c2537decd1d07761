// Which standard icon a message box shows, told apart by its colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

enum class IconKind { None, Error, Warning, Information, Unknown };

// "none", "error", "warning", "information", "unknown".
std::string IconKindName(IconKind kind);

// Classifies the pixels (0x00RRGGBB) of an icon's area: mostly red is the error icon,
// mostly yellow the warning icon, mostly blue the information icon. Unknown when the
// area holds too few coloured pixels to decide (not painted yet, or an unexpected icon).
IconKind ClassifyIconPixels(const std::vector<uint32_t>& pixels);

}  // namespace e2e
