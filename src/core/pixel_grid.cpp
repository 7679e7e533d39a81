#include "core/pixel_grid.h"

#include <optional>

#include "core/menu_colors.h"

namespace quillory {

namespace {

constexpr int kMaxPercent = 100;

// Runs of equal pixels are the common case (flat backgrounds): remember the
// last input and its result. The cache starts empty, so a first pixel that
// happens to equal a default value is still computed.
template <typename Transform>
void TransformPixels(PixelGrid& grid, Transform transform) {
    std::optional<Color> lastIn;
    Color lastOut = clBlack;
    for (Color& pixel : grid.Pixels) {  // rows top to bottom, each left to right
        if (!lastIn || *lastIn != pixel) {
            lastIn = pixel;
            lastOut = transform(pixel);
        }
        pixel = lastOut;
    }
}

}  // namespace

PixelGrid::PixelGrid(int width, int height, Color fill)
    : Width(width > 0 && height > 0 ? width : 0),
      Height(width > 0 && height > 0 ? height : 0),
      Pixels(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), fill) {}

void GrayBitmapPixels(PixelGrid& grid, int level) {
    TransformPixels(grid, [level](Color c) { return GrayLevelColor(c, level); });
}

void LightenBitmapPixels(PixelGrid& grid, int percent) {
    if (percent > kMaxPercent) percent = kMaxPercent;
    TransformPixels(grid, [percent](Color c) { return LightenColor(c, percent); });
}

void PaintBitmapSilhouette(const PixelGrid& source, PixelGrid& target, int x, int y, Color colour) {
    if (source.Empty()) return;
    const Color key = source.At(0, source.Height - 1);
    const Color paint = ResolveColor(colour);
    for (int i = 0; i < source.Height; ++i) {
        for (int j = 0; j < source.Width; ++j) {
            if (source.At(j, i) == key) continue;
            // Summed wide, so far-off positions cannot overflow.
            const long long tx = static_cast<long long>(x) + j;
            const long long ty = static_cast<long long>(y) + i;
            if (tx < 0 || ty < 0 || tx >= target.Width || ty >= target.Height) continue;
            target.At(static_cast<int>(tx), static_cast<int>(ty)) = paint;
        }
    }
}

}  // namespace quillory
