// The framework's one answer to "how long is this at my window's dpi": the
// lookups with and without the newer functions, the rounding against the
// system's MulDiv, fonts at their point size, and forms that move to a
// screen of another scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "dpi_test_support.h"
#include "ui/dialogs.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/std_controls.h"
#include "ui/system_library.h"
#include "win_test_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::ExpectLaidOutCleanly;
using testing::FontHandleHeight;
using testing::OlderPlatformAt;
using testing::PlatformAt;
using testing::Pump;
using testing::ScopedDpiPlatform;
using testing::TestApplication;

// Every form asks for the system's dpi when it is made; the platform is asked
// once, and again only when another platform is installed.
TEST(DpiLookup, TheSystemsDpiIsAskedOncePerPlatform) {
    int asked = 0;
    TDpiPlatform platform = PlatformAt(120);
    platform.GetDpiForSystem = [&asked] {
        ++asked;
        return 120u;
    };
    {
        ScopedDpiPlatform scale(std::move(platform));
        EXPECT_EQ(SystemDpi(), 120);
        EXPECT_EQ(WindowDpi(nullptr), 120);
        EXPECT_EQ(SystemDpi(), 120);
        EXPECT_EQ(asked, 1);
        ScopedDpiPlatform other(144);
        EXPECT_EQ(SystemDpi(), 144) << "not the answer of the platform before";
    }
    EXPECT_EQ(asked, 1);
    ScopedDpiPlatform older(OlderPlatformAt(192));
    EXPECT_EQ(SystemDpi(), 192);
}

TEST(DpiLookup, NewerFunctionsFirstThenTheScreen) {
    HWND desktop = GetDesktopWindow();
    {
        ScopedDpiPlatform scale(144);
        EXPECT_EQ(WindowDpi(desktop), 144);
        EXPECT_EQ(SystemDpi(), 144);
    }
    {
        // A window the function does not know (0): the system's scale.
        TDpiPlatform platform = PlatformAt(192);
        platform.GetDpiForWindow = [](HWND) { return 0u; };
        ScopedDpiPlatform scale(std::move(platform));
        EXPECT_EQ(WindowDpi(desktop), 192);
    }
    {
        // No per-window function (Windows 8.1 and older): the system's.
        TDpiPlatform platform = PlatformAt(120);
        platform.GetDpiForWindow = nullptr;
        ScopedDpiPlatform scale(std::move(platform));
        EXPECT_EQ(WindowDpi(desktop), 120);
    }
    {
        // Windows 7: neither function, the screen's LOGPIXELSY answers.
        ScopedDpiPlatform scale(OlderPlatformAt(144));
        EXPECT_EQ(WindowDpi(desktop), 144);
        EXPECT_EQ(WindowDpi(nullptr), 144);
        EXPECT_EQ(SystemDpi(), 144);
    }
    {
        ScopedDpiPlatform scale(OlderPlatformAt(0));
        EXPECT_EQ(SystemDpi(), 96) << "a screen without an answer counts as the design scale";
    }
}

TEST(DpiLookup, TheSystemsOwnPlatform) {
    // The real set: the screen's answer is the device's, and the functions
    // the system has answer for a real window.
    const TDpiPlatform platform = SystemDpiPlatform();
    ASSERT_TRUE(platform.ScreenDpi);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(platform.ScreenDpi(), GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    EXPECT_EQ(static_cast<bool>(platform.GetDpiForWindow),
              GetProcAddress(user32, "GetDpiForWindow") != nullptr);
    EXPECT_EQ(static_cast<bool>(platform.GetDpiForSystem),
              GetProcAddress(user32, "GetDpiForSystem") != nullptr);
    // Asked directly, not through WindowDpi (whose fall-back always answers):
    // a window of ours is at the scale the screen reports to this process.
    if (platform.GetDpiForWindow) {
        HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        EXPECT_EQ(static_cast<int>(platform.GetDpiForWindow(window)), platform.ScreenDpi());
        DestroyWindow(window);
    }
}

TEST(DpiLookup, SystemMetricsAtAScale) {
    const int small = GetSystemMetrics(SM_CXSMICON);
    {
        ScopedDpiPlatform scale(OlderPlatformAt(96));
        // Without GetSystemMetricsForDpi: the system's own answer, scaled from its scale.
        EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 96), small);
        EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 192), 2 * small);
    }
    {
        TDpiPlatform platform = PlatformAt(96);
        platform.GetSystemMetricsForDpi = [](int, UINT at) { return static_cast<int>(at) / 6; };
        ScopedDpiPlatform scale(std::move(platform));
        EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 144), 24) << "the newer function answers";
    }
}

