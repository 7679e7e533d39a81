// The level dialog under the real pointer: a bar turns hot when the pointer
// comes over it and cold again when it goes. Pictures of both, cut out of the
// X server's screen, for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "level_test_support.h"
#include "screen_capture.h"

namespace quillory::testing {
namespace {

constexpr int kHotBar = 5;

// The screen area of `window`, as a person sees it.
bool CaptureWindow(HWND window, const std::string& unixFolder, const std::string& name) {
    const RECT area = WindowRect(window);
    return CaptureScreen(unixFolder, name, &area, [] { Pump(); });
}

TEST_F(LevelFormTest, BarTurnsHotUnderThePointerAndColdAfter) {
    const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR");
    const bool capture = folder && *folder;
    Open();
    ASSERT_EQ(GetActiveWindow(), dialog_->Handle());  // hot tracking wants an active window
    if (capture) {
        EXPECT_TRUE(CaptureWindow(dialog_->Handle(), folder, "level_rest.png"));
    }

    widgets::TShadeButton& bar = *dialog_->LevelBar(kHotBar);
    const POINT centre = bar.ClientToScreen(POINT{bar.Width() / 2, bar.Height() / 2});
    SetCursorPos(centre.x, centre.y);
    // The motion the pointer makes, in case the server does not report a warp.
    SendMessageA(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bar.Width() / 2, bar.Height() / 2));
    ASSERT_TRUE(PumpUntil([&] { return bar.Hot(); }));
    const BarLook hot = ShownLook(bar);
    EXPECT_EQ(hot.Face, GetSysColor(COLOR_HOTLIGHT));
    EXPECT_EQ(hot.Frame, RGB(255, 255, 255));  // raised: white top-left
    if (capture) {
        EXPECT_TRUE(CaptureWindow(dialog_->Handle(), folder, "level_hot.png"));
    }

    // The shared hover timer notices that the pointer has gone.
    ParkPointer();
    EXPECT_TRUE(PumpUntil([&] { return !bar.Hot(); }));
    Pump(std::chrono::milliseconds(50));
    const BarLook cold = ShownLook(bar);
    EXPECT_EQ(cold.Face, RGB(0, 0, 0));
    EXPECT_EQ(cold.Frame, GetSysColor(COLOR_3DDKSHADOW));
}

}  // namespace
}  // namespace quillory::testing
