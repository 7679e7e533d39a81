// The flat button on a real form: its looks read back from painted pixels as
// the pointer moves, presses, drags and releases, in groups, disabled, with
// glyph strips and captions.
#include "widgets/shade_button.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/shade_math.h"
#include "widget_test_support.h"

namespace quillory::widgets {
namespace {

using testing::Fill;
using testing::MouseAt;
using testing::Pump;
using testing::PumpUntil;
using testing::RenderClient;
using testing::Rgb;

constexpr ui::TColor kFace = clSkyBlue;
constexpr ui::TColor kMagenta = 0x00FF00FF;
constexpr ui::TColor kRed = 0x000000FF;
constexpr ui::TColor kStrip[4] = {0x000000C0, 0x0000C000, 0x00C00000, 0x0000C0C0};

// The frame's edges, its two odd corners and one face pixel, as painted.
struct Look {
    COLORREF Top, Left, Right, Bottom, TopRight, BottomLeft, Face;
};

Look ReadLook(TShadeButton& button, POINT facePixel = POINT{-1, -1}) {
    ui::TBitmap bitmap;
    RenderClient(button, bitmap);
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    if (facePixel.x < 0) facePixel = POINT{w / 2, h / 2};
    return {bitmap.Pixel(w / 2, 0),
            bitmap.Pixel(0, h / 2),
            bitmap.Pixel(w - 1, h / 2),
            bitmap.Pixel(w / 2, h - 1),
            bitmap.Pixel(w - 1, 0),
            bitmap.Pixel(0, h - 1),
            bitmap.Pixel(facePixel.x, facePixel.y)};
}

// A pixel as the window shows it.
COLORREF OnWindow(TShadeButton& button, int x, int y) {
    ui::WindowDC dc(button.Handle());
    return GetPixel(dc.Get(), x, y);
}

void ExpectFlat(const Look& look, ui::TColor border, ui::TColor face) {
    for (COLORREF edge :
         {look.Top, look.Left, look.Right, look.Bottom, look.TopRight, look.BottomLeft})
        EXPECT_EQ(edge, Rgb(border));
    EXPECT_EQ(look.Face, Rgb(face));
}

// Light edges first (left and top), dark ones second; the top-right and
// bottom-left corners belong to the second stroke.
void ExpectFramed(const Look& look, ui::TColor first, ui::TColor second, ui::TColor face) {
    EXPECT_EQ(look.Top, Rgb(first));
    EXPECT_EQ(look.Left, Rgb(first));
    EXPECT_EQ(look.Right, Rgb(second));
    EXPECT_EQ(look.Bottom, Rgb(second));
    EXPECT_EQ(look.TopRight, Rgb(second));
    EXPECT_EQ(look.BottomLeft, Rgb(second));
    EXPECT_EQ(look.Face, Rgb(face));
}

// One form for the whole suite: hiding an active window costs Wine seconds
// without a window manager.
class ShadeButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared_form = testing::ShownForm().release(); }
    static void TearDownTestSuite() {
        delete shared_form;
        shared_form = nullptr;
    }
    void SetUp() override {
        form = shared_form;
        SetForegroundWindow(form->Handle());
        Pump();
    }
    void TearDown() override {
        SetCursorPos(0, 0);
        for (TShadeButton* button : buttons) delete button;
        form->SetColor(clBtnFace);
        form->SetModalResult(ui::mrNone);
        Pump();
    }

    TShadeButton* AddButton(int left, int top, int width, int height) {
        auto* button = ui::Create<TShadeButton>(form);
        buttons.push_back(button);
        button->SetParent(form);
        button->SetBounds(left, top, width, height);
        button->SetColor(kFace);
        button->OnClick = [this, button](ui::TComponent* sender) {
            EXPECT_EQ(sender, button);
            clicks.push_back(button);
        };
        Pump();
        return button;
    }
    static POINT Centre(TShadeButton& b) { return POINT{b.Width() / 2, b.Height() / 2}; }
    void HoverOver(TShadeButton& b) { MouseAt(b, WM_MOUSEMOVE, Centre(b).x, Centre(b).y); }
    void Press(TShadeButton& b) {
        MouseAt(b, WM_LBUTTONDOWN, Centre(b).x, Centre(b).y, MK_LBUTTON);
    }
    void Release(TShadeButton& b) { MouseAt(b, WM_LBUTTONUP, Centre(b).x, Centre(b).y); }
    void ClickOn(TShadeButton& b) {
        HoverOver(b);
        Press(b);
        Release(b);
    }
    // Puts the pointer on the bare form and waits for the hover watch to notice.
    bool PointerAway(TShadeButton& b) {
        const POINT away = testing::ScreenPoint(*form, 300, 180);
        SetCursorPos(away.x, away.y);
        return PumpUntil([&] { return !b.Hot(); });
    }

