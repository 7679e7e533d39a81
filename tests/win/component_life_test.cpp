// Component life in the framework: removal notices that come while the
// component is whole, the load step, class tests by type, system colour
// changes, and windows re-created without losing what the user did.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/std_controls.h"
#include "win_test_support.h"

namespace quillory::ui {
namespace {

using testing::Pump;
using testing::TestApplication;

class TTestForm : public TForm {
public:
    const char* ClassName() const override { return "TTestForm"; }
    using TForm::TForm;
};

class TDerivedButton : public TButton {
public:
    const char* ClassName() const override { return "TDerivedButton"; }
    using TButton::TButton;
};

// Hears removals and notes what the removed component still is.
class RemovalWatcher : public TComponent {
public:
    using TComponent::TComponent;
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == TOperation::opRemove)
            heard.push_back(std::string(component->ClassName()) +
                            (InheritsFrom<TForm>(component) ? " form" : "") +
                            (InheritsFrom<TButton>(component) ? " button" : ""));
        if (operation == TOperation::opInsert && InheritsFrom<TForm>(component))
            insertedFormSizes.push_back(component->ComponentCount());
        TComponent::Notification(component, operation);
    }
    std::vector<std::string> heard;
    std::vector<int> insertedFormSizes;
};

// Notes each load step with what it saw of its form.
class LoadProbe : public TComponent {
public:
    LoadProbe(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), log_(log) {}
    void Loaded() override {
        TComponent::Loaded();
        auto* form = static_cast<TForm*>(Owner());
        log_->push_back(Name() + (form->Visible() ? " shown" : " hidden") + " of " +
                        std::to_string(form->ComponentCount()));
    }

private:
    std::vector<std::string>* log_;
};

class TProbedForm : public TForm {
public:
    TProbedForm(TComponent* owner, std::vector<std::string>* log) : TForm(owner) {
        for (const char* name : {"First", "Second", "Third"})
            Create<LoadProbe>(this, log)->SetName(name);
    }
};

struct ComponentLifeTest : ::testing::Test {
    void SetUp() override { TestApplication(); }
};

TEST_F(ComponentLifeTest, RemovalAndInsertionAreAnnouncedWhileTheComponentIsWhole) {
    auto watcherHome = std::unique_ptr<TTestForm>(Create<TTestForm>(Application));
    auto* watcher = Create<RemovalWatcher>(watcherHome.get());

    // A form freed on its own: the other forms' components hear of a form.
    auto* form = Create<TTestForm>(Application);
    auto* button = Create<TDerivedButton>(form);
    watcher->FreeNotification(button);
    watcher->heard.clear();
    delete form;
    // The button goes with its owner, the form first announced as itself.
    EXPECT_EQ(watcher->heard,
              (std::vector<std::string>{"TTestForm form", "TDerivedButton button"}));

    // A component freed on its own, heard through its free notification.
    auto* other = Create<TTestForm>(Application);
    auto* lone = Create<TButton>(other);
    watcher->FreeNotification(lone);
    watcher->heard.clear();
    delete lone;
    EXPECT_EQ(watcher->heard, (std::vector<std::string>{"TButton button"}));
    delete other;

    // Dialogs are whole when they are announced: icon, text, two buttons;
    // prompt, edit, two buttons.
    watcher->insertedFormSizes.clear();
    std::unique_ptr<TForm> dialog(
        CreateMessageDialog("Are you sure?", TMsgDlgType::mtConfirmation, mbYes | mbNo));
    std::unique_ptr<TForm> input(CreateInputDialog("Game Over!", "Your name :", ""));
    EXPECT_EQ(watcher->insertedFormSizes,
              (std::vector<int>{dialog->ComponentCount(), input->ComponentCount()}));
    EXPECT_GE(dialog->ComponentCount(), 4);
    EXPECT_GE(input->ComponentCount(), 4);
    watcherHome.reset();
}

TEST_F(ComponentLifeTest, LoadStepRunsOnceInCreationOrderBeforeTheFormIsShown) {
    std::vector<std::string> log;
    std::unique_ptr<TProbedForm> form(Create<TProbedForm>(Application, &log));
    EXPECT_EQ(log, (std::vector<std::string>{"First hidden of 3", "Second hidden of 3",
                                             "Third hidden of 3"}));
    EXPECT_TRUE(form->Components(0)->IsLoaded());
    form->Show();
    form->Hide();
    form->Show();
    Create<LoadProbe>(form.get(), &log)->SetName("Later");
    EXPECT_EQ(log.size(), 3u)
        << "showing loads nothing again; a component made at run time is not loaded";
}

