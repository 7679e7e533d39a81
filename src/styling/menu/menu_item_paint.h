// Measuring and painting menu entries in the flat style. A caption on the
// menu bar is a top-level entry; every other entry is a popup entry, painted
// with an icon column on the near side, its mark in that column, the caption,
// the shortcut on the far side and the selection rectangle.
#pragma once

#include <windows.h>

#include <vector>

#include "styling/elements/skin_style.h"
#include "styling/menu/menu_skin_source.h"
#include "ui/canvas.h"
#include "ui/forms.h"
#include "ui/menus.h"

namespace quillory::styling {

// The border requests an entry's painting posts to the application window:
// find the popup window from the entry (lParam: the TMenuItem), or take the
// window given (lParam: the window, wParam: 1 for right to left).
constexpr UINT WM_FLATBORDER_BYITEM = 0xBCB3;
constexpr UINT WM_FLATBORDER_BYWINDOW = 0xBCB4;

// A caption of the menu bar (an item right under a main menu's root).
bool IsTopLevelItem(const ui::TMenuItem& item);
// The menu reads from right to left.
bool ItemRightToLeft(const ui::TMenuItem& item);

// The size of the entry's picture; a popup entry's (topMenu none) is at least
// `iconWidth` wide, so the icon column is always there.
SIZE GetItemImageSize(const ui::TMenuItem& item, const ui::TMenu* topMenu, int iconWidth);

// Enlarges the proposed size to fit caption, shortcut, picture and arrow.
void MeasureMenuItem(IMenuSkin& skin, ui::TMenuItem& item, ui::TCanvas& canvas, int& width,
                     int& height);

// Paints the entry off screen and copies it to `target` in one block; a popup
// entry also covers the 4 pixels of window margin left of `rect`, and asks
// for the popup window's flat border when FlatMenu is set.
void PaintMenuItem(IMenuSkin& skin, ui::TMenuItem& item, HDC target, const RECT& rect,
                   bool selected);

// One-pixel columns of the icon colour, lighter and lighter away from the
// icon column: quickly across the column, then slowly, to 96 %.
struct TGradientColumns {
    int FirstX = 0;                  // the column of Colors[0]
    std::vector<ui::TColor> Colors;  // one per column, left to right
};
TGradientColumns IconColumnGradient(const TSkinStyle& style, const RECT& rect, bool rightToLeft);
// Column by column onto any surface.
void PaintIconColumnGradient(const TSkinStyle& style, HDC surface, const RECT& rect,
                             bool rightToLeft);
// The same pixels straight into a bitmap's bits (what the entry painter
// uses), from `row`, worked out anew only when it was for other columns.
void PaintIconColumnGradient(const TSkinStyle& style, ui::TBitmap& surface, const RECT& rect,
                             bool rightToLeft, TGradientRow& row);

// The selected bar caption: selection colours, a frame open at the bottom
// and, on high colour screens, a soft shadow down its right side.
void PaintTopItemSelected(const TSkinStyle& style, HDC surface, bool rightToLeft,
                          ui::TColor barColour, const RECT& rect);

// The mouse pointer lies on the rectangle, given in the form's window
// coordinates (its bottom row not counted). The pointer comes from the
// context, which asks for it once per message.
bool CursorInItemRect(TStyleContext& context, const ui::TForm* form, const RECT& rect);

}  // namespace quillory::styling
