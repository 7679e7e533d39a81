// Which controls are styled, what each message does to a styled control's
// record, and every way the styling ends or passes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "control_fixture.h"
#include "ui/dialogs.h"
#include "ui/system_library.h"

namespace quillory::styling {
namespace {

using testing::ModalActs;
using testing::NewStyledForm;
using testing::Pump;
using testing::TestApplication;

bool Styled(ui::TControl* control) {
    return TControlSubClass::RecordOf(*control) != nullptr;
}

// Controls with Tag 999, or in a parent with it, on a styled form.
class TTaggedForm : public ui::TForm {
public:
    explicit TTaggedForm(ui::TComponent* owner) : TForm(owner) {
        Outer = Make<ui::TPanel>(this, 999);
        InOuter = Make<ui::TButton>(Outer, 0);
        Inner = Make<ui::TPanel>(Outer, 0);
        InInner = Make<ui::TButton>(Inner, 0);
        Own = Make<ui::TButton>(this, 999);
        Skin = ui::Create<TMenuSkin>(this);
        testing::ApplyGameStyle(*Skin);
    }
    template <typename T>
    T* Make(ui::TWinControl* parent, LONG_PTR tag) {
        auto* control = ui::Create<T>(this);
        control->SetTag(tag);
        control->SetParent(parent);
        return control;
    }
    ui::TPanel *Outer, *Inner;
    ui::TButton *InOuter, *InInner, *Own;
    TMenuSkin* Skin;
};

TEST(ControlSelection, ExactPushButtonsDerivedEditsEveryContainerKindButTag999) {
    auto form = NewStyledForm();
    EXPECT_TRUE(Styled(form->Button));
    EXPECT_FALSE(Styled(form->Derived)) << "a derived push button draws itself";
    EXPECT_TRUE(Styled(form->Edit));
    EXPECT_TRUE(Styled(form->DerivedEdit)) << "a derived edit is still an edit";
    EXPECT_TRUE(Styled(form->List));
    EXPECT_TRUE(Styled(form->Panel));
    EXPECT_TRUE(Styled(form->OnPanel)) << "on a panel";
    EXPECT_FALSE(Styled(form->Speed)) << "speed buttons are left out, as on the main window";

    // Without panels among the containers the button on the panel is left alone.
    form->Skin->SetSkinContainers(kAllSkinContainers & ~SkinContainerBit(scPanel));
    EXPECT_FALSE(Styled(form->OnPanel));
    EXPECT_TRUE(Styled(form->Button));
    form->Skin->SetSkinContainers(kAllSkinContainers);
    EXPECT_TRUE(Styled(form->OnPanel));

    // Tag 999 keeps the control or its children unstyled, one level deep:
    // only the control's own Tag and its direct parent's count.
    std::unique_ptr<TTaggedForm> tagged(ui::Create<TTaggedForm>(ui::Application));
    EXPECT_FALSE(Styled(tagged->Outer));
    EXPECT_FALSE(Styled(tagged->InOuter)) << "its parent says 999";
    EXPECT_FALSE(Styled(tagged->Inner)) << "a panel in it too";
    EXPECT_TRUE(Styled(tagged->InInner)) << "only the direct parent counts";
    EXPECT_FALSE(Styled(tagged->Own));
}

struct ControlRecordTest : ::testing::Test {
    void SetUp() override {
        form = NewStyledForm();
        form->Show();
        Pump();
    }
    void TearDown() override { form.reset(); }
    TControlSubClass& Record(ui::TControl* control) {
        return *TControlSubClass::RecordOf(*control);
    }
    std::unique_ptr<testing::TStyledForm> form;
};

TEST_F(ControlRecordTest, FocusMouseAndEnabledChangesMoveTheHotStateAndRepaintWithoutLeaks) {
    TControlSubClass& record = Record(form->Button);
    form->Button->SetFocus();
    Pump();
    EXPECT_TRUE(record.FHot) << "focus";
    EXPECT_TRUE(record.FFocused);
    SetFocus(form->Edit->Handle());
    Pump();
    EXPECT_FALSE(record.FHot) << "focus gone";
    EXPECT_FALSE(record.FFocused);
    form->Button->Perform(ui::CM_MOUSEENTER);
    EXPECT_TRUE(record.FHot) << "mouse in";
    form->Button->Perform(ui::CM_MOUSELEAVE);
    EXPECT_FALSE(record.FHot) << "mouse out";
    form->Button->Perform(ui::CM_MOUSEENTER);
    form->Button->SetEnabled(false);
    EXPECT_FALSE(record.FHot) << "disabled";
    form->Button->Perform(ui::CM_MOUSEENTER);
    EXPECT_FALSE(record.FHot) << "a disabled control does not light up";
    form->Button->SetEnabled(true);
    const long before = TControlSubClass::PaintCount();
    form->Button->SetCaption("Again");
    EXPECT_GT(TControlSubClass::PaintCount(), before) << "a text change repaints";

    // Hovered five hundred times, the button is painted at every entry and
    // exit (a thousand paints) and keeps the GDI objects, the records and its handler.
    Pump();
    const ui::GdiOwnerCounts gdi = ui::LiveGdiOwners();
    const int records = TControlSubClass::LiveCount();
    const long paints = TControlSubClass::PaintCount();
    for (int i = 0; i < 500; ++i) {
        form->Button->Perform(ui::CM_MOUSEENTER);
        form->Button->Perform(ui::CM_MOUSELEAVE);
    }
    EXPECT_GE(TControlSubClass::PaintCount() - paints, 1000);
    EXPECT_EQ(ui::LiveGdiOwners().Objects, gdi.Objects);
    EXPECT_EQ(ui::LiveGdiOwners().DeviceContexts, gdi.DeviceContexts);
    EXPECT_EQ(TControlSubClass::LiveCount(), records);
    EXPECT_EQ(TControlSubClass::RecordOf(*form->Button), &record)
        << "one handler, still the record's";
}

TEST_F(ControlRecordTest, SpaceHeldPaintsOnceDespiteKeyRepeatAndTheMousePressesTheButton) {
    TControlSubClass& record = Record(form->Button);
    form->Button->SetFocus();
    Pump();
    const HWND button = form->Button->Handle();
    const long before = TControlSubClass::PaintCount();
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(record.FSpaceDown);
    EXPECT_TRUE(record.FSpacePainted) << "the pressed look is painted";
    EXPECT_GT(TControlSubClass::PaintCount(), before);
    // Key repeat: the space row itself paints no more; what the button redraws
    // of its own, through BM_SETSTATE, is another row's and all that paints.
    int setStates = 0;
    ui::TWndMethod inner = record.FOldWindowProc;
    record.FOldWindowProc = [&](ui::TMessage& message) {
        if (message.Msg == BM_SETSTATE) ++setStates;
        inner(message);
    };
    const long beforeRepeat = TControlSubClass::PaintCount();
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0x40390001);
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0x40390001);
    EXPECT_EQ(TControlSubClass::PaintCount() - beforeRepeat, setStates);
    record.FOldWindowProc = inner;
    EXPECT_TRUE(record.FSpaceDown);
    const long beforeUp = TControlSubClass::PaintCount();
    SendMessageA(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_FALSE(record.FSpaceDown);
    EXPECT_FALSE(record.FSpacePainted);
    EXPECT_GT(TControlSubClass::PaintCount(), beforeUp) << "release repaints";

    // The mouse: press, release, and a double click as a second press.
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(record.FLButtonDown);
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(record.FLButtonDown);
    std::vector<UINT> seen;
    record.FOldWindowProc = [&](ui::TMessage& message) {
        seen.push_back(message.Msg);
        inner(message);
    };
    SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(record.FLButtonDown) << "the double click pressed it again";
    const auto dbl = std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_LBUTTONDBLCLK));
    ASSERT_NE(dbl, seen.end());
    EXPECT_NE(std::find(dbl, seen.end(), static_cast<UINT>(WM_LBUTTONDOWN)), seen.end())
        << "a second press reached the control after the double click";
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    record.FOldWindowProc = inner;
    ReleaseCapture();
}

