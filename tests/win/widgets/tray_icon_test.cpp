// The tray icon driven the way the shell drives it: callback messages to its
// hidden window. What it asks of the shell is caught at the seam, so the tests
// do not depend on a notification area being there.
#include "widgets/tray_icon.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ui/menus.h"
#include "widget_test_support.h"
#include "ui/image_list.h"

namespace quillory::widgets {
namespace {

using testing::IconColour;
using testing::Pump;
using testing::PumpUntil;
using testing::ShellCall;
using testing::ShellRecorder;
using testing::TestApplication;

constexpr int kIconSize = 16;
constexpr COLORREF kImageColours[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};

// A solid, opaque icon of one colour; the caller owns it.
HICON SolidIcon(COLORREF colour) {
    const std::uint32_t pixel =
        0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    std::vector<std::uint32_t> bits(kIconSize * kIconSize, pixel);
    std::vector<unsigned char> maskBits(kIconSize * kIconSize / 8, 0);
    ui::BitmapHandle colourBitmap(CreateBitmap(kIconSize, kIconSize, 1, 32, bits.data()));
    ui::BitmapHandle mask(CreateBitmap(kIconSize, kIconSize, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, mask.Get(), colourBitmap.Get()};
    return CreateIconIndirect(&info);
}

// The width of an icon's picture, or 0 for none.
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    ui::BitmapHandle mask(info.hbmMask);
    ui::BitmapHandle colour(info.hbmColor);
    BITMAP bitmap{};
    GetObjectA(mask.Get(), sizeof(bitmap), &bitmap);
    return bitmap.bmWidth;
}

// A picture from the resources is made when it is first asked for, once, at
// the size asked for; copies of a picture not made yet make their own.
TEST(TIconTest, AResourcePictureIsMadeAtItsFirstUse) {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    ui::TIcon icon;
    EXPECT_TRUE(icon.Empty());
    EXPECT_FALSE(icon.LoadFromResourceName(module, MAKEINTRESOURCEA(77)));
    EXPECT_FALSE(icon.LoadFromResourceName(module, "NOSUCHICON"));
    EXPECT_TRUE(icon.Empty()) << "nothing found, nothing taken";

    ASSERT_TRUE(icon.LoadFromResourceName(module, MAKEINTRESOURCEA(1), kIconSize));
    EXPECT_FALSE(icon.Empty());
    EXPECT_TRUE(icon.Pending());
    ui::TIcon copy;
    copy.Assign(icon);
    EXPECT_TRUE(copy.Pending()) << "copying does not make the picture";

    const HICON handle = icon.Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(icon.Pending());
    EXPECT_EQ(icon.Handle(), handle) << "made once";
    EXPECT_EQ(IconWidth(handle), kIconSize);
    EXPECT_TRUE(copy.Pending()) << "the copy has its own picture to make";
    EXPECT_NE(copy.Handle(), nullptr);
    EXPECT_NE(copy.Handle(), handle);

    ASSERT_TRUE(icon.LoadFromResourceName(module, MAKEINTRESOURCEA(1), 2 * kIconSize));
    EXPECT_EQ(IconWidth(icon.Handle()), 2 * kIconSize) << "the new size, not the old picture";
    EXPECT_FALSE(icon.LoadFromResourceName(module, MAKEINTRESOURCEA(77)));
    EXPECT_EQ(IconWidth(icon.Handle()), 2 * kIconSize) << "a failed load keeps the picture";

    // A handle given or copied in replaces a picture not made yet.
    ASSERT_TRUE(copy.LoadFromResourceName(module, MAKEINTRESOURCEA(1)));
    copy.TakeHandle(SolidIcon(kImageColours[2]));
    EXPECT_FALSE(copy.Pending());
    EXPECT_EQ(IconColour(copy.Handle()), kImageColours[2]);
    ASSERT_TRUE(copy.LoadFromResourceName(module, MAKEINTRESOURCEA(1)));
    ui::TIcon solid;
    solid.TakeHandle(SolidIcon(kImageColours[0]));
    copy.Assign(solid);
    EXPECT_FALSE(copy.Pending());
    EXPECT_EQ(IconColour(copy.Handle()), kImageColours[0]);
    ui::TIcon empty;
    copy.Assign(empty);
    EXPECT_TRUE(copy.Empty());
}

// A popup menu that notes where it would open instead of opening.
class RecordingPopupMenu : public ui::TPopupMenu {
public:
    RecordingPopupMenu(ui::TComponent* owner, std::vector<std::string>& log)
        : ui::TPopupMenu(owner), log_(log) {}
    void Popup(int x, int y) override {
        log_.push_back("popup");
        At = POINT{x, y};
    }
    POINT At{};

private:
    std::vector<std::string>& log_;
};

// One owner form for the whole suite: hiding an active window costs Wine
// seconds without a window manager. Menus and image lists of a test belong to
// `scratch`, freed after it.
class TrayIconTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared_form = testing::ShownForm().release(); }
    static void TearDownTestSuite() {
        delete shared_form;
        shared_form = nullptr;
    }
    void SetUp() override {
        form = shared_form;
        scratch = std::make_unique<ui::TComponent>(nullptr);
        tray = ui::Create<TTrayIcon>(form);
        tray->OnMouseDown = [this](ui::TComponent* sender, ui::TMouseButton button,
                                   ui::TShiftState shift, int x, int y) {
            EXPECT_EQ(sender, tray);
            Note(std::string("down:") + Name(button), shift, x, y);
        };
        tray->OnMouseUp = [this](ui::TComponent*, ui::TMouseButton button, ui::TShiftState shift,
                                 int x,
                                 int y) { Note(std::string("up:") + Name(button), shift, x, y); };
        tray->OnMouseMove = [this](ui::TComponent*, ui::TShiftState shift, int x, int y) {
            Note("move", shift, x, y);
        };
        tray->OnClick = [this](ui::TComponent*) { log.push_back("click"); };
        tray->OnDblClick = [this](ui::TComponent*) { log.push_back("dblclick"); };
    }
    void TearDown() override {
        delete tray;
        scratch.reset();
        Pump();
    }

