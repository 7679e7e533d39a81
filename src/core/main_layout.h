// The main window's layout at a screen scale: the board of 30 x 20 cells in
// its panel and band, the pause label, the frame and the status bar. At 96
// dpi the figures are the window's design; at other scales the cells keep one
// pitch (a board of uneven cells would make the snake stutter), and what sits
// around the board follows from it and from the scaled margins.
#pragma once

#include <array>

#include "core/geometry.h"

namespace quillory {

struct MainLayout {
    int CellSize = 0;   // width and height of one cell, and the pitch
    int GridLeft = 0;   // the first column's left edge in the board panel
    Rect CoolBar;       // in the client area
    int BandWidth = 0;  // the band's width and minimum height in the band container
    int BandHeight = 0;
    Rect Panel;                        // the board panel, in its band
    Rect PausedLabel;                  // in the board panel
    Rect Bevel;                        // in the board panel
    Rect Status;                       // in the client area
    std::array<int, 4> PanelWidths{};  // the status bar's panels
    Size Client;                       // the client area

    // Cell n (1..600) in the board panel.
    constexpr Rect Cell(int n) const {
        const int left = GridLeft + CellSize * ((n - 1) % 30);
        const int top = CellSize * ((n - 1) / 30);
        return Rect{left, top, left + CellSize, top + CellSize};
    }
};

MainLayout MainLayoutForDpi(int dpi);

}  // namespace quillory