TEST_F(ControlRecordTest, AReCreatedWindowKeepsItsRecordAndADestroyedOneEndsIt) {
    TControlSubClass& record = Record(form->List);
    Pump();  // the first paint turned the 3-D edge off; the window came back
    EXPECT_EQ(TControlSubClass::RecordOf(*form->List), &record);
    EXPECT_FALSE(form->List->Ctl3D());
    form->List->SetCtl3D(true);
    EXPECT_TRUE(record.FKeepOnDestroy) << "told before the window goes";
    Pump();
    EXPECT_EQ(TControlSubClass::RecordOf(*form->List), &record) << "kept across it";
    EXPECT_FALSE(record.FKeepOnDestroy) << "the first paint of the new window clears it";
    // The form's window destroyed from outside: its controls' windows go
    // with no re-creation announced, and each ends its styling.
    const int records = TControlSubClass::LiveCount();
    DestroyWindow(form->Handle());
    EXPECT_FALSE(Styled(form->List));
    EXPECT_FALSE(Styled(form->Edit));
    EXPECT_LE(TControlSubClass::LiveCount(), records - 2);
}

TEST_F(ControlRecordTest, InactiveComponentEndsEachControlsStylingAtItsNextMessage) {
    const int records = TControlSubClass::LiveCount();
    ASSERT_TRUE(Styled(form->Edit));
    Pump();
    form->Skin->SetActive(false);
    // The edit still runs through its record until its next message; that
    // message's answer is the edit's own.
    const LRESULT length = SendMessageA(form->Edit->Handle(), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(length, static_cast<LRESULT>(form->Edit->Text().size())) << "the real answer, not 1";
    EXPECT_FALSE(Styled(form->Edit));
    EXPECT_TRUE(form->Edit->Ctl3D()) << "its 3-D look back";
    Pump();
    EXPECT_FALSE(Styled(form->Button));
    EXPECT_LT(TControlSubClass::LiveCount(), records);
}

// Themed under the game's manifest, Wine too: styled, a control (re-created
// windows too) has no visual style, no themed fade; unstyled, it has it back.
TEST(ControlTheme, StyledControlsDropTheVisualStyleUntilTheStylingEnds) {
    const auto theme =
        ui::SystemLibraryFunction<HANDLE(WINAPI*)(HWND)>("uxtheme.dll", "GetWindowTheme");
    auto form = NewStyledForm();
    form->Show();
    Pump();
    ASSERT_NE(theme(form->Derived->Handle()), nullptr) << "an unstyled button has its style";
    const std::initializer_list<ui::TWinControl*> kinds{form->Button, form->Edit, form->List};
    for (ui::TWinControl* control : kinds)
        EXPECT_EQ(theme(control->Handle()), nullptr) << control->ClassName();
    form->Skin->SetActive(false);
    for (ui::TWinControl* control : kinds) {
        SendMessageA(control->Handle(), WM_NULL, 0, 0);  // ends its styling
        EXPECT_NE(theme(control->Handle()), nullptr) << control->ClassName();
    }
}

// Two styling components: the records of the other forms pass to the next
// active one when the first goes; a form's controls get their handlers back.
class TPlainDialog : public ui::TForm {
public:
    explicit TPlainDialog(ui::TComponent* owner) : TForm(owner) {
        Button = ui::Create<ui::TButton>(this);
        Button->SetParent(this);
    }
    ui::TButton* Button;
};

TEST(ControlHandOver, RecordsPassToTheNextComponentAndRestoreGivesHandlersBack) {
    TestApplication();
    auto first = NewStyledForm();
    auto second = NewStyledForm();
    ASSERT_EQ(MenuSkinManager->ActiveSkin(), first->Skin);
    std::unique_ptr<TPlainDialog> dialog(ui::Create<TPlainDialog>(ui::Application));
    EXPECT_EQ(TControlSubClass::RecordOf(*dialog->Button), nullptr) << "queued, not yet styled";
    // The manager styles the new form at the application window's next message.
    SendMessageA(ui::Application->Handle(), WM_NULL, 0, 0);
    TControlSubClass* before = TControlSubClass::RecordOf(*dialog->Button);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->FSkin, first->Skin);

    first.reset();
    TControlSubClass* after = TControlSubClass::RecordOf(*dialog->Button);
    ASSERT_NE(after, nullptr) << "handed over, still styled";
    EXPECT_EQ(after->FSkin, second->Skin);
    EXPECT_EQ(after->Owner(), second->Skin);

    MenuSkinManager->RestoreFormControls(dialog.get());
    EXPECT_FALSE(Styled(dialog->Button));
    EXPECT_EQ(dialog->Button->Perform(WM_GETTEXTLENGTH), 0) << "the button's own handler answers";
    dialog.reset();
    second.reset();
}

