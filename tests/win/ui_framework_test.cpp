// The application framework, in-process under Wine: components, WindowProc
// replacement and chaining, the framework's notifications, painting, menus,
// the timer, the application window's hooks and the modal dialogs' seam.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/std_controls.h"
#include "ui/timer.h"
#include "win_test_support.h"

namespace quillory::ui {
namespace {

using testing::Pump;
using testing::PumpUntil;
using testing::RenderClient;
using testing::MessageBoxRecorder;
using testing::ModalActs;
using testing::TestApplication;
using namespace std::chrono_literals;

// A component that writes its name into a log when it dies and records what
// it is told.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), log_(log) {}
    ~Probe() override {
        if (log_) log_->push_back("destroy " + Name());
    }
    void Notification(TComponent* component, TOperation operation) override {
        if (log_)
            log_->push_back(Name() + (operation == TOperation::opInsert ? " +" : " -") +
                            (component->Name().empty() ? "?" : component->Name()));
        TComponent::Notification(component, operation);
    }

private:
    std::vector<std::string>* log_;
};

struct FrameworkTest : ::testing::Test {
    void SetUp() override { TestApplication(); }
    // A plain visible form with a panel, deleted by the test's end.
    std::unique_ptr<TForm> NewForm() {
        std::unique_ptr<TForm> form(Create<TForm>(Application));
        form->SetBounds(50, 50, 300, 200);
        return form;
    }
};

TEST_F(FrameworkTest, OwnerKeepsComponentsInCreationOrderAndFreesThemLastFirst) {
    std::vector<std::string> log;
    auto owner = std::make_unique<Probe>(nullptr, nullptr);
    const char* names[] = {"First", "Second", "Third"};
    for (const char* name : names) Create<Probe>(owner.get(), &log)->SetName(name);
    ASSERT_EQ(owner->ComponentCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(owner->Components(i)->Name(), names[i]);
        EXPECT_EQ(owner->Components(i)->ComponentIndex(), i);
        EXPECT_EQ(owner->Components(i)->Owner(), owner.get());
    }
    EXPECT_EQ(owner->FindComponent("second"), owner->Components(1)) << "names compare without case";
    EXPECT_EQ(owner->FindComponent("Fourth"), nullptr);
    EXPECT_THROW(owner->Components(2)->SetName("FIRST"), std::invalid_argument);

    delete owner->Components(1);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1)->Name(), "Third");
    log.clear();
    owner.reset();
    // Those still there hear of each one that goes, also while the owner goes.
    EXPECT_EQ(log, (std::vector<std::string>{"First -Third", "destroy Third", "destroy First"}));
}

TEST_F(FrameworkTest, NewFormsAndFreeNotificationsReachTheComponentsOfEveryForm) {
    std::vector<std::string> log;
    auto formA = NewForm();
    formA->SetName("FormA");
    auto* watcher = Create<Probe>(formA.get(), &log);
    watcher->SetName("Watcher");
    log.clear();
    auto formB = NewForm();
    formB->SetName("FormB");  // named after the announcement: the probe logs "?"
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Watcher +?");
    log.clear();
    formB.reset();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Watcher -FormB");
    // A free notification reaches a component of another owner.
    auto other = std::make_unique<Probe>(nullptr, nullptr);
    auto* target = Create<Probe>(other.get(), nullptr);
    target->SetName("Target");
    watcher->FreeNotification(target);
    log.clear();
    delete target;
    EXPECT_NE(std::find(log.begin(), log.end(), "Watcher -Target"), log.end());
}

// The search from the front with the platform's compare: what FindComponent
// must always agree with, however it finds its answer.
TComponent* FirstNamedLike(const TComponent& owner, const std::string& name) {
    if (name.empty()) return nullptr;
    for (int i = 0; i < owner.ComponentCount(); ++i)
        if (lstrcmpiA(owner.Components(i)->Name().c_str(), name.c_str()) == 0)
            return owner.Components(i);
    return nullptr;
}

