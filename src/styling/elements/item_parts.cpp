#include "styling/elements/item_parts.h"

#include "core/menu_colors.h"
#include "styling/elements/bitmap_pixels.h"
#include "styling/elements/dc_tools.h"
#include "ui/gdi.h"

namespace quillory::styling {

namespace {

constexpr int kRadioCorner = 6;
constexpr int kRadioDotInset = 2;
constexpr int kDisabledImageLight = 40;
constexpr int kShadowDarken = 50;
constexpr int kShortCutMargin = 10;
constexpr int kContrastLight = 90;
constexpr int kContrastRedBlueLimit = 150;
constexpr int kContrastGreenLimit = 200;

// The soft copies under a default entry's caption: where each one lies,
// relative to the text rectangle, and how much darker than what it lies on.
struct SoftCopy {
    int Left, Top, Right, Darken;
};
constexpr SoftCopy kDefaultCopies[] = {
    {1, 0, 0, 30},
    {1, 2, 1, 30},
    {0, 1, 0, 40},
    {1, 1, 1, 60},
};

void DrawTextIn(HDC surface, const std::string& text, RECT rect, UINT format) {
    DrawTextExA(surface, const_cast<char*>(text.c_str()), static_cast<int>(text.size()), &rect,
                format, nullptr);
}

}  // namespace

void PaintCheckMark(const TSkinStyle& style, HDC surface, const RECT& m, const TMarkState& state) {
    if (!state.Checked) return;
    const TResolvedColors& c = style.Colors;
    const ui::TColor brushColor =
        state.Selected ? c.FResCheckedAreaSelectColor : c.FResCheckedAreaColor;
    const ui::TColor markPen = state.Enabled ? c.FResSelectBorderColor : c.FResDisabledColor;
    if (state.RadioItem) {
        ScopedDCPen pen(surface, markPen);
        if (state.HasImage) {
            ScopedDCBrush brush(surface, brushColor);
            RoundRect(surface, m.left, m.top, m.right, m.bottom, style.Scaled(kRadioCorner),
                      style.Scaled(kRadioCorner));
            return;
        }
        {
            ScopedDCBrush brush(surface, brushColor);
            Ellipse(surface, m.left, m.top, m.right, m.bottom);
        }
        ScopedDCBrush dot(surface, markPen);
        const int inset = style.Scaled(kRadioDotInset);
        Ellipse(surface, m.left + inset, m.top + inset, m.right - inset, m.bottom - inset);
        return;
    }
    if (state.HasImage) {
        FillAndOutlineRect(surface, m, brushColor, markPen);
        return;
    }
    FillAndOutlineRect(surface, m, brushColor,
                       state.Enabled ? c.FResCheckedColor : c.FResDisabledColor);
    // The tick: three strokes down to the box's lower left, two up to the
    // right, the long one reaching past the box.
    ScopedDCPen tick(surface, state.Enabled ? clBlack : c.FResDisabledColor);
    DrawLine(surface, m.left + 1, m.top + 5, m.left + 4, m.bottom - 2);
    DrawLine(surface, m.left + 2, m.top + 5, m.left + 4, m.bottom - 3);
    DrawLine(surface, m.left + 2, m.top + 4, m.left + 5, m.bottom - 3);
    DrawLine(surface, m.left + 4, m.bottom - 3, m.right + 2, m.top - 1);
    DrawLine(surface, m.left + 4, m.bottom - 2, m.right - 2, m.top + 3);
}

void PaintItemIcon(const TSkinStyle& style, HDC surface, ui::TBitmap& image, const RECT& rect,
                   const TIconState& s) {
    if (image.Width() <= 0 || image.Height() <= 0) return;
    const int width = image.Width();
    int x = rect.left;
    int y = rect.top + 1;
    if (s.IsMenuItem) {
        y += 2;
        const int iconWidth = style.Scaled(style.IconWidth);
        if (width < iconWidth) {
            x = rect.left + (iconWidth - width) / 2 - 1;
        } else {
            x = s.RightToLeft ? rect.right - width - 2 : rect.left + 2;
        }
    }
    if (s.TopLevel) x = s.RightToLeft ? rect.right - width - 5 : rect.left + 1;
    // A selected picture rises toward the top left.
    if (s.Selected && s.Enabled && !s.Down) {
        if (s.TopLevel) {
            x -= 1;
            y -= 2;
        } else if (!s.Checked) {
            x -= 1;
            y -= 1;
        }
    }
    if (!s.Selected && s.Enabled && !s.Checked && style.FHighColor)
        LightenBitmapPixels(image, style.DimLevel);
    if (!s.Enabled) {
        GrayBitmapPixels(image, style.GrayLevel);
        LightenBitmapPixels(image, kDisabledImageLight);
    }
    if (s.Selected && s.Enabled && !s.Checked) {
        PaintBitmapSilhouette(image, surface, x + 2, y + 2,
                              Darken(style.Colors.FResSelectColor, kShadowDarken));
    }
    ui::TCanvas(surface).DrawTransparent(x, y, image);
}

void PaintItemText(const TSkinStyle& style, HDC surface, const std::string& text,
                   const std::string& shortCut, const RECT& rect, const TTextState& s,
                   const ui::TFont& font, UINT format) {
    format |= DT_EXPANDTABS;
    ui::ScopedSelect selectFont(surface, font.Handle());
    ui::TColor color = font.Color();
    if (s.Selected) color = style.Colors.FResSelectFontColor;
    if (!s.Enabled) color = style.Colors.FResDisabledColor;
    if (s.TopLevel && s.Selected && style.UseSystemColors)
        color = ContrastFontColor(style, style.Colors.FResIconBackColor);
    const COLORREF textColor = ui::ColorToRGB(color);
    SetBkMode(surface, TRANSPARENT);
    if (s.Default && s.Enabled) {
        for (const SoftCopy& copy : kDefaultCopies) {
            const RECT at{rect.left + copy.Left, rect.top + copy.Top, rect.right + copy.Right,
                          rect.bottom};
            const COLORREF under = GetPixel(surface, at.left, at.top);
            SetTextColor(surface, ui::ColorToRGB(Darken(under & 0x00FFFFFFu, copy.Darken)));
            DrawTextIn(surface, text, at, format);
        }
    }
    SetTextColor(surface, textColor);
    DrawTextIn(surface, text, rect, format);
    if (shortCut.empty()) return;
    RECT shortCutRect = rect;
    UINT shortCutFormat = 0;
    if (s.RightToLeft) {
        shortCutRect.left += style.Scaled(kShortCutMargin);
    } else {
        shortCutRect.right -= style.Scaled(kShortCutMargin);
        shortCutFormat = DT_RIGHT;
    }
    DrawTextIn(surface, shortCut + " ", shortCutRect, shortCutFormat);
}

ui::TColor ContrastFontColor(const TSkinStyle& style, ui::TColor color) {
    const ui::TColor rgb = ui::ColorToRGB(color);
    if ((RedOf(rgb) + BlueOf(rgb)) / 2 > kContrastRedBlueLimit ||
        GreenOf(rgb) > kContrastGreenLimit)
        return style.Font.Color();
    return Lighten(rgb, kContrastLight);
}

}  // namespace quillory::styling
