// Helpers of the widgets' tests: a shown test form, mouse messages that also
// move the real pointer (hot tracking asks where it is), pictures made of
// plain colours, saving a bitmap for a person to look at, and the shell's
// notification area stood in for.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include <cstring>
#include <vector>

#include "ui/canvas.h"
#include "ui/forms.h"
#include "widgets/tray_icon.h"
#include "win_test_support.h"

namespace quillory::testing {

// A form on screen, active, so that hot tracking may start.
inline std::unique_ptr<ui::TForm> ShownForm(int width = 320, int height = 200) {
    TestApplication();
    std::unique_ptr<ui::TForm> form(ui::Create<ui::TForm>(ui::Application));
    form->SetBounds(60, 60, width, height);
    form->Show();
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
    Pump();
    return form;
}

inline POINT ScreenPoint(ui::TWinControl& control, int x, int y) {
    POINT point{x, y};
    ClientToScreen(control.Handle(), &point);
    return point;
}

// Moves the pointer to the control's client point (x, y), then delivers the
// mouse message there, as the system would.
inline void MouseAt(ui::TWinControl& control, UINT msg, int x, int y, WPARAM keys = 0) {
    const POINT screen = ScreenPoint(control, x, y);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(control.Handle(), msg, keys, MAKELPARAM(x, y));
}

inline COLORREF Rgb(ui::TColor color) {
    return ui::ColorToRGB(color);
}

// A bitmap of one colour.
inline void Fill(ui::TBitmap& bitmap, int width, int height, ui::TColor color) {
    bitmap.SetSize(width, height);
    bitmap.Canvas().FillRect(RECT{0, 0, width, height}, color);
}

// Saves a bitmap as a 32-bit BMP file (for a person to look at).
inline bool SaveBitmap(const ui::TBitmap& bitmap, const std::string& path) {
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD pixelBytes = static_cast<DWORD>(width) * height * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + pixelBytes;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    GdiFlush();
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    for (int y = 0; y < height; ++y) std::fwrite(bitmap.ScanLine(y), 4, width, out);
    return std::fclose(out) == 0;
}

// The colour in the middle of an icon (of 16 pixels), or CLR_INVALID for none.
inline COLORREF IconColour(HICON icon) {
    if (!icon) return CLR_INVALID;
    ui::TBitmap bitmap(16, 16);
    DrawIconEx(bitmap.DC(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    return bitmap.Pixel(8, 8);
}

struct ShellCall {
    DWORD Message;
    NOTIFYICONDATAA Data;
    COLORREF IconColour;
    std::string Tip() const {
        return std::string(Data.szTip, strnlen(Data.szTip, sizeof(Data.szTip)));
    }
};

// Stands in for Shell_NotifyIconA for its lifetime and remembers every call.
class ShellRecorder {
public:
    ShellRecorder()
        : previous_(widgets::SetShellNotifyIcon([this](DWORD message, NOTIFYICONDATAA& data) {
              (message == NIM_SETVERSION ? Versions : Calls)
                  .push_back({message, data, IconColour(data.hIcon)});
              return message == NIM_ADD ? AddAnswer : Answer;
          })) {}
    ~ShellRecorder() { widgets::SetShellNotifyIcon(std::move(previous_)); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<DWORD> Messages() const {
        std::vector<DWORD> messages;
        for (const ShellCall& call : Calls) messages.push_back(call.Message);
        return messages;
    }

    std::vector<ShellCall> Calls;
    std::vector<ShellCall> Versions;  // NIM_SETVERSION, kept apart
    // What the shell answers: FALSE to an add where there is no notification area.
    BOOL AddAnswer = TRUE, Answer = TRUE;

private:
    widgets::TShellNotifyIcon previous_;
};

}  // namespace quillory::testing