// The name index rests on one fact of the platform: for printable ASCII its
// case-blind compare is equality after folding A-Z, no more and no less
// (no weightless hyphens or apostrophes, no other equivalences).
TEST(ComponentNames, PlatformCompareOfPrintableAsciiIsFoldedEquality) {
    auto fold = [](std::string text) {
        for (char& ch : text)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        return text;
    };
    int differences = 0;
    for (int a = 0x20; a <= 0x7E; ++a) {
        for (int b = 0x20; b <= 0x7E; ++b) {
            const std::string left(1, static_cast<char>(a)), right(1, static_cast<char>(b));
            const bool platform = lstrcmpiA(left.c_str(), right.c_str()) == 0;
            if (platform != (fold(left) == fold(right)) && ++differences < 10)
                ADD_FAILURE() << "'" << left << "' and '" << right << "'";
        }
    }
    const std::pair<const char*, const char*> words[] = {
        {"co-op", "coop"}, {"it's", "its"}, {"A B", "AB"}, {"Button1", "button1"},
        {"SpeedButton10", "SpeedButton1"}, {"a_b", "A_B"}, {"x--", "x"}, {"~z", "z"}};
    for (const auto& [left, right] : words)
        EXPECT_EQ(lstrcmpiA(left, right) == 0, fold(left) == fold(right)) << left << " / " << right;
}

TEST(ComponentNames, RenamesRemovalsAndCaseKeepTheLookupRight) {
    auto owner = std::make_unique<Probe>(nullptr, nullptr);
    auto* alpha = Create<Probe>(owner.get(), nullptr);
    auto* other = Create<Probe>(owner.get(), nullptr);
    alpha->SetName("Alpha");
    other->SetName("Other");
    EXPECT_EQ(owner->FindComponent("ALPHA"), alpha);

    alpha->SetName("Beta");
    EXPECT_EQ(owner->FindComponent("alpha"), nullptr) << "the old name stays behind";
    EXPECT_EQ(owner->FindComponent("bEtA"), alpha);
    other->SetName("alpha");  // the old name is free again
    EXPECT_EQ(owner->FindComponent("Alpha"), other);
    EXPECT_THROW(other->SetName("BETA"), std::invalid_argument);
    EXPECT_EQ(other->Name(), "alpha") << "a refused name changes nothing";
    EXPECT_EQ(owner->FindComponent("beta"), alpha);

    alpha->SetName("BETA");  // its own name in another case
    EXPECT_EQ(alpha->Name(), "BETA");
    EXPECT_EQ(owner->FindComponent("beta"), alpha);
    alpha->SetName("");
    EXPECT_EQ(owner->FindComponent("beta"), nullptr);
    EXPECT_EQ(owner->FindComponent(""), nullptr);

    other->SetName("Gone");
    delete other;
    EXPECT_EQ(owner->FindComponent("gone"), nullptr) << "a freed component is not found";
    Create<Probe>(owner.get(), nullptr)->SetName("GONE");
    EXPECT_EQ(owner->FindComponent("Gone"), owner->Components(1));

    // Names belong to one owner: the same name under another owner is no clash.
    auto second = std::make_unique<Probe>(nullptr, nullptr);
    auto* twin = Create<Probe>(second.get(), nullptr);
    EXPECT_NO_THROW(twin->SetName("Gone"));
    EXPECT_EQ(second->FindComponent("gone"), twin);
    EXPECT_EQ(owner->FindComponent("gone"), owner->Components(1));
}

// A board's worth of names, plain and unusual (8-bit characters, a control
// character): every lookup agrees with the search from the front, and every
// clash in another case is refused.
TEST(ComponentNames, ManyNamesAgreeWithTheSearchFromTheFront) {
    auto owner = std::make_unique<Probe>(nullptr, nullptr);
    std::vector<std::string> names;
    for (int n = 1; n <= 600; ++n) names.push_back("SpeedButton" + std::to_string(n));
    const std::vector<std::string> unusual = {"Z\xE4hler", "\xC4rger", "Tab\tName", "Stra\xDF" "e",
                                              "\xC6sop"};
    names.insert(names.begin() + 300, unusual.begin(), unusual.end());
    for (const std::string& name : names) Create<Probe>(owner.get(), nullptr)->SetName(name);
    ASSERT_EQ(owner->ComponentCount(), static_cast<int>(names.size()));

    std::vector<std::string> queries = {"speedbutton1", "SPEEDBUTTON600", "SpeedButton601",
                                        "SpeedButton0", "speedbutton", "z\xC4HLER", "\xE4rger",
                                        "tab\tname", "Strasse", "Aesop", "STRA\xDF" "E", " "};
    for (int n = 1; n <= 600; n += 37) queries.push_back("sPEEDbUTTON" + std::to_string(n));
    for (const std::string& query : queries)
        EXPECT_EQ(owner->FindComponent(query), FirstNamedLike(*owner, query)) << query;
    for (int n = 1; n <= 600; ++n)
        ASSERT_EQ(owner->FindComponent("speedbutton" + std::to_string(n))->Name(),
                  "SpeedButton" + std::to_string(n));

    auto* newcomer = Create<Probe>(owner.get(), nullptr);
    // (the 8-bit character stays as it is: which bytes pair up as cases
    // depends on the system's code page)
    for (const std::string& taken :
         {std::string("SPEEDBUTTON42"), std::string("z\xE4HLER"), std::string("TAB\tname")}) {
        ASSERT_NE(FirstNamedLike(*owner, taken), nullptr) << taken;
        EXPECT_THROW(newcomer->SetName(taken), std::invalid_argument) << taken;
    }
    EXPECT_TRUE(newcomer->Name().empty());
}

