// The flat painters read back pixel by pixel, with the main window's colours
// worked out from the system's scheme and the colour arithmetic.
#include <gtest/gtest.h>

#include "control_fixture.h"

namespace quillory::styling {
namespace {

using testing::Capture;
using testing::HasColour;
using testing::NewStyledForm;
using testing::Pump;
using testing::Rgb;

struct ControlPaintTest : ::testing::Test {
    void SetUp() override {
        form = NewStyledForm(true);
        form->Show();
        Pump();
    }
    void TearDown() override { form.reset(); }
    TControlSubClass& Record(ui::TControl* control) {
        TControlSubClass* record = TControlSubClass::RecordOf(*control);
        EXPECT_NE(record, nullptr);
        return *record;
    }
    // Paints the control with the state given and takes a picture at once.
    void PaintNow(TControlSubClass& record, ui::TBitmap& picture, bool whole = false) {
        Pump();
        record.PaintControl();
        Capture(static_cast<ui::TWinControl*>(record.FControl)->Handle(), picture, whole);
    }
    std::unique_ptr<testing::TStyledForm> form;
};

// A push button of the game's style on a dialog, by state: the face, the soft
// outline and the dark edge line the style names for it. Focused comes first,
// so the states after it show that the focus was seen to go.
struct ButtonLook {
    const char* state;
    bool hot, focused;
    COLORREF Face, Outline, Edge;
};
const COLORREF kDialog = GetSysColor(COLOR_BTNFACE);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);
const COLORREF kLit = LightenColor(clNavy, 60);
const ButtonLook kLooks[] = {
    {"focused", false, true, clSkyBlue, LightenColor(kLit, 30), DarkenColor(kLit, 50)},
    {"normal", false, false, clSkyBlue, LightenColor(kShadow, 30), DarkenColor(kShadow, 50)},
    {"hot", true, false, LightenColor(kDialog, 40), LightenColor(kLit, 30), DarkenColor(kLit, 50)},
};
const ButtonLook &kRest = kLooks[1], &kHot = kLooks[2];

TEST_F(ControlPaintTest, ButtonIsFlatWithADarkEdgeBottomAndRightUnlessPressed) {
    TControlSubClass& record = Record(form->Button);
    form->Button->SetCaption("");
    ui::TBitmap shot;
    for (const ButtonLook& look : kLooks) {
        SCOPED_TRACE(look.state);
        if (look.focused)
            form->Button->SetFocus();
        else
            SetFocus(form->Handle());
        Pump();
        record.FHot = look.hot;
        PaintNow(record, shot);
        EXPECT_EQ(shot.Pixel(0, 0), kDialog) << "the corner outside the rounded face";
        EXPECT_EQ(shot.Pixel(37, 0), look.Outline) << "top";
        EXPECT_EQ(shot.Pixel(0, 12), look.Outline) << "left";
        EXPECT_EQ(shot.Pixel(74, 12), look.Edge) << "right";
        EXPECT_EQ(shot.Pixel(37, 24), look.Edge) << "bottom";
        EXPECT_EQ(shot.Pixel(37, 12), look.Face);
    }
    // Pressed by Space, or by the mouse over it: the dark edge top and left.
    record.FHot = false;
    record.FSpaceDown = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 12), kRest.Edge) << "space held: left dark";
    EXPECT_EQ(shot.Pixel(37, 0), kRest.Edge) << "top dark";
    EXPECT_EQ(shot.Pixel(74, 12), kRest.Outline) << "right soft";
    record.FSpaceDown = false;

    record.FLButtonDown = true;
    record.FHot = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 12), kHot.Edge) << "mouse held over it: pressed";
    // The mouse has left while the button is held: the raised look.
    record.FHot = false;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(74, 12), kRest.Edge);
    EXPECT_EQ(shot.Pixel(0, 12), kRest.Outline);
    record.FLButtonDown = false;
}

TEST_F(ControlPaintTest, ButtonWithTag1000TakesItsFaceFromItsParent) {
    form->OnPanel->SetTag(kParentFaceTag);
    form->Panel->SetColor(RGB(200, 100, 50));
    form->OnPanel->SetCaption("");
    TControlSubClass& record = Record(form->OnPanel);
    ui::TBitmap shot;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(37, 12), Rgb(LightenColor(RGB(200, 100, 50), 16)));
    EXPECT_EQ(shot.Pixel(0, 0), RGB(200, 100, 50)) << "the corner in the parent's colour";
    record.FHot = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(37, 12), Rgb(LightenColor(RGB(200, 100, 50), 40)));
    record.FHot = false;
}