bool AnyOwnerDrawn(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (GetMenuItemInfoA(menu, i, TRUE, &info) &&
            ((info.fType & MFT_OWNERDRAW) || (info.hSubMenu && AnyOwnerDrawn(info.hSubMenu))))
            return true;
    }
    return false;
}

// High contrast as the settings seam reports it (Wine's own answer is off):
// every form's menus and controls go back to the system, a dialog made or
// open meanwhile included, and come back as the program had chosen.
TEST(ControlHighContrast, TheStyleStepsAsideOnEveryFormAndComesBackAsChosen) {
    const int records = TControlSubClass::LiveCount();
    auto main = testing::NewMenuForm();      // the component that styles the others
    auto styled = NewStyledForm();           // controls under a component of their own
    auto plain = testing::NewMenuForm(false);
    std::unique_ptr<TPlainDialog> dialog(ui::Create<TPlainDialog>(ui::Application));
    auto idle = testing::NewMenuForm();
    idle->Skin->SetActive(false);            // the program's choice, to be kept
    styled->Show();
    SetFocus(styled->Edit->Handle());        // the OK button shows its resting face
    SendMessageA(ui::Application->Handle(), WM_NULL, 0, 0);
    std::unique_ptr<testing::ScopedSystemSettings> seam;
    auto contrast = [&](bool on, UINT message) {
        seam.reset();
        seam = std::make_unique<testing::ScopedSystemSettings>(false, on);
        SendMessageA(ui::Application->Handle(), message, on ? SPI_SETHIGHCONTRAST : 0, 0);
        Pump();
    };
    auto expectStyle = [&](bool on) {
        for (ui::TMenu* menu : {main->Menu, plain->Menu})
            EXPECT_EQ(AnyOwnerDrawn(menu->Handle()), on);
        EXPECT_EQ(TMenuSkin::HasSkinDrawHandler(*plain->NewGame), on);
        for (ui::TControl* control : std::initializer_list<ui::TControl*>{
                 styled->Button, styled->Edit, styled->List, styled->Panel, styled->OnPanel,
                 dialog->Button})
            EXPECT_EQ(Styled(control), on) << control->ClassName();
        if (!on) {
            EXPECT_EQ(TControlSubClass::LiveCount(), records) << "every record gone";
        }
        UpdateWindow(styled->Button->Handle());
        ui::TBitmap shot;
        testing::Capture(styled->Button->Handle(), shot);
        EXPECT_EQ(testing::HasColour(shot, RECT{0, 0, shot.Width(), shot.Height()},
                                     testing::Rgb(clSkyBlue)), on) << "the flat face";
        EXPECT_FALSE(AnyOwnerDrawn(idle->Menu->Handle()));
        EXPECT_TRUE(main->Skin->Active() && styled->Skin->Active() && !idle->Skin->Active());
    };
    expectStyle(true);
    contrast(true, WM_SETTINGCHANGE);
    expectStyle(false);
    EXPECT_TRUE(styled->Edit->Ctl3D()) << "its own look back";
    auto later = testing::NewMenuForm(false);
    SendMessageA(ui::Application->Handle(), WM_NULL, 0, 0);
    EXPECT_FALSE(AnyOwnerDrawn(later->Menu->Handle())) << "made under high contrast";

    ModalActs answer([&](ui::TForm& box) {
        auto* yes = static_cast<ui::TControl*>(box.FindComponent("Yes"));
        EXPECT_FALSE(Styled(yes)) << "made under high contrast";
        contrast(false, WM_SYSCOLORCHANGE);
        EXPECT_TRUE(Styled(yes));
        contrast(true, WM_SETTINGCHANGE);
        EXPECT_FALSE(Styled(yes));
        testing::ClickButton(box, "No");
    });
    ui::MessageDlg("Are you sure?", ui::TMsgDlgType::mtConfirmation, ui::mbYes | ui::mbNo);
    EXPECT_EQ(answer.shown, 1);
    contrast(false, WM_SYSCOLORCHANGE);
    expectStyle(true);
    EXPECT_TRUE(AnyOwnerDrawn(later->Menu->Handle()));
}