TEST_F(FrameworkTest, ReplacedWindowProcSeesEveryMessageOfWindowedAndGraphicControls) {
    auto form = NewForm();
    auto* button = Create<TButton>(form.get());
    button->SetParent(form.get());
    button->SetCaption("Press");
    HWND window = button->Handle();
    ASSERT_TRUE(window);

    std::vector<UINT> seen;
    TWndMethod old = button->WindowProc;
    button->WindowProc = [&](TMessage& message) {
        seen.push_back(message.Msg);
        old(message);  // the control handles it first, then we look
        if (message.Msg == WM_GETTEXTLENGTH) message.Result += 100;
    };
    // A real window message: through the window procedure into the replacement, then the old one.
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 105);
    EXPECT_EQ(testing::WindowText(window), "Press") << "the chained old handler still ran";
    // A click reflected by the parent arrives as the framework's 0xBC00 + WM_COMMAND.
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    SendMessageA(window, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_NE(std::find(seen.begin(), seen.end(), CN_COMMAND), seen.end());
    EXPECT_EQ(CN_COMMAND, 0xBD11u);

    button->WindowProc = old;
    seen.clear();
    SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_TRUE(seen.empty()) << "the restored handler bypasses the replacement";

    // Graphic controls are painted and fed through their WindowProc too.
    auto* panel = Create<TPanel>(form.get());
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetBounds(0, 0, 100, 60);
    panel->SetColor(clWhite);
    panel->SetParent(form.get());
    auto* speed = Create<TSpeedButton>(form.get());
    speed->SetBounds(20, 10, 30, 20);
    speed->SetParent(panel);
    speed->SetColor(clRed);

    TBitmap picture;
    RenderClient(*panel, picture);
    EXPECT_EQ(picture.Pixel(35, 20), RGB(255, 0, 0)) << "the button paints its face";
    EXPECT_EQ(picture.Pixel(5, 5), RGB(255, 255, 255)) << "the panel paints the rest";

    // A handler that swallows the paint (result 1, old handler not called) leaves the panel
    // showing.
    TWndMethod oldSpeed = speed->WindowProc;
    POINT mouse{-1, -1};
    speed->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_PAINT) {
            message.Result = 1;
            return;
        }
        if (message.Msg == WM_LBUTTONDOWN)
            mouse = POINT{LOWORD(message.LParam), HIWORD(message.LParam)};
        oldSpeed(message);
    };
    RenderClient(*panel, picture);
    EXPECT_EQ(picture.Pixel(35, 20), RGB(255, 255, 255));

    // A press on the panel over the button reaches the button, in its own coordinates.
    clicks = 0;
    speed->OnClick = [&](TComponent*) { ++clicks; };
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 17));
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(26, 18));
    EXPECT_EQ(mouse.x, 5);
    EXPECT_EQ(mouse.y, 7);
    EXPECT_EQ(clicks, 1);
    // Released outside: no click.
    SendMessageA(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 17));
    SendMessageA(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(90, 50));
    EXPECT_EQ(clicks, 1);
    speed->WindowProc = oldSpeed;
    form.reset();  // while what the replaced handlers capture still lives
}