    static inline ui::TForm* shared_form = nullptr;
    ui::TForm* form = nullptr;
    std::vector<TShadeButton*> buttons;
    std::vector<TShadeButton*> clicks;
};

TEST_F(ShadeButtonTest, CreationDefaultsAndTheSharedCount) {
    const int before = TShadeButton::ButtonCount();
    auto* button = ui::Create<TShadeButton>(form);
    EXPECT_EQ(TShadeButton::ButtonCount(), before + 1);
    button->SetName("ShadeButton1");
    button->SetParent(form);
    EXPECT_EQ(button->Width(), 25);
    EXPECT_EQ(button->Height(), 25);
    EXPECT_TRUE(button->ParentColor());
    EXPECT_EQ(button->Color(), form->Color()) << "the parent's colour";
    EXPECT_EQ(button->ShadeButtonState(), stUp);
    EXPECT_TRUE(button->Caption().empty()) << "not taken from the name";
    delete button;
    EXPECT_EQ(TShadeButton::ButtonCount(), before);
}

TEST_F(ShadeButtonTest, LevelBarAtRestHotPressedAndReleased) {
    TShadeButton& bar = *AddButton(8, 8, 9, 73);
    ExpectFlat(ReadLook(bar), bar.ColorBorder(), kFace);

    HoverOver(bar);
    EXPECT_TRUE(bar.Hot());
    EXPECT_EQ(TShadeButton::HoverButton(), &bar);
    ExpectFramed(ReadLook(bar), clWhite, clBlack, bar.ColorFocused());

    Press(bar);
    EXPECT_EQ(bar.ShadeButtonState(), stPressed);
    EXPECT_TRUE(bar.Pressing());
    EXPECT_EQ(GetCapture(), bar.Handle()) << "a release outside must reach the button";
    ExpectFramed(ReadLook(bar), clBlack, clWhite, bar.ColorDown());
    EXPECT_TRUE(clicks.empty()) << "no click before the release";

    Release(bar);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(bar.ShadeButtonState(), stUp);
    EXPECT_FALSE(bar.Pressing());
    EXPECT_NE(GetCapture(), bar.Handle());
    EXPECT_TRUE(bar.Hot()) << "the pointer is still over it";
    ExpectFramed(ReadLook(bar), clWhite, clBlack, bar.ColorFocused());

    ASSERT_TRUE(PointerAway(bar)) << "the hover watch lets go of a button the pointer left";
    EXPECT_EQ(TShadeButton::HoverButton(), nullptr);
    ExpectFlat(ReadLook(bar), bar.ColorBorder(), kFace);
    UpdateWindow(bar.Handle());
    EXPECT_EQ(OnWindow(bar, 0, 0), Rgb(bar.ColorBorder())) << "the real paint path agrees";
    EXPECT_EQ(OnWindow(bar, 4, 36), Rgb(kFace));
    HoverOver(bar);
    EXPECT_EQ(OnWindow(bar, 0, 0), clWhite) << "entering repaints at once";
    EXPECT_EQ(OnWindow(bar, 4, 36), Rgb(bar.ColorFocused()));

    // Straight onto a neighbour: the hot look moves at once, not at the next hover tick.
    TShadeButton& next = *AddButton(17, 8, 9, 73);
    HoverOver(next);
    EXPECT_FALSE(bar.Hot());
    EXPECT_TRUE(next.Hot());
    EXPECT_EQ(TShadeButton::HoverButton(), &next);
    ExpectFlat(ReadLook(bar), bar.ColorBorder(), kFace);
    ExpectFramed(ReadLook(next), clWhite, clBlack, next.ColorFocused());
    EXPECT_TRUE(PointerAway(next));
}