// A dialog is styled before it first paints: opening it makes the
// application window hear of it, and the manager styles it then. Records of
// run-time dialogs go with their controls: a hundred message dialogs leave
// records, handlers and GDI objects where they were (one left behind by each
// would show a hundred times over).
TEST(ControlLifetime, DialogsAreStyledBeforeTheirFirstPaintAndLeaveNothingBehind) {
    auto home = NewStyledForm();
    home->Show();
    Pump();
    bool styledAtShow = false, paintedFlat = false;
    std::optional<ModalActs> first(std::in_place, [&](ui::TForm& dialog) {
        auto* yes = static_cast<ui::TButton*>(dialog.FindComponent("Yes"));
        styledAtShow = yes && TControlSubClass::RecordOf(*yes);
        if (yes) {
            UpdateWindow(dialog.Handle());
            UpdateWindow(yes->Handle());
            ui::TBitmap shot;
            testing::Capture(yes->Handle(), shot);
            const COLORREF face = shot.Pixel(4, shot.Height() / 2);
            paintedFlat = face == testing::Rgb(clSkyBlue) ||
                          face == testing::Rgb(LightenColor(testing::Rgb(clBtnFace), 40));
        }
        testing::ClickButton(dialog, "No");
    });
    // The first one also warms up what is made once.
    ui::MessageDlg("Are you sure?", ui::TMsgDlgType::mtConfirmation, ui::mbYes | ui::mbNo);
    EXPECT_TRUE(styledAtShow) << "no message pumped yet, and already styled";
    EXPECT_TRUE(paintedFlat) << "its very first frame is flat";
    first.reset();

    const int records = TControlSubClass::LiveCount();
    const ui::GdiOwnerCounts gdi = ui::LiveGdiOwners();
    const int forms = ui::ScreenFormCount();
    for (int i = 0; i < 100; ++i) {
        ModalActs answer([](ui::TForm& dialog) {
            testing::Pump();
            auto* button = static_cast<ui::TButton*>(dialog.FindComponent("OK"));
            EXPECT_TRUE(button && TControlSubClass::RecordOf(*button)) << "styled while open";
            testing::ClickButton(dialog, "OK");
        });
        ui::MessageDlg("Changes will take effect when you start new game",
                       ui::TMsgDlgType::mtInformation, ui::mbOK);
    }
    Pump();
    EXPECT_EQ(TControlSubClass::LiveCount(), records);
    EXPECT_EQ(ui::LiveGdiOwners().Objects, gdi.Objects);
    EXPECT_EQ(ui::LiveGdiOwners().DeviceContexts, gdi.DeviceContexts);
    EXPECT_EQ(ui::ScreenFormCount(), forms);
    EXPECT_EQ(MenuSkinManager->PendingForms().size(), 0u);
    home.reset();
}

}  // namespace
}  // namespace quillory::styling
