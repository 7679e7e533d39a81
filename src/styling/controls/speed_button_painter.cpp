// The flat look of a speed button: a graphic control, so it paints on its
// parent's surface, bound to the button's own area.
#include <memory>

#include "styling/controls/control_painters.h"
#include "styling/controls/control_subclass.h"
#include "styling/elements/dc_tools.h"
#include "styling/elements/item_parts.h"
#include "ui/ext_controls.h"

namespace quillory::styling {

namespace {

constexpr int kFocusLight = 60;
constexpr int kOutlineLight = 30;
constexpr int kEdgeDarken = 50;
constexpr int kFlatTintLight = 20;
constexpr int kTintLight = 5;
constexpr int kTintDepth = 16;  // more bits per pixel than this: the tint is lightened
constexpr UINT kCentred = DT_CENTER | DT_VCENTER;

// A DC on the button's area: the paint message's own, or one of the parent's
// window with the origin moved onto the button and clipped to it.
class ButtonSurface {
public:
    explicit ButtonSurface(TControlSubClass& record) {
        ui::TControl& button = *record.FControl;
        if (record.PaintDC()) {
            dc_ = record.PaintDC();
        } else if (button.Parent() && button.Parent()->HandleAllocated()) {
            window_dc_ = std::make_unique<ui::WindowDC>(button.Parent()->Handle());
            dc_ = window_dc_->Get();
            if (dc_) {
                saved_ = SaveDC(dc_);
                SetViewportOrgEx(dc_, button.Left(), button.Top(), nullptr);
                IntersectClipRect(dc_, 0, 0, button.Width(), button.Height());
            }
        }
    }
    ~ButtonSurface() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    ButtonSurface(const ButtonSurface&) = delete;
    ButtonSurface& operator=(const ButtonSurface&) = delete;
    HDC Get() const { return dc_; }

private:
    std::unique_ptr<ui::WindowDC> window_dc_;
    HDC dc_ = nullptr;
    int saved_ = 0;
};

void Polyline(HDC dc, std::initializer_list<POINT> points) {
    ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

}  // namespace

void PaintSpeedButton(TControlSubClass& record) {
    auto* button = static_cast<ui::TSpeedButton*>(record.FControl);
    ButtonSurface surface(record);
    HDC dc = surface.Get();
    if (!dc) return;
    const TSkinStyle& style = record.FSkin->ResolvedStyle(dc);
    const TResolvedColors& c = style.Colors;
    const RECT r = button->ClientRect();
    const int w = ui::RectWidth(r), h = ui::RectHeight(r);

    // A flat button that lost the mouse without being told is not hot.
    if (button->Flat() && record.FHot) {
        POINT mouse{};
        GetCursorPos(&mouse);
        const POINT at = button->ScreenToClient(mouse);
        record.FHot = at.x >= r.left && at.x <= r.right && at.y >= r.top && at.y <= r.bottom;
    }

    const ui::TColor back = ParentBackground(*button);
    const bool parentFace = button->Tag() == kParentFaceTag;
    const bool hot = record.FHot;
    const bool down = button->Down();
    ui::TColor face, edge;
    if (hot) {
        face = button->Flat() ? c.FResSelectColor
               : parentFace   ? Lighten(back, style.FLightLevelHot)
                              : Lighten(clBtnFace, style.FLightLevelHot);
        edge = Lighten(c.FResSelectBorderColor, kFocusLight);
    } else {
        face = button->Flat() ? back
               : parentFace   ? Lighten(back, style.FLightLevelNormal)
                              : c.FResIconBackColor;
        edge = clBtnShadow;
    }
    if (down) {
        face = c.FResCheckedAreaColor;
        edge = c.FResSelectBorderColor;
    }
    if (down && hot) {
        face = c.FResCheckedAreaSelectColor;
        edge = c.FResSelectBorderColor;
    }
    if (!button->Enabled()) edge = clBtnShadow;

    const int depth = GetDeviceCaps(dc, BITSPIXEL);
    if (button->Transparent() && (down || hot)) {
        // The parent's picture shows through, tinted.
        const ui::TColor tint =
            button->Flat()
                ? (depth > kTintDepth ? Lighten(c.FResSelectColor, kFlatTintLight) : face)
                : (depth > kTintDepth ? Lighten(face, kTintLight) : face);
        ui::TBitmap tinted(w, h);
        FillSolid(tinted.DC(), RECT{0, 0, w, h}, tint);
        BitBlt(dc, r.left, r.top, w, h, tinted.DC(), 0, 0, SRCAND);
    }
    ui::TColor outline = Lighten(edge, kOutlineLight);
    if (button->Flat() && !button->Transparent() && !down && !hot) outline = face;
    const bool drawRect = !(button->Transparent() && button->Flat() && !hot && !down);
    if (drawRect) {
        ScopedDCPen pen(dc, outline);
        ScopedDCBrush brush(dc, button->Transparent() ? ui::clNone : face);
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    if (button->Enabled()) {
        const bool pressed = record.FLButtonDown || down;
        ScopedDCBrush none(dc, ui::clNone);
        if (button->Flat() && pressed) {
            ScopedDCPen pen(dc, edge);
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            pen.SetColor(Darken(edge, kEdgeDarken));
            Polyline(dc,
                     {POINT{r.left, r.bottom - 1}, POINT{r.left, r.top}, POINT{r.right, r.top}});
        } else if (button->Flat() && hot) {
            ScopedDCPen pen(dc, c.FResSelectBorderColor);
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        } else if (!button->Flat() && pressed) {
            ScopedDCPen pen(dc, Darken(edge, kEdgeDarken));
            Polyline(dc,
                     {POINT{r.left, r.bottom - 1}, POINT{r.left, r.top}, POINT{r.right, r.top}});
        } else if (!button->Flat()) {
            ScopedDCPen pen(dc, Darken(edge, kEdgeDarken));
            Polyline(dc, {POINT{r.right - 1, r.top}, POINT{r.right - 1, r.bottom - 1},
                          POINT{r.left, r.bottom - 1}});
        }
    }

    // Caption and glyph sizes.
    SIZE text{0, 0};
    if (!button->Caption().empty()) {
        ui::ScopedSelect font(dc, button->Font().Handle());
        RECT measured{0, 0, 0, 0};
        const std::string caption = button->Caption();
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | (button->UseRightToLeftReading() ? DT_RTLREADING : 0));
        text = SIZE{ui::RectWidth(measured), ui::RectHeight(measured)};
    }
    const ui::TBitmap& strip = button->Glyph();
    const int images = button->NumGlyphs();
    const int gw = strip.Empty() ? 0 : strip.Width() / images;
    const int gh = strip.Empty() ? 0 : strip.Height();
    int image = 1;
    if (!button->Enabled() && images > 1) image = 2;
    if (record.FLButtonDown && images > 2) image = 3;
    if (down && images > 3) image = 4;
    ui::TBitmap glyph(gw, gh);
    if (gw > 0 && gh > 0)
        BitBlt(glyph.DC(), 0, 0, gw, gh, strip.DC(), gw * (image - 1), 0, SRCCOPY);

    // Where glyph (g) and caption (x) go; the halves are truncated toward zero.
    const int s = button->Caption().empty() ? 0 : button->Spacing();
    auto layout = button->Layout();
    if (button->UseRightToLeftReading()) {
        if (layout == ui::TButtonGlyphLayout::blGlyphLeft)
            layout = ui::TButtonGlyphLayout::blGlyphRight;
        else if (layout == ui::TButtonGlyphLayout::blGlyphRight)
            layout = ui::TButtonGlyphLayout::blGlyphLeft;
    }
    RECT g{}, x{};
    switch (layout) {
        case ui::TButtonGlyphLayout::blGlyphLeft:
            g.left = (w - (s + gw + text.cx)) / 2;
            g.right = g.left + gw;
            g.top = (h - gh) / 2 - 1;  // one pixel above the centre, in this layout only
            g.bottom = g.top + gh;
            x.left = g.right + s;
            x.right = x.left + text.cx;
            x.top = (h - text.cy) / 2;
            x.bottom = x.top + text.cy;
            break;
        case ui::TButtonGlyphLayout::blGlyphRight:
            g.right = (s + gw + text.cx + w) / 2;
            g.left = g.right - gw;
            g.top = (h - gh) / 2;
            g.bottom = g.top + gh;
            x.right = g.left - s;
            x.left = x.right - text.cx;
            x.top = (h - text.cy) / 2;
            x.bottom = x.top + text.cy;
            break;
        case ui::TButtonGlyphLayout::blGlyphTop:
            g.left = (w - gw) / 2;
            g.right = g.left + gw;
            g.top = (h - (s + gh + text.cy)) / 2;
            g.bottom = g.top + gh;
            x.left = (w - text.cx) / 2;
            x.right = x.left + text.cx;
            x.top = g.bottom + s;
            x.bottom = x.top + text.cy;
            break;
        case ui::TButtonGlyphLayout::blGlyphBottom:
            g.left = (w - gw) / 2;
            g.right = g.left + gw;
            g.bottom = (s + gh + text.cy + h) / 2;
            g.top = g.bottom - gh;
            x.left = (w - text.cx) / 2;
            x.right = x.left + text.cx;
            x.bottom = g.top - s;
            x.top = x.bottom - text.cy;
            break;
    }

    TIconState iconState;
    iconState.IsMenuItem = false;
    iconState.Selected = hot;
    iconState.Down = record.FFocused;
    iconState.Enabled = button->Enabled();
    iconState.Checked = down || record.FLButtonDown;
    iconState.RightToLeft = button->UseRightToLeftReading();
    PaintItemIcon(style, dc, glyph, g, iconState);

    TTextState textState;
    textState.Enabled = button->Enabled();
    textState.RightToLeft = button->UseRightToLeftReading();
    PaintItemText(style, dc, button->Caption(), "", x, textState, button->Font(),
                  kCentred | (button->UseRightToLeftReading() ? DT_RTLREADING : 0));
}

}  // namespace quillory::styling