TEST_F(FrameworkTest, PropertyChangesArriveAsFrameworkNotifications) {
    auto form = NewForm();
    auto* panel = Create<TPanel>(form.get());
    panel->SetParent(form.get());
    auto* label = Create<TLabel>(form.get());
    label->SetParent(panel);
    auto* edit = Create<TEdit>(form.get());
    edit->SetParent(panel);
    edit->SetParentColor(true);
    panel->Handle();

    std::vector<TMessage> labelLog, editLog;
    auto record = [](TControl* control, std::vector<TMessage>& log) {
        TWndMethod old = control->WindowProc;
        control->WindowProc = [old, &log](TMessage& message) {
            if (message.Msg >= CM_BASE && message.Msg < CN_BASE) log.push_back(message);
            old(message);
        };
    };
    record(label, labelLog);
    record(edit, editLog);
    auto has = [](const std::vector<TMessage>& log, UINT msg, WPARAM wParam = ~WPARAM(0)) {
        return std::any_of(log.begin(), log.end(), [&](const TMessage& m) {
            return m.Msg == msg && (wParam == ~WPARAM(0) || m.WParam == wParam);
        });
    };

    label->SetEnabled(false);
    EXPECT_TRUE(has(labelLog, 0xB00C, 0)) << "enabled changed, 0 = now disabled";
    label->SetCaption("Hello");
    EXPECT_TRUE(has(labelLog, 0xB012)) << "text changed";
    panel->SetColor(clSkyBlue);
    EXPECT_TRUE(has(labelLog, 0xB009)) << "parent colour changed";
    EXPECT_EQ(label->Color(), clSkyBlue) << "a label takes its parent's colour";
    EXPECT_EQ(edit->Color(), clSkyBlue);
    edit->Invalidate();
    EXPECT_TRUE(has(editLog, 0xB034)) << "invalidate request";
    panel->Font().SetHeight(-14);
    EXPECT_TRUE(has(labelLog, CM_PARENTFONTCHANGED));
    EXPECT_EQ(label->Font().Height(), -14);

    // Re-creating the edit's window for its 3-D look keeps the replaced handler,
    // and the handler hears of the change before the old window goes.
    HWND before = edit->Handle();
    std::vector<UINT> order;
    TWndMethod watched = edit->WindowProc;
    edit->WindowProc = [&](TMessage& message) {
        if (message.Msg == 0xB010 || message.Msg == EM_GETMODIFY || message.Msg == WM_DESTROY)
            order.push_back(message.Msg);
        watched(message);
    };
    editLog.clear();
    edit->SetCtl3D(false);
    EXPECT_TRUE(has(editLog, 0xB010)) << "3-D look changed";
    EXPECT_EQ(edit->Handle(), before) << "re-created after the notification, not inside it";
    Pump();
    EXPECT_NE(edit->Handle(), before);
    EXPECT_EQ(order, (std::vector<UINT>{0xB010, EM_GETMODIFY, WM_DESTROY}));
    EXPECT_FALSE(GetWindowLongPtrA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "flat now";
    editLog.clear();
    edit->SetEnabled(false);
    EXPECT_TRUE(has(editLog, 0xB00C, 0));
    EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
    form.reset();  // while the handlers' captured logs still live: the windows' last messages reach them
}

TEST_F(FrameworkTest, FocusAndMouseNotifications) {
    auto form = NewForm();
    auto* first = Create<TButton>(form.get());
    first->SetBounds(10, 10, 75, 25);
    first->SetParent(form.get());
    auto* second = Create<TButton>(form.get());
    second->SetBounds(10, 50, 75, 25);
    second->SetParent(form.get());
    auto* panel = Create<TPanel>(form.get());
    panel->SetBounds(100, 10, 100, 50);
    panel->SetParent(form.get());
    auto* hotA = Create<TSpeedButton>(form.get());
    hotA->SetBounds(0, 0, 40, 40);
    hotA->SetParent(panel);
    auto* hotB = Create<TSpeedButton>(form.get());
    hotB->SetBounds(50, 0, 40, 40);
    hotB->SetParent(panel);
    form->Show();
    Pump();

    std::vector<std::string> log;
    auto record = [&log](TControl* control, const std::string& name) {
        TWndMethod old = control->WindowProc;
        control->WindowProc = [old, &log, name](TMessage& message) {
            switch (message.Msg) {
                case 0xB007: log.push_back(name + " focus changed"); break;
                case 0xB01A: log.push_back(name + " entered"); break;
                case 0xB01B: log.push_back(name + " left"); break;
                case 0xB013: log.push_back(name + " mouse in"); break;
                case 0xB014: log.push_back(name + " mouse out"); break;
                default: break;
            }
            old(message);
        };
    };
    record(first, "first");
    record(second, "second");
    record(hotA, "A");
    record(hotB, "B");

    first->SetFocus();
    Pump();
    log.clear();
    second->SetFocus();
    Pump();
    // The focus moves, then every control of the form hears where it went.
    EXPECT_EQ(log, (std::vector<std::string>{"first left", "second entered", "first focus changed",
                                             "second focus changed", "A focus changed",
                                             "B focus changed"}));
    EXPECT_EQ(form->ActiveControl(), second);

    log.clear();
    SendMessageA(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    SendMessageA(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 10));
    SendMessageA(panel->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log,
              (std::vector<std::string>{"A mouse in", "A mouse out", "B mouse in", "B mouse out"}));
    form.reset();  // while what the replaced handlers capture still lives
}

TEST_F(FrameworkTest, ListBoxStatusBarImageAndCoolBarShowTheirContent) {
    auto form = NewForm();
    auto* list = Create<TListBox>(form.get());
    list->AddItem("first");
    list->AddItem("second");  // before the window exists
    list->SetParent(form.get());
    list->AddItem("third");
    list->SetItemIndex(1);
    ASSERT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    char text[32] = {};
    SendMessageA(list->Handle(), LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "third");
    list->SetItem(0, "changed");
    SendMessageA(list->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "changed");
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetCtl3D(false);
    Pump();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3)
        << "the items survive a re-creation";
    EXPECT_EQ(list->ItemIndex(), 1);
    list->ClearItems();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 0);

    auto* status = Create<TStatusBar>(form.get());
    status->SetBounds(0, 170, 300, 19);
    status->AddPanel(50, " A");
    status->AddPanel(60, " B");
    status->SetParent(form.get());
    status->SetPanelText(1, " B : 3");
    EXPECT_EQ(status->DisplayedText(0), " A");
    EXPECT_EQ(status->DisplayedText(1), " B : 3");

    auto* image = Create<TImage>(form.get());
    image->SetBounds(10, 10, 20, 20);
    image->SetParent(form.get());
    image->Picture().SetSize(2, 2);
    image->Picture().Canvas().FillRect(RECT{0, 0, 2, 2}, clNavy);
    image->SetStretch(true);
    TBitmap picture;
    RenderClient(*form, picture);
    EXPECT_EQ(picture.Pixel(25, 25), RGB(0, 0, 128)) << "stretched over the whole control";
    EXPECT_EQ(picture.Pixel(35, 25), ColorToRGB(clBtnFace));

    // A cool bar shows its background picture around its bands.
    auto* coolBar = Create<TCoolBar>(form.get());
    coolBar->SetBounds(0, 0, 120, 60);
    coolBar->SetParent(form.get());
    coolBar->Bitmap().SetSize(4, 4);
    coolBar->Bitmap().Canvas().FillRect(RECT{0, 0, 4, 4}, clMoneyGreen);
    auto* panel = Create<TPanel>(form.get());
    panel->SetBounds(0, 0, 80, 40);
    coolBar->AddBand(panel, 45, 100);
    EXPECT_EQ(panel->Parent(), coolBar);
    EXPECT_EQ(panel->Left(), TCoolBar::kBandIndent);
    RenderClient(*coolBar, picture);
    EXPECT_EQ(picture.Pixel(100, 50), ColorToRGB(clMoneyGreen)) << "tiled picture";
}

