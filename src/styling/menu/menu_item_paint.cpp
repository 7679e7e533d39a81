#include "styling/menu/menu_item_paint.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/hsl_colors.h"
#include "styling/elements/bitmap_pixels.h"
#include "styling/elements/dc_tools.h"
#include "styling/elements/item_parts.h"
#include "ui/application.h"
#include "ui/gdi.h"
#include "ui/image_list.h"

namespace quillory::styling {

namespace {

constexpr char kSeparatorCaption[] = "-";
// The width of these letters is the gap between caption and shortcut.
constexpr char kShortCutGap[] = "WWW";
constexpr int kMeasureSlack = 5;
constexpr int kSubMenuArrowRoom = 6;
constexpr int kSeparatorHeight = 4;
constexpr double kLineSpacing = 0.75;
constexpr int kImageVerticalRoom = 6;
// A popup entry is painted with the window's left margin.
constexpr int kPopupMargin = 4;
constexpr int kTopLevelTextIndent = 4;
constexpr int kMarkSize = 10;
constexpr int kHotCaptionShort = 7;
constexpr int kSeparatorIndent = 7;
constexpr int kTextIndent = 3;
constexpr UINT kRightToLeftFormat = DT_RIGHT | DT_RTLREADING;
constexpr int kGradientFastStep = 3;
constexpr int kGradientSlowStep = 1;
constexpr int kGradientCeiling = 96;

ui::TForm* MenuOwnerForm(const ui::TMenuItem& item) {
    ui::TMenu* menu = item.GetParentMenu();
    if (!menu) return nullptr;
    if (auto* mainMenu = dynamic_cast<ui::TMainMenu*>(menu); mainMenu && mainMenu->WindowForm())
        return mainMenu->WindowForm();
    return dynamic_cast<ui::TForm*>(menu->Owner());
}

const ui::TBitmap& OwnBitmap(const ui::TMenuItem& item) {
    return const_cast<ui::TMenuItem&>(item).Bitmap();
}

// The list an entry's ImageIndex picks from: the parent's list for its
// sub-items first, then the menu's own.
ui::TImageList* ItemImageList(const ui::TMenuItem& item) {
    if (const ui::TMenuItem* parent = item.Parent(); parent && parent->SubMenuImages())
        return parent->SubMenuImages();
    const ui::TMenu* menu = item.GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

bool HasListImage(const ui::TMenuItem& item) {
    return item.ImageIndex() != -1 && ItemImageList(item) != nullptr;
}

// The picture of an entry, on a ground of the transparent key: its own
// bitmap, or, in its place, the image its list holds for it.
void PrepareImage(const ui::TMenuItem& item, const TSkinStyle& style, ui::TBitmap& image) {
    const ui::TBitmap& own = OwnBitmap(item);
    if (own.Width() > 0) {
        image.SetSize(own.Width(), own.Height());
        FillSolid(image.DC(), RECT{0, 0, own.Width(), own.Height()}, style.FTransparentKey);
        ui::TCanvas(image.DC()).DrawTransparent(0, 0, own);
    }
    if (HasListImage(item)) {
        const ui::TImageList* list = ItemImageList(item);
        image.SetSize(list->Width(), list->Height());
        FillSolid(image.DC(), RECT{0, 0, list->Width(), list->Height()}, style.FTransparentKey);
        ImageList_DrawEx(list->Handle(), item.ImageIndex(), image.DC(), 0, 0, 0, 0, CLR_NONE,
                         CLR_NONE, ILD_TRANSPARENT);
    }
}

int TextHeightOf(HDC dc, const ui::TFont& font, const std::string& text) {
    ui::TCanvas canvas(dc);
    canvas.Font = font;
    return canvas.TextHeight(text);
}

// Painting a menu entry by entry leaves at most one request waiting.
void PostBorderRequest(TStyleContext& context, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!ui::Application) return;
    HWND application = ui::Application->Handle();
    if (!application) return;
    MSG waiting;
    if (context.BorderRequestOut && PeekMessageA(&waiting, application, WM_FLATBORDER_BYITEM,
                                                 WM_FLATBORDER_BYWINDOW, PM_NOREMOVE | PM_NOYIELD))
        return;
    if (PostMessageA(application, message, wParam, lParam)) context.BorderRequestOut = true;
}

}  // namespace

bool IsTopLevelItem(const ui::TMenuItem& item) {
    const ui::TMenuItem* parent = item.Parent();
    ui::TMenu* menu = item.GetParentMenu();
    return parent && menu && parent == menu->Items() && dynamic_cast<ui::TMainMenu*>(menu);
}

bool ItemRightToLeft(const ui::TMenuItem& item) {
    const ui::TMenu* menu = item.GetParentMenu();
    return menu && menu->RightToLeft();
}

SIZE GetItemImageSize(const ui::TMenuItem& item, const ui::TMenu* topMenu, int iconWidth) {
    SIZE size{0, 0};
    bool hasImage = topMenu && topMenu->Images() && item.ImageIndex() != -1;
    if (HasListImage(item)) hasImage = true;
    if (hasImage) {
        const ui::TImageList* list = ItemImageList(item);
        if (!list) list = topMenu->Images();
        size = SIZE{list->Width(), list->Height()};
    } else if (OwnBitmap(item).Width() > 0) {
        size = SIZE{OwnBitmap(item).Width(), OwnBitmap(item).Height()};
    }
    if (!topMenu) size.cx = std::max<LONG>(size.cx, iconWidth);
    return size;
}

void MeasureMenuItem(IMenuSkin& skin, ui::TMenuItem& item, ui::TCanvas& canvas, int& width,
                     int& height) {
    if (!skin.IsActive()) return;
    const TSkinStyle& style = skin.Style(canvas.Handle());
    const bool separator = item.Caption() == kSeparatorCaption;
    std::string text = separator ? std::string() : item.Caption();
    const std::string shortCut = ui::ShortCutToText(item.ShortCut());
    if (shortCut.find_first_not_of(' ') != std::string::npos) text += shortCut + kShortCutGap;
    canvas.Font = style.Font;
    int w = canvas.TextWidth(text) + style.Scaled(kMeasureSlack);
    if (text.find('&') != std::string::npos) w -= canvas.TextWidth("&");
    const bool topLevel = IsTopLevelItem(item);
    if (!topLevel && item.Count() > 0) w += style.Scaled(kSubMenuArrowRoom);
    const SIZE image = GetItemImageSize(item, topLevel ? item.GetParentMenu() : nullptr,
                                        style.Scaled(style.IconWidth));
    width = std::max(width, w + static_cast<int>(image.cx));
    if (separator) {
        height = style.Scaled(kSeparatorHeight);
        return;
    }
    const int th = canvas.TextHeight(text);
    int h = th + RoundHalfEven(th * kLineSpacing);
    h = std::max(h, static_cast<int>(image.cy) + style.Scaled(kImageVerticalRoom));
    height = std::max(height, h);
}

TGradientColumns IconColumnGradient(const TSkinStyle& style, const RECT& rect, bool rightToLeft) {
    const int columns = std::max(0L, rect.right - rect.left + 1);
    TGradientColumns gradient;
    // Left to right the columns run from rect.left; right to left they start
    // at rect.right - 1 and end one column left of rect.left.
    gradient.FirstX = rightToLeft ? rect.right - columns : rect.left;
    gradient.Colors.resize(columns);
    const ui::TColor base = ui::ColorToRGB(style.Colors.FResIconBackColor);
    // The steps are worked out on the columns of the design at 96 dpi; at
    // another scale each column takes the step of the design column it falls
    // in, so the gradient keeps its shape over the wider column.
    const int designColumns = ScaleForDpi(columns, kDesignDpi, style.Dpi) + 1;
    std::vector<int> steps(static_cast<std::size_t>(designColumns));
    int s = 0;
    for (int i = 0; i < designColumns; ++i) {
        const bool fast = rightToLeft ? i < style.IconWidth - 6 : 0 < i && i < style.IconWidth + 5;
        s = std::min(s + (fast ? kGradientFastStep : kGradientSlowStep), kGradientCeiling);
        steps[static_cast<std::size_t>(i)] = s;
    }
    for (int i = 0; i < columns; ++i) {
        const int design = std::min(MulDivRounded(i, kDesignDpi, style.Dpi), designColumns - 1);
        const int x = rightToLeft ? rect.right - 1 - i : rect.left + i;
        gradient.Colors[x - gradient.FirstX] =
            LightenColor(base, steps[static_cast<std::size_t>(std::max(design, 0))]);
    }
    return gradient;
}

void PaintIconColumnGradient(const TSkinStyle& style, HDC surface, const RECT& rect,
                             bool rightToLeft) {
    const TGradientColumns gradient = IconColumnGradient(style, rect, rightToLeft);
    for (int i = 0; i < static_cast<int>(gradient.Colors.size()); ++i) {
        const int x = gradient.FirstX + i;
        FillSolid(surface, RECT{x, rect.top, x + 1, rect.bottom}, gradient.Colors[i]);
    }
}

void PaintIconColumnGradient(const TSkinStyle& style, ui::TBitmap& surface, const RECT& rect,
                             bool rightToLeft, TGradientRow& row) {
    const ui::TColor base = ui::ColorToRGB(style.Colors.FResIconBackColor);
    if (row.Base != base || row.IconWidth != style.IconWidth || row.Dpi != style.Dpi ||
        row.Left != rect.left || row.Right != rect.right || row.RightToLeft != rightToLeft) {
        const TGradientColumns gradient = IconColumnGradient(style, rect, rightToLeft);
        row = TGradientRow{base,       style.IconWidth, style.Dpi,       rect.left,
                           rect.right, rightToLeft,     gradient.FirstX, {}};
        row.Pixels.reserve(gradient.Colors.size());
        for (ui::TColor c : gradient.Colors)
            row.Pixels.push_back((static_cast<std::uint32_t>(RedOf(c)) << 16) |
                                 (static_cast<std::uint32_t>(GreenOf(c)) << 8) |
                                 static_cast<std::uint32_t>(BlueOf(c)));
    }
    const int first = std::max(row.FirstX, 0);
    const int last = std::min(row.FirstX + static_cast<int>(row.Pixels.size()), surface.Width());
    if (first >= last) return;
    GdiFlush();
    const int top = std::max(static_cast<int>(rect.top), 0);
    const int bottom = std::min(static_cast<int>(rect.bottom), surface.Height());
    for (int y = top; y < bottom; ++y) {
        std::copy(row.Pixels.begin() + (first - row.FirstX),
                  row.Pixels.begin() + (last - row.FirstX), surface.ScanLine(y) + first);
    }
}

void PaintTopItemSelected(const TSkinStyle& style, HDC surface, bool rightToLeft,
                          ui::TColor barColour, const RECT& r) {
    const TResolvedColors& colors = style.Colors;
    const int L = r.left, T = r.top, Rr = r.right, B = r.bottom;
    // The frame and shadow are drawn at 96 dpi; every offset follows the scale.
    auto s = [&style](int length) { return style.Scaled(length); };
    FillSolid(surface, r, colors.FResSelectColor);
    ScopedDCPen pen(surface, colors.FResSelectBorderColor);
    auto polyline = [surface](std::initializer_list<POINT> points) {
        Polyline(surface, points.begin(), static_cast<int>(points.size()));
    };
    if (!rightToLeft && style.FHighColor) {
        // A frame open at the bottom, then a soft shadow in the 7 columns on the right.
        polyline({{L, B - s(1)}, {L, T}, {Rr - s(8), T}, {Rr - s(8), B}});
        const ui::TColor c = ui::ColorToRGB(colors.FResMenuBarColor);
        FillSolid(surface, RECT{Rr - s(7), T, Rr, B}, Darken(c, 10));
        FillSolid(surface, RECT{Rr - s(7), T + s(3), Rr - s(2), B}, Darken(c, 30));
        FillSolid(surface, RECT{Rr - s(7), T + s(5), Rr - s(3), B}, Darken(c, 60));
        FillSolid(surface, RECT{Rr - s(7), T + s(6), Rr - s(5), B}, Darken(c, 100));
        pen.SetColor(c);
        polyline({{Rr - s(5), T + s(1)}, {Rr - s(1), T + s(1)}, {Rr - s(1), T + s(6)}});
        polyline({{Rr - s(3), T + s(2)},
                  {Rr - s(2), T + s(2)},
                  {Rr - s(2), T + s(3)},
                  {Rr - s(3), T + s(3)}});
        pen.SetColor(Darken(c, 10));
        polyline({{Rr - s(6), T + s(3)},
                  {Rr - s(3), T + s(3)},
                  {Rr - s(3), T + s(6)},
                  {Rr - s(4), T + s(6)},
                  {Rr - s(4), T + s(3)}});
        pen.SetColor(Darken(c, 30));
        polyline({{Rr - s(5), T + s(5)}, {Rr - s(4), T + s(5)}, {Rr - s(4), T + s(9)}});
        pen.SetColor(Darken(c, 40));
        polyline({{Rr - s(6), T + s(5)}, {Rr - s(6), T + s(7)}});
        return;
    }
    const ui::TColor dark = Darken(barColour, 70);
    polyline({{L, B - s(1)}, {L, T}, {Rr - s(3), T}, {Rr - s(3), B}});
    FillSolid(surface, RECT{Rr - s(2), T + s(2), Rr, B}, dark);
    FillSolid(surface, RECT{Rr - s(2), T, Rr, T + s(2)}, barColour);
}

bool CursorInItemRect(TStyleContext& context, const ui::TForm* form, const RECT& rect) {
    if (!form) return false;
    POINT cursor{};
    if (!context.CursorPos(cursor)) return false;
    RECT window{};
    auto* mutableForm = const_cast<ui::TForm*>(form);
    if (mutableForm->HandleAllocated()) {
        GetWindowRect(mutableForm->Handle(), &window);
    } else {
        window.left = form->Left();
        window.top = form->Top();
    }
    const int x = cursor.x - window.left;
    const int y = cursor.y - window.top;
    return rect.left <= x && x <= rect.right - 1 && rect.top <= y && y <= rect.bottom - 2;
}

void PaintMenuItem(IMenuSkin& skin, ui::TMenuItem& item, HDC target, const RECT& itemRect,
                   bool selected) {
    const TMenuLook& look = skin.MenuLook();
    const int W = itemRect.right - itemRect.left;
    const int H = itemRect.bottom - itemRect.top;
    const bool topLevel = IsTopLevelItem(item);
    const bool rtl = ItemRightToLeft(item);

    // Colours up to date (against a surface like the buffer: every buffer is
    // a 32-bit picture), the item font, and the lengths at the form's scale,
    // which the buffer's size needs; then the buffer, and where it goes on
    // the target.
    TStyleContext& context = skin.Context();
    const TSkinStyle& style = skin.Style(context.EntryBuffer(1, 1).DC());
    const int popupMargin = style.Scaled(kPopupMargin);
    const int iconWidth = style.Scaled(style.IconWidth);
    RECT R;
    POINT origin;
    int bufferWidth = W;
    if (topLevel) {
        R = RECT{0, 0, W, H - 1};
        origin = POINT{itemRect.left, itemRect.top};
    } else {
        bufferWidth = W + popupMargin;
        R = RECT{popupMargin, 0, W + popupMargin, H};
        origin = POINT{itemRect.left - popupMargin, itemRect.top};
    }
    if (bufferWidth <= 0 || H <= 0) return;
    ui::TBitmap& buffer = context.EntryBuffer(bufferWidth, H);
    if (buffer.Empty()) return;
    HDC dc = buffer.DC();
    // The kept buffer keeps the item font selected from one paint to the
    // next (fonts live as long as the process): selecting a font again costs
    // more than the entry's text.
    if (HFONT font = style.Font.Handle(); GetCurrentObject(dc, OBJ_FONT) != font)
        SelectObject(dc, font);

    // The parts are laid out on one row more than the entry's own.
    R.bottom += 1;
    const bool separator = item.Caption() == kSeparatorCaption;
    const std::string text = " " + item.Caption();

    // The picture.
    ui::TBitmap image;
    PrepareImage(item, style, image);
    const bool hasImage = image.Width() > 0;
    const int imageWidth = image.Width();

    // Icon column, mark and text rectangles.
    RECT iconRect = rtl ? RECT{R.right - iconWidth, R.top, R.right, R.bottom}
                        : RECT{R.left, R.top, R.left + iconWidth, R.bottom};
    RECT markRect;
    if (hasImage) {
        markRect =
            RECT{iconRect.left + 1, iconRect.top + 2, iconRect.right - 3, iconRect.bottom - 2};
    } else {
        const int markSize = style.Scaled(kMarkSize);
        const int left = iconRect.left + (iconRect.right - iconRect.left - markSize) / 2;
        const int top = iconRect.top + (iconRect.bottom - iconRect.top - markSize) / 2;
        markRect = RECT{left, top, left + markSize, top + markSize};
    }
    if (imageWidth > iconWidth) {
        if (rtl) {
            markRect.left = markRect.right - imageWidth;
        } else {
            markRect.right = markRect.left + imageWidth;
        }
    }
    if (topLevel) markRect.top -= 1;

    const int indent = topLevel ? style.Scaled(kTopLevelTextIndent) : iconWidth;
    RECT textRect;
    if (!rtl) {
        int left = R.left + indent;
        if (left < R.left + imageWidth) left = R.left + imageWidth + 4;
        textRect = RECT{left, R.top, R.right, R.bottom};
    } else {
        int right = R.right - indent;
        if (right > R.right - imageWidth) right = R.right - imageWidth - 8;
        textRect = RECT{R.left, R.top, right, R.bottom};
    }
    if (topLevel) {
        if (hasImage) {
            if (rtl) {
                textRect.right += 5;
            } else {
                textRect.left -= 5;
            }
        } else {
            textRect = R;
        }
    }

    // Background.
    if (topLevel) {
        if (look.DrawMenuBar) skin.SetResolvedMenuBarColor(look.MenuBarColor);
        FillSolid(dc, R, style.Colors.FResMenuBarColor);
    } else if (style.FHighColor && look.Gradient) {
        PaintIconColumnGradient(style, buffer, RECT{R.left, R.top, R.right + 2, R.bottom}, rtl,
                                context.GradientRow);
        // The margin columns are left to the gradient's first colour.
        FillSolid(dc, RECT{0, 0, popupMargin, H},
                  Lighten(style.Colors.FResIconBackColor, kGradientSlowStep));
    } else {
        FillSolid(dc, RECT{R.left - popupMargin, R.top, R.right, R.bottom}, style.Colors.FResColor);
        FillSolid(dc, iconRect, style.Colors.FResIconBackColor);
    }

    // Selection, or the hovered bar caption.
    bool highlighted = false;
    if (selected && look.DrawSelect) {
        if (topLevel) {
            PaintTopItemSelected(style, dc, rtl, look.MenuBarColor, R);
        } else if (item.Enabled()) {
            const RECT s{R.left, R.top + 1, look.FlatMenu ? R.right - 1 : R.right, R.bottom - 1};
            FillAndOutlineRect(dc, s, style.Colors.FResSelectColor,
                               style.Colors.FResSelectBorderColor);
        }
        highlighted = true;
    } else if (item.Enabled() && topLevel && look.IsNT &&
               CursorInItemRect(context, MenuOwnerForm(item), itemRect)) {
        FillAndOutlineRect(dc,
                           RECT{R.left, R.top, R.right - style.Scaled(kHotCaptionShort), R.bottom},
                           style.Colors.FResSelectColor, style.Colors.FResSelectBorderColor);
        highlighted = true;
    }

    // Mark and picture.
    if (item.Checked() || item.RadioItem()) {
        PaintCheckMark(style, dc, markRect,
                       TMarkState{.RadioItem = item.RadioItem(),
                                  .Checked = item.Checked(),
                                  .Selected = selected,
                                  .Enabled = item.Enabled(),
                                  .HasImage = hasImage});
    }
    if (imageWidth > 0) {
        PaintItemIcon(style, dc, image, iconRect,
                      TIconState{.IsMenuItem = true,
                                 .Selected = selected || highlighted,
                                 .Down = false,
                                 .Enabled = item.Enabled(),
                                 .Checked = item.Checked(),
                                 .TopLevel = topLevel,
                                 .RightToLeft = rtl});
    }

    // Separator line or caption.
    if (separator) {
        ScopedDCPen pen(dc, style.Colors.FResSeparatorColor);
        const int y = textRect.top + RoundHalfEven((textRect.bottom - textRect.top) / 2.0);
        if (rtl) {
            DrawLine(dc, textRect.left, y, textRect.right - style.Scaled(kSeparatorIndent), y);
        } else {
            DrawLine(dc, textRect.left + style.Scaled(kSeparatorIndent), y, textRect.right, y);
        }
    } else {
        UINT format = 0;
        if (rtl) {
            format = kRightToLeftFormat;
            textRect.right -= style.Scaled(kTextIndent);
        } else {
            textRect.left += style.Scaled(kTextIndent);
        }
        textRect.top += (textRect.bottom - textRect.top - TextHeightOf(dc, style.Font, "W")) / 2;
        PaintItemText(style, dc, text, ui::ShortCutToText(item.ShortCut()), textRect,
                      TTextState{.Selected = selected,
                                 .Enabled = item.Enabled(),
                                 .Default = item.Default(),
                                 .TopLevel = topLevel,
                                 .RightToLeft = rtl},
                      style.Font, format);
    }

    // One copy to the menu.
    GdiFlush();
    BitBlt(target, origin.x, origin.y, buffer.Width(), buffer.Height(), dc, 0, 0, SRCCOPY);

    // The popup window's flat border, painted later by the manager.
    if (topLevel || !look.FlatMenu) return;
    HWND window = WindowFromDC(target);
    if (!window) {
        // Off screen, the entry of a menu that is not shown has no popup to frame.
        if (!context.IsMenuOffScreen(item.ParentHandle()))
            PostBorderRequest(context, WM_FLATBORDER_BYITEM, 0, reinterpret_cast<LPARAM>(&item));
    } else if (window != skin.FormWindow()) {
        PostBorderRequest(context, WM_FLATBORDER_BYWINDOW, rtl ? 1 : 0,
                          reinterpret_cast<LPARAM>(window));
    }
}

}  // namespace quillory::styling