TEST_F(ShadeButtonTest, DraggedOutAndBackClicksOnceReleasedOutsideNever) {
    TShadeButton& button = *AddButton(20, 20, 40, 30);
    HoverOver(button);
    Press(button);
    MouseAt(button, WM_MOUSEMOVE, -6, 50, MK_LBUTTON);
    EXPECT_EQ(button.ShadeButtonState(), stUp) << "dragged out";
    EXPECT_TRUE(button.Pressing());
    ExpectFramed(ReadLook(button), clWhite, clBlack, button.ColorFocused());
    MouseAt(button, WM_MOUSEMOVE, 39, 29, MK_LBUTTON);
    EXPECT_EQ(button.ShadeButtonState(), stPressed) << "and back";
    ExpectFramed(ReadLook(button), clBlack, clWhite, button.ColorDown());
    MouseAt(button, WM_LBUTTONUP, 39, 29);
    EXPECT_EQ(clicks.size(), 1u);

    Press(button);
    MouseAt(button, WM_MOUSEMOVE, 40, 10, MK_LBUTTON);  // the first column outside
    EXPECT_EQ(button.ShadeButtonState(), stUp);
    MouseAt(button, WM_LBUTTONUP, 45, 10);
    EXPECT_EQ(clicks.size(), 1u) << "released outside: no click";
    EXPECT_EQ(button.ShadeButtonState(), stUp);
    EXPECT_FALSE(button.Hot());
    EXPECT_FALSE(button.Pressing());
    EXPECT_EQ(TShadeButton::HoverButton(), nullptr);
    ExpectFlat(ReadLook(button), button.ColorBorder(), kFace);
}

TEST_F(ShadeButtonTest, GroupsLatchAndReleaseEachOther) {
    TShadeButton* group[3] = {AddButton(10, 10, 30, 30), AddButton(45, 10, 30, 30),
                              AddButton(80, 10, 30, 30)};
    TShadeButton& other = *AddButton(115, 10, 30, 30);
    for (TShadeButton* b : group) b->SetGroupIndex(1);
    other.SetGroupIndex(2);
    other.SetDown(true);
    ASSERT_TRUE(other.Down());

    ClickOn(*group[0]);
    EXPECT_TRUE(group[0]->Down());
    EXPECT_EQ(group[0]->ShadeButtonState(), stLatched);
    ExpectFramed(ReadLook(*group[0]), clBlack, clWhite, group[0]->ColorFocused());
    ASSERT_TRUE(PointerAway(*group[0]));
    ExpectFramed(ReadLook(*group[0]), clBlack, clWhite, group[0]->ColorDown());

    ClickOn(*group[1]);
    EXPECT_TRUE(group[1]->Down());
    EXPECT_FALSE(group[0]->Down()) << "the group's latched button goes up";
    EXPECT_EQ(group[0]->ShadeButtonState(), stUp);
    ExpectFlat(ReadLook(*group[0]), group[0]->ColorBorder(), kFace);
    EXPECT_TRUE(other.Down()) << "another group is not touched";

    ClickOn(*group[1]);
    EXPECT_TRUE(group[1]->Down()) << "without AllowAllUp a latched button stays down";
    EXPECT_EQ(group[1]->ShadeButtonState(), stLatched);
    EXPECT_EQ(clicks.size(), 3u) << "each release inside clicks";

    group[2]->SetAllowAllUp(true);
    EXPECT_TRUE(group[0]->AllowAllUp()) << "the group takes over AllowAllUp";
    EXPECT_TRUE(group[1]->AllowAllUp());
    EXPECT_FALSE(other.AllowAllUp());
    ClickOn(*group[1]);
    EXPECT_FALSE(group[1]->Down());
    EXPECT_EQ(group[1]->ShadeButtonState(), stUp);
    for (TShadeButton* b : group) EXPECT_FALSE(b->Down()) << "all up";

    group[2]->SetDown(true);
    EXPECT_EQ(group[2]->ShadeButtonState(), stLatched);
    group[0]->SetDown(true);
    EXPECT_FALSE(group[2]->Down()) << "setting Down releases the others too";
    group[0]->SetEnabled(false);
    ExpectFlat(ReadLook(*group[0]), group[0]->ColorBorder(), kFace);
    group[0]->SetEnabled(true);
    ExpectFramed(ReadLook(*group[0]), clBlack, clWhite, group[0]->ColorDown());
    EXPECT_EQ(group[0]->ShadeButtonState(), stLatched) << "re-enabled, latched again";

    auto* loose = AddButton(150, 10, 30, 30);
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down()) << "no group, no latching";
    PointerAway(*group[1]);
}