TEST_F(ControlPaintTest, CaptionsOnDarkenedCopiesWhenDefaultOverflowingAndDisabled) {
    TControlSubClass& record = Record(form->Button);
    ui::TBitmap shot;
    const COLORREF softest = Rgb(DarkenColor(clSkyBlue, 30));
    form->Button->SetDefault(false);
    SetFocus(form->Handle());
    PaintNow(record, shot);
    EXPECT_FALSE(HasColour(shot, RECT{2, 2, 73, 23}, softest));
    form->Button->SetDefault(true);
    SetFocus(form->Handle());
    PaintNow(record, shot);
    EXPECT_TRUE(HasColour(shot, RECT{2, 2, 73, 23}, softest)) << "the copies under the caption";
    form->Button->SetDefault(false);

    // A caption wider than the button overflows both sides.
    form->Button->SetCaption("WWWWWWWWWWWWWWWWWWWW");
    PaintNow(record, shot);
    const COLORREF text = Rgb(clBtnText);
    EXPECT_TRUE(HasColour(shot, RECT{1, 3, 4, 22}, text)) << "starts left of the client area";
    EXPECT_TRUE(HasColour(shot, RECT{71, 3, 74, 22}, text));

    // Disabled: no dark edge, the caption in the disabled colour.
    form->Button->SetCaption("OK");
    form->Button->SetEnabled(false);
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(74, 12), kRest.Outline) << "no dark edge";
    EXPECT_EQ(shot.Pixel(37, 24), kRest.Outline);
    EXPECT_TRUE(HasColour(shot, RECT{20, 4, 55, 21}, Rgb(clMoneyGreen))) << "the caption";
    EXPECT_FALSE(HasColour(shot, RECT{20, 4, 55, 21}, Rgb(clBtnText)));
}

TEST_F(ControlPaintTest, EditAndListBoxFramesForEachBorderAndState) {
    TControlSubClass& record = Record(form->Edit);
    Pump();  // the first paint switched the 3-D edge off and built the window anew
    EXPECT_FALSE(form->Edit->Ctl3D());
    ASSERT_EQ(TControlSubClass::RecordOf(*form->Edit), &record) << "kept across the re-creation";
    ui::TBitmap shot;
    const COLORREF back = Rgb(clBtnFace);
    SetFocus(form->Handle());
    Pump();
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(DarkenColor(back, 60)));
    EXPECT_EQ(shot.Pixel(shot.Width() - 1, 5), Rgb(DarkenColor(back, 60)));
    record.FHot = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(LightenColor(clNavy, 60)));
    // No border of its own: invisible until the mouse is over it without focus.
    record.FOrgBorderStyle = 0;
    record.FHot = false;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(clWindow));
    record.FHot = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(LightenColor(AverageColors({Rgb(clWindow), back}), 40)));
    form->Edit->SetFocus();
    Pump();
    record.FHot = true;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(clWindow)) << "hot and focused: no frame";
    record.FOrgBorderStyle = 1;

    // A list box's frame, on the whole window.
    TControlSubClass& list = Record(form->List);
    EXPECT_FALSE(form->List->Ctl3D());
    PaintNow(list, shot, true);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(DarkenColor(back, 60))) << "single border";
    EXPECT_EQ(shot.Pixel(shot.Width() - 1, shot.Height() - 1), Rgb(DarkenColor(back, 60)));
    list.FHot = true;
    PaintNow(list, shot, true);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(LightenColor(clNavy, 60)));
    list.FOrgBorderStyle = 0;
    PaintNow(list, shot, true);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(LightenColor(clNavy, 80))) << "no border: lighter";
    list.FHot = false;
    PaintNow(list, shot, true);
    EXPECT_EQ(shot.Pixel(0, 0), back);
    list.FOrgBorderStyle = 1;
}

