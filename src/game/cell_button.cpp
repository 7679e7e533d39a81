#include "game/cell_button.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "core/dpi_scale.h"

namespace quillory {

namespace {

using ui::TCanvas;
using ui::TColor;

// The symbols are designed on a cell of 10 pixels; on a larger cell every
// edge is scaled to it and strokes keep their scaled thickness, so the
// shapes stay solid and even rather than blown up pixel by pixel.
struct CellGrid {
    int left, top, size;
    int At(int designLength) const { return MulDivRounded(designLength, size, kCellSize); }
    void Fill(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) const {
        canvas.FillRect(RECT{left + x1, top + y1, left + x2, top + y2}, color);
    }
};

// A rounded square: one segment of the snake.
void DrawBody(TCanvas& canvas, const CellGrid& g, TColor color, bool bold) {
    if (bold) {
        g.Fill(canvas, g.At(2), g.At(1), g.At(8), g.At(9), color);
        g.Fill(canvas, g.At(1), g.At(2), g.At(9), g.At(8), color);
        return;
    }
    const int line = g.At(1);
    g.Fill(canvas, g.At(2), g.At(1), g.At(8), g.At(1) + line, color);
    g.Fill(canvas, g.At(2), g.At(9) - line, g.At(8), g.At(9), color);
    g.Fill(canvas, g.At(1), g.At(2), g.At(1) + line, g.At(8), color);
    g.Fill(canvas, g.At(9) - line, g.At(2), g.At(9), g.At(8), color);
}

// A diagonal cross over the cell's inner square: the food.
void DrawFood(TCanvas& canvas, const CellGrid& g, TColor color, bool bold) {
    const int thickness = g.At(bold ? 2 : 1);
    const int first = g.At(1), last = g.At(9);
    for (int y = first; y < last; ++y) {
        const int step = y - first;
        g.Fill(canvas, first + step, y, first + step + thickness, y + 1, color);
        g.Fill(canvas, last - step - thickness, y, last - step, y + 1, color);
    }
}

// A diamond: the bonus.
void DrawBonus(TCanvas& canvas, const CellGrid& g, TColor color, bool bold) {
    const int first = g.At(1), last = g.At(9), middle = g.At(5);
    const int rows = last - first;
    const int line = g.At(1);
    for (int y = first; y < last; ++y) {
        const int row = y - first;
        const int half = std::min(row + 1, rows - row) * g.At(4) / (rows / 2);
        if (bold) {
            g.Fill(canvas, middle - half, y, middle + half, y + 1, color);
        } else {
            g.Fill(canvas, middle - half, y, middle - half + line, y + 1, color);
            g.Fill(canvas, middle + half - line, y, middle + half, y + 1, color);
        }
    }
}

}  // namespace

bool DrawCellSymbol(TCanvas& canvas, int left, int top, char symbol, TColor color, bool bold,
                    int cellSize) {
    const CellGrid grid{left, top, cellSize};
    switch (symbol) {
        case kBodySymbol: DrawBody(canvas, grid, color, bold); return true;
        case kFoodSymbol: DrawFood(canvas, grid, color, bold); return true;
        case kBonusSymbol: DrawBonus(canvas, grid, color, bold); return true;
        default: return false;
    }
}

TCellButton::TCellButton(ui::TComponent* owner) : TSpeedButton(owner) {}

namespace {

using SymbolKey = std::tuple<char, TColor, bool, COLORREF, int>;

// The pictures of the symbols, kept for the life of the program: a handful of
// looks serve all 600 cells.
const ui::TBitmap* SymbolPicture(char symbol, TColor color, bool bold, TColor face, int size) {
    static std::map<SymbolKey, std::unique_ptr<ui::TBitmap>> pictures;
    const SymbolKey key{symbol, color, bold, ui::ColorToRGB(face), size};
    auto found = pictures.find(key);
    if (found != pictures.end()) return found->second.get();
    auto picture = std::make_unique<ui::TBitmap>(size, size);
    picture->Canvas().FillRect(RECT{0, 0, size, size}, face);
    if (!DrawCellSymbol(picture->Canvas(), 0, 0, symbol, color, bold, size)) return nullptr;
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
                               Width() == Height();
        if (plainFace) {
            if (const ui::TBitmap* picture =
                    SymbolPicture(caption[0], Font().Color(), bold, Color(), Width())) {
                canvas.Draw(0, 0, *picture);
                return;
            }
        } else if (DrawCellSymbol(canvas, rect.left, rect.top, caption[0], Font().Color(), bold,
                                  std::min(Width(), Height()))) {
            return;
        }
    }
    TSpeedButton::PaintCaption(canvas, rect);
}

}  // namespace quillory
