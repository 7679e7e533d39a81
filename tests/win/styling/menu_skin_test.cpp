// TMenuSkin on test forms: the defaults, hooking items (Tag 999, handlers of
// others with and without OverrideOwnerDraw, Active false), a SkinControls
// change, and the style manager with two components: registration, the
// active one and its hand-over, forms queued and styled at the next message
// of the application window, forms kept out, forms that go (also with the
// application), system colour and setting changes.
#include "styling/menu_skin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "menu_fixture.h"
#include "style_test_support.h"
#include "styling/menu/menu_item_paint.h"
#include "styling/menu/menu_window.h"
#include "styling/menu_skin_manager.h"

namespace quillory::styling {
namespace {

using testing::NewMenuForm;
using testing::TMenuTestForm;

template <typename T>
bool Holds(const std::vector<T*>& list, const void* value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// Any message reaching the application window.
void NudgeApplicationWindow() {
    SendMessageA(ui::Application->Handle(), WM_NULL, 0, 0);
}

// The colour the system paints the bar with beyond its captions; CLR_INVALID for its own.
COLORREF BarColour(ui::TMenu& menu) {
    MENUINFO info{sizeof(MENUINFO), MIM_BACKGROUND, 0, 0, nullptr, 0, 0};
    LOGBRUSH brush{0, CLR_INVALID, 0};
    GetMenuInfo(menu.Handle(), &info);
    GetObjectA(info.hbrBack, sizeof(brush), &brush);  // no brush: left as it is
    return brush.lbColor;
}

TEST(MenuSkin, DefaultsOfANewComponent) {
    testing::TestApplication();
    auto form = NewMenuForm(false);
    auto* skin = ui::Create<TMenuSkin>(form.get());
    EXPECT_FALSE(skin->Active());
    EXPECT_EQ(skin->DimLevel(), 30);
    EXPECT_EQ(skin->GrayLevel(), 10);
    EXPECT_EQ(skin->IconWidth(), 24);
    EXPECT_TRUE(skin->DrawSelect());
    EXPECT_TRUE(skin->UseSystemColors());
    EXPECT_FALSE(skin->UseDimColor() || skin->OverrideOwnerDraw() || skin->Gradient() ||
                 skin->FlatMenu() || skin->AutoDetect() || skin->DrawMenuBar() ||
                 skin->DisableSubclassing());
    EXPECT_EQ(skin->Color(), clBtnFace);
    EXPECT_EQ(skin->SelectColor(), clHighlight);
    EXPECT_EQ(skin->DisabledColor(), clInactiveCaption);
    EXPECT_EQ(skin->SelectFontColor(), skin->Font().Color());
    EXPECT_EQ(skin->SkinControls(), kAllSkinControls);
    EXPECT_EQ(skin->SkinContainers(), kAllSkinContainers);
    EXPECT_FALSE(skin->ColorsDirty());
    // Resolved at once, with the system's colours.
    EXPECT_EQ(testing::Rgb(skin->ResolvedColors().FResColor),
              LightenColor(testing::Rgb(clBtnFace), 86));
    EXPECT_FALSE(skin->Font().Name().empty()) << "a copy of the system's menu font";

    skin->SetSelectColor(clRed);
    EXPECT_TRUE(skin->ColorsDirty());
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*form->NewGame)) << "inactive: nothing hooked";

