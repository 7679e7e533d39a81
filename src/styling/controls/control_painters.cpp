#include "styling/controls/control_painters.h"

#include <string>

#include "styling/controls/control_subclass.h"
#include "styling/elements/dc_tools.h"
#include "styling/elements/item_parts.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"

namespace quillory::styling {

namespace {

constexpr int kFocusLight = 60;      // the selection border, lightened, marks hot and focus
constexpr int kOutlineLight = 30;    // the soft outline, lighter than the edge
constexpr int kEdgeDarken = 50;      // the dark edge line
constexpr int kCornerSize = 4;       // the rounded face's corner ellipse
constexpr int kFrameDarken = 60;     // an edit's or list box's resting frame
constexpr int kListFocusLight = 80;  // a borderless list box's hot frame
constexpr int kBorderlessLight = 40;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER;

UINT ReadingFlags(const ui::TControl& control) {
    return control.UseRightToLeftReading() ? DT_RTLREADING : 0;
}

// The caption's size as DrawText measures it from an empty rectangle.
SIZE MeasureCaption(HDC dc, const ui::TControl& control) {
    if (control.Caption().empty()) return SIZE{0, 0};
    ui::ScopedSelect font(dc, control.Font().Handle());
    RECT rect{0, 0, 0, 0};
    std::string text = control.Caption();
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | ReadingFlags(control));
    return SIZE{ui::RectWidth(rect), ui::RectHeight(rect)};
}

void Polyline(HDC dc, std::initializer_list<POINT> points) {
    ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

}  // namespace

ui::TColor ParentBackground(const ui::TControl& control) {
    return control.Parent() ? ui::ColorToRGB(control.Parent()->Color()) : ui::ColorToRGB(clBtnFace);
}

void DrawFrame3D(HDC dc, RECT& r, ui::TColor topLeft, ui::TColor bottomRight, int width) {
    ScopedDCPen pen(dc, topLeft);
    r.right -= 1;
    r.bottom -= 1;
    for (int i = 0; i < width; ++i) {
        pen.SetColor(topLeft);
        Polyline(dc, {POINT{r.left, r.bottom}, POINT{r.left, r.top}, POINT{r.right, r.top}});
        pen.SetColor(bottomRight);
        Polyline(dc,
                 {POINT{r.right, r.top}, POINT{r.right, r.bottom}, POINT{r.left - 1, r.bottom}});
        InflateRect(&r, -1, -1);
    }
    r.right += 1;
    r.bottom += 1;
}

void PaintButton(TControlSubClass& record) {
    auto* button = static_cast<ui::TButton*>(record.FControl);
    if (!button->HandleAllocated()) return;
    ui::WindowDC surface(button->Handle());
    HDC dc = surface.Get();
    if (!dc) return;
    const TSkinStyle& style = record.FSkin->ResolvedStyle(dc);
    const TResolvedColors& c = style.Colors;
    const ui::TColor back = ParentBackground(*button);
    const bool parentFace = button->Tag() == kParentFaceTag;
    ui::TColor face, edge;
    if (record.FHot) {
        face = parentFace ? Lighten(back, style.FLightLevelHot)
                          : Lighten(clBtnFace, style.FLightLevelHot);
        edge = Lighten(c.FResSelectBorderColor, kFocusLight);
    } else {
        face = parentFace ? Lighten(back, style.FLightLevelNormal) : c.FResIconBackColor;
        edge = record.FFocused ? Lighten(c.FResSelectBorderColor, kFocusLight) : clBtnShadow;
    }

    // The caption's font for the whole paint: measuring and writing then
    // find it selected (a font select costs more than the caption).
    ui::ScopedSelect captionFont(dc, button->Font().Handle());
    const RECT r = button->ClientRect();
    const int w = ui::RectWidth(r), h = ui::RectHeight(r);
    FillSolid(dc, r, back);  // the corners outside the rounded face
    {
        ScopedDCPen pen(dc, Lighten(edge, kOutlineLight));
        ScopedDCBrush brush(dc, face);
        const int corner = button->Scaled(kCornerSize);
        RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
    }
    if (button->Enabled()) {
        ScopedDCPen pen(dc, Darken(edge, kEdgeDarken));
        const bool pressed = record.FSpaceDown || (record.FLButtonDown && record.FHot);
        if (pressed)
            Polyline(dc, {POINT{r.left, r.bottom - 2}, POINT{r.left, r.top + 1},
                          POINT{r.left + 1, r.top}, POINT{r.right - 1, r.top}});
        else
            Polyline(dc, {POINT{r.right - 1, r.top + 1}, POINT{r.right - 1, r.bottom - 2},
                          POINT{r.right - 2, r.bottom - 1}, POINT{r.left, r.bottom - 1}});
    }
    const SIZE text = MeasureCaption(dc, *button);
    RECT textRect{(w - text.cx) / 2, (h - text.cy) / 2, 0, 0};
    textRect.right = textRect.left + text.cx;
    textRect.bottom = textRect.top + text.cy;
    TTextState state;
    state.Enabled = button->Enabled();
    state.Default = button->Default();
    state.RightToLeft = button->UseRightToLeftReading();
    PaintItemText(style, dc, button->Caption(), "", textRect, state, button->Font(),
                  kCentred | ReadingFlags(*button));
}

void PaintEdit(TControlSubClass& record) {
    auto* edit = static_cast<ui::TEdit*>(record.FControl);
    if (edit->Ctl3D()) {
        // The window is built anew without the 3-D edge; the record stays.
        record.FKeepOnDestroy = true;
        edit->SetCtl3D(false);
    }
    if (!edit->HandleAllocated()) return;
    ui::WindowDC surface(edit->Handle());
    HDC dc = surface.Get();
    if (!dc) return;
    const TSkinStyle& style = record.FSkin->ResolvedStyle(dc);
    const ui::TColor back = ParentBackground(*edit);
    ui::TColor color = record.FHot || record.FFocused
                           ? Lighten(style.Colors.FResSelectBorderColor, kFocusLight)
                           : Darken(back, kFrameDarken);
    if (record.FOrgBorderStyle == 0) {
        // Without a border of its own the frame disappears into the edit,
        // except while the mouse is over it.
        color =
            record.FHot && !record.FFocused
                ? Lighten(AverageColors({ui::ColorToRGB(edit->Color()), back}), kBorderlessLight)
                : ui::ColorToRGB(edit->Color());
    }
    OutlineRect(dc, edit->ClientRect(), color);
}

void PaintListBoxFrame(TControlSubClass& record) {
    auto* list = static_cast<ui::TListBox*>(record.FControl);
    if (!list->HandleAllocated()) return;
    {
        ui::WholeWindowDC surface(list->Handle());
        HDC dc = surface.Get();
        if (!dc) return;
        const TSkinStyle& style = record.FSkin->ResolvedStyle(dc);
        const ui::TColor back = ParentBackground(*list);
        const bool single = record.FOrgBorderStyle == 1;
        ui::TColor color;
        if (record.FHot || record.FFocused)
            color =
                Lighten(style.Colors.FResSelectBorderColor, single ? kFocusLight : kListFocusLight);
        else
            color = single ? Darken(back, kFrameDarken) : back;
        RECT window{};
        GetWindowRect(list->Handle(), &window);
        OutlineRect(dc, RECT{0, 0, ui::RectWidth(window), ui::RectHeight(window)}, color);
    }
    if (list->Ctl3D()) {
        record.FKeepOnDestroy = true;
        list->SetCtl3D(false);
    }
}

void PaintPanel(TControlSubClass& record) {
    if (record.FLastMessage != WM_PAINT) return;  // the bevels follow the panel's own paint
    auto* panel = static_cast<ui::TPanel*>(record.FControl);
    if (!panel->HandleAllocated()) return;
    ui::WindowDC surface(panel->Handle());
    HDC dc = surface.Get();
    if (!dc) return;
    RECT r = panel->ClientRect();
    const ui::TColor dark = Darken(panel->Color(), kFrameDarken);
    const ui::TColor light = Lighten(panel->Color(), kFrameDarken);
    auto bevel = [&](ui::TBevelCut cut) {
        if (cut == ui::TBevelCut::bvLowered)
            DrawFrame3D(dc, r, dark, light, panel->BevelWidth());
        else if (cut != ui::TBevelCut::bvNone)
            DrawFrame3D(dc, r, light, dark, panel->BevelWidth());
    };
    bevel(panel->BevelOuter());
    if (panel->BevelInner() != ui::TBevelCut::bvNone) {
        InflateRect(&r, -panel->BorderWidth(), -panel->BorderWidth());
        bevel(panel->BevelInner());
    }
}

}  // namespace quillory::styling
