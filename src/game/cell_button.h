// The board's cell button: a flat speed button whose captions are the symbol
// characters of the board font. The symbols are drawn here, pixel by pixel, so
// they look the same on every system, with or without that font.
#pragma once

#include "ui/ext_controls.h"

namespace quillory {

// The captions the board uses and what they stand for.
constexpr char kBodySymbol = '<';
constexpr char kFoodSymbol = 'r';
constexpr char kBonusSymbol = '~';
constexpr const char* kCellFontName = "Webdings";
constexpr int kCellFontHeight = -12;
constexpr int kCellSize = 10;

// Draws one board symbol into a cell whose top-left corner is (left, top), in
// the given colour; bold draws it solid, regular as an outline. Returns false
// for a character that is not a board symbol.
bool DrawCellSymbol(ui::TCanvas& canvas, int left, int top, char symbol, ui::TColor color,
                    bool bold);

class TCellButton : public ui::TSpeedButton {
public:
    const char* ClassName() const override { return "TCellButton"; }
    explicit TCellButton(ui::TComponent* owner);

protected:
    // A board symbol comes from a small picture drawn once per look (symbol,
    // colour, style, face colour) and copied in one piece on every paint.
    void PaintCaption(ui::TCanvas& canvas, const RECT& rect) override;
};

}  // namespace quillory
