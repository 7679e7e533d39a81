#include "game/cell_button.h"

#include <map>
#include <memory>
#include <tuple>

namespace quillory {

namespace {

using ui::TCanvas;
using ui::TColor;

void Pixels(TCanvas& canvas, int left, int top, int x1, int y, int x2, TColor color) {
    canvas.FillRect(RECT{left + x1, top + y, left + x2, top + y + 1}, color);
}

// A rounded square: one segment of the snake.
void DrawBody(TCanvas& canvas, int left, int top, TColor color, bool bold) {
    if (bold) {
        canvas.FillRect(RECT{left + 2, top + 1, left + 8, top + 9}, color);
        canvas.FillRect(RECT{left + 1, top + 2, left + 9, top + 8}, color);
        return;
    }
    Pixels(canvas, left, top, 2, 1, 8, color);
    Pixels(canvas, left, top, 2, 8, 8, color);
    canvas.FillRect(RECT{left + 1, top + 2, left + 2, top + 8}, color);
    canvas.FillRect(RECT{left + 8, top + 2, left + 9, top + 8}, color);
}

// A diagonal cross over eight rows: the food.
void DrawFood(TCanvas& canvas, int left, int top, TColor color, bool bold) {
    const int thickness = bold ? 2 : 1;
    for (int i = 0; i < 8; ++i) {
        const int y = 1 + i;
        Pixels(canvas, left, top, 1 + i, y, 1 + i + thickness, color);
        Pixels(canvas, left, top, 9 - i - thickness, y, 9 - i, color);
    }
}

// A diamond: the bonus.
void DrawBonus(TCanvas& canvas, int left, int top, TColor color, bool bold) {
    constexpr int kHalfWidths[] = {1, 2, 3, 4, 4, 3, 2, 1};
    for (int row = 0; row < 8; ++row) {
        const int half = kHalfWidths[row];
        const int y = 1 + row;
        if (bold) {
            Pixels(canvas, left, top, 5 - half, y, 5 + half, color);
        } else {
            Pixels(canvas, left, top, 5 - half, y, 6 - half, color);
            Pixels(canvas, left, top, 4 + half, y, 5 + half, color);
        }
    }
}

}  // namespace

bool DrawCellSymbol(TCanvas& canvas, int left, int top, char symbol, TColor color, bool bold) {
    switch (symbol) {
        case kBodySymbol: DrawBody(canvas, left, top, color, bold); return true;
        case kFoodSymbol: DrawFood(canvas, left, top, color, bold); return true;
        case kBonusSymbol: DrawBonus(canvas, left, top, color, bold); return true;
        default: return false;
    }
}

TCellButton::TCellButton(ui::TComponent* owner) : TSpeedButton(owner) {}

namespace {

using SymbolKey = std::tuple<char, TColor, bool, COLORREF>;

// The pictures of the symbols, kept for the life of the program: a handful of
// looks serve all 600 cells.
const ui::TBitmap* SymbolPicture(char symbol, TColor color, bool bold, TColor face) {
    static std::map<SymbolKey, std::unique_ptr<ui::TBitmap>> pictures;
    const SymbolKey key{symbol, color, bold, ui::ColorToRGB(face)};
    auto found = pictures.find(key);
    if (found != pictures.end()) return found->second.get();
    auto picture = std::make_unique<ui::TBitmap>(kCellSize, kCellSize);
    picture->Canvas().FillRect(RECT{0, 0, kCellSize, kCellSize}, face);
    if (!DrawCellSymbol(picture->Canvas(), 0, 0, symbol, color, bold)) return nullptr;
    return pictures.emplace(key, std::move(picture)).first->second.get();
}

}  // namespace

void TCellButton::PaintCaption(TCanvas& canvas, const RECT& rect) {
    const std::string& caption = Caption();
    if (caption.size() == 1) {
        const bool bold = (Font().Style() & ui::fsBold) != 0;
        // The picture covers the whole cell, so it is used only where the
        // face behind the symbol is plain (no hot or pressed frame).
        const bool plainFace = !Hot() && !Pressed() && !Down() && rect.left == 0 && rect.top == 0 &&
                               Width() == kCellSize && Height() == kCellSize;
        if (plainFace) {
            if (const ui::TBitmap* picture =
                    SymbolPicture(caption[0], Font().Color(), bold, Color())) {
                canvas.Draw(0, 0, *picture);
                return;
            }
        } else if (DrawCellSymbol(canvas, rect.left, rect.top, caption[0], Font().Color(), bold)) {
            return;
        }
    }
    TSpeedButton::PaintCaption(canvas, rect);
}

}  // namespace quillory
