// A styled test form: a TMenuSkin with the main window's settings and the
// controls the program styles, made in the form's constructor as the game's
// own windows are, plus pictures of what a window shows now.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "core/menu_colors.h"
#include "styling/controls/control_painters.h"
#include "styling/controls/control_subclass.h"
#include "styling/menu_fixture.h"
#include "styling/menu_skin.h"
#include "styling/menu_skin_manager.h"
#include "ui/canvas.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"
#include "win_test_support.h"

namespace quillory::testing {

// The main window's style; speed buttons too when asked for (the game leaves
// them out).
inline void ApplyGameStyle(styling::TMenuSkin& skin, bool withSpeedButtons = false) {
    ApplyMainWindowSettings(skin);
    if (withSpeedButtons) skin.SetSkinControls(styling::kAllSkinControls);
}

class TDerivedButton : public ui::TButton {
public:
    using TButton::TButton;
};
class TDerivedEdit : public ui::TEdit {
public:
    using TEdit::TEdit;
};

// A form with a skin of its own and one control of each styled kind.
class TStyledForm : public ui::TForm {
public:
    explicit TStyledForm(ui::TComponent* owner, bool withSpeedButtons = false) : TForm(owner) {
        SetBounds(120, 120, 360, 260);
        Font().SetName("MS Sans Serif");
        Font().SetHeight(-11);
        Button = Make<ui::TButton>(this, 10, 10, 75, 25, "OK");
        Derived = Make<TDerivedButton>(this, 100, 10, 75, 25, "Other");
        Edit = Make<ui::TEdit>(this, 10, 50, 120, 21, "");
        DerivedEdit = Make<TDerivedEdit>(this, 150, 50, 120, 21, "");
        List = Make<ui::TListBox>(this, 10, 90, 100, 60, "");
        Panel = Make<ui::TPanel>(this, 150, 90, 120, 60, "");
        OnPanel = Make<ui::TButton>(Panel, 8, 8, 75, 25, "On panel");
        Speed = Make<ui::TSpeedButton>(Panel, 90, 8, 24, 24, "");
        Skin = ui::Create<styling::TMenuSkin>(this);
        ApplyGameStyle(*Skin, withSpeedButtons);
    }
    template <typename T>
    T* Make(ui::TWinControl* parent, int x, int y, int w, int h, const std::string& caption) {
        auto* control = ui::Create<T>(this);
        control->SetBounds(x, y, w, h);
        control->SetCaption(caption);
        control->SetParent(parent);
        return control;
    }

    ui::TButton* Button;
    TDerivedButton* Derived;
    ui::TEdit* Edit;
    TDerivedEdit* DerivedEdit;
    ui::TListBox* List;
    ui::TPanel* Panel;
    ui::TButton* OnPanel;
    ui::TSpeedButton* Speed;
    styling::TMenuSkin* Skin;
};

inline std::unique_ptr<TStyledForm> NewStyledForm(bool withSpeedButtons = false) {
    TestApplication();
    return std::unique_ptr<TStyledForm>(ui::Create<TStyledForm>(ui::Application, withSpeedButtons));
}

// What a window's client area (or, `whole`, the whole window) shows now.
inline void Capture(HWND window, ui::TBitmap& picture, bool whole = false) {
    RECT rect{};
    if (whole) {
        GetWindowRect(window, &rect);
        OffsetRect(&rect, -rect.left, -rect.top);
    } else {
        GetClientRect(window, &rect);
    }
    picture.SetSize(rect.right, rect.bottom);
    HDC source = whole ? GetWindowDC(window) : GetDC(window);
    BitBlt(picture.DC(), 0, 0, rect.right, rect.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
}

inline bool HasColour(const ui::TBitmap& picture, const RECT& area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.Pixel(x, y) == colour) return true;
    return false;
}

}  // namespace quillory::testing
