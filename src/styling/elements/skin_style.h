// What a painter of the flat style may know of the styling component that
// asked for it: the thirteen colours it resolved, a few levels and sizes, the
// item font. Menu item painters and control painters alike see this narrow
// view, never the component itself.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/dpi_scale.h"
#include "core/menu_colors.h"
#include "ui/font.h"
#include "ui/ui_types.h"

namespace quillory::styling {

// The colours every painter uses, worked out once from the component's colour
// properties (see ResolveSkinColors). Values may still be system colour
// references; painters resolve them when they draw.
struct TResolvedColors {
    ui::TColor FResColor = clBtnFace;                     // popup item background
    ui::TColor FResIconBackColor = clBtnFace;             // icon column
    ui::TColor FResSelectColor = clHighlight;             // selection fill
    ui::TColor FResSelectBorderColor = clHighlight;       // selection frame
    ui::TColor FResSelectFontColor = clMenuText;          // text of a selected entry
    ui::TColor FResCheckedAreaColor = clHighlight;        // check box fill, entry not selected
    ui::TColor FResCheckedAreaSelectColor = clHighlight;  // check box fill, entry selected
    ui::TColor FResCheckedColor = clHighlight;            // check box frame
    ui::TColor FResMenuBarColor = clBtnFace;
    ui::TColor FResDisabledColor = clInactiveCaption;
    ui::TColor FResSeparatorColor = clBtnFace;
    ui::TColor FResMenuBorderColor = clBtnShadow;  // popup window frame
    ui::TColor FResMenuShadowColor = clBtnShadow;  // popup window shadow

    bool operator==(const TResolvedColors&) const = default;
};

// The colour properties of the styling component, as set.
struct TSkinColorProperties {
    ui::TColor Color = clBtnFace;
    ui::TColor IconBackColor = clBtnFace;
    ui::TColor SelectColor = clHighlight;
    ui::TColor SelectBorderColor = clHighlight;
    ui::TColor SelectFontColor = clMenuText;
    ui::TColor DisabledColor = clInactiveCaption;
    ui::TColor SeparatorColor = clBtnFace;
    ui::TColor CheckedColor = clHighlight;
    ui::TColor MenuBarColor = clBtnFace;
};

// The resolved set. With UseSystemColors false the properties are taken as
// they are (the selection and check box fills softened when UseDimColor asks
// for it on a high-colour screen); with it true every entry but the popup
// frame and shadow follows the system's scheme instead, lighter shades where
// the screen has colours enough. `fontColor` is the item font's colour.
TResolvedColors ResolveSkinColors(const TSkinColorProperties& properties, bool useSystemColors,
                                  bool useDimColor, ui::TColor fontColor, bool highColor);

// Lightening of a control's face, in per cent, normal and hot.
constexpr int kLightLevelNormal = 16;
constexpr int kLightLevelHot = 40;
// Icon pictures are filled with this before an image is drawn into them.
constexpr ui::TColor kTransparentKey = 0xFF00FF;

struct TSkinStyle {
    TResolvedColors Colors;
    // The scale the styled form is shown at: the item font is made for it
    // and every length of the painters (designed at 96 dpi) goes through Scaled.
    int Dpi = kDesignDpi;
    int Scaled(int length) const { return ScaleForDpi(length, Dpi); }
    bool FHighColor = true;  // the screen has 16 or more bits per pixel
    bool UseSystemColors = true;
    int IconWidth = 24;  // at 96 dpi
    int DimLevel = 30;
    int GrayLevel = 10;
    int FLightLevelNormal = kLightLevelNormal;
    int FLightLevelHot = kLightLevelHot;
    ui::TFont Font;  // the item font
    ui::TColor FTransparentKey = kTransparentKey;
};

// The view a painter gets of its styling component.
class ISkinSource {
public:
    virtual ~ISkinSource() = default;
    virtual bool IsActive() const = 0;
    // The style, the colours resolved against `surface` first when they are
    // out of date (a colour property changed since they were last resolved).
    virtual const TSkinStyle& Style(HDC surface) = 0;
    // The style with the colours resolved against `surface` in any case, for
    // painters that resolve before every paint (the controls').
    virtual const TSkinStyle& ResolvedStyle(HDC surface) = 0;
};

// The colour arithmetic on colours resolved with the desktop's own scheme
// (a system colour reference becomes GetSysColor's answer first).
inline ui::TColor Lighten(ui::TColor color, int percent) {
    return LightenColor(ui::ColorToRGB(color), percent);
}
inline ui::TColor Darken(ui::TColor color, int amount) {
    return DarkenColor(ui::ColorToRGB(color), amount);
}

// True when a screen (or any surface) of this many bits per pixel counts as
// high colour.
inline bool IsHighColor(int bitsPerPixel) {
    return bitsPerPixel >= 16;
}

}  // namespace quillory::styling
