#include "styling/elements/skin_style.h"

namespace quillory::styling {

namespace {

// The shades the flat look takes from the system's scheme.
constexpr int kSystemBackgroundLight = 86;
constexpr int kSystemIconColumnLight = 16;
constexpr int kSelectLight = 68;
constexpr int kCheckedAreaLight = 80;
constexpr int kCheckedAreaSelectLight = 50;
constexpr int kDisabledLight = 10;
constexpr int kSeparatorLight = 25;
constexpr int kMenuBorderDarken = 90;
constexpr int kMenuShadowDarken = 76;
constexpr ui::TColor kLowColorCheckedAreaSelect = 0xC0C0C0;

}  // namespace

TResolvedColors ResolveSkinColors(const TSkinColorProperties& p, bool useSystemColors,
                                  bool useDimColor, ui::TColor fontColor, bool highColor) {
    TResolvedColors r;
    r.FResColor = p.Color;
    r.FResIconBackColor = p.IconBackColor;
    const bool dim = highColor && useDimColor;
    r.FResSelectColor = dim ? Lighten(p.SelectColor, kSelectLight) : p.SelectColor;
    r.FResSelectBorderColor = p.SelectBorderColor;
    r.FResSelectFontColor = p.SelectFontColor;
    if (highColor) {
        r.FResCheckedAreaColor =
            useDimColor ? Lighten(p.SelectColor, kCheckedAreaLight) : p.SelectColor;
        r.FResCheckedAreaSelectColor =
            useDimColor ? Lighten(p.SelectColor, kCheckedAreaSelectLight) : p.SelectColor;
    } else {
        r.FResCheckedAreaColor = clWhite;
        r.FResCheckedAreaSelectColor = kLowColorCheckedAreaSelect;
    }
    r.FResCheckedColor = p.CheckedColor;
    r.FResMenuBarColor = p.MenuBarColor;
    r.FResDisabledColor = p.DisabledColor;
    r.FResSeparatorColor = p.SeparatorColor;
    // The popup frame and shadow always come from the system's button face.
    r.FResMenuBorderColor = highColor ? Darken(clBtnFace, kMenuBorderDarken) : clBtnShadow;
    r.FResMenuShadowColor = highColor ? Darken(clBtnFace, kMenuShadowDarken) : clBtnShadow;
    if (!useSystemColors) return r;

    r.FResSelectBorderColor = clHighlight;
    r.FResSelectFontColor = fontColor;
    r.FResCheckedColor = clHighlight;
    r.FResMenuBarColor = clBtnFace;
    if (highColor) {
        r.FResColor = Lighten(clBtnFace, kSystemBackgroundLight);
        r.FResIconBackColor = Lighten(clBtnFace, kSystemIconColumnLight);
        r.FResSelectColor = Lighten(clHighlight, kSelectLight);
        r.FResCheckedAreaColor = Lighten(clHighlight, kCheckedAreaLight);
        r.FResCheckedAreaSelectColor = Lighten(clHighlight, kCheckedAreaSelectLight);
        r.FResDisabledColor = Lighten(clBtnShadow, kDisabledLight);
        r.FResSeparatorColor = Lighten(clBtnShadow, kSeparatorLight);
    } else {
        r.FResColor = clWhite;
        r.FResIconBackColor = clBtnFace;
        r.FResSelectColor = clWhite;
        r.FResCheckedAreaColor = clWhite;
        r.FResCheckedAreaSelectColor = clWhite;
        r.FResDisabledColor = clBtnShadow;
        r.FResSeparatorColor = clBtnShadow;
    }
    return r;
}

}  // namespace quillory::styling
