// How far one colour stands out from another, as the accessibility
// guidelines measure it, and the choice of a contrast theme's colours for
// symbols the program draws itself.
#pragma once

#include <span>
#include <vector>

#include "core/color.h"

namespace quillory {

// What the guidelines ask of text and small symbols against their background.
constexpr double kMinimumContrast = 4.5;

// From 1 (the same lightness) to 21 (black on white); RGB colours only.
double ContrastRatio(Color a, Color b);

// `count` colours for symbols on `background`, taken in the order of
// `candidates`: each is the next candidate that stands out by
// kMinimumContrast and is not taken yet. Where the candidates run out, black
// or white, whichever stands out more (one of them always does).
std::vector<Color> PickContrastColors(Color background, std::span<const Color> candidates,
                                      int count);

}  // namespace quillory