TEST_F(ShadeButtonTest, DisabledShowsTheEmbossedGlyphAndTheCaptionTwice) {
    TShadeButton& button = *AddButton(10, 10, 70, 40);
    ui::TBitmap glyph;
    Fill(glyph, 8, 8, kMagenta);
    glyph.Canvas().FillRect(RECT{1, 1, 3, 3}, clBlack);
    glyph.Canvas().FillRect(RECT{5, 5, 7, 7}, kRed);
    button.SetGlyph(glyph);
    button.SetLayout(blGlyphLeft);
    button.SetCaption("Go");
    button.Font().SetColor(clBlack);

    ui::TBitmap bitmap;
    RenderClient(button, bitmap);
    POINT g = button.GlyphOrigin();
    EXPECT_EQ(bitmap.Pixel(g.x + 1, g.y + 1), clBlack);
    EXPECT_EQ(bitmap.Pixel(g.x + 5, g.y + 5), kRed);
    EXPECT_EQ(bitmap.Pixel(g.x, g.y), kFace) << "the glyph's corner colour is transparent";
    const RECT text = button.TextRect();
    ASSERT_LT(text.right, 70);
    EXPECT_GT(text.left, g.x + 8) << "caption right of the glyph";

    auto countColour = [&](COLORREF colour) {
        int count = 0;
        for (int y = text.top; y <= text.bottom; ++y)
            for (int x = text.left; x <= text.right; ++x) count += bitmap.Pixel(x, y) == colour;
        return count;
    };
    EXPECT_GT(countColour(clBlack), 0) << "enabled: the caption in the font's colour";

    button.SetEnabled(false);
    EXPECT_EQ(button.ShadeButtonState(), stDisabled);
    EXPECT_FALSE(button.Hot());
    RenderClient(button, bitmap);
    g = button.GlyphOrigin();
    ExpectFlat(ReadLook(button, POINT{2, 2}), button.ColorBorder(), kFace);
    EXPECT_EQ(bitmap.Pixel(g.x + 1, g.y + 1), Rgb(clBtnShadow));
    EXPECT_EQ(bitmap.Pixel(g.x + 2, g.y + 2), Rgb(clBtnShadow));
    EXPECT_EQ(bitmap.Pixel(g.x + 3, g.y + 3), Rgb(clBtnHighlight));
    EXPECT_EQ(bitmap.Pixel(g.x + 3, g.y + 1), kFace);
    EXPECT_EQ(bitmap.Pixel(g.x + 5, g.y + 5), kFace) << "other detail of the glyph disappears";
    EXPECT_EQ(countColour(clBlack), 0) << "disabled: no caption in the font's colour";
    EXPECT_GT(countColour(Rgb(clBtnShadow)), 0);
    EXPECT_GT(countColour(Rgb(clBtnHighlight)), 0);

    HoverOver(button);
    Press(button);
    EXPECT_EQ(button.ShadeButtonState(), stDisabled) << "a disabled button does not press";
    Release(button);
    EXPECT_TRUE(clicks.empty());

    // With the pointer elsewhere, enabling asks for a paint later instead of painting now.
    const POINT away = testing::ScreenPoint(*form, 300, 180);
    SetCursorPos(away.x, away.y);
    button.SetEnabled(true);
    EXPECT_EQ(button.ShadeButtonState(), stDisabled) << "until the next paint";
    RenderClient(button, bitmap);
    EXPECT_EQ(button.ShadeButtonState(), stUp);
}

