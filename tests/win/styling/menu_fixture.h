// A test form with a menu bar like the game's and a TMenuSkin with the main
// window's settings, for the menu painters' and the popup windows' tests.
#pragma once

#include <windows.h>

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
    font.SetHeight(11);
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
    skin.SetSkinControls(styling::kAllSkinControls & ~styling::SkinControlBit(styling::skSpeedButton));
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
// "&Options" (Level F11) on its bar.
struct MenuForm {
    std::unique_ptr<ui::TForm> Form;
    ui::TMainMenu* Menu = nullptr;
    ui::TMenuItem *Game = nullptr, *NewGame = nullptr, *Pause = nullptr, *Line = nullptr,
                  *Exit = nullptr, *More = nullptr, *Deeper = nullptr, *Options = nullptr,
                  *Level = nullptr;
    styling::TMenuSkin* Skin = nullptr;

    explicit MenuForm(bool withSkin = true) {
        TestApplication();
        Form.reset(ui::Create<ui::TForm>(ui::Application));
        Form->SetBounds(100, 100, 320, 240);
        Menu = ui::Create<ui::TMainMenu>(Form.get());
        ui::TMenuItem* root = Menu->Items();
        Game = AddItem(Form.get(), root, "&Game");
        NewGame = AddItem(Form.get(), Game, "New game", ui::ShortCut(VK_F9));
        Pause = AddItem(Form.get(), Game, "Pause", ui::ShortCut(VK_F10));
        Line = AddItem(Form.get(), Game, "-");
        Exit = AddItem(Form.get(), Game, "E&xit");
        More = AddItem(Form.get(), Game, "More");
        Deeper = AddItem(Form.get(), More, "Deeper");
        Options = AddItem(Form.get(), root, "&Options");
        Level = AddItem(Form.get(), Options, "Level", ui::ShortCut(VK_F11));
        Form->SetMenu(Menu);
        if (withSkin) {
            Skin = ui::Create<styling::TMenuSkin>(Form.get());
            ApplyMainWindowSettings(*Skin);
        }
    }
};

}  // namespace quillory::testing