TEST_F(ControlPaintTest, PanelBevelsLoweredRaisedSpaceAndNone) {
    TControlSubClass& record = Record(form->Panel);
    form->Panel->SetColor(RGB(120, 140, 160));
    form->Panel->SetBevelWidth(2);
    const COLORREF dark = Rgb(DarkenColor(RGB(120, 140, 160), 60));
    const COLORREF light = Rgb(LightenColor(RGB(120, 140, 160), 60));
    ui::TBitmap shot;
    struct Case {
        ui::TBevelCut outer;
        COLORREF topLeft, bottomRight;
    } cases[] = {{ui::TBevelCut::bvLowered, dark, light},
                 {ui::TBevelCut::bvRaised, light, dark},
                 {ui::TBevelCut::bvSpace, light, dark}};
    for (const Case& c : cases) {
        form->Panel->SetBevelOuter(c.outer);
        form->Panel->SetBevelInner(ui::TBevelCut::bvNone);
        Pump();
        record.FLastMessage = WM_PAINT;
        PaintNow(record, shot);
        EXPECT_EQ(shot.Pixel(0, 30), c.topLeft);
        EXPECT_EQ(shot.Pixel(1, 30), c.topLeft) << "bevel width 2";
        EXPECT_EQ(shot.Pixel(119, 30), c.bottomRight);
        EXPECT_EQ(shot.Pixel(118, 30), c.bottomRight);
    }
    // An inner bevel after the border width.
    form->Panel->SetBevelOuter(ui::TBevelCut::bvRaised);
    form->Panel->SetBevelInner(ui::TBevelCut::bvLowered);
    form->Panel->SetBevelWidth(1);
    form->Panel->SetBorderWidth(3);
    Pump();
    record.FLastMessage = WM_PAINT;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(4, 30), dark) << "inner bevel at 1 + 3";
    EXPECT_EQ(shot.Pixel(115, 30), light);
    // Without bevels nothing is drawn; nor on anything but a paint message.
    form->Panel->SetBevelOuter(ui::TBevelCut::bvNone);
    form->Panel->SetBevelInner(ui::TBevelCut::bvNone);
    Pump();
    record.FLastMessage = WM_PAINT;
    PaintNow(record, shot);
    EXPECT_EQ(shot.Pixel(0, 30), RGB(120, 140, 160));
    form->Panel->SetBevelOuter(ui::TBevelCut::bvLowered);
    Pump();
    {
        ui::WindowDC dc(form->Panel->Handle());
        ui::TCanvas canvas(dc.Get());
        canvas.FillRect(RECT{0, 0, 120, 60}, clRed);
    }
    record.FLastMessage = WM_MOUSEMOVE;
    record.PaintControl();
    Capture(form->Panel->Handle(), shot);
    EXPECT_EQ(shot.Pixel(0, 30), Rgb(clRed)) << "only a paint message brings the flat bevels";
}

TEST_F(ControlPaintTest, DrawFrame3DDrawsWidthFramesAndShrinksTheRectangle) {
    ui::TBitmap bitmap(20, 20);
    bitmap.Canvas().FillRect(RECT{0, 0, 20, 20}, clWhite);
    RECT rect{2, 2, 18, 18};
    DrawFrame3D(bitmap.DC(), rect, clRed, clBlue, 2);
    EXPECT_EQ(rect.left, 4);
    EXPECT_EQ(rect.right, 16);
    EXPECT_EQ(bitmap.Pixel(2, 10), Rgb(clRed));
    EXPECT_EQ(bitmap.Pixel(3, 10), Rgb(clRed));
    EXPECT_EQ(bitmap.Pixel(17, 10), Rgb(clBlue));
    EXPECT_EQ(bitmap.Pixel(16, 10), Rgb(clBlue));
    EXPECT_EQ(bitmap.Pixel(10, 17), Rgb(clBlue));
    EXPECT_EQ(bitmap.Pixel(4, 10), RGB(255, 255, 255)) << "inside untouched";
}

// Speed buttons: graphic controls, painted in their parent's paint.
struct SpeedButtonPaintTest : ControlPaintTest {
    void Render(ui::TBitmap& picture) {
        Pump();
        testing::RenderClient(*form->Panel, picture);
    }
    COLORREF At(const ui::TBitmap& picture, int x, int y) {
        return picture.Pixel(form->Speed->Left() + x, form->Speed->Top() + y);
    }
};

TEST_F(SpeedButtonPaintTest, FlatButtonAtRestShowsOnlyItsParentAndLightsUpWhenHot) {
    ui::TSpeedButton* button = form->Speed;
    button->SetFlat(true);
    TControlSubClass& record = Record(button);
    ui::TBitmap shot;
    Render(shot);
    const COLORREF back = Rgb(form->Panel->Color());
    EXPECT_EQ(At(shot, 0, 0), back) << "outline in the face colour";
    EXPECT_EQ(At(shot, 12, 12), back);
    // Hot (the pointer over it): selection face, selection border.
    SetCursorPos(button->ClientToScreen(POINT{10, 10}).x, button->ClientToScreen(POINT{10, 10}).y);
    record.FHot = true;
    Render(shot);
    EXPECT_EQ(At(shot, 12, 12), Rgb(LightenColor(clSkyBlue, 68)));
    EXPECT_EQ(At(shot, 0, 12), Rgb(clNavy));
    // Down, and down while hot.
    button->SetGroupIndex(1);
    button->SetDown(true);
    record.FHot = false;
    Render(shot);
    EXPECT_EQ(At(shot, 12, 12), Rgb(LightenColor(clSkyBlue, 80)));
    SetCursorPos(button->ClientToScreen(POINT{10, 10}).x, button->ClientToScreen(POINT{10, 10}).y);
    record.FHot = true;
    Render(shot);
    EXPECT_EQ(At(shot, 12, 12), Rgb(LightenColor(clSkyBlue, 50)));
    // The pointer gone without notice: the next paint finds the button cold.
    button->SetDown(false);
    SetCursorPos(0, 0);
    Render(shot);
    EXPECT_FALSE(record.FHot);
    EXPECT_EQ(At(shot, 12, 12), back);
}

