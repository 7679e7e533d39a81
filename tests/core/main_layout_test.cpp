// Lengths at a screen scale and the main window's layout at 96, 120, 144 and
// 192 dpi: the design figures at 96, whole cells of one pitch elsewhere, and
// nothing cut off or overlapping.
#include "core/main_layout.h"

#include <gtest/gtest.h>

#include "core/dpi_scale.h"

namespace quillory {
namespace {

constexpr int kScales[] = {96, 120, 144, 192};

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TEST(DpiScale, RoundsAsTheSystemDoesAndKeepsTheDesignScale) {
    // Halves go away from zero, for lengths on both sides of it.
    EXPECT_EQ(MulDivRounded(10, 120, 96), 13);  // 12.5
    EXPECT_EQ(MulDivRounded(-10, 120, 96), -13);
    EXPECT_EQ(MulDivRounded(11, 120, 96), 14);    // 13.75
    EXPECT_EQ(MulDivRounded(-11, 144, 96), -17);  // 16.5: an 8-point font at 144 dpi
    EXPECT_EQ(MulDivRounded(9, 120, 96), 11);     // 11.25
    EXPECT_EQ(MulDivRounded(7, 1, -2), -4);       // a negative divisor turns the sign
    EXPECT_EQ(MulDivRounded(0, 144, 96), 0);
    // No overflow where the product leaves 32 bits.
    EXPECT_EQ(MulDivRounded(2000000000, 3, 4), 1500000000);
    // Nothing changes at the design scale.
    for (int length : {-32, -11, 0, 1, 9, 10, 19, 223, 316}) {
        EXPECT_EQ(ScaleForDpi(length, 96), length);
        EXPECT_EQ(ScaleForDpi(length, 144, 144), length) << "from a scale to itself";
    }
    EXPECT_EQ(ScaleForDpi(10, 144), 15);
    EXPECT_EQ(ScaleForDpi(10, 192), 20);
    EXPECT_EQ(ScaleForDpi(15, 96, 144), 10) << "back from 144";
    // Rectangles by their edges: neighbours stay neighbours.
    const Rect left{8, 0, 18, 10}, right{18, 0, 28, 10};
    for (int dpi : kScales)
        EXPECT_EQ(ScaleRectForDpi(left, dpi).Right, ScaleRectForDpi(right, dpi).Left) << dpi;
}

TEST(MainLayout, TheDesignAt96Dpi) {
    const MainLayout layout = MainLayoutForDpi(96);
    EXPECT_EQ(layout.Client, (Size{316, 223}));
    EXPECT_EQ(layout.CoolBar, (Rect{0, 0, 324, 205}));
    EXPECT_EQ(layout.BandWidth, 318);
    EXPECT_EQ(layout.BandHeight, 201);
    EXPECT_EQ(layout.Panel, (Rect{2, 0, 316, 201}));
    EXPECT_EQ(layout.Bevel, (Rect{3, 0, 311, 201}));
    EXPECT_EQ(layout.PausedLabel, (Rect{85, 84, 227, 124}));
    EXPECT_EQ(layout.Status, (Rect{0, 204, 316, 223}));
    EXPECT_EQ(layout.PanelWidths, (std::array<int, 4>{78, 64, 92, 80}));
    EXPECT_EQ(layout.Cell(1), (Rect{8, 0, 18, 10}));
    EXPECT_EQ(layout.Cell(30), (Rect{298, 0, 308, 10}));
    EXPECT_EQ(layout.Cell(600), (Rect{298, 190, 308, 200}));
}

TEST(MainLayout, CellsOfOnePitchEverythingFitsAndNothingOverlapsAtEveryScale) {
    EXPECT_EQ(MainLayoutForDpi(120).CellSize, 13);
    EXPECT_EQ(MainLayoutForDpi(144).CellSize, 15);
    EXPECT_EQ(MainLayoutForDpi(192).CellSize, 20);
    for (int dpi : kScales) {
        SCOPED_TRACE(dpi);
        const MainLayout layout = MainLayoutForDpi(dpi);
        const Rect board{0, 0, layout.Panel.Width(), layout.Panel.Height()};
        for (int n = 1; n <= 600; ++n) {
            const Rect cell = layout.Cell(n);
            ASSERT_EQ(cell.Width(), layout.CellSize);
            ASSERT_EQ(cell.Height(), layout.CellSize);
            ASSERT_TRUE(Inside(cell, board)) << "cell " << n;
            ASSERT_TRUE(Inside(cell, layout.Bevel)) << "cell " << n << " under the frame";
            if (n % 30 != 0) {
                ASSERT_EQ(layout.Cell(n + 1).Left, cell.Right) << "no gap, no overlap";
            }
            if (n <= 570) {
                ASSERT_EQ(layout.Cell(n + 30).Top, cell.Bottom);
            }
        }
        // The frame keeps its margins around the grid: 5 to its left, 3 to its right.
        EXPECT_EQ(layout.Cell(1).Left - layout.Bevel.Left,
                  ScaleForDpi(8, dpi) - ScaleForDpi(3, dpi));
        EXPECT_EQ(layout.Bevel.Right - layout.Cell(30).Right, ScaleForDpi(3, dpi));
        // Everything fits and nothing overlaps.
        const Rect client{0, 0, layout.Client.Width, layout.Client.Height};
        // The status bar whole inside the client area, below the board.
        EXPECT_TRUE(Inside(layout.Status, client));
        EXPECT_EQ(layout.Status.Bottom, client.Bottom);
        EXPECT_EQ(layout.Status.Height(), ScaleForDpi(19, dpi));
        EXPECT_GE(layout.Status.Top, layout.Panel.Bottom);
        EXPECT_FALSE(Overlap(layout.Status, layout.Panel));
        // Its panels take the bar's width but the grip's few pixels.
        int panels = 0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_GE(layout.PanelWidths[i], ScaleForDpi(std::array{78, 64, 92, 80}[i], dpi));
            panels += layout.PanelWidths[i];
        }
        EXPECT_GE(layout.Status.Width() - panels, 0);
        EXPECT_LE(layout.Status.Width() - panels, ScaleForDpi(2, dpi));
        // The board panel inside the client area and its band.
        EXPECT_TRUE(Inside(layout.Panel, client));
        EXPECT_LE(layout.Panel.Right, layout.BandWidth);
        EXPECT_LE(layout.BandWidth, layout.CoolBar.Width());
        EXPECT_EQ(layout.BandHeight, layout.Panel.Height());
        EXPECT_GE(layout.CoolBar.Height(), layout.BandHeight);
        // The label over the board's middle, inside the frame, at its scaled size.
        EXPECT_TRUE(Inside(layout.PausedLabel, layout.Bevel));
        EXPECT_EQ(layout.PausedLabel.Width(), ScaleForDpi(142, dpi));
        EXPECT_EQ(layout.PausedLabel.Height(), ScaleForDpi(40, dpi));
        const int boardMiddle = (layout.Cell(1).Left + layout.Cell(30).Right) / 2;
        EXPECT_NEAR((layout.PausedLabel.Left + layout.PausedLabel.Right) / 2, boardMiddle,
                    ScaleForDpi(2, dpi) + 1);
    }
}

}  // namespace
}  // namespace quillory