    ui::TComponent owner(nullptr);
    EXPECT_THROW(ui::Create<TMenuSkin>(&owner), std::invalid_argument) << "owned by a form only";
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(MenuSkin, TheActiveStepMakesTheWindowAndHooksEveryItemButTag999) {
    auto form = NewMenuForm(false);
    int theirs = 0;
    form->Pause->OnDrawItem = [&theirs](ui::TMenuItem*, ui::TCanvas&, RECT, bool) { ++theirs; };
    form->Exit->SetTag(kUnstyledTag);
    form->More->SetTag(kUnstyledTag);
    auto* skin = ui::Create<TMenuSkin>(form.get());
    skin->SetMenuBarColor(clBtnFace);
    skin->SetUseSystemColors(false);
    EXPECT_FALSE(form->HandleAllocated()) << "settings before Active leave the window alone";
    skin->SetActive(true);
    ASSERT_TRUE(form->HandleAllocated()) << "the Active step makes it, with the bar styled";
    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, form->Menu->Handle()) << "the window carries the menu built in the style";
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(bar, 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_TRUE(form->Menu->OwnerDraw());
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->Game));
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->NewGame));
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*form->Pause)) << "a handler of its own stays";
    EXPECT_TRUE(TMenuSkin::HasSkinMeasureHandler(*form->Pause)) << "the unset one is taken";
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*form->Exit)) << "Tag 999";
    EXPECT_FALSE(form->Exit->OnMeasureItem);
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*form->More));
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->Deeper)) << "sub-items of Tag 999 are hooked";

    skin->SetActive(false);
    EXPECT_FALSE(form->Menu->OwnerDraw());
    EXPECT_FALSE(form->NewGame->OnDrawItem);
    EXPECT_FALSE(form->Deeper->OnMeasureItem);
    ASSERT_TRUE(form->Pause->OnDrawItem) << "only its own handlers are removed";
    ui::TBitmap bitmap(10, 10);
    form->Pause->OnDrawItem(form->Pause, bitmap.Canvas(), RECT{}, false);
    EXPECT_EQ(theirs, 1);

    skin->SetOverrideOwnerDraw(true);
    skin->SetActive(true);
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->Pause)) << "overridden";
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*form->Exit)) << "Tag 999 even so";

    skin->SetActive(false);
    form->Menu->SetTag(kUnstyledTag);
    skin->SetActive(true);
    EXPECT_FALSE(form->Menu->OwnerDraw()) << "a menu with Tag 999 is left alone";
    EXPECT_FALSE(form->NewGame->OnDrawItem);
}

// A SkinControls change restyles the form; the bar beyond its captions takes
// their colour while styled.
TEST(MenuSkin, SkinControlsChangeRestylesTheFormAndItsBarColour) {
    auto form = NewMenuForm();
    TMenuSkin* skin = form->Skin;
    EXPECT_EQ(BarColour(*form->Menu), testing::Rgb(clBtnFace));
    skin->SetMenuBarColor(clRed);
    EXPECT_EQ(BarColour(*form->Menu), testing::Rgb(clRed));
    ASSERT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->NewGame));
    skin->SetSkinControls(skin->SkinControls() & ~SkinControlBit(skMainMenu));
    EXPECT_TRUE(skin->Active());
    EXPECT_FALSE(form->Menu->OwnerDraw()) << "unstyled once";
    EXPECT_FALSE(form->NewGame->OnDrawItem);
    skin->SetSkinControls(skin->SkinControls() | SkinControlBit(skMainMenu));
    EXPECT_TRUE(form->Menu->OwnerDraw()) << "and styled again with the new set";
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*form->NewGame));
    skin->SetActive(false);
    EXPECT_EQ(BarColour(*form->Menu), CLR_INVALID);
}

TEST(MenuSkin, AColourChangeIsResolvedAtTheNextPaint) {
    auto form = NewMenuForm();
    TMenuSkin* skin = form->Skin;
    skin->ResolveColors(nullptr);
    skin->SetSelectColor(clRed);
    ASSERT_TRUE(skin->ColorsDirty());
    EXPECT_EQ(skin->ResolvedColors().FResSelectColor, LightenColor(clSkyBlue, 68)) << "not yet";
    ui::TBitmap bitmap(200, 30);
    form->Pause->OnDrawItem(form->Pause, bitmap.Canvas(), RECT{4, 0, 154, 23}, true);
    EXPECT_FALSE(skin->ColorsDirty());
    EXPECT_EQ(bitmap.Pixel(10, 5), LightenColor(clRed, 68));

    // What the control painters ask for: resolved in any case. UseSystemColors
    // marks nothing out of date, so only that picks the change up.
    skin->SetUseSystemColors(true);
    EXPECT_FALSE(skin->ColorsDirty());
    EXPECT_EQ(skin->Style(nullptr).Colors.FResSelectBorderColor, clNavy) << "not dirty: kept";
    EXPECT_EQ(skin->ResolvedStyle(nullptr).Colors.FResSelectBorderColor, clHighlight);
}

// ------------------------------------------------------------ the manager

class MenuSkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::TestApplication();
        ASSERT_EQ(MenuSkinManager, nullptr) << "no component left from an earlier test";
    }
    void TearDown() override {
        forms.clear();
        EXPECT_EQ(MenuSkinManager, nullptr) << "released with the last component";
    }
    TMenuTestForm* Add(bool withSkin, LONG_PTR tag = 0) {
        forms.push_back(NewMenuForm(withSkin, tag));
        return forms.back().get();
    }
    void Remove(TMenuTestForm* form) {
        forms.erase(std::remove_if(forms.begin(), forms.end(),
                                   [form](const auto& f) { return f.get() == form; }),
                    forms.end());
    }
    std::vector<std::unique_ptr<TMenuTestForm>> forms;
};