    static const char* Name(ui::TMouseButton button) {
        switch (button) {
            case ui::TMouseButton::mbLeft: return "left";
            case ui::TMouseButton::mbRight: return "right";
            case ui::TMouseButton::mbMiddle: return "middle";
        }
        return "?";
    }
    void Note(const std::string& event, ui::TShiftState shift, int x, int y) {
        log.push_back(event);
        shifts.push_back(shift);
        POINT cursor{};
        GetCursorPos(&cursor);
        EXPECT_EQ(x, cursor.x);
        EXPECT_EQ(y, cursor.y);
    }
    // What the shell would send when the mouse does something over the icon.
    void IconMouse(UINT mouseMessage) {
        SendMessageA(tray->MessageWindow(), TrayCallbackMessage, kTrayIconId, mouseMessage);
    }

    static inline ui::TForm* shared_form = nullptr;
    ShellRecorder shell;
    ui::TForm* form = nullptr;
    std::unique_ptr<ui::TComponent> scratch;
    TTrayIcon* tray = nullptr;
    std::vector<std::string> log;
    std::vector<ui::TShiftState> shifts;
};

using Log = std::vector<std::string>;

TEST_F(TrayIconTest, ShowUpdateHideGoToTheShellWithTheFirstFormOfTheRecord) {
    EXPECT_TRUE(shell.Calls.empty()) << "construction adds no icon";
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_TRUE(tray->Enabled());
    EXPECT_FALSE(tray->HasMessageWindow()) << "no hidden window before the shell hears of us";

    ui::TIcon icon;
    icon.TakeHandle(SolidIcon(kImageColours[1]));
    tray->SetIcon(icon);
    EXPECT_TRUE(shell.Calls.empty()) << "a change to an icon the shell never had goes nowhere";
    tray->SetIconVisible(true);
    ASSERT_TRUE(IsWindow(tray->MessageWindow()));
    ASSERT_EQ(shell.Versions.size(), 1u) << "the version that reports keys on the icon as keys";
    EXPECT_EQ(shell.Versions[0].Data.uVersion, 3u);
    EXPECT_GE(shell.Versions[0].Data.cbSize, offsetof(NOTIFYICONDATAA, uVersion) + sizeof(UINT));
    tray->SetHint("Quillory [BOSS MODE]");
    tray->SetIconVisible(false);
    tray->SetIconVisible(false);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE}))
        << "the second delete would find nothing to delete";
    const NOTIFYICONDATAA& added = shell.Calls[0].Data;
    EXPECT_EQ(added.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(added.hWnd, tray->MessageWindow());
    EXPECT_EQ(added.uID, 1u);
    EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.uCallbackMessage, 0x0800u);
    EXPECT_NE(added.hIcon, icon.Handle()) << "the component keeps its own copy";
    EXPECT_EQ(shell.Calls[0].IconColour, kImageColours[1]) << "the picture set before the add";
    EXPECT_EQ(shell.Calls[1].Tip(), "") << "ShowHint is off";
    EXPECT_FALSE(tray->IconVisible());

    shell.Calls.clear();
    shell.AddAnswer = shell.Answer = FALSE;
    EXPECT_FALSE(tray->ShowTrayIcon()) << "a refusal is only the result";
    EXPECT_TRUE(tray->IconVisible()) << "the flag follows the request";
    EXPECT_FALSE(tray->UpdateTrayIcon()) << "the shell refuses the change as well";
    shell.AddAnswer = shell.Answer = TRUE;
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}))
        << "a refused add may still have reached a busy shell";

    shell.Calls.clear();
    delete tray;
    tray = nullptr;
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}))
        << "the icon goes with the component";
}

