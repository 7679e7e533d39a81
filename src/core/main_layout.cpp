#include "core/main_layout.h"

#include "core/dpi_scale.h"

namespace quillory {
namespace {

// The design at 96 dpi: client 316 x 223, cells of 10 from x 8.
constexpr int kCellSize = 10;
constexpr int kGridLeft = 8;
constexpr int kGridRightMargin = 6;     // panel 314 = 8 + 300 + 6
constexpr int kGridBottomMargin = 1;    // panel 201 = 200 + 1
constexpr int kBevelInset = 3;          // the frame: 3 .. 311 around the grid's 8 .. 308
constexpr int kPanelLeft = 2;           // the band's indent
constexpr int kBandExtraWidth = 4;      // band 318 = panel 314 + 4
constexpr int kCoolBarExtraWidth = 6;   // band container 324 = band 318 + 6
constexpr int kCoolBarExtraHeight = 4;  // band container 205 = band 201 + 4
constexpr int kStatusGap = 3;           // status bar at 204 = board 201 + 3
constexpr int kStatusHeight = 19;
// Score, level, record, bonus. The level is one digit, the record up to
// four after a label longer than the others': the record takes 14 pixels
// the level does not need.
constexpr std::array<int, 4> kPanelWidths{78, 64, 92, 80};
constexpr Size kPausedLabelSize{142, 40};  // at 85, 84: its middle at 156, 104
constexpr Point kPausedLabelShift{-2, 4};  // from the grid's middle at 158, 100
constexpr int kDesignClientWidth = 316;

}  // namespace

MainLayout MainLayoutForDpi(int dpi) {
    auto scaled = [dpi](int length) { return ScaleForDpi(length, dpi); };
    MainLayout layout;
    layout.CellSize = scaled(kCellSize);
    layout.GridLeft = scaled(kGridLeft);
    const int gridRight = layout.GridLeft + 30 * layout.CellSize;
    const int gridBottom = 20 * layout.CellSize;
    const int panelWidth = gridRight + scaled(kGridRightMargin);
    const int panelHeight = gridBottom + scaled(kGridBottomMargin);
    layout.Panel = Rect{scaled(kPanelLeft), 0, scaled(kPanelLeft) + panelWidth, panelHeight};
    layout.Bevel = Rect{scaled(kBevelInset), 0, gridRight + scaled(kBevelInset), panelHeight};
    layout.BandWidth = panelWidth + scaled(kBandExtraWidth);
    layout.BandHeight = panelHeight;
    layout.CoolBar = Rect{0, 0, layout.BandWidth + scaled(kCoolBarExtraWidth),
                          panelHeight + scaled(kCoolBarExtraHeight)};

    // The label stays where it is over the board's middle (2 left of it and
    // 4 below at 96 dpi), also where the board grows by more than the scale
    // alone, since it grows by whole cells.
    const int labelWidth = scaled(kPausedLabelSize.Width);
    const int labelHeight = scaled(kPausedLabelSize.Height);
    const int labelMiddleX = layout.GridLeft + 15 * layout.CellSize + scaled(kPausedLabelShift.X);
    const int labelMiddleY = 10 * layout.CellSize + scaled(kPausedLabelShift.Y);
    const int labelLeft = labelMiddleX - labelWidth / 2;
    const int labelTop = labelMiddleY - labelHeight / 2;
    layout.PausedLabel = Rect{labelLeft, labelTop, labelLeft + labelWidth, labelTop + labelHeight};

    const int clientWidth = layout.Panel.Right;
    for (std::size_t i = 0; i < kPanelWidths.size(); ++i)
        layout.PanelWidths[i] = scaled(kPanelWidths[i]);
    // Where whole cells make the window wider than the scale alone would,
    // the last panel takes the difference.
    layout.PanelWidths[3] += clientWidth - scaled(kDesignClientWidth);
    const int statusTop = panelHeight + scaled(kStatusGap);
    layout.Status = Rect{0, statusTop, clientWidth, statusTop + scaled(kStatusHeight)};
    layout.Client = Size{clientWidth, layout.Status.Bottom};
    return layout;
}

}  // namespace quillory
