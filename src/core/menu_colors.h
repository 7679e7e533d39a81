// Colour arithmetic of the flat menu and control style. Every function
// resolves system colour references first and returns plain RGB.
#pragma once

#include <initializer_list>
#include <span>

#include "core/color.h"

namespace quillory {

// The gray level ceiling of GrayLevelColor.
constexpr int kGrayLevelCeiling = 240;

// Each channel less Amount (green two less), clamped to 0..255.
Color DarkenColor(Color c, int amount);

// Each channel moved Percent of the way to 255 (Percent capped at 100).
Color LightenColor(Color c, int percent);

// Per channel, the sum of each colour's channel integer-divided by the count.
// An empty list gives black.
Color AverageColors(std::span<const Color> colors);
Color AverageColors(std::initializer_list<Color> colors);

// The gray of the channel mean plus level, capped at 240.
Color GrayLevelColor(Color c, int level);

}  // namespace quillory