// A screen-centred form with a menu bar gets both at its creation: its window
// is made in the centre with the bar on it, and showing it moves nothing.
TEST_F(FrameworkTest, ACentredFormIsMadeInPlaceWithItsMenuBarAndFrame) {
    auto form = NewForm();
    form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    form->SetPosition(TPosition::poScreenCenter);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    auto* menu = Create<TMainMenu>(form.get());
    auto* item = Create<TMenuItem>(form.get());
    item->SetCaption("&File");
    menu->Items()->Add(item);
    form->SetMenu(menu);
    form->SetClientSize(200, 120);
    int moves = 0, frameChanges = 0;
    auto old = form->WindowProc;
    form->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_WINDOWPOSCHANGING &&
            !(reinterpret_cast<const WINDOWPOS*>(message.LParam)->flags & SWP_NOMOVE))
            ++moves;
        if (message.Msg == WM_NCCALCSIZE && message.WParam) ++frameChanges;
        old(message);
    };
    form->HandleNeeded();
    HWND window = form->Handle();
    EXPECT_EQ(GetMenu(window), menu->Handle());
    EXPECT_EQ(frameChanges, 0) << "the frame was laid out once, with the bar";
    RECT placed;
    GetWindowRect(window, &placed);
    // Centred: as far from the left edge as from the right, within a pixel.
    EXPECT_NEAR(placed.left + placed.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(placed.top + placed.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
    moves = 0;
    form->Show();
    Pump();
    EXPECT_EQ(moves, 0) << "already where it belongs";
    RECT shown, client;
    GetWindowRect(window, &shown);
    EXPECT_TRUE(EqualRect(&shown, &placed));
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 120);
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(window, GW_OWNER), Application->Handle())
        << "owned by the application window";
    form->WindowProc = old;
    form->Close();
    EXPECT_FALSE(IsWindowVisible(window)) << "closing a form that is not the main one hides it";
}

