// What the flat style needs of the menus and the canvas: platform positions,
// radio and right-to-left items, image lists that may go away, a bar that is
// measured again, the system menu font, and pixel-exact drawing calls.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dpi_test_support.h"
#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/image_list.h"
#include "ui/menus.h"
#include "ui/std_controls.h"
#include "win_test_support.h"

namespace quillory::ui {
namespace {

using testing::Pump;
using testing::TestApplication;

struct MenusCanvasTest : ::testing::Test {
    void SetUp() override {
        TestApplication();
        form.reset(Create<TForm>(Application));
        form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
        menu = Create<TMainMenu>(form.get());
    }
    void TearDown() override { form.reset(); }
    TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
        auto* item = Create<TMenuItem>(form.get());
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    UINT ItemType(HMENU handle, int position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(handle, position, TRUE, &info);
        return info.fType;
    }
    std::unique_ptr<TForm> form;
    TMainMenu* menu = nullptr;
};

// An item's index is its position in the platform menu; radio and
// right-to-left items reach that menu as such; image lists are forgotten when freed.
TEST_F(MenusCanvasTest, MenuIndexRadioRightToLeftItemsAndImageListsOfAMenu) {
    TMenuItem* game = Item(menu->Items(), "&Game");
    TMenuItem* first = Item(game, "First");
    TMenuItem* hidden = Item(game, "Hidden");
    TMenuItem* last = Item(game, "Last");
    hidden->SetVisible(false);
    first->SetRadioItem(true);
    form->SetMenu(menu);
    form->Show();
    Pump();
    EXPECT_EQ(first->MenuIndex(), 0);
    EXPECT_EQ(hidden->MenuIndex(), -1);
    ASSERT_EQ(last->MenuIndex(), 1);
    EXPECT_EQ(GetMenuItemID(game->Handle(), last->MenuIndex()), last->Command());
    RECT rect{};
    EXPECT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), game->MenuIndex(), &rect));
    EXPECT_TRUE(ItemType(game->Handle(), 0) & MFT_RADIOCHECK);
    EXPECT_FALSE(ItemType(game->Handle(), 1) & MFT_RADIOCHECK);
    EXPECT_FALSE(menu->RightToLeft());
    menu->SetRightToLeft(true);
    EXPECT_TRUE(ItemType(game->Handle(), 1) & MFT_RIGHTORDER);

    // Image lists of menus and items are forgotten when freed.
    auto* images = Create<TImageList>(form.get(), 16, 16);
    auto* subImages = Create<TImageList>(form.get(), 16, 16);
    menu->SetImages(images);
    game->SetSubMenuImages(subImages);
    EXPECT_EQ(menu->Images(), images);
    EXPECT_EQ(game->SubMenuImages(), subImages);
    delete images;
    delete subImages;
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_EQ(game->SubMenuImages(), nullptr);
}

// Owner-drawn bar items that change the bar's height (Wine keeps a bar item's
// height but lets wide items wrap the bar onto more rows): the client area
// keeps its size, and a new caption on the bar is measured again.
TEST_F(MenusCanvasTest, AHigherOwnerDrawnBarKeepsTheClientSizeAndIsMeasuredAgain) {
    int measured = 0;
    for (const char* caption : {"&Game", "&Options", "About"}) {
        TMenuItem* item = Item(menu->Items(), caption);
        Item(item, "Run");
        item->OnMeasureItem = [&](TMenuItem*, TCanvas&, int& width, int& height) {
            ++measured;
            width = 200;
            height = 40;
        };
    }
    form->SetMenu(menu);
    form->SetClientSize(316, 223);
    auto* status = Create<TStatusBar>(form.get());
    status->SetBounds(0, 204, 316, 19);
    status->SetParent(form.get());
    form->Show();
    Pump();
    MENUBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetMenuBarInfo(form->Handle(), OBJID_MENU, 0, &bar));
    const int plainBar = RectHeight(bar.rcBar);
    menu->SetOwnerDraw(true);
    Pump();
    EXPECT_GT(measured, 0);
    ASSERT_TRUE(GetMenuBarInfo(form->Handle(), OBJID_MENU, 0, &bar));
    EXPECT_GT(RectHeight(bar.rcBar), plainBar) << "the wide items take more than one row";
    EXPECT_EQ(form->ClientHeight(), 223);
    EXPECT_EQ(form->ClientWidth(), 316);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_LE(status->Top() + status->Height(), client.bottom) << "the status bar is whole";

    measured = 0;
    menu->Items()->Items(0)->SetCaption("&Play");
    Pump();
    EXPECT_GT(measured, 0) << "the bar was measured again for the new caption";
    EXPECT_EQ(form->ClientHeight(), 223);
}