TEST_F(MenuSkinManagerTest, RegistersComponentsPicksTheFirstActiveOneAndHandsItOver) {
    TMenuTestForm* a = Add(true);
    ASSERT_NE(MenuSkinManager, nullptr);
    TMenuTestForm* b = Add(true);
    EXPECT_EQ(MenuSkinManager->SkinList(), (std::vector<TMenuSkin*>{a->Skin, b->Skin}));
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), a->Skin);
    EXPECT_TRUE(Holds(MenuSkinManager->StyledForms(), a));
    EXPECT_TRUE(Holds(MenuSkinManager->StyledForms(), b)) << "a form with its own component";
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), b));
    EXPECT_EQ(MenuSkinManager->FindActiveCandidate(a->Skin), b->Skin);
    EXPECT_EQ(MenuSkinManager->FindActiveCandidate(nullptr), a->Skin);

    Remove(a);  // the active one is handed over when it goes
    ASSERT_NE(MenuSkinManager, nullptr);
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), b->Skin);
    EXPECT_EQ(MenuSkinManager->SkinList(), std::vector<TMenuSkin*>{b->Skin});
    Remove(b);
    EXPECT_EQ(MenuSkinManager, nullptr);
}

TEST_F(MenuSkinManagerTest, NewFormsAreQueuedAndStyledAtTheNextApplicationMessage) {
    TMenuTestForm* a = Add(true);
    TMenuTestForm* plain = Add(false);
    EXPECT_TRUE(Holds(MenuSkinManager->PendingForms(), plain));
    EXPECT_FALSE(TMenuSkin::HasSkinDrawHandler(*plain->NewGame)) << "not yet";
    NudgeApplicationWindow();
    EXPECT_TRUE(MenuSkinManager->PendingForms().empty());
    EXPECT_TRUE(Holds(MenuSkinManager->StyledForms(), plain));
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*plain->NewGame)) << "styled by the active one";
    EXPECT_TRUE(plain->Menu->OwnerDraw());

    // Painted with the main window's colours, those of the active component.
    ui::TBitmap bitmap(200, 30);
    plain->Pause->OnDrawItem(plain->Pause, bitmap.Canvas(), RECT{4, 0, 154, 23}, true);
    EXPECT_EQ(bitmap.Pixel(10, 5), RGB(227, 238, 250));
    (void)a;
}

// Forms made before any component are collected when one becomes active;
// those with Tag 999 or a component of their own never are.
TEST_F(MenuSkinManagerTest, EarlierFormsAreCollectedButNotThoseWithTag999OrTheirOwnComponent) {
    TMenuTestForm* earlier = Add(false);
    TMenuTestForm* kept = Add(false, kUnstyledTag);
    TMenuTestForm* a = Add(true);
    EXPECT_TRUE(Holds(MenuSkinManager->PendingForms(), earlier));
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), a));
    TMenuTestForm* own = Add(true);
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), kept));
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), own));
    NudgeApplicationWindow();
    EXPECT_FALSE(Holds(MenuSkinManager->StyledForms(), kept));
    EXPECT_FALSE(kept->NewGame->OnDrawItem);
    MenuSkinManager->CollectForms();
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), kept));
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), own));
}

TEST_F(MenuSkinManagerTest, ADestroyedFormLeavesBothLists) {
    Add(true);
    TMenuTestForm* queued = Add(false);
    TMenuTestForm* styled = Add(false);
    NudgeApplicationWindow();
    ASSERT_TRUE(Holds(MenuSkinManager->StyledForms(), styled));
    Remove(styled);
    EXPECT_FALSE(Holds(MenuSkinManager->StyledForms(), styled));
    TMenuTestForm* later = Add(false);
    ASSERT_TRUE(Holds(MenuSkinManager->PendingForms(), later));
    Remove(later);
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), later));
    NudgeApplicationWindow();  // nothing left to style that is gone
    EXPECT_TRUE(Holds(MenuSkinManager->StyledForms(), queued));
}

// On the main form, made after its component: reads the manager's lists as it
// goes, while that component still styles.
struct ListsAtItsEnd : ui::TComponent {
    using TComponent::TComponent;
    ~ListsAtItsEnd() override {
        lists = {MenuSkinManager->StyledForms(), MenuSkinManager->PendingForms()};
    }
    static inline std::vector<std::vector<ui::TForm*>> lists;
};