TEST_F(FrameworkTest, MenuItemsCarryShortcutsStatesAndOwnerDrawEvents) {
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F9)), "F9");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE)), "Del");
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");

    auto form = NewForm();
    auto* menu = Create<TMainMenu>(form.get());
    auto* top = Create<TMenuItem>(form.get());
    top->SetCaption("&Game");
    menu->Items()->Add(top);
    auto* run = Create<TMenuItem>(form.get());
    run->SetCaption("Run");
    run->SetShortCut(ShortCut(VK_F9));
    top->Add(run);
    auto* off = Create<TMenuItem>(form.get());
    off->SetCaption("Off");
    off->SetShortCut(ShortCut(VK_F11));
    off->SetEnabled(false);
    top->Add(off);
    form->SetMenu(menu);
    form->Show();
    Pump();

    char text[64] = {};
    GetMenuStringA(top->Handle(), 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Run\tF9");
    EXPECT_TRUE(GetMenuState(top->Handle(), 1, MF_BYPOSITION) & MF_GRAYED);

    int runs = 0, offs = 0;
    run->OnClick = [&](TComponent*) { ++runs; };
    off->OnClick = [&](TComponent*) { ++offs; };
    // Shortcut keys go through the message loop like a player's key.
    PostMessageA(form->Handle(), WM_KEYDOWN, VK_F9, 0);
    PostMessageA(form->Handle(), WM_KEYDOWN, VK_F11, 0);
    Pump();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(offs, 0) << "a disabled item's shortcut does nothing";
    // A menu command as the system sends it.
    SendMessageA(form->Handle(), WM_COMMAND, run->Command(), 0);
    EXPECT_EQ(runs, 2);
    // In-place state changes reach the built menu.
    off->SetEnabled(true);
    EXPECT_FALSE(GetMenuState(top->Handle(), 1, MF_BYPOSITION) & MF_GRAYED);

    // Owner drawing: every item becomes owner-drawn and is measured and drawn by its events.
    menu->SetOwnerDraw(true);
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(GetMenu(form->Handle()), 0, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "the bar's items too";
    run->OnMeasureItem = [](TMenuItem*, TCanvas&, int& width, int& height) {
        width = 123;
        height = 21;
    };
    TOwnerDrawState drawnState = 0;
    run->OnAdvancedDrawItem = [&](TMenuItem*, TCanvas& canvas, RECT rect, TOwnerDrawState state) {
        drawnState = state;
        canvas.FillRect(rect, clRed);
    };
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, run->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(run)};
    SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemWidth, 123u);
    EXPECT_EQ(measure.itemHeight, 21u);
    TBitmap target(20, 10);
    DRAWITEMSTRUCT draw{ODT_MENU,
                        0,
                        run->Command(),
                        ODA_DRAWENTIRE,
                        ODS_SELECTED,
                        reinterpret_cast<HWND>(top->Handle()),
                        target.DC(),
                        RECT{0, 0, 20, 10},
                        reinterpret_cast<ULONG_PTR>(run)};
    SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(drawnState, odSelected);
    EXPECT_EQ(target.Pixel(5, 5), RGB(255, 0, 0));
}