// The main window's tray: a picture from the resources, a tip, hidden from its
// load step on, until boss mode. Nothing of that may cost the start-up a
// window, a picture or a call to the shell; the first add must still carry
// all of it.
TEST_F(TrayIconTest, AnIconThatStaysHiddenCostsNothingAndTheFirstAddCarriesEverything) {
    auto* hidden = ui::Create<TTrayIcon>(scratch.get());
    ui::TIcon picture;
    ASSERT_TRUE(
        picture.LoadFromResourceName(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), kIconSize));
    hidden->SetIcon(picture);
    hidden->SetHint("Quillory [BOSS MODE]");
    hidden->SetShowHint(true);
    hidden->SetIconVisible(false);
    hidden->Loaded();
    EXPECT_TRUE(shell.Calls.empty());
    EXPECT_FALSE(hidden->HasMessageWindow());
    EXPECT_TRUE(hidden->Icon().Pending()) << "the picture is not made before it is shown";

    ASSERT_TRUE(hidden->ShowTrayIcon());
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(shell.Calls[0].Tip(), "Quillory [BOSS MODE]");
    EXPECT_NE(shell.Calls[0].Data.hIcon, nullptr);
    EXPECT_NE(shell.Calls[0].IconColour, CLR_INVALID);
    EXPECT_EQ(shell.Calls[0].Data.hWnd, hidden->MessageWindow());
    EXPECT_TRUE(IsWindow(hidden->MessageWindow()));
    hidden->SetIconVisible(false);
    delete hidden;
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE})) << "deleted once";
}

TEST_F(TrayIconTest, TipIsTheHintCutToSixtyThreeCharactersOnlyWhenShown) {
    tray->SetIconVisible(true);
    const std::string longHint = std::string(40, 'a') + std::string(30, 'b');
    tray->SetHint(longHint);
    EXPECT_EQ(shell.Calls.back().Tip(), "") << "ShowHint is off";
    tray->SetShowHint(true);
    const ShellCall& cut = shell.Calls.back();
    EXPECT_EQ(cut.Tip(), longHint.substr(0, 63));
    EXPECT_EQ(cut.Data.szTip[63], '\0');
    EXPECT_EQ(tray->Hint(), longHint) << "the property keeps the whole text";

    const std::string exact(63, 'x');
    tray->SetHint(exact);
    EXPECT_EQ(shell.Calls.back().Tip(), exact);
    tray->SetHint("");
    for (char c : shell.Calls.back().Data.szTip) ASSERT_EQ(c, '\0') << "an empty tip is all zeros";
    tray->SetHint("short");
    tray->SetShowHint(false);
    for (char c : shell.Calls.back().Data.szTip) ASSERT_EQ(c, '\0');
    EXPECT_EQ(shell.Calls.back().Data.uFlags & NIF_TIP, static_cast<UINT>(NIF_TIP));

    // Hidden, the tip is still kept for the next add.
    tray->SetIconVisible(false);
    tray->SetShowHint(true);
    tray->SetHint(longHint);
    EXPECT_EQ(shell.Calls.back().Message, static_cast<DWORD>(NIM_DELETE));
    tray->SetIconVisible(true);
    EXPECT_EQ(shell.Calls.back().Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.Calls.back().Tip(), longHint.substr(0, 63));
}