// An application (not the hooked one) frees its forms last first, the main
// form last: the styled and the queued one are gone from both lists by then.
TEST_F(MenuSkinManagerTest, FormsFreedWithTheApplicationLeaveBothLists) {
    auto application = std::make_unique<ui::TApplication>();
    auto* main = ui::Create<TMenuTestForm>(application.get(), true);
    ui::Create<ListsAtItsEnd>(main);
    ui::Create<TMenuTestForm>(application.get(), false);
    NudgeApplicationWindow();
    ui::Create<TMenuTestForm>(application.get(), false);
    ASSERT_EQ(MenuSkinManager->StyledForms().size() + MenuSkinManager->PendingForms().size(), 3u);
    application.reset();
    EXPECT_EQ(ListsAtItsEnd::lists, (std::vector<std::vector<ui::TForm*>>{{main}, {}}));
}

// As the system tells every top-level window: the colours resolved from the
// button face follow it there and back, and a settings change asks again
// whether the system draws menu shadows.
TEST_F(MenuSkinManagerTest, SystemColourAndSettingChangesReachTheComponents) {
    auto shadows = std::make_unique<testing::ScopedSystemSettings>(true, false);
    TMenuTestForm* form = Add(true);
    TMenuSkin* skin = form->Skin;
    ASSERT_TRUE(skin->IsNT51());
    for (COLORREF face : {GetSysColor(COLOR_BTNFACE) ^ 0x305070, GetSysColor(COLOR_BTNFACE)}) {
        testing::ScopedSysColor changed(COLOR_BTNFACE, face);
        EXPECT_EQ(BarColour(*form->Menu), face) << "the bar beyond its captions";
        EXPECT_EQ(testing::Rgb(skin->ResolvedColors().FResMenuBorderColor), DarkenColor(face, 90));
        EXPECT_EQ(testing::Rgb(skin->ResolvedColors().FResMenuShadowColor), DarkenColor(face, 76));
    }
    shadows.reset();  // the system's answers back before the next scope keeps them
    shadows = std::make_unique<testing::ScopedSystemSettings>(false, false);
    SendMessageA(ui::Application->Handle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_FALSE(skin->IsNT51()) << "switched off while the program runs";
}

// An inactive component is registered but not chosen; DisableSubclassing
// hands the role over and back.
TEST_F(MenuSkinManagerTest, InactiveOrDisabledComponentsAreNotChosen) {
    TMenuTestForm* plainForm = Add(false);
    auto* inactive = ui::Create<TMenuSkin>(plainForm);
    inactive->LoadTree();  // made at run time: its load step is ours to run
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), nullptr);
    EXPECT_EQ(MenuSkinManager->SkinList(), std::vector<TMenuSkin*>{inactive});
    TMenuTestForm* a = Add(true);
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), a->Skin);
    TMenuTestForm* b = Add(true);
    a->Skin->SetDisableSubclassing(true);
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), b->Skin);
    // No candidate left while b goes: nothing stays active that is gone.
    Remove(b);
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), nullptr);
    TMenuTestForm* plain = Add(false);
    EXPECT_FALSE(Holds(MenuSkinManager->PendingForms(), plain)) << "nobody to style it";
    a->Skin->SetDisableSubclassing(false);
    EXPECT_EQ(MenuSkinManager->ActiveSkin(), a->Skin);
    EXPECT_TRUE(Holds(MenuSkinManager->PendingForms(), plain)) << "collected now";
    NudgeApplicationWindow();
    EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*plain->NewGame));
}

TEST_F(MenuSkinManagerTest, BorderRequestsForWindowsThatAreNoPopupMenusAreIgnored) {
    TMenuTestForm* a = Add(true);
    a->Show();
    testing::Pump();
    PostMessageA(ui::Application->Handle(), WM_FLATBORDER_BYWINDOW, 0,
                 reinterpret_cast<LPARAM>(a->Handle()));
    testing::Pump();
    EXPECT_FALSE(IsFlatMenuWindow(a->Handle())) << "a stale request must not frame a form";
    // An item whose popup is closed: the point may lie over any window.
    PostMessageA(ui::Application->Handle(), WM_FLATBORDER_BYITEM, 0,
                 reinterpret_cast<LPARAM>(a->NewGame));
    PostMessageA(ui::Application->Handle(), WM_FLATBORDER_BYITEM, 0, 12345);
    testing::Pump();
    EXPECT_FALSE(IsFlatMenuWindow(a->Handle()));
    a->Hide();
}

}  // namespace
}  // namespace quillory::styling