TEST(DpiScaleArithmetic, AgreesWithTheSystemsMulDiv) {
    for (int dpi : {72, 96, 120, 144, 168, 192, 240}) {
        for (int length = -400; length <= 400; ++length)
            ASSERT_EQ(ScaleForDpi(length, dpi), MulDiv(length, dpi, 96)) << length << " at " << dpi;
    }
}

TEST(DpiFonts, HandlesAreMadeForTheirScale) {
    TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-11);
    EXPECT_EQ(FontHandleHeight(font.Handle()), -11);
    font.SetPixelsPerInch(144);
    EXPECT_EQ(font.Height(), -11) << "the height as given stays";
    EXPECT_EQ(font.PixelHeight(), -17);
    EXPECT_EQ(FontHandleHeight(font.Handle()), -17);
    font.SetPixelsPerInch(120);
    EXPECT_EQ(FontHandleHeight(font.Handle()), -14);

    // A height read from the system at its scale keeps its size there.
    TFont system;
    system.SetHeightForDpi(-16, 144);
    system.SetPixelsPerInch(144);
    EXPECT_EQ(system.PixelHeight(), -16);
    system.SetPixelsPerInch(96);
    EXPECT_EQ(system.PixelHeight(), -11);  // -10.67

    TFont copy;
    copy = font;
    EXPECT_TRUE(copy.SameAs(font));
    EXPECT_EQ(copy.PixelsPerInch(), 120);
    copy.SetPixelsPerInch(96);
    EXPECT_FALSE(copy.SameAs(font)) << "one scale's font is not another's";
}

struct DpiFormTest : ::testing::Test {
    void SetUp() override { TestApplication(); }
};

TEST_F(DpiFormTest, ControlsTakeTheirFormsScaleAndKeepTheirParentFont) {
    ScopedDpiPlatform scale(144);
    auto form = std::unique_ptr<TForm>(Create<TForm>(Application));
    EXPECT_EQ(form->Dpi(), 144);
    EXPECT_EQ(form->Scaled(10), 15);
    form->Font().SetHeight(-11);

    auto* panel = Create<TPanel>(form.get());
    auto* label = Create<TLabel>(form.get());
    auto* own = Create<TLabel>(form.get());
    own->Font().SetHeight(-32);
    label->SetParent(panel);  // into a panel that has no form yet
    own->SetParent(panel);
    EXPECT_EQ(label->Dpi(), 96);
    panel->SetParent(form.get());
    EXPECT_EQ(panel->Dpi(), 144);
    EXPECT_EQ(label->Dpi(), 144);
    EXPECT_EQ(label->Font().PixelHeight(), -17);
    EXPECT_TRUE(label->ParentFont()) << "following the scale is not a font of its own";
    EXPECT_EQ(own->Font().PixelHeight(), -48);
    EXPECT_FALSE(own->ParentFont());

    // The parent's font changes later: the label follows it, at the scale.
    form->Font().SetHeight(-13);
    EXPECT_EQ(label->Font().PixelHeight(), MulDiv(-13, 144, 96));
    // A windowed control's window gets the scaled font.
    auto* edit = Create<TEdit>(form.get());
    edit->SetParent(form.get());
    EXPECT_EQ(
        FontHandleHeight(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0))),
        MulDiv(-13, 144, 96));
}

// A form that lays itself out at its scale, as the program's windows do.
class LaidOutForm : public TForm {
public:
    explicit LaidOutForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(TFormBorderStyle::bsToolWindow);
        Button = Create<TButton>(this);
        Button->SetParent(this);
        LayOut();
    }
    void LayOut() {
        ++layouts;
        SetClientSize(Scaled(200), Scaled(100));
        Button->SetBounds(Scaled(10), Scaled(60), Scaled(75), Scaled(25));
    }
    TButton* Button;
    int layouts = 0;

protected:
    void DpiChanged(int) override { LayOut(); }
};

TEST_F(DpiFormTest, MovingToAScreenOfAnotherScaleLaysOutAgain) {
    auto form = std::unique_ptr<LaidOutForm>(Create<LaidOutForm>(Application));
    form->Show();
    Pump();
    const int dpi = form->Dpi();
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(200, dpi));
    const int before = form->layouts;

    // The system's message: the new scale and the rectangle it suggests.
    RECT suggested{150, 120, 150 + 330, 120 + 190};
    SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->Dpi(), 192);
    EXPECT_EQ(form->Button->Dpi(), 192);
    EXPECT_EQ(form->layouts, before + 1);
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 200);
    RECT outer;
    GetWindowRect(form->Handle(), &outer);
    EXPECT_EQ(outer.left, 150) << "placed where the system suggests";
    EXPECT_EQ(outer.top, 120);
    RECT button;
    GetWindowRect(form->Button->Handle(), &button);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, 20);
    EXPECT_EQ(button.bottom, 170);
    EXPECT_EQ(FontHandleHeight(
                  reinterpret_cast<HFONT>(SendMessageA(form->Button->Handle(), WM_GETFONT, 0, 0))),
              MulDiv(form->Font().Height(), 192, 96));
}