TEST_F(TrayIconTest, MouseEventsComeInTheOrderOfTheIconsMessages) {
    SetCursorPos(123, 45);
    IconMouse(WM_LBUTTONDOWN);
    IconMouse(WM_LBUTTONUP);
    EXPECT_EQ(log, (Log{"down:left", "click", "up:left"}));
    EXPECT_EQ(shifts[0] & ui::ssLeft, ui::ssLeft);

    log.clear();
    IconMouse(WM_LBUTTONUP);
    EXPECT_EQ(log, (Log{"up:left"})) << "a release without a press is no click";

    log.clear();
    IconMouse(WM_LBUTTONDOWN);
    IconMouse(WM_LBUTTONUP);
    IconMouse(NIN_SELECT);  // the shell's, after a release: no second click
    IconMouse(WM_LBUTTONDBLCLK);
    IconMouse(WM_LBUTTONUP);
    IconMouse(NIN_SELECT);
    EXPECT_EQ(log, (Log{"down:left", "click", "up:left", "dblclick", "up:left"}));

    log.clear();
    IconMouse(NIN_KEYSELECT);  // Enter or Space on the icon chosen with the keyboard
    IconMouse(NIN_SELECT);     // Enter on the icon under the pointer
    EXPECT_EQ(log, (Log{"click", "click"}));

    log.clear();
    shifts.clear();
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE withCtrl[256];
    std::memcpy(withCtrl, keys, sizeof(keys));
    withCtrl[VK_CONTROL] = 0x80;
    SetKeyboardState(withCtrl);
    IconMouse(WM_RBUTTONDOWN);
    IconMouse(WM_RBUTTONUP);
    IconMouse(WM_CONTEXTMENU);
    IconMouse(WM_RBUTTONDBLCLK);
    IconMouse(WM_MBUTTONDOWN);
    IconMouse(WM_MBUTTONUP);
    IconMouse(WM_MOUSEMOVE);
    IconMouse(WM_MOUSEWHEEL);
    SetKeyboardState(keys);
    EXPECT_EQ(log, (Log{"down:right", "up:right", "down:middle", "up:middle", "move"}));
    ASSERT_EQ(shifts.size(), 5u);
    EXPECT_EQ(shifts[0], ui::ssCtrl | ui::ssRight);
    EXPECT_EQ(shifts[2], ui::ssCtrl | ui::ssMiddle);
    EXPECT_EQ(shifts[4], ui::ssCtrl) << "a move carries no button";

    log.clear();
    tray->SetEnabled(false);
    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEMOVE})
        IconMouse(m);
    EXPECT_TRUE(log.empty()) << "a disabled icon fires nothing";
    EXPECT_EQ(SendMessageA(tray->MessageWindow(), WM_QUERYENDSESSION, 0, 0), 1)
        << "never stands in the way of a log-off";
}