TEST_F(SpeedButtonPaintTest, TransparentFlatButtonAtRestDrawsOnlyItsCaption) {
    ui::TSpeedButton* button = form->Speed;
    button->SetFlat(true);
    button->SetTransparent(true);
    button->SetCaption("Go");
    button->Font().SetColor(RGB(0, 0, 160));
    form->Panel->SetColor(RGB(10, 200, 30));
    ui::TBitmap shot;
    Render(shot);
    // The caption's edges are smoothed into the parent's colour; the ring
    // where an outline would lie is the parent's alone.
    const int w = button->Width(), h = button->Height();
    int caption = 0, ring = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            caption += At(shot, x, y) == RGB(0, 0, 160);
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                ring += At(shot, x, y) != RGB(10, 200, 30);
        }
    EXPECT_GE(caption, 8) << "the caption in its font's colour";
    EXPECT_EQ(ring, 0) << "no outline";
    button->SetCaption("");
    // Not flat: an outline without a fill.
    button->SetFlat(false);
    Render(shot);
    EXPECT_EQ(At(shot, 12, 0), Rgb(LightenColor(Rgb(clBtnShadow), 30)));
    EXPECT_EQ(At(shot, 12, 12), RGB(10, 200, 30)) << "the inside shows the parent";
}

TEST_F(SpeedButtonPaintTest, GlyphImageForTheStateAndTheFourLayouts) {
    ui::TSpeedButton* button = form->Speed;
    button->SetBounds(40, 4, 60, 40);
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(150, 150, 0)};
    auto strip = [&](int count) {
        ui::TBitmap& glyph = button->Glyph();
        glyph.SetSize(8 * count, 8);
        glyph.Canvas().FillRect(RECT{0, 0, 8 * count, 8}, RGB(255, 0, 255));
        for (int i = 0; i < count; ++i)
            glyph.Canvas().FillRect(RECT{8 * i + 1, 1, 8 * i + 7, 7}, colours[i]);
        button->SetNumGlyphs(count);
    };
    TControlSubClass& record = Record(button);
    // One image: always the first, even when down.
    strip(1);
    button->SetGroupIndex(1);
    button->SetDown(true);
    ui::TBitmap shot;
    Render(shot);
    // Checked: no dimming; an empty caption centres the glyph: (60-8)/2 = 26, (40-8)/2-1 = 15.
    EXPECT_EQ(At(shot, 26 + 3, 15 + 1 + 3), colours[0]);
    strip(4);
    Render(shot);
    EXPECT_EQ(At(shot, 26 + 3, 15 + 1 + 3), colours[3]) << "down shows image 4";
    button->SetDown(false);
    record.FLButtonDown = true;
    Render(shot);
    EXPECT_EQ(At(shot, 26 + 3, 15 + 1 + 3), colours[2]) << "pressed shows image 3";
    record.FLButtonDown = false;

    // With a caption: glyph left, right, top, bottom of it.
    button->SetCaption("Go");
    button->SetSpacing(4);
    button->SetDown(true);  // no dimming
    struct Case {
        ui::TButtonGlyphLayout layout;
        bool rightToLeft;
        bool glyphLeftOfCentre, glyphAboveCentre, horizontal;
    } cases[] = {{ui::TButtonGlyphLayout::blGlyphLeft, false, true, false, true},
                 {ui::TButtonGlyphLayout::blGlyphRight, false, false, false, true},
                 {ui::TButtonGlyphLayout::blGlyphLeft, true, false, false, true},
                 {ui::TButtonGlyphLayout::blGlyphTop, false, false, true, false},
                 {ui::TButtonGlyphLayout::blGlyphBottom, false, false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.layout) * 10 + c.rightToLeft);
        button->SetLayout(c.layout);
        button->SetRightToLeft(c.rightToLeft);
        Render(shot);
        bool found = false;
        int gx = 0, gy = 0;
        for (int y = 0; y < 40 && !found; ++y)
            for (int x = 0; x < 60 && !found; ++x)
                if (At(shot, x, y) == colours[3]) {
                    found = true;
                    gx = x;
                    gy = y;
                }
        ASSERT_TRUE(found);
        if (c.horizontal) {
            EXPECT_EQ(gx < 26, c.glyphLeftOfCentre) << "glyph at " << gx;
            EXPECT_EQ(gx > 30, !c.glyphLeftOfCentre) << "glyph at " << gx;
        } else {
            EXPECT_EQ(gy < 15, c.glyphAboveCentre) << "glyph at " << gy;
            EXPECT_EQ(gy > 17, !c.glyphAboveCentre) << "glyph at " << gy;
        }
    }
    button->SetRightToLeft(false);
}

}  // namespace
}  // namespace quillory::styling
