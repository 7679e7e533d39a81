// A test form with a menu bar like the game's and a TMenuSkin with the main
// window's settings, for the menu painters' and the popup windows' tests.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "style_test_support.h"
#include "styling/menu_skin.h"
#include "ui/forms.h"
#include "ui/menus.h"

namespace quillory::testing {

// The main window's settings, in the order it applies them.
inline void ApplyMainWindowSettings(styling::TMenuSkin& skin) {
    skin.SetDimLevel(30);
    skin.SetGrayLevel(10);
    ui::TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-11);
    font.SetColor(clMenuText);
    skin.SetFont(font);
    skin.SetColor(clSkyBlue);
    skin.SetDrawMenuBar(true);
    skin.SetIconBackColor(clSkyBlue);
    skin.SetMenuBarColor(clBtnFace);
    skin.SetSelectColor(clSkyBlue);
    skin.SetSelectBorderColor(clNavy);
    skin.SetSelectFontColor(clMenuText);
    skin.SetDisabledColor(clMoneyGreen);
    skin.SetSeparatorColor(clSkyBlue);
    skin.SetCheckedColor(clHighlight);
    skin.SetIconWidth(24);
    skin.SetDrawSelect(true);
    skin.SetUseSystemColors(false);
    skin.SetUseDimColor(true);
    skin.SetOverrideOwnerDraw(true);
    skin.SetGradient(true);
    skin.SetFlatMenu(true);
    skin.SetAutoDetect(true);
    skin.SetSkinControls(styling::kAllSkinControls &
                         ~styling::SkinControlBit(styling::skSpeedButton));
    skin.SetActive(true);
}

inline ui::TMenuItem* AddItem(ui::TComponent* owner, ui::TMenuItem* parent,
                              const std::string& caption, ui::TShortCut shortCut = ui::scNone) {
    auto* item = ui::Create<ui::TMenuItem>(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

// A form with "&Game" (New game F9, Pause F10, a line, E&xit, a sub-menu) and
// "&Options" (Level F11) on its bar, and, if asked for, a TMenuSkin with the
// main window's settings; all made in the constructor, as the game's own
// window does, so the form's load step sees the final settings.
class TMenuTestForm : public ui::TForm {
public:
    TMenuTestForm(ui::TComponent* owner, bool withSkin, LONG_PTR tag = 0) : TForm(owner) {
        SetTag(tag);
        SetBounds(100, 100, 320, 240);
        Menu = ui::Create<ui::TMainMenu>(this);
        ui::TMenuItem* root = Menu->Items();
        Game = AddItem(this, root, "&Game");
        NewGame = AddItem(this, Game, "New game", ui::ShortCut(VK_F9));
        Pause = AddItem(this, Game, "Pause", ui::ShortCut(VK_F10));
        Line = AddItem(this, Game, "-");
        Exit = AddItem(this, Game, "E&xit");
        More = AddItem(this, Game, "More");
        Deeper = AddItem(this, More, "Deeper");
        Options = AddItem(this, root, "&Options");
        Level = AddItem(this, Options, "Level", ui::ShortCut(VK_F11));
        SetMenu(Menu);
        if (withSkin) {
            Skin = ui::Create<styling::TMenuSkin>(this);
            ApplyMainWindowSettings(*Skin);
        }
    }

    ui::TMainMenu* Menu = nullptr;
    ui::TMenuItem *Game = nullptr, *NewGame = nullptr, *Pause = nullptr, *Line = nullptr,
                  *Exit = nullptr, *More = nullptr, *Deeper = nullptr, *Options = nullptr,
                  *Level = nullptr;
    styling::TMenuSkin* Skin = nullptr;
};

inline std::unique_ptr<TMenuTestForm> NewMenuForm(bool withSkin = true, LONG_PTR tag = 0) {
    TestApplication();
    return std::unique_ptr<TMenuTestForm>(
        ui::Create<TMenuTestForm>(ui::Application, withSkin, tag));
}

// The form with the skin, for tests that only paint.
struct MenuForm {
    std::unique_ptr<TMenuTestForm> Owner = NewMenuForm();
    TMenuTestForm* Form = Owner.get();
    ui::TMainMenu* Menu = Form->Menu;
    ui::TMenuItem *Game = Form->Game, *NewGame = Form->NewGame, *Pause = Form->Pause,
                  *Line = Form->Line, *Exit = Form->Exit, *More = Form->More,
                  *Deeper = Form->Deeper, *Options = Form->Options, *Level = Form->Level;
    styling::TMenuSkin* Skin = Form->Skin;
};

// A popup menu of the test form, opened for real; `inside` runs from a timer
// while the menu's own loop is running, then the menu is closed.
struct OpenPopup {
    static inline std::function<void()> inside;
    static inline bool done = false;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        if (done) return;
        done = true;
        KillTimer(nullptr, id);
        inside();
        EndMenu();
    }
    static void Run(ui::TPopupMenu& popup, std::function<void()> body) {
        inside = std::move(body);
        done = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 400, Tick);
        popup.Popup(300, 250);
        KillTimer(nullptr, timer);
        Pump();
    }
};

inline HWND FindPopupWindow() {
    for (HWND w = FindWindowA("#32768", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace quillory::testing