// The popup menu opens at the cursor after the mouse down; a double click
// runs its first default item, unless the left button opens the menu.
TEST_F(TrayIconTest, PopupMenuOpensAtTheCursorAndADoubleClickRunsItsDefaultItem) {
    auto* menu = ui::Create<RecordingPopupMenu>(scratch.get(), log);
    const char* names[3] = {"plain", "first default", "second default"};
    for (int i = 0; i < 3; ++i) {
        auto* item = ui::Create<ui::TMenuItem>(scratch.get());
        item->SetCaption(names[i]);
        item->SetDefault(i > 0);
        item->OnClick = [this, name = std::string(names[i])](ui::TComponent*) {
            log.push_back(name);
        };
        menu->Items()->Add(item);
    }
    tray->SetPopupMenu(menu);
    IconMouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(log, (Log{"dblclick", "first default"}));
    log.clear();
    SetCursorPos(200, 150);
    IconMouse(WM_LBUTTONDOWN);
    IconMouse(WM_LBUTTONUP);
    IconMouse(WM_RBUTTONDOWN);
    EXPECT_EQ(log, (Log{"down:left", "click", "up:left", "down:right", "popup"}));
    EXPECT_EQ(menu->At.x, 200);
    EXPECT_EQ(menu->At.y, 150);

    log.clear();
    tray->SetLeftPopup(true);
    IconMouse(WM_LBUTTONDOWN);
    EXPECT_EQ(log, (Log{"down:left", "popup"}));
    log.clear();
    IconMouse(WM_LBUTTONDBLCLK);
    EXPECT_EQ(log, (Log{"dblclick"})) << "not while the left button opens the menu";

    log.clear();
    tray->SetEnabled(false);
    IconMouse(WM_RBUTTONDOWN);
    EXPECT_TRUE(log.empty());
    tray->SetEnabled(true);

    delete menu;
    EXPECT_EQ(tray->PopupMenu(), nullptr) << "a freed menu is forgotten";
    IconMouse(WM_RBUTTONDOWN);
    EXPECT_EQ(log, (Log{"down:right"}));
}

TEST_F(TrayIconTest, CyclesThroughThreeImagesAndWrapsTheIndexStaysWithinTheList) {
    tray->SetIconVisible(true);
    tray->SetIconIndex(5);
    EXPECT_EQ(tray->IconIndex(), 0) << "no list, no index";
    auto* images = ui::Create<ui::TImageList>(scratch.get(), kIconSize, kIconSize);
    for (COLORREF colour : kImageColours) {
        ui::IconHandle icon(SolidIcon(colour));
        ASSERT_GE(images->AddIcon(icon.Get()), 0);
    }
    ASSERT_EQ(images->Count(), 3);
    tray->SetIconList(images);
    EXPECT_EQ(IconColour(tray->Icon().Handle()), kImageColours[0]);
    tray->SetIconIndex(7);
    EXPECT_EQ(tray->IconIndex(), 2) << "beyond the end: the last image";
    EXPECT_EQ(IconColour(tray->Icon().Handle()), kImageColours[2]);
    EXPECT_EQ(shell.Calls.back().IconColour, kImageColours[2]);
    tray->SetIconIndex(1);
    EXPECT_EQ(IconColour(tray->Icon().Handle()), kImageColours[1]);

    std::vector<COLORREF> shown;
    std::vector<int> next;
    tray->OnCycle = [&](ui::TComponent*, int nextIndex) {
        shown.push_back(IconColour(tray->Icon().Handle()));
        next.push_back(nextIndex);
    };
    tray->SetCycleInterval(15);
    tray->SetIconIndex(2);
    tray->SetCycleIcons(true);
    EXPECT_EQ(tray->IconIndex(), 0) << "cycling starts at the first image";
    ASSERT_TRUE(PumpUntil([&] { return shown.size() >= 5; }, std::chrono::milliseconds(3000)));
    tray->SetCycleIcons(false);
    shown.resize(5);
    next.resize(5);
    EXPECT_EQ(shown, (std::vector<COLORREF>{kImageColours[0], kImageColours[1], kImageColours[2],
                                            kImageColours[0], kImageColours[1]}));
    EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1, 2}));
    EXPECT_EQ(shell.Calls.back().Message, static_cast<DWORD>(NIM_MODIFY));

    const std::size_t ticks = shown.size();
    Pump(std::chrono::milliseconds(80));
    EXPECT_EQ(shown.size(), ticks) << "stopped";
    delete images;
    EXPECT_EQ(tray->IconList(), nullptr);
    EXPECT_EQ(tray->IconIndex(), 0);
}