// An EnumThreadWindows callback: a system callback (__stdcall on i686), which a
// lambda is not.
BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Timers need no window; each ticks at its own pace and stops when disabled
// or with its owner, also when it goes in another timer's tick.
TEST_F(FrameworkTest, TimersTickEachOnTheirOwnWithoutAWindow) {
    // The thread's windows, message-only ones included.
    auto ThreadWindows = [] {
        int count = 0;
        for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
             w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
            if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++count;
        EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int windowsBefore = ThreadWindows();
    auto owner = std::make_unique<TComponent>(nullptr);
    int fast = 0, slow = 0, doomed = 0, idle = 0;
    auto* fastTimer = Create<TTimer>(owner.get());
    fastTimer->SetInterval(10);
    fastTimer->OnTimer = [&](TComponent*) { ++fast; };
    auto* slowTimer = Create<TTimer>(owner.get());
    slowTimer->SetInterval(60);
    slowTimer->OnTimer = [&](TComponent*) { ++slow; };
    auto* doomedTimer = Create<TTimer>(owner.get());
    doomedTimer->SetInterval(10);
    doomedTimer->OnTimer = [&](TComponent*) { ++doomed; };
    auto* idleTimer = Create<TTimer>(owner.get());
    idleTimer->SetEnabled(false);
    idleTimer->SetInterval(10);
    idleTimer->OnTimer = [&](TComponent*) { ++idle; };

    EXPECT_EQ(ThreadWindows(), windowsBefore) << "no window of any kind for the timers";

    // The doomed one is freed by the fast one's tick, between its own ticks;
    // the fast one, at the same pace, shows the loop dispatching ticks after.
    int doomedAtFree = -1;
    fastTimer->OnTimer = [&](TComponent*) {
        if (++fast == 3) {
            doomedAtFree = doomed;
            delete doomedTimer;
        }
    };
    ASSERT_TRUE(PumpUntil([&] { return slow >= 2 && fast >= 13; }));
    EXPECT_GT(fast, slow * 2) << "the faster one ticks more often";
    EXPECT_EQ(doomed, doomedAtFree) << "a freed timer ticks no more";
    EXPECT_EQ(idle, 0) << "a disabled timer never ticks";
    slowTimer->SetEnabled(false);
    const int slowStopped = slow;
    idleTimer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return idle >= 10; }));  // longer than the slow one's pace
    EXPECT_EQ(slow, slowStopped) << "a timer disabled while running ticks no more";
    // A timer of another owner, at the same pace, shows ticks being dispatched.
    auto otherOwner = std::make_unique<TComponent>(nullptr);
    auto* witness = Create<TTimer>(otherOwner.get());
    witness->SetInterval(10);
    int witnessed = 0;
    witness->OnTimer = [&](TComponent*) { ++witnessed; };
    owner.reset();
    const int after = fast + slow + idle;
    ASSERT_TRUE(PumpUntil([&] { return witnessed >= 10; }));
    EXPECT_EQ(fast + slow + idle, after) << "gone with their owner";
}

TEST_F(FrameworkTest, ApplicationWindowHooksMessageBoxAndErrorBox) {
    TApplication& app = TestApplication();
    std::vector<UINT> seenByFirst;
    int second = 0;
    const int firstId = app.HookMainWindow([&](TMessage& message) {
        seenByFirst.push_back(message.Msg);
        return false;
    });
    const int secondId = app.HookMainWindow([&](TMessage& message) {
        if (message.Msg != WM_USER + 7) return false;
        ++second;
        message.Result = 42;
        return true;  // handled: the application window does nothing more
    });
    EXPECT_EQ(SendMessageA(app.Handle(), WM_USER + 7, 0, 0), 42);
    EXPECT_EQ(second, 1);
    EXPECT_NE(std::find(seenByFirst.begin(), seenByFirst.end(), WM_USER + 7), seenByFirst.end());
    app.UnhookMainWindow(secondId);
    EXPECT_EQ(SendMessageA(app.Handle(), WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(second, 1);
    app.UnhookMainWindow(firstId);
    seenByFirst.clear();
    SendMessageA(app.Handle(), WM_USER + 7, 0, 0);
    EXPECT_TRUE(seenByFirst.empty());

    MessageBoxRecorder boxes;
    app.ShowException("File not found");
    app.ShowException("Stopped.");
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"File not found.", "Stopped."}));
    EXPECT_EQ(boxes.boxes.back().Caption, "Quillory");
    EXPECT_EQ(boxes.boxes.back().Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    // A failure inside a message handler reaches the error box, and the program goes on.
    auto form = NewForm();
    auto* button = Create<TButton>(form.get());
    button->SetParent(form.get());
    button->OnClick = [](TComponent*) { throw std::runtime_error("File access denied"); };
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(boxes.Texts().back(), "File access denied.");
}