// Windows matches no "&" letter of an owner-drawn entry (Wine does): it asks the
// menu's owner, the form or, for a popup menu, the application window.
// Windows measures an owner-drawn entry once (Wine at every opening): after a scale change, or
// made on a screen at another scale than it was laid out at, a form sets every entry anew, which
// has Windows measure it, and lays out its bar; read back where each entry's type was cleared.
TEST_F(MenusCanvasTest, OwnerDrawnMenusAnswerTheirLettersAndAreSetAnewAtAScaleChange) {
    TMenuItem* game = Item(menu->Items(), "&Game");
    Item(game, "New game");
    Item(game, "E&xit");
    for (const char* caption : {"&Options", "&Go"}) Item(menu->Items(), caption);
    auto* popup = Create<TPopupMenu>(form.get());
    Item(popup->Items(), "&Save");
    Item(popup->Items(), "S&top")->SetEnabled(false);
    menu->SetOwnerDraw(true);
    popup->SetOwnerDraw(true);
    form->SetMenu(menu);
    int barMeasuredAt = 0;
    game->OnMeasureItem = [&](TMenuItem*, TCanvas&, int&, int&) { barMeasuredAt = form->Dpi(); };
    MENUITEMINFOA plain{};
    plain.cbSize = sizeof(plain);
    plain.fMask = MIIM_FTYPE;
    const HMENU menus[] = {menu->Handle(), game->Handle(), popup->Handle()};
    testing::ScopedDpiPlatform platform(144);
    for (const int dpi : {144, 192}) {
        for (HMENU handle : menus) SetMenuItemInfoA(handle, 0, TRUE, &plain);
        if (!form->HandleAllocated())
            form->HandleNeeded();  // laid out at 96, shown at 144
        else
            SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        for (HMENU handle : menus) EXPECT_TRUE(ItemType(handle, 0) & MFT_OWNERDRAW) << dpi;
        EXPECT_EQ(barMeasuredAt, dpi);
    }
    HiliteMenuItem(form->Handle(), menu->Handle(), 0, MF_BYPOSITION | MF_HILITE);
    auto ask = [](HWND owner, HMENU asked, WORD flags, char typed) {
        return SendMessageA(owner, WM_MENUCHAR, MAKEWPARAM(typed, flags),
                            reinterpret_cast<LPARAM>(asked));
    };
    HWND application = Application->Handle();
    EXPECT_EQ(ask(form->Handle(), menu->Handle(), 0, 'O'), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(ask(form->Handle(), menu->Handle(), 0, 'g'), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(ask(form->Handle(), game->Handle(), MF_POPUP, 'x'), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(ask(application, popup->Handle(), MF_POPUP, 's'), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(ask(application, popup->Handle(), MF_POPUP, 't'), MAKELRESULT(1, MNC_SELECT));
    EXPECT_EQ(ask(form->Handle(), nullptr, MF_SYSMENU, 'x'),
              DefWindowProcA(form->Handle(), WM_MENUCHAR, MAKEWPARAM('x', MF_SYSMENU), 0));
}

TEST_F(MenusCanvasTest, SystemMenuFontIsThePlatformsAndFollowsASettingChange) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(SystemMenuFont().Name(), metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(SystemMenuFont().Height(), metrics.lfMenuFont.lfHeight) << "the height as it is";
    EXPECT_EQ(&SystemMenuFont(), &SystemMenuFont()) << "one font, read once";

    // A new menu font for this session only (not written to the profile).
    NONCLIENTMETRICSA changed = metrics;
    changed.lfMenuFont.lfHeight = metrics.lfMenuFont.lfHeight < 0 ? -21 : 21;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(changed), &changed, 0));
    const int before = SystemMenuFont().Height();
    EXPECT_EQ(before, metrics.lfMenuFont.lfHeight) << "not read again on its own";
    SendMessageA(Application->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(SystemMenuFont().Height(), changed.lfMenuFont.lfHeight);
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    SendMessageA(Application->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(SystemMenuFont().Height(), metrics.lfMenuFont.lfHeight);
}

TEST_F(MenusCanvasTest, CanvasShapesBitmapPixelsTransparentDrawsAndText) {
    TBitmap bitmap(40, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.FillRect(RECT{0, 0, 40, 40}, clWhite);
    canvas.PenColor = clNavy;
    canvas.Polyline({POINT{2, 2}, POINT{10, 2}, POINT{10, 8}});
    EXPECT_EQ(bitmap.Pixel(2, 2), ColorToRGB(clNavy));
    EXPECT_EQ(bitmap.Pixel(10, 7), ColorToRGB(clNavy));
    EXPECT_EQ(bitmap.Pixel(10, 8), RGB(255, 255, 255)) << "the last point is left out";

    canvas.BrushColor = clRed;
    canvas.RoundRect(20, 20, 30, 30, 4, 4);
    EXPECT_EQ(bitmap.Pixel(20, 20), RGB(255, 255, 255)) << "a rounded corner stays outside";
    EXPECT_EQ(bitmap.Pixel(25, 20), ColorToRGB(clNavy)) << "outline in the pen";
    EXPECT_EQ(bitmap.Pixel(25, 25), ColorToRGB(clRed)) << "inside in the brush";
    canvas.BrushStyle = TBrushStyle::bsClear;
    canvas.Rectangle(RECT{0, 30, 10, 40});
    EXPECT_EQ(bitmap.Pixel(5, 35), RGB(255, 255, 255)) << "no fill with a clear brush";
    EXPECT_EQ(canvas.BitsPerPixel(), 32);

    canvas.SetPixelColor(39, 0, clMoneyGreen);
    EXPECT_EQ(canvas.Pixel(39, 0), ColorToRGB(clMoneyGreen));
    EXPECT_EQ(bitmap.ScanLine(25)[25], 0x00FF0000u) << "memory holds 0x00RRGGBB: red";

    RECT frame{0, 0, 40, 40};
    canvas.Frame3D(frame, clBlue, clBlack);
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(39, 39), RGB(0, 0, 0));
    EXPECT_EQ(bitmap.Pixel(39, 0), RGB(0, 0, 0)) << "the top-right corner belongs to the dark side";
    EXPECT_EQ(frame.left, 1);
    bitmap.SetSize(3, 3);
    EXPECT_EQ(bitmap.Pixel(1, 1), RGB(0, 0, 0)) << "a new size starts from a cleared picture";
    EXPECT_EQ(bitmap.Pixel(3, 0), CLR_INVALID);

    // A transparent draw leaves the bottom-left colour out.
    TBitmap image(4, 4);
    image.Canvas().FillRect(RECT{0, 0, 4, 4}, RGB(255, 0, 255));
    image.Canvas().FillRect(RECT{1, 1, 3, 3}, clBlue);
    TBitmap target(8, 8);
    target.Canvas().FillRect(RECT{0, 0, 8, 8}, clWhite);
    target.Canvas().DrawTransparent(2, 2, image);
    EXPECT_EQ(target.Pixel(2, 2), RGB(255, 255, 255)) << "the key colour is not drawn";
    EXPECT_EQ(target.Pixel(3, 3), ColorToRGB(clBlue));
    target.Canvas().DrawTransparent(2, 2, image, clBlue);
    EXPECT_EQ(target.Pixel(2, 2), RGB(255, 0, 255)) << "an explicit key leaves the rest drawn";

    // DrawTextEx measures and draws with the canvas's font.
    TBitmap text(120, 30);
    TCanvas& writer = text.Canvas();
    writer.Font.SetName("Tahoma");
    writer.Font.SetHeight(-11);
    RECT measured{0, 0, 0, 0};
    writer.DrawTextEx("New game", measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(RectWidth(measured), writer.TextWidth("New game"));
    EXPECT_EQ(RectHeight(measured), writer.TextHeight("New game"));

    writer.FillRect(RECT{0, 0, 120, 30}, clWhite);
    writer.Font.SetColor(clRed);
    RECT area{0, 0, 120, 30};
    writer.DrawTextEx("&Game", area, DT_SINGLELINE);
    bool red = false;
    for (int y = 0; y < 30 && !red; ++y)
        for (int x = 0; x < 120 && !red; ++x) red = text.Pixel(x, y) == RGB(255, 0, 0);
    EXPECT_TRUE(red) << "the text in the font's colour";
}

TEST_F(MenusCanvasTest, DrawingCreatesNoGdiObjectAndDcsAreHeldOnlyWhileNeeded) {
    TBitmap bitmap(20, 20);
    const GdiOwnerCounts before = LiveGdiOwners();
    for (int i = 0; i < 100; ++i) {
        bitmap.Canvas().PenColor = static_cast<TColor>(i);
        bitmap.Canvas().Rectangle(0, 0, 10, 10);
        bitmap.Canvas().Polyline({POINT{0, 0}, POINT{5, 5}});
    }
    EXPECT_EQ(LiveGdiOwners().Objects, before.Objects);

    form->HandleNeeded();
    try {
        TWindowCanvas canvas(form->Handle());
        ASSERT_TRUE(canvas.Valid());
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts + 1);
        throw std::runtime_error("painting failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts);

    // The board's 600 speed buttons each carry an empty glyph: none of them
    // may hold a DC for it. A bitmap gets its DC with its first picture.
    {
        std::vector<std::unique_ptr<TBitmap>> bitmaps;
        for (int i = 0; i < 50; ++i) bitmaps.push_back(std::make_unique<TBitmap>());
        for (int i = 0; i < 50; ++i) {
            auto* button = Create<TSpeedButton>(form.get());
            button->SetBounds(i * 4, 0, 4, 4);
            button->SetParent(form.get());
        }
        bitmaps[0]->SetSize(0, 0);
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts);

        TBitmap& drawn = *bitmaps[1];
        drawn.SetSize(4, 3);
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts + 1);
        ASSERT_NE(drawn.DC(), nullptr);
        EXPECT_EQ(drawn.Canvas().Handle(), drawn.DC());
        drawn.Canvas().FillRect(RECT{0, 0, 4, 3}, clRed);
        EXPECT_EQ(drawn.Pixel(3, 2), RGB(255, 0, 0));
        drawn.SetSize(0, 0);
        drawn.SetSize(2, 2);
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts + 1) << "one DC for life";

        TBitmap copy;
        copy.Assign(drawn);
        EXPECT_EQ(copy.Width(), 2);
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts + 2);
        TBitmap emptyCopy;
        emptyCopy.Assign(*bitmaps[2]);
        EXPECT_TRUE(emptyCopy.Empty());
        EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts + 2);
    }
    EXPECT_EQ(LiveGdiOwners().DeviceContexts, before.DeviceContexts);
}

TEST_F(MenusCanvasTest, PanelBevelsAndGroupedSpeedButtonsOnAPanel) {
    auto* panel = Create<TPanel>(form.get());
    panel->SetBounds(0, 0, 40, 30);
    panel->SetParent(form.get());
    panel->SetBevelOuter(TBevelCut::bvSpace);
    panel->SetBevelInner(TBevelCut::bvLowered);
    panel->SetBorderWidth(3);
    TBitmap picture;
    testing::RenderClient(*panel, picture);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(picture.Pixel(0, 5), light) << "a space bevel is drawn raised";
    EXPECT_EQ(picture.Pixel(39, 5), dark);
    EXPECT_EQ(picture.Pixel(2, 5), GetSysColor(COLOR_BTNFACE)) << "the border between the bevels";
    EXPECT_EQ(picture.Pixel(4, 5), dark) << "the lowered inner bevel after 1 + 3 pixels";
    EXPECT_EQ(picture.Pixel(35, 5), light);

    // Grouped speed buttons on a plain panel latch and show the image of their state.
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetBevelInner(TBevelCut::bvNone);
    panel->SetBorderWidth(0);
    panel->SetBounds(0, 0, 100, 40);
    TSpeedButton* buttons[2];
    for (int i = 0; i < 2; ++i) {
        buttons[i] = Create<TSpeedButton>(form.get());
        buttons[i]->SetBounds(4 + 30 * i, 4, 24, 24);
        buttons[i]->SetGroupIndex(1);
        buttons[i]->SetParent(panel);
    }
    buttons[0]->Click();
    EXPECT_TRUE(buttons[0]->Down());
    buttons[1]->Click();
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_FALSE(buttons[0]->Down()) << "one of a group is down";
    buttons[1]->Click();
    EXPECT_TRUE(buttons[1]->Down()) << "without AllowAllUp a click keeps it down";
    buttons[1]->SetAllowAllUp(true);
    buttons[1]->Click();
    EXPECT_FALSE(buttons[1]->Down());

    // Four 8 x 8 images: red, green, blue, yellow on a magenta key; down shows the fourth.
    const TColor colours[] = {clRed, RGB(0, 255, 0), clBlue, RGB(255, 255, 0)};
    TBitmap& glyph = buttons[0]->Glyph();
    glyph.SetSize(32, 8);
    glyph.Canvas().FillRect(RECT{0, 0, 32, 8}, RGB(255, 0, 255));
    for (int i = 0; i < 4; ++i)
        glyph.Canvas().FillRect(RECT{8 * i + 2, 2, 8 * i + 6, 6}, colours[i]);
    buttons[0]->SetNumGlyphs(4);
    buttons[0]->SetDown(true);
    testing::RenderClient(*panel, picture);
    EXPECT_EQ(picture.Pixel(4 + 12, 4 + 12), ColorToRGB(colours[3])) << "the down image";
    buttons[0]->SetDown(false);
    buttons[0]->SetEnabled(false);
    testing::RenderClient(*panel, picture);
    EXPECT_EQ(picture.Pixel(4 + 12, 4 + 12), ColorToRGB(colours[1])) << "the disabled image";
}

}  // namespace
}  // namespace quillory::ui