TEST_F(ComponentLifeTest, SystemColourChangeReachesEveryControlInside) {
    auto form = std::unique_ptr<TTestForm>(Create<TTestForm>(Application));
    auto* panel = Create<TPanel>(form.get());
    panel->SetParent(form.get());
    auto* inner = Create<TPanel>(form.get());
    inner->SetParent(panel);
    auto* label = Create<TLabel>(form.get());
    label->SetParent(inner);
    form->HandleNeeded();
    int heard = 0;
    TWndMethod old = label->WindowProc;
    label->WindowProc = [&](TMessage& message) {
        if (message.Msg == CM_SYSCOLORCHANGE) ++heard;
        old(message);
    };
    SendMessageA(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(heard, 1) << "the notice travels down two panels to a graphic control";
    form.reset();
}

// What typing into the one-line input dialog leaves behind survives a
// re-creation of the edit's window (the flat style switches its 3-D look off).
TEST_F(ComponentLifeTest, RecreatedEditKeepsTextSelectionFocusAndPlace) {
    std::unique_ptr<TForm> dialog(CreateInputDialog("Game Over!", "Your name :", ""));
    auto* edit = static_cast<TEdit*>(dialog->FindComponent("Edit"));
    ASSERT_TRUE(edit);
    dialog->Show();
    Pump();
    ASSERT_EQ(GetFocus(), edit->Handle());
    for (char c : std::string("Christopher")) PostMessageA(edit->Handle(), WM_CHAR, c, 1);
    Pump();
    ASSERT_EQ(edit->Text(), "Christopher");
    edit->SetSelection(6, 3);  // "ist" selected, dragged leftwards: the caret at 3
    std::vector<UINT> seen;
    TWndMethod old = edit->WindowProc;
    edit->WindowProc = [&](TMessage& message) {
        seen.push_back(message.Msg);
        old(message);
    };
    HWND before = edit->Handle();
    HWND nextBefore = GetWindow(before, GW_HWNDNEXT);
    const auto nextControl = TWinControl::FindControl(nextBefore);

    edit->SetCtl3D(false);
    // Typed after the re-creation was asked for, before it happened: it must not be lost.
    PostMessageA(before, WM_CHAR, '!', 1);
    Pump();

    ASSERT_NE(edit->Handle(), before);
    EXPECT_FALSE(GetWindowLongPtrA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(TWinControl::FindControl(GetWindow(edit->Handle(), GW_HWNDNEXT)), nextControl)
        << "same place among its siblings, so the same place in the tab order";
    // The '!' replaced the selection at the caret, as it would have in the old window.
    EXPECT_EQ(edit->Text(), "Chr!opher");
    seen.clear();
    SendMessageA(edit->Handle(), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_GETTEXTLENGTH)), seen.end())
        << "the replaced handler still sees the new window's messages";
    dialog.reset();
}

// Edits and list boxes are made anew for their flat look; what the user left
// in them stays.
TEST_F(ComponentLifeTest, RecreatedEditAndListBoxKeepSelectionCaretRowsAndDisabledState) {
    auto form = std::unique_ptr<TTestForm>(Create<TTestForm>(Application));
    auto* edit = Create<TEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetText("abcdefgh");
    auto* list = Create<TListBox>(form.get());
    list->SetBounds(0, 30, 100, 80);
    list->SetParent(form.get());
    for (int i = 0; i < 40; ++i) list->AddItem("Row " + std::to_string(i));
    form->Show();
    list->SetItemIndex(22);
    list->SetTopIndex(17);
    ASSERT_EQ(list->TopIndex(), 17);
    edit->SetFocus();
    edit->SetSelection(6, 2);  // dragged leftwards: the caret at 2, not at the end
    HWND before = edit->Handle();
    const HWND listBefore = list->Handle();
    edit->SetCtl3D(false);
    list->SetCtl3D(false);
    Pump();
    ASSERT_NE(edit->Handle(), before) << "made anew";
    ASSERT_NE(list->Handle(), listBefore);
    EXPECT_EQ(list->ItemIndex(), 22);
    EXPECT_EQ(list->TopIndex(), 17);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 4);
    ASSERT_EQ(GetFocus(), edit->Handle());
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    const LRESULT atTwo = SendMessageA(edit->Handle(), EM_POSFROMCHAR, 2, 0);
    EXPECT_EQ(caret.x, static_cast<short>(LOWORD(atTwo))) << "the caret where it stood";
    edit->SetEnabled(false);
    before = edit->Handle();
    edit->SetCtl3D(true);
    Pump();
    ASSERT_NE(edit->Handle(), before);
    EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
    EXPECT_EQ(edit->Text(), "abcdefgh");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 4);
    form.reset();
}

// Only a living window of ours leads to a control: not the window a control
// had before it was made anew (its handle may be handed out again), not the
// window of a control that is gone, not windows that keep data of their own.
TEST_F(ComponentLifeTest, WindowsLeadToTheirControlsOnlyWhileTheyLive) {
    auto form = std::unique_ptr<TTestForm>(Create<TTestForm>(Application));
    auto* edit = Create<TEdit>(form.get());  // a system class, subclassed
    edit->SetParent(form.get());
    auto* panel = Create<TPanel>(form.get());  // a class of our own
    panel->SetParent(form.get());
    form->Show();
    EXPECT_EQ(TWinControl::FindControl(form->Handle()), form.get());
    EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
    EXPECT_EQ(TWinControl::FindControl(panel->Handle()), panel);

    HWND oldEdit = edit->Handle();
    edit->SetCtl3D(false);
    Pump();
    ASSERT_NE(edit->Handle(), oldEdit);
    EXPECT_EQ(TWinControl::FindControl(oldEdit), nullptr);
    EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);

    HWND stranger = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, form->Handle(),
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(stranger);
    EXPECT_EQ(TWinControl::FindControl(stranger), nullptr);
    EXPECT_EQ(TWinControl::FindControl(Application->Handle()), nullptr)
        << "the application window keeps its object in its user data, and is no control";

    HWND panelWindow = panel->Handle();
    HWND editWindow = edit->Handle();
    HWND formWindow = form->Handle();
    delete panel;
    EXPECT_EQ(TWinControl::FindControl(panelWindow), nullptr);
    form.reset();
    EXPECT_EQ(TWinControl::FindControl(editWindow), nullptr);
    EXPECT_EQ(TWinControl::FindControl(formWindow), nullptr);
}

}  // namespace
}  // namespace quillory::ui
