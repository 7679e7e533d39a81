// The level dialog: its layout, the gauge and caption after clicks, the
// message on closing, and where it appears.
#include "dialogs/level_form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "level_test_support.h"
#include "ui/std_controls.h"

namespace quillory::testing {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(LevelFormTest, LayoutAsDesigned) {
    Open();
    // Its frame and its sizes at every scale: scores/dialogs_dpi_test.
    EXPECT_EQ(ui::ColorToRGB(dialog_->Color()), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dialog_->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(dialog_->Font().Height(), -11);

    ui::TButton* ok = dialog_->Button1;
    EXPECT_EQ(dialog_->FindComponent("Button1"), ok);
    const RECT okBounds = ChildBounds(ok->Handle());
    EXPECT_EQ(okBounds.left, 39);
    EXPECT_EQ(okBounds.top, 88);
    EXPECT_EQ(ui::RectWidth(okBounds), 75);
    EXPECT_EQ(ui::RectHeight(okBounds), 25);
    EXPECT_EQ(WindowText(ok->Handle()), "OK");
    EXPECT_FALSE(ok->Default());
    EXPECT_FALSE(ok->Cancel());

    const int lefts[] = {8, 24, 40, 56, 72, 88, 104, 120, 136};
    const int tops[] = {72, 64, 56, 48, 40, 32, 24, 16, 8};
    const int heights[] = {9, 17, 25, 33, 41, 49, 57, 65, 73};
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE("bar " + std::to_string(n));
        auto* bar = dynamic_cast<widgets::TShadeButton*>(
            dialog_->FindComponent("ShadeButton" + std::to_string(n)));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Owner(), dialog_.get());
        EXPECT_EQ(bar->Parent(), dialog_.get());
        EXPECT_EQ(bar->Tag(), n);
        const RECT bounds = ChildBounds(bar->Handle());
        EXPECT_EQ(bounds.left, lefts[n - 1]);
        EXPECT_EQ(bounds.top, tops[n - 1]);
        EXPECT_EQ(ui::RectWidth(bounds), 9);
        EXPECT_EQ(ui::RectHeight(bounds), heights[n - 1]);
        EXPECT_EQ(bounds.bottom, 81);
        EXPECT_EQ(ui::ColorToRGB(bar->ColorFocused()), GetSysColor(COLOR_HOTLIGHT));
        EXPECT_EQ(ui::ColorToRGB(bar->ColorDown()), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(ui::ColorToRGB(bar->ColorBorder()), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(bar->ParentColor(), n > 7);
        const BarLook look = ShownLook(*bar);
        EXPECT_EQ(look.Frame, GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(look.Face, n <= 7 ? kBlack : GetSysColor(COLOR_BTNFACE));
    }
}

// A row: the bar clicked or the key to the focused control, the level before and after.
TEST_F(LevelFormTest, ClicksAndKeysSetLevelGaugeAndCaptionAtOnce) {
    Open();
    const std::tuple<int, WORD, int, int> rows[] = {
        {0, '3', 7, 3},      {0, VK_LEFT, 3, 2}, {0, VK_DOWN, 2, 1},    {0, VK_LEFT, 1, 1},
        {0, VK_RIGHT, 1, 2}, {0, VK_UP, 2, 3},   {0, VK_NUMPAD9, 3, 9}, {0, VK_UP, 9, 9},
        {0, '0', 9, 9},      {3, 0, 9, 3},       {9, 0, 3, 9},          {1, 0, 9, 1},
        {5, 0, 1, 5},        {0, VK_DOWN, 5, 4}, {0, VK_ESCAPE, 4, 4}};
    for (const auto& [bar, key, before, level] : rows) {
        SCOPED_TRACE(::testing::Message() << "bar " << bar << ", key " << key);
        ASSERT_EQ(game_.Level, before);
        if (bar != 0) ClickBar(bar);  // no message pumped: the click itself repaints the gauge
        if (key != 0) PostKey(key);
        if (key != 0) Pump();
        EXPECT_EQ(game_.Level, level);
        EXPECT_EQ(WindowText(dialog_->Handle()), "Level " + std::to_string(level));
        EXPECT_EQ(IsWindowVisible(dialog_->Handle()) == FALSE, key == VK_ESCAPE);
        for (int n = 1; n <= 9 && key != VK_ESCAPE; ++n) {
            const BarLook look = ShownLook(*dialog_->LevelBar(n));
            EXPECT_EQ(look.Face, n <= level ? kBlack : GetSysColor(COLOR_BTNFACE)) << "bar " << n;
            EXPECT_EQ(look.Frame, GetSysColor(COLOR_3DDKSHADOW)) << "bar " << n;
        }
    }
    EXPECT_TRUE(dialog_->LevelChanged());
}

// Closed by its button or its caption, the dialog says something only after
// clicks during a game, once and only on closing; the level is the last click's.
TEST_F(LevelFormTest, ClosingReportsClicksDuringAGameOnce) {
    struct Case {
        const char* what;
        bool playing;
        std::vector<int> clicks;
        bool byCaption;
        int level;
        std::size_t messages;  // so far
    } const cases[] = {{"no click during a game", true, {}, false, 7, 0},
                       {"a click without a game", false, {2}, true, 2, 0},
                       {"clicks during a paused game", true, {4, 6}, true, 6, 1}};
    AnsweredDialogs messages("OK");
    for (const Case& c : cases) {
        game_.Level = 7;
        game_.Playing = game_.Paused = c.playing;
        Open();
        for (int bar : c.clicks) ClickBar(bar);
        EXPECT_EQ(messages.Texts.size(), 0u) << c.what << ": nothing until the dialog closes";
        if (c.byCaption)
            CloseByCaption();
        else
            SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_EQ(messages.Texts.size(), c.messages) << c.what;
        EXPECT_EQ(game_.Level, c.level) << c.what;
        EXPECT_EQ(game_.Paused, c.playing) << c.what << ": closing does not resume the game";
        EXPECT_FALSE(IsWindowVisible(dialog_->Handle())) << c.what;
        EXPECT_TRUE(IsWindowEnabled(main_->Handle())) << c.what;
    }
    EXPECT_EQ(messages.Captions, std::vector<std::string>{"Information"});
    EXPECT_EQ(messages.Texts.back(), "Changes will take effect when you start new game");
    EXPECT_TRUE(messages.OnlyOk);
}

TEST_F(LevelFormTest, ChoosingTheSameLevelCountsAndEachShowingStartsAfresh) {
    AnsweredDialogs messages("OK");
    game_.Playing = true;
    Open();
    ClickBar(7);
    EXPECT_EQ(game_.Level, 7);
    SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(messages.Texts.size(), 1u);

    // The dialog shows what the last click left, not what Level says now.
    game_.Level = 4;
    Open();
    EXPECT_FALSE(dialog_->LevelChanged());
    EXPECT_EQ(WindowText(dialog_->Handle()), "Level 7");
    SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(messages.Texts.size(), 1u);
    EXPECT_EQ(game_.Level, 4);
}

TEST(LevelCentring, HalvesTruncateTowardZero) {
    EXPECT_EQ(CentredOver(Rect{100, 100, 422, 369}, Size{158, 146}), (Point{182, 161}));
    // -5 / 2 is -2, not -3; -7 / 2 is -3.
    EXPECT_EQ(CentredOver(Rect{0, 0, 100, 100}, Size{105, 107}), (Point{-2, -3}));
    EXPECT_EQ(CentredOver(Rect{-40, 10, 60, 30}, Size{50, 21}), (Point{-15, 10}));
}

TEST_F(LevelFormTest, CentredOverMainWindowByOuterSizes) {
    Open();
    const RECT own = WindowRect(dialog_->Handle());
    const int width = ui::RectWidth(own);
    const int height = ui::RectHeight(own);
    EXPECT_TRUE(IsWindowVisible(dialog_->Handle()));
    EXPECT_FALSE(IsWindowEnabled(main_->Handle()));
    SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();

    // Whatever this system's frame makes of the dialog's outer size: a main
    // window 60 and 30 pixels larger has it 30 and 15 in; 41 and 21 larger
    // leaves half pixels, and it goes to the nearer corner (20 and 10 in).
    main_->SetBounds(kMainLeft, kMainTop, width + 60, height + 30);
    Open();
    EXPECT_EQ(WindowRect(dialog_->Handle()).left, kMainLeft + 30);
    EXPECT_EQ(WindowRect(dialog_->Handle()).top, kMainTop + 15);
    SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    main_->SetBounds(kMainLeft, kMainTop, width + 41, height + 21);
    Open();
    const RECT odd = WindowRect(dialog_->Handle());
    EXPECT_EQ(odd.left, kMainLeft + 20);
    EXPECT_EQ(odd.top, kMainTop + 10);
    EXPECT_EQ(ui::RectWidth(odd), width) << "moved, not resized";
    EXPECT_EQ(ui::RectHeight(odd), height);
    SendMessageA(dialog_->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();

    // A main window narrower than the dialog at the screen's edge: the
    // dialog sticks out past it, unclamped.
    main_->SetBounds(0, 0, width - 41, height + 20);
    Open();
    const RECT moved = WindowRect(dialog_->Handle());
    EXPECT_EQ(moved.left, -20);  // -41 / 2
    EXPECT_EQ(moved.top, 10);
}

}  // namespace
}  // namespace quillory::testing