// Every answer comes through the dialog's own loop: a posted click or key
// waits in the queue until that loop delivers it. Enter picks the default
// button; Esc the cancel one: No, or the only button there is.
TEST_F(FrameworkTest, TheModalLoopDeliversClicksAndDialogKeys) {
    auto other = NewForm();
    other->Show();
    Pump();
    struct Case {
        const char* how;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        WORD key;  // 0: a click on "No"
        TModalResult expected;
    };
    const Case cases[] = {
        {"click on No", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0, mrNo},
        {"Enter", TMsgDlgType::mtConfirmation, mbYes | mbNo, VK_RETURN, mrYes},
        {"Esc", TMsgDlgType::mtConfirmation, mbYes | mbNo, VK_ESCAPE, mrNo},
        {"Enter, OK alone", TMsgDlgType::mtInformation, mbOK, VK_RETURN, mrOk},
        {"Esc, OK alone", TMsgDlgType::mtInformation, mbOK, VK_ESCAPE, mrOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        std::unique_ptr<TForm> dialog(CreateMessageDialog("Are you sure?", c.type, c.buttons));
        bool shown = false, otherWaited = false;
        HWND owner = nullptr;
        ModalActs answer([&](TForm& open) {
            shown = IsWindowVisible(open.Handle()) != FALSE;
            otherWaited = IsWindowEnabled(other->Handle()) == FALSE;
            owner = GetWindow(open.Handle(), GW_OWNER);
            if (c.key)
                testing::PostKey(c.key);
            else
                PostMessageA(static_cast<TButton*>(open.FindComponent("No"))->Handle(), BM_CLICK,
                             0, 0);
        });
        EXPECT_EQ(dialog->ShowModal(), c.expected);
        EXPECT_TRUE(shown) << "the answer came while the dialog was open";
        EXPECT_TRUE(otherWaited) << "the other forms wait while the dialog is open";
        EXPECT_FALSE(IsWindowVisible(dialog->Handle())) << "hidden when its loop ends";
        EXPECT_TRUE(IsWindowEnabled(other->Handle())) << "and are enabled again afterwards";
        EXPECT_EQ(owner, Application->Handle());
    }
    // The confirmation as MessageDlg makes it: its caption, text and buttons.
    std::vector<std::string> captions;
    ModalActs answer([&](TForm& dialog) {
        captions.push_back(dialog.Caption());
        auto* message = static_cast<TLabel*>(dialog.FindComponent("Message"));
        captions.push_back(message ? message->Caption() : "(no text)");
        for (const char* name : {"Yes", "No"}) {
            auto* button = static_cast<TButton*>(dialog.FindComponent(name));
            captions.push_back(button ? testing::WindowText(button->Handle()) : "(none)");
        }
        testing::ClickButton(dialog, "No");
    });
    EXPECT_EQ(MessageDlg("Are you sure?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(captions, (std::vector<std::string>{"Confirm", "Are you sure?", "&Yes", "&No"}));
}

TEST_F(FrameworkTest, InputDialogHandsBackTheTextOnlyOnOk) {
    auto typeAndPress = [](const char* text, WORD key) {
        return [text, key](TForm& dialog) {
            auto* edit = static_cast<TEdit*>(dialog.FindComponent("Edit"));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(GetFocus(), edit->Handle()) << "the edit field has the focus";
            EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 255);
            testing::PostText(text);
            testing::PostKey(key);
        };
    };
    std::string name = "start";
    {
        ModalActs answer(typeAndPress("Ada", VK_RETURN));
        EXPECT_TRUE(InputQuery("Game Over!", "Your name :", name));
        EXPECT_EQ(name, "Ada");
    }
    {
        ModalActs answer(typeAndPress("Bob", VK_ESCAPE));
        EXPECT_FALSE(InputQuery("Game Over!", "Your name :", name));
        EXPECT_EQ(name, "Ada") << "Cancel hands nothing back";
    }
    {
        std::unique_ptr<TForm> dialog(CreateInputDialog("Game Over!", "Your name :", ""));
        EXPECT_EQ(static_cast<TLabel*>(dialog->FindComponent("Prompt"))->Caption(), "Your name :");
        EXPECT_TRUE(static_cast<TButton*>(dialog->FindComponent("OK"))->Default());
        EXPECT_TRUE(static_cast<TButton*>(dialog->FindComponent("Cancel"))->Cancel());
    }
}

// Menu shadows are the system's where it draws them: NT 5.1 or later with its
// drop-shadow setting on; never before 5.1 or with the setting off.
TEST(SystemSettings, MenuShadowsAreTheSystemsFromXpOnWhileItsSettingIsOn) {
    struct Case {
        DWORD Platform, Major, Minor;
        bool DropShadow, Expected;
    };
    const Case cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 0, true, false},  {VER_PLATFORM_WIN32_NT, 5, 1, true, true},
        {VER_PLATFORM_WIN32_NT, 5, 1, false, false}, {VER_PLATFORM_WIN32_NT, 6, 0, true, true},
        {VER_PLATFORM_WIN32_NT, 10, 0, true, true},  {VER_PLATFORM_WIN32_NT, 10, 0, false, false},
        {VER_PLATFORM_WIN32_WINDOWS, 5, 1, true, false},
    };
    for (const Case& c : cases) {
        testing::ScopedSystemSettings settings(c.DropShadow, false, [c] {
            OSVERSIONINFOA version{};
            version.dwPlatformId = c.Platform;
            version.dwMajorVersion = c.Major;
            version.dwMinorVersion = c.Minor;
            return version;
        });
        EXPECT_EQ(SystemDrawsMenuShadows(), c.Expected)
            << c.Major << "." << c.Minor << " drop shadow " << c.DropShadow;
    }
}

}  // namespace
}  // namespace quillory::ui