TEST_F(ShadeButtonTest, GlyphStripShowsOneImagePerState) {
    TShadeButton& button = *AddButton(10, 10, 40, 40);
    button.SetGroupIndex(3);
    button.SetAllowAllUp(true);
    ui::TBitmap strip;
    Fill(strip, 40, 10, clWhite);
    for (int i = 0; i < 4; ++i)
        strip.Canvas().FillRect(RECT{i * 10, 0, i * 10 + 10, 10}, kStrip[i]);
    strip.Canvas().SetPixelColor(0, 9, kMagenta);  // the transparent colour
    button.SetGlyph(strip);
    ASSERT_EQ(button.NumGlyphs(), 4);

    auto shown = [&] {
        ui::TBitmap bitmap;
        RenderClient(button, bitmap);
        const POINT g = button.GlyphOrigin();
        return bitmap.Pixel(g.x + 5, g.y + 5);
    };
    EXPECT_EQ(shown(), kStrip[0]);
    HoverOver(button);
    Press(button);
    EXPECT_EQ(shown(), kStrip[2]) << "pressed";
    Release(button);
    ASSERT_TRUE(button.Down());
    EXPECT_EQ(shown(), kStrip[3]) << "latched";
    button.SetEnabled(false);
    EXPECT_EQ(shown(), kStrip[1]) << "disabled";
    button.SetEnabled(true);

    ui::TBitmap three;
    Fill(three, 30, 10, clWhite);
    three.Canvas().CopyRect(RECT{0, 0, 30, 10}, strip.DC(), RECT{0, 0, 30, 10});
    button.SetGlyph(three);
    ASSERT_EQ(button.NumGlyphs(), 3);
    EXPECT_EQ(shown(), kStrip[2]) << "three images: latched shows the third";
    button.SetEnabled(false);
    EXPECT_EQ(shown(), kStrip[1]);
    button.SetEnabled(true);

    ui::TBitmap two;
    Fill(two, 20, 10, kStrip[0]);
    two.Canvas().FillRect(RECT{10, 0, 20, 10}, kStrip[1]);
    two.Canvas().SetPixelColor(0, 9, kMagenta);
    button.SetGlyph(two);
    ASSERT_EQ(button.NumGlyphs(), 2);
    EXPECT_EQ(shown(), kStrip[0]) << "two images: latched shows the first";
    button.SetEnabled(false);
    EXPECT_EQ(shown(), kStrip[1]);
    PointerAway(button);
}

TEST_F(ShadeButtonTest, NumGlyphsFollowsTheGlyphSizeMarginBelowMinusOneIsIgnored) {
    TShadeButton& button = *AddButton(10, 10, 60, 30);
    ui::TBitmap glyph;
    Fill(glyph, 64, 16, clWhite);
    button.SetGlyph(glyph);
    EXPECT_EQ(button.NumGlyphs(), 4);
    Fill(glyph, 80, 16, clWhite);
    button.SetGlyph(glyph);
    EXPECT_EQ(button.NumGlyphs(), 1) << "five images would be more than four";
    button.SetNumGlyphs(2);
    Fill(glyph, 40, 16, clWhite);
    button.SetGlyph(glyph);
    EXPECT_EQ(button.NumGlyphs(), 2) << "not a whole multiple: unchanged";
    Fill(glyph, 48, 16, clWhite);
    button.SetGlyph(glyph);
    EXPECT_EQ(button.NumGlyphs(), 3);

    Fill(glyph, 8, 8, clWhite);
    button.SetGlyph(glyph);
    button.SetLayout(blGlyphLeft);
    button.SetMargin(-5);
    EXPECT_EQ(button.Margin(), -1);
    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
    ReadLook(button);
    EXPECT_EQ(button.GlyphOrigin().x, 3);
    EXPECT_EQ(button.GlyphOrigin().y, (30 - 8 + 1) / 2);
    button.SetMargin(-1);
    ReadLook(button);
    EXPECT_EQ(button.GlyphOrigin().x, (60 - 8 + 1) / 2) << "-1 centres the glyph";

    HoverOver(button);
    Press(button);
    ReadLook(button);
    EXPECT_EQ(button.GlyphOrigin().x, (60 - 8 + 1) / 2 + 1) << "pressed content moves right";
    EXPECT_EQ(button.GlyphOrigin().y, (30 - 8 + 1) / 2 + 1) << "and down";
    Release(button);
    PointerAway(button);
}

