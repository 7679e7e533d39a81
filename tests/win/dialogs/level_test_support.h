// What the level dialog tests share: a main window and the dialog over one
// game, a player's click on a bar, and the colours a bar shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "dialogs/level_form.h"
#include "win_test_support.h"

namespace quillory::testing {

// Out of the way of every window of the tests, so no bar turns hot by chance.
inline void ParkPointer() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Pump();
}

// The colours a bar shows on screen: frame corner and face centre.
struct BarLook {
    COLORREF Frame;
    COLORREF Face;
};

// Read from the window's own pixels, as they are on screen now.
inline BarLook ShownLook(widgets::TShadeButton& bar) {
    HDC dc = GetDC(bar.Handle());
    const BarLook look{GetPixel(dc, 0, 0), GetPixel(dc, bar.Width() / 2, bar.Height() / 2)};
    ReleaseDC(bar.Handle(), dc);
    return look;
}

class LevelFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        ParkPointer();
        main_.reset(MakeMainWindow());
        dialog_.reset(ui::Create<TLevelForm>(ui::Application, game_, main_.get()));
    }
    void TearDown() override {
        dialog_.reset();
        main_.reset();
        Pump();
    }

    // What the Level command does: main window disabled, dialog centred and shown.
    void Open() {
        main_->SetEnabled(false);
        dialog_->ShowCentredOver(*main_);
        Pump();
    }

    // A player's click: press and release of the left button on the bar's window.
    void ClickBar(int n) {
        HWND bar = dialog_->LevelBar(n)->Handle();
        const LPARAM at = MAKELPARAM(4, 4);
        SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar, WM_LBUTTONUP, 0, at);
    }

    // Closing with the caption's close button.
    void CloseByCaption() { SendMessageA(dialog_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

    GameState game_;
    std::unique_ptr<ui::TForm> main_;
    std::unique_ptr<TLevelForm> dialog_;
};

}  // namespace quillory::testing
