#include "ui/ext_controls.h"

#include <algorithm>
#include <utility>

#include "ui/dpi.h"

namespace quillory::ui {

namespace {

void DrawBevelCut(TCanvas& canvas, RECT& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone) return;
    const bool raised = cut != TBevelCut::bvLowered;
    canvas.Frame3D(rect, raised ? clBtnHighlight : clBtnShadow,
                   raised ? clBtnShadow : clBtnHighlight, width);
}

}  // namespace

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 41;
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    if (cut == bevel_outer_) return;
    bevel_outer_ = cut;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    if (cut == bevel_inner_) return;
    bevel_inner_ = cut;
    Invalidate();
}

void TPanel::SetBevelWidth(int width) {
    if (width == bevel_width_) return;
    bevel_width_ = width;
    Invalidate();
}

void TPanel::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (width == border_width_) return;
    border_width_ = width;
    Invalidate();
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    RECT rect = ClientRect();
    DrawBevelCut(canvas, rect, bevel_outer_, bevel_width_);
    InflateRect(&rect, -border_width_, -border_width_);
    DrawBevelCut(canvas, rect, bevel_inner_, bevel_width_);
    if (!caption_.empty()) {
        canvas.Font = font_;
        canvas.DrawText(caption_, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---------------------------------------------------------------- TCoolBar

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner) {
    width_ = 150;
    height_ = 75;
}

void TCoolBar::AddBand(TWinControl* control, int minHeight, int width) {
    bands_.push_back(TCoolBand{control, minHeight, width});
    if (control && control->Parent() != this) control->SetParent(this);
    LayoutBands();
}

void TCoolBar::SetBandSize(int index, int minHeight, int width) {
    if (index < 0 || index >= BandCount()) return;
    bands_[index].MinHeight = minHeight;
    bands_[index].Width = width;
    LayoutBands();
    Invalidate();
}

void TCoolBar::DpiChanged(int) {
    LayoutBands();
}

RECT TCoolBar::BandRect(int index) const {
    int top = 0;
    for (int i = 0; i < index; ++i) top += bands_[i].MinHeight;
    const TCoolBand& band = bands_[index];
    return Bounds(0, top, band.Width, band.MinHeight);
}

void TCoolBar::LayoutBands() {
    // Fixed order, one band per row; the control keeps its own size.
    for (int i = 0; i < BandCount(); ++i) {
        TWinControl* control = bands_[i].Control;
        if (!control) continue;
        const RECT band = BandRect(i);
        control->SetBounds(band.left + Scaled(kBandIndent), band.top, control->Width(),
                           control->Height());
    }
}

void TCoolBar::Paint() {
    TCanvas& canvas = Canvas();
    const RECT client = ClientRect();
    if (!bitmap_.Empty()) {
        for (int y = 0; y < client.bottom; y += bitmap_.Height())
            for (int x = 0; x < client.right; x += bitmap_.Width()) canvas.Draw(x, y, bitmap_);
    }
    // Each band's etched edge at its left.
    for (int i = 0; i < BandCount(); ++i) {
        RECT band = BandRect(i);
        const int line = Scaled(1);
        canvas.FillRect(RECT{band.left, band.top, band.left + line, band.bottom}, clBtnHighlight);
        canvas.FillRect(RECT{band.left + line, band.top, band.left + 2 * line, band.bottom},
                        clBtnShadow);
    }
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    width_ = 65;
    height_ = 13;
    parent_color_ = true;
}

void TLabel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (value == word_wrap_) return;
    word_wrap_ = value;
    Invalidate();
}

UINT TLabel::TextFormat() const {
    UINT format = word_wrap_ ? DT_WORDBREAK : DT_SINGLELINE;
    if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
    return format | DT_EXPANDTABS;
}

int TLabel::TextHeightForWidth() {
    WindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    canvas.Font = font_;
    RECT rect{0, 0, width_, 0};
    canvas.DrawText(caption_.empty() ? " " : caption_, rect, TextFormat() | DT_CALCRECT);
    return RectHeight(rect);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT rect = ClientRect();
    if (!transparent_) canvas.FillRect(rect, color_);
    if (!enabled_) canvas.Font.SetColor(clGrayText);
    canvas.DrawText(caption_, rect, TextFormat());
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    width_ = 50;
    height_ = 50;
}

void TBevel::SetShape(TBevelShape shape) {
    if (shape == shape_) return;
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
    if (style == style_) return;
    style_ = style;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = Canvas();
    const TColor light = style_ == TBevelStyle::bsRaised ? clBtnHighlight : clBtnShadow;
    const TColor dark = style_ == TBevelStyle::bsRaised ? clBtnShadow : clBtnHighlight;
    RECT rect = ClientRect();
    switch (shape_) {
        case TBevelShape::bsBox: canvas.Frame3D(rect, light, dark); break;
        case TBevelShape::bsFrame: {
            RECT outer = rect;
            outer.right -= 1;
            outer.bottom -= 1;
            canvas.Frame3D(outer, dark, dark);
            RECT inner = rect;
            inner.left += 1;
            inner.top += 1;
            canvas.Frame3D(inner, light, light);
            break;
        }
        case TBevelShape::bsTopLine:
            canvas.FillRect(RECT{0, 0, width_, 1}, dark == clBtnShadow ? light : dark);
            canvas.FillRect(RECT{0, 1, width_, 2}, dark == clBtnShadow ? dark : light);
            break;
        case TBevelShape::bsBottomLine:
            canvas.FillRect(RECT{0, height_ - 2, width_, height_ - 1}, light);
            canvas.FillRect(RECT{0, height_ - 1, width_, height_}, dark);
            break;
        case TBevelShape::bsLeftLine:
            canvas.FillRect(RECT{0, 0, 1, height_}, light);
            canvas.FillRect(RECT{1, 0, 2, height_}, dark);
            break;
        case TBevelShape::bsRightLine:
            canvas.FillRect(RECT{width_ - 2, 0, width_ - 1, height_}, light);
            canvas.FillRect(RECT{width_ - 1, 0, width_, height_}, dark);
            break;
        case TBevelShape::bsSpacer: break;
    }
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    width_ = 105;
    height_ = 105;
}

