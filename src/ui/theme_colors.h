// The colours the program's own pictures (the board's symbols, the level
// gauge) take while a contrast theme is on: Windows asks programs that paint
// their own content to use the theme's colours then. Fixed indices are not
// enough: a theme may give the hot-tracking or highlight colour a lightness
// close to the button face, so each colour is checked against the face.
#pragma once

#include "ui/ui_types.h"

namespace quillory::ui {

struct TThemeSymbolColors {
    TColor Text;    // the button text colour, wherever it stands out from the face
    TColor Accent;  // two more, unlike it and unlike each other
    TColor SecondAccent;
};

// From the system colours of now, each standing out from the button face.
TThemeSymbolColors ThemeSymbolColors();

}  // namespace quillory::ui
