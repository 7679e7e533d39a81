#include "ui/theme_colors.h"

#include <vector>

#include "core/contrast.h"

namespace quillory::ui {
namespace {

// The theme's colours in the order they are wanted: the text colour first,
// then those a theme sets apart from it (hot-tracking, highlight, ...).
constexpr int kCandidates[] = {COLOR_BTNTEXT,     COLOR_HOTLIGHT,      COLOR_HIGHLIGHT,
                               COLOR_GRAYTEXT,    COLOR_ACTIVECAPTION, COLOR_WINDOWTEXT,
                               COLOR_CAPTIONTEXT, COLOR_HIGHLIGHTTEXT, COLOR_INFOTEXT};

}  // namespace

TThemeSymbolColors ThemeSymbolColors() {
    std::vector<Color> candidates;
    for (int index : kCandidates) candidates.push_back(GetSysColor(index));
    const std::vector<Color> picked = PickContrastColors(GetSysColor(COLOR_BTNFACE), candidates, 3);
    return {picked[0], picked[1], picked[2]};
}

}  // namespace quillory::ui