TEST_F(DpiFormTest, AWindowCreatedOnAScreenOfAnotherScale) {
    // Laid out at the system's scale, then the window finds itself at another.
    std::unique_ptr<LaidOutForm> form;
    {
        ScopedDpiPlatform system(96);
        form.reset(Create<LaidOutForm>(Application));
    }
    ASSERT_EQ(form->Dpi(), 96);
    TDpiPlatform platform = PlatformAt(96);
    platform.GetDpiForWindow = [](HWND) { return 120u; };
    ScopedDpiPlatform scale(std::move(platform));
    form->HandleNeeded();
    EXPECT_EQ(form->Dpi(), 120);
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 125);
}

class DialogsAtScaleTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { TestApplication(); }
    ScopedDpiPlatform scale{GetParam()};
};

TEST_P(DialogsAtScaleTest, MessageDialog) {
    const int dpi = GetParam();
    std::unique_ptr<TForm> box(
        CreateMessageDialog("Changes will take effect when you start new game",
                            TMsgDlgType::mtConfirmation, mbYes | mbNo));
    box->HandleNeeded();
    EXPECT_EQ(box->Dpi(), dpi);
    ExpectLaidOutCleanly(*box);
    auto* image = box->FindComponent("Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(static_cast<TControl*>(image)->Width(), SystemMetricForDpi(SM_CXICON, dpi));
    auto* yes = static_cast<TButton*>(box->FindComponent("Yes"));
    auto* no = static_cast<TButton*>(box->FindComponent("No"));
    EXPECT_EQ(yes->Width(), ScaleForDpi(75, dpi));
    EXPECT_EQ(yes->Height(), ScaleForDpi(25, dpi));
    EXPECT_EQ(no->Left() - yes->Left() - yes->Width(), ScaleForDpi(8, dpi));
    // The text whole on its line at the scaled font.
    auto* message = static_cast<TLabel*>(box->FindComponent("Message"));
    WindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    canvas.Font = message->Font();
    EXPECT_EQ(FontHandleHeight(message->Font().Handle()), MulDiv(-11, dpi, 96));
    EXPECT_LE(canvas.TextWidth(message->Caption()), message->Width());
}

TEST_P(DialogsAtScaleTest, InputDialog) {
    const int dpi = GetParam();
    std::unique_ptr<TForm> dialog(CreateInputDialog("Quillory", "Your name:", "Player"));
    dialog->HandleNeeded();
    ExpectLaidOutCleanly(*dialog);
    RECT client;
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(260, dpi));
    auto* edit = static_cast<TEdit*>(dialog->FindComponent("Edit"));
    EXPECT_EQ(edit->Height(), ScaleForDpi(21, dpi));
    EXPECT_EQ(
        FontHandleHeight(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0))),
        MulDiv(-11, dpi, 96));
    // The edit field's text fits its height at the font it shows.
    TEXTMETRICA metrics{};
    HDC dc = GetDC(edit->Handle());
    HGDIOBJ old = SelectObject(dc, edit->Font().Handle());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit->Handle(), dc);
    EXPECT_LE(metrics.tmHeight, edit->Height() - 4);
}

INSTANTIATE_TEST_SUITE_P(EveryScale, DialogsAtScaleTest, ::testing::Values(96, 120, 144, 192));

// Windows 7 without KB2533623 refuses the flag that searches the system folder
// alone (as this fake loader does): the library's full path there instead.
std::vector<std::pair<std::string, DWORD>> loads;
HMODULE WINAPI LoaderWithoutTheFlag(LPCSTR name, HANDLE, DWORD flags) {
    loads.emplace_back(name, flags);
    SetLastError(ERROR_INVALID_PARAMETER);
    return flags == LOAD_LIBRARY_SEARCH_SYSTEM32 ? nullptr : GetModuleHandleA(nullptr);
}

TEST(SystemLibrary, ByItsFullPathWhereTheSystemFolderAloneCannotBeSearched) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    EXPECT_EQ(LoadSystemLibrary("dwmapi.dll", LoaderWithoutTheFlag), GetModuleHandleA(nullptr));
    EXPECT_EQ(loads, (decltype(loads){
                         {"dwmapi.dll", LOAD_LIBRARY_SEARCH_SYSTEM32},
                         {std::string(folder) + "\\dwmapi.dll", LOAD_WITH_ALTERED_SEARCH_PATH}}));
}

}  // namespace
}  // namespace quillory