// A restarted shell gets the visible icon back; when it refuses the icon,
// the owner hears of it once.
TEST_F(TrayIconTest, RestartedShellGetsTheVisibleIconBackOrTheOwnerHearsItWasLost) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    tray->OnIconLost = [this](ui::TComponent* sender) {
        EXPECT_EQ(sender, tray);
        log.push_back("lost");
    };
    tray->SetHint("Quillory [BOSS MODE]");
    tray->SetShowHint(true);
    tray->SetIconVisible(false);
    shell.Calls.clear();
    SendMessageA(tray->MessageWindow(), taskbarCreated, 0, 0);
    EXPECT_TRUE(shell.Calls.empty()) << "a hidden icon stays hidden";

    tray->SetIconVisible(true);
    shell.Calls.clear();
    SendMessageA(tray->MessageWindow(), taskbarCreated, 0, 0);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(shell.Calls[0].Tip(), "Quillory [BOSS MODE]");
    EXPECT_TRUE(log.empty()) << "taken back: nothing to tell";

    shell.AddAnswer = shell.Answer = FALSE;
    shell.Calls.clear();
    SendMessageA(tray->MessageWindow(), taskbarCreated, 0, 0);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(log, Log{"lost"});
    EXPECT_TRUE(tray->IconVisible()) << "the flag follows the request; the owner decides";

    shell.AddAnswer = shell.Answer = TRUE;
    tray->SetIconVisible(false);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}))
        << "the refused add may have reached the new shell all the same";
    SendMessageA(tray->MessageWindow(), taskbarCreated, 0, 0);
    EXPECT_EQ(log, Log{"lost"}) << "no icon was wanted, so none was lost";
}

// The program's start: the owner appears for the first time. Nothing was sent
// away, so nothing is brought forward (the owner is activated by its own
// showing); every later showing brings the owner forward, and only the owner.
TEST_F(TrayIconTest, TheOwnersFirstShowingAtTheStartBringsNothingForward) {
    std::unique_ptr<ui::TForm> owner(ui::Create<ui::TForm>(scratch.get()));
    owner->SetBounds(80, 80, 200, 120);
    ui::Create<TTrayIcon>(owner.get());
    for (bool again : {false, true}) {
        ShowWindow(owner->Handle(), SW_HIDE);
        SetForegroundWindow(form->Handle());
        ShowWindow(owner->Handle(), SW_SHOWNA);
        Pump();
        EXPECT_EQ(GetForegroundWindow() == owner->Handle(), again);
        EXPECT_FALSE(IsWindowVisible(TestApplication().Handle())) << "the button is the main form's";
    }
    owner.reset();
    Pump();
}

TEST_F(TrayIconTest, MinimisingOrStartingMinimisedSendsTheApplicationToTheTray) {
    ui::TApplication& app = TestApplication();
    ui::TForm* main = app.MainForm();
    std::unique_ptr<ui::TForm> created;
    if (!main) {
        main = app.CreateForm<ui::TForm>();
        created.reset(main);
    }
    tray->SetIconVisible(false);
    main->Show();
    shell.Calls.clear();
    tray->Loaded();
    EXPECT_TRUE(shell.Calls.empty()) << "hidden and never added: nothing to tell the shell";
    EXPECT_TRUE(app.ShowMainForm);
    SendMessageA(app.Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(shell.Calls.empty()) << "MinimizeToTray is off";
    EXPECT_TRUE(main->Visible());

    tray->SetMinimizeToTray(true);
    SendMessageA(app.Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(main->Visible());
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    SendMessageA(app.Handle(), WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(shell.Calls.size(), 1u) << "only minimising";

    // Started minimised, the load step hides the application and matches the icon.
    ShowWindow(app.Handle(), SW_SHOWNOACTIVATE);
    tray->SetStartMinimized(true);
    shell.Calls.clear();
    tray->Loaded();
    EXPECT_FALSE(app.ShowMainForm);
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_ADD}));
    app.ShowMainForm = true;
}

TEST_F(TrayIconTest, InADesignerTheIconOnlyShowsAsAPreview) {
    auto* designed = ui::Create<TTrayIcon>(form, true);
    shell.Calls.clear();
    designed->SetIconVisible(true);
    designed->SetHint("tip");
    EXPECT_TRUE(shell.Calls.empty());
    EXPECT_TRUE(designed->IconVisible());
    designed->SetDesignPreview(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    designed->SetHint("other");
    EXPECT_EQ(shell.Calls.back().Message, static_cast<DWORD>(NIM_MODIFY));
    designed->SetDesignPreview(false);
    EXPECT_EQ(shell.Calls.back().Message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(designed->IconVisible()) << "the preview does not change the setting";
    delete designed;
}

}  // namespace
}  // namespace quillory::widgets
