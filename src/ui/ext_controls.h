// The framework's own controls: panel, band container (cool bar), label,
// bevel, image and speed button. Panels and cool bars are windows of our own
// class; the others are graphic controls painted by their parent.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/control.h"

namespace quillory::ui {

// The kinds of a panel's bevels; a "space" bevel is drawn as a raised one.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TPanel : public TWinControl {
public:
    const char* ClassName() const override { return "TPanel"; }
    explicit TPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return bevel_outer_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevel_inner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevel_width_; }
    void SetBevelWidth(int width);
    // The gap between the outer and the inner bevel.
    int BorderWidth() const { return border_width_; }
    void SetBorderWidth(int width);

protected:
    void Paint() override;

private:
    TBevelCut bevel_outer_ = TBevelCut::bvRaised;
    TBevelCut bevel_inner_ = TBevelCut::bvNone;
    int bevel_width_ = 1;
    int border_width_ = 0;
};

// One band of a cool bar: a row holding one control.
struct TCoolBand {
    TWinControl* Control = nullptr;
    int MinHeight = 25;
    int Width = 0;
};

// A container of bands over a background picture (tiled), or its colour when
// there is no picture.
class TCoolBar : public TWinControl {
public:
    const char* ClassName() const override { return "TCoolBar"; }
    explicit TCoolBar(TComponent* owner);

    TBitmap& Bitmap() { return bitmap_; }
    // Call after changing Bitmap() so the new picture is shown.
    void BitmapChanged() { Invalidate(); }
    int BandCount() const { return static_cast<int>(bands_.size()); }
    const TCoolBand& Bands(int index) const { return bands_[index]; }
    // Adds a band in fixed order below the others and places the control on it.
    void AddBand(TWinControl* control, int minHeight, int width);
    // A band's size, in pixels at the bar's scale.
    void SetBandSize(int index, int minHeight, int width);
    // The band's rectangle in the cool bar's client area.
    RECT BandRect(int index) const;

    static constexpr int kBandIndent = 2;  // the band's edge, left of its control, at 96 dpi

protected:
    void Paint() override;
    void DpiChanged(int oldDpi) override;

private:
    void LayoutBands();
    TBitmap bitmap_;
    std::vector<TCoolBand> bands_;
};

class TLabel : public TGraphicControl {
public:
    const char* ClassName() const override { return "TLabel"; }
    explicit TLabel(TComponent* owner);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value);
    // Height the caption needs at the current width.
    int TextHeightForWidth();

protected:
    void Paint() override;

private:
    UINT TextFormat() const;
    bool transparent_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool word_wrap_ = false;
};

enum class TBevelShape {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    const char* ClassName() const override { return "TBevel"; }
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = TBevelShape::bsBox;
    TBevelStyle style_ = TBevelStyle::bsLowered;
};

class TImage : public TGraphicControl {
public:
    const char* ClassName() const override { return "TImage"; }
    explicit TImage(TComponent* owner);

    // The picture; one named with SetPictureResource is read at this first request.
    TBitmap& Picture();
    void PictureChanged() { Invalidate(); }
    // A bitmap of the module's resources, read when the picture is first asked
    // for (painted, say) rather than now: a window that is seldom opened then
    // costs nothing at start-up. A picture set before is replaced.
    void SetPictureResource(HINSTANCE module, std::string name);
    // A shared icon (a system icon, say), drawn instead of the picture; not freed here.
    void SetIcon(HICON icon);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);

protected:
    void Paint() override;

private:
    TBitmap picture_;
    HINSTANCE resource_module_ = nullptr;
    std::string resource_name_;  // empty once read
    HICON icon_ = nullptr;
    bool stretch_ = false;
    bool center_ = false;
};

// Where a speed button's glyph sits beside its caption.
enum class TButtonGlyphLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSpeedButton : public TGraphicControl {
public:
    const char* ClassName() const override { return "TSpeedButton"; }
    explicit TSpeedButton(TComponent* owner);

    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool Hot() const { return mouse_inside_ && enabled_; }
    bool Pressed() const { return pressed_; }
    // No background of its own: the parent shows through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Buttons of one group (GroupIndex above 0, same parent) latch: a click
    // puts one down and the others up; AllowAllUp lets a click raise it again.
    int GroupIndex() const { return group_index_; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return allow_all_up_; }
    void SetAllowAllUp(bool value) { allow_all_up_ = value; }
    // A strip of NumGlyphs images side by side: up, disabled, pressed, down.
    TBitmap& Glyph() { return glyph_; }
    const TBitmap& Glyph() const { return glyph_; }
    void GlyphChanged() { Invalidate(); }
    int NumGlyphs() const { return num_glyphs_; }
    void SetNumGlyphs(int count);
    TButtonGlyphLayout Layout() const { return layout_; }
    void SetLayout(TButtonGlyphLayout layout);
    // Pixels between the glyph and the caption.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

    void Click() override;

protected:
    void Paint() override;
    // Draws the caption inside `rect`; a derived button may draw it differently.
    virtual void PaintCaption(TCanvas& canvas, const RECT& rect);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;

    void WndProc(TMessage& message) override;

private:
    bool flat_ = false;
    bool down_ = false;
    bool pressed_ = false;  // the left button went down on it and is held
    bool tracking_ = false;
    bool transparent_ = false;
    int group_index_ = 0;
    bool allow_all_up_ = false;
    TBitmap glyph_;
    int num_glyphs_ = 1;
    TButtonGlyphLayout layout_ = TButtonGlyphLayout::blGlyphLeft;
    int spacing_ = 4;
};

}  // namespace quillory::ui
