// Hue, saturation and lightness: as reals in 0..1 and on the integer scale of
// the colour dialogs (hue 0..239, saturation and lightness 0..240).
#pragma once

#include "core/color.h"

namespace quillory {

constexpr int HslScale = 240;

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2).
int RoundHalfEven(double v);

// Reads only the low three bytes of an RGB colour (no system colour lookup).
void ColorToHsl(Color rgb, double& h, double& s, double& l);
Color HslToColor(double h, double s, double l);

// One channel of HslToColor for the hue x, given that colour's m1 and m2;
// 0..255 for h, s, l in 0..1 (saturated to 0..255 otherwise).
int HueToChannel(double x, double m1, double m2);

void ColorToHslScaled(Color rgb, int& hue, int& saturation, int& lightness);
Color HslScaledToColor(int hue, int saturation, int lightness);

}  // namespace quillory
