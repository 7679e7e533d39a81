// The level dialog under the real pointer: a bar turns hot when the pointer
// comes over it and cold again when it goes. Pictures of both, cut out of the
// X server's screen, for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "level_test_support.h"

namespace quillory::testing {
namespace {

constexpr DWORD kCaptureTimeoutMs = 20000;
constexpr DWORD kPollMs = 100;
constexpr int kHotBar = 5;

// Runs ImageMagick's "import" on the screen area of `window` and waits,
// pumping messages so the windows stay painted, until the picture is written.
// Wine cannot wait on a Unix process, so the file is watched instead.
bool CaptureWindow(HWND window, const std::string& unixFolder, const std::string& name) {
    const RECT area = WindowRect(window);
    const std::string unixPath = unixFolder + "/" + name;
    std::string dosPath = "Z:" + unixPath;
    for (char& ch : dosPath)
        if (ch == '/') ch = '\\';
    DeleteFileA(dosPath.c_str());
    std::string command = "/usr/bin/import -window root -crop " +
                          std::to_string(ui::RectWidth(area)) + "x" +
                          std::to_string(ui::RectHeight(area)) + "+" + std::to_string(area.left) +
                          "+" + std::to_string(area.top) + " +repage " + unixPath;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    LONGLONG lastSize = -1;
    for (DWORD waited = 0; waited < kCaptureTimeoutMs; waited += kPollMs) {
        Pump();
        Sleep(kPollMs);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(dosPath.c_str(), GetFileExInfoStandard, &data)) continue;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > 0 && size == lastSize) return true;
        lastSize = size;
    }
    return false;
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