TEST_F(ShadeButtonTest, DoubleClicksAccessKeysAndTheModalResult) {
    TShadeButton& button = *AddButton(10, 10, 60, 30);
    int doubleClicks = 0;
    button.OnDblClick = [&](ui::TComponent*) { ++doubleClicks; };
    HoverOver(button);
    Press(button);
    Release(button);
    MouseAt(button, WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
    EXPECT_EQ(button.ShadeButtonState(), stPressed) << "the second press presses again";
    Release(button);
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(doubleClicks, 0) << "only a latched button reports double clicks";

    button.SetGroupIndex(1);
    button.SetAllowAllUp(true);
    Press(button);
    Release(button);
    ASSERT_TRUE(button.Down());
    MouseAt(button, WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
    EXPECT_EQ(doubleClicks, 1);
    Release(button);

    button.SetCaption("&Go");
    EXPECT_EQ(button.Perform(ui::CM_DIALOGCHAR, 'g'), 1);
    EXPECT_EQ(clicks.size(), 5u);
    EXPECT_EQ(button.Perform(ui::CM_DIALOGCHAR, 'o'), 0);
    button.SetCaption("Rock&&Roll");
    EXPECT_EQ(button.Perform(ui::CM_DIALOGCHAR, 'r'), 0) << "&& is a plain ampersand";
    button.SetCaption("&Go");
    button.SetEnabled(false);
    EXPECT_EQ(button.Perform(ui::CM_DIALOGCHAR, 'G'), 0);
    EXPECT_EQ(clicks.size(), 5u);
    button.SetEnabled(true);

    button.SetModalResult(ui::mrOk);
    button.Click();
    EXPECT_EQ(form->ModalResult(), ui::mrOk);
    PointerAway(button);
}

TEST_F(ShadeButtonTest, AutoShadesDeriveFromTheParentColour) {
    constexpr ui::TColor kParent = 0x00407090;
    TShadeButton& button = *AddButton(10, 10, 30, 30);
    const ui::TColor focused = button.ColorFocused();
    form->SetColor(kParent);
    EXPECT_EQ(button.Color(), kFace) << "an own colour stays";
    button.SetShadeFocused(0);
    button.SetAutoShades(true);
    EXPECT_TRUE(button.ParentColor());
    EXPECT_EQ(button.Color(), kParent);
    EXPECT_EQ(button.ColorFocused(), focused) << "percentage 0 keeps the colour";
    EXPECT_EQ(button.ColorDown(), ShiftLightness(kParent, 0, 10, sdDarker));
    EXPECT_EQ(button.ColorBorder(), ShiftLightness(kParent, 0, 50, sdDarker));
    EXPECT_NE(button.ColorDown(), button.ColorBorder());

    constexpr ui::TColor kNewParent = 0x00A0C0E0;
    form->SetColor(kNewParent);
    EXPECT_EQ(button.Color(), kNewParent);
    EXPECT_EQ(button.ColorDown(), ShiftLightness(kNewParent, 0, 10, sdDarker));
    button.SetShadeFocused(20);
    EXPECT_EQ(button.ColorFocused(), ShiftLightness(kNewParent, 0, 20, sdLighter));
    ExpectFlat(ReadLook(button), button.ColorBorder(), kNewParent);

    button.SetAutoShades(false);
    EXPECT_FALSE(button.ParentColor());
    form->SetColor(kParent);
    EXPECT_EQ(button.ColorDown(), ShiftLightness(kNewParent, 0, 10, sdDarker))
        << "no longer derived";
}

// Rest, hot, pressed and disabled side by side, saved for a person to look at.
TEST_F(ShadeButtonTest, PictureOfTheFourLooks) {
    constexpr int kWidth = 72;
    constexpr int kHeight = 44;
    ui::TBitmap glyph;
    Fill(glyph, 12, 12, kMagenta);
    glyph.Canvas().FillRect(RECT{2, 2, 10, 4}, clBlack);
    glyph.Canvas().FillRect(RECT{2, 2, 4, 10}, clBlack);
    glyph.Canvas().FillRect(RECT{5, 5, 10, 10}, kRed);
    TShadeButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        buttons[i] = AddButton(10 + i * (kWidth + 6), 10, kWidth, kHeight);
        buttons[i]->SetColor(0x00E1EAEB);
        buttons[i]->SetGlyph(glyph);
        buttons[i]->SetLayout(blGlyphLeft);
        buttons[i]->SetCaption("&Level");
    }
    HoverOver(*buttons[2]);
    Press(*buttons[2]);
    HoverOver(*buttons[1]);  // steals the hot look, not the press
    buttons[3]->SetEnabled(false);

    ui::TBitmap sheet;
    Fill(sheet, 4 * (kWidth + 6) + 6, kHeight + 12, 0x00C8D0D4);
    for (int i = 0; i < 4; ++i) {
        ui::TBitmap one;
        RenderClient(*buttons[i], one);
        sheet.Canvas().Draw(6 + i * (kWidth + 6), 6, one);
    }
    EXPECT_EQ(buttons[1]->Hot(), true);
    EXPECT_EQ(buttons[2]->ShadeButtonState(), stPressed);
    EXPECT_EQ(sheet.Pixel(6 + kWidth + 6, 6), clWhite) << "hot: raised";
    EXPECT_EQ(sheet.Pixel(6 + 2 * (kWidth + 6), 6), clBlack) << "pressed: sunken";
    EXPECT_TRUE(testing::SaveBitmap(sheet, "shade_buttons.bmp"));
    MouseAt(*buttons[2], WM_LBUTTONUP, -50, -50);
    PointerAway(*buttons[1]);
}

}  // namespace
}  // namespace quillory::widgets