TBitmap& TImage::Picture() {
    if (!resource_name_.empty()) {
        const std::string name = std::exchange(resource_name_, std::string());
        picture_.LoadFromResourceName(resource_module_, name.c_str());
    }
    return picture_;
}

void TImage::SetPictureResource(HINSTANCE module, std::string name) {
    resource_module_ = module;
    resource_name_ = std::move(name);
    picture_.SetSize(0, 0);
    Invalidate();
}

void TImage::SetIcon(HICON icon) {
    icon_ = icon;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    Invalidate();
}

void TImage::Paint() {
    TCanvas& canvas = Canvas();
    if (icon_) {
        // The system's icon size at the control's scale.
        const int size = SystemMetricForDpi(SM_CXICON, Dpi());
        const int x = center_ ? (width_ - size) / 2 : 0;
        const int y = center_ ? (height_ - size) / 2 : 0;
        DrawIconEx(canvas.Handle(), x, y, icon_, size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    TBitmap& picture = Picture();
    if (picture.Empty()) return;
    if (stretch_) {
        canvas.StretchDraw(ClientRect(), picture);
    } else if (center_) {
        canvas.Draw((width_ - picture.Width()) / 2, (height_ - picture.Height()) / 2, picture);
    } else {
        canvas.Draw(0, 0, picture);
    }
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    width_ = 23;
    height_ = 22;
    click_events_ = true;
    parent_color_ = true;
}

void TSpeedButton::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int index) {
    if (index == group_index_) return;
    group_index_ = std::max(index, 0);
    if (group_index_ == 0) SetDown(false);
}

void TSpeedButton::SetNumGlyphs(int count) {
    count = std::clamp(count, 1, 4);
    if (count == num_glyphs_) return;
    num_glyphs_ = count;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonGlyphLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing) {
    if (spacing == spacing_) return;
    spacing_ = spacing;
    Invalidate();
}

void TSpeedButton::Click() {
    if (group_index_ > 0) {
        if (!down_) {
            SetDown(true);
            // The others of the group go up.
            TMessage pressed{CM_BUTTONPRESSED, static_cast<WPARAM>(group_index_),
                             reinterpret_cast<LPARAM>(this), 0};
            if (parent_) parent_->Broadcast(pressed);
        } else if (allow_all_up_) {
            SetDown(false);
        }
    }
    TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& message) {
    if (message.Msg == CM_BUTTONPRESSED && message.LParam != reinterpret_cast<LPARAM>(this) &&
        group_index_ > 0 && static_cast<int>(message.WParam) == group_index_) {
        SetDown(false);
        return;  // Result 0: the broadcast goes on to the other buttons
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    RECT rect = ClientRect();
    if (!transparent_) canvas.FillRect(rect, color_);
    const bool sunken = down_ || pressed_;
    if (flat_) {
        // Flat: no frame at rest; raised while the pointer is over it, sunken when pressed.
        RECT frame = rect;
        if (sunken)
            canvas.Frame3D(frame, clBtnShadow, clBtnHighlight);
        else if (Hot())
            canvas.Frame3D(frame, clBtnHighlight, clBtnShadow);
    } else {
        RECT frame = rect;
        canvas.Frame3D(frame, sunken ? clBtnShadow : clBtnHighlight,
                       sunken ? clBtnHighlight : clBtnShadow);
    }
    if (sunken) OffsetRect(&rect, 1, 1);
    if (!glyph_.Empty()) {
        // The image for the state: 2 disabled, 3 pressed, 4 down, where the strip has them.
        int image = 1;
        if (!enabled_ && num_glyphs_ > 1) image = 2;
        if (pressed_ && num_glyphs_ > 2) image = 3;
        if (down_ && num_glyphs_ > 3) image = 4;
        const int width = glyph_.Width() / num_glyphs_;
        TBitmap part(width, glyph_.Height());
        BitBlt(part.DC(), 0, 0, width, glyph_.Height(), glyph_.DC(), width * (image - 1), 0,
               SRCCOPY);
        canvas.DrawTransparent((RectWidth(rect) - width) / 2 + rect.left,
                               (RectHeight(rect) - glyph_.Height()) / 2 + rect.top, part);
    }
    PaintCaption(canvas, rect);
}

void TSpeedButton::PaintCaption(TCanvas& canvas, const RECT& rect) {
    if (caption_.empty()) return;
    RECT textRect = rect;
    if (!enabled_) canvas.Font.SetColor(clGrayText);
    canvas.DrawText(caption_, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && enabled_) {
        tracking_ = true;
        pressed_ = true;
        Repaint();
    }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!tracking_) return;
    RECT client = ClientRect();
    const bool inside = PtInRect(&client, POINT{x, y}) != FALSE;
    if (inside != pressed_) {
        pressed_ = inside;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == TMouseButton::mbLeft && tracking_) {
        tracking_ = false;
        pressed_ = false;
        Invalidate();
    }
}

void TSpeedButton::CMMouseEnter(TMessage& message) {
    TGraphicControl::CMMouseEnter(message);
    if (flat_ && enabled_) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& message) {
    TGraphicControl::CMMouseLeave(message);
    if (flat_ && enabled_) Invalidate();
}

}  // namespace quillory::ui
