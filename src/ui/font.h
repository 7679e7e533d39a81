// TFont: a font description (name, height, colour, style)
// whose handle comes from a process-wide cache, so 600 controls sharing a font
// share one HFONT. The height is given for a scale (96 dpi unless said
// otherwise) and the handle is made for the scale the font is shown at, so a
// font keeps its point size on every screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/dpi_scale.h"
#include "ui/ui_types.h"

namespace quillory::ui {

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 0x01;
constexpr TFontStyles fsItalic = 0x02;
constexpr TFontStyles fsUnderline = 0x04;
constexpr TFontStyles fsStrikeOut = 0x08;

constexpr int kDefaultFontHeight = -11;  // 8 points at 96 dots per inch
constexpr const char* kDefaultFontName = "MS Sans Serif";

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other)
        : name_(other.name_),
          height_(other.height_),
          color_(other.color_),
          style_(other.style_),
          charset_(other.charset_),
          height_dpi_(other.height_dpi_),
          pixels_per_inch_(other.pixels_per_inch_) {}
    TFont& operator=(const TFont& other) {
        Assign(other);
        return *this;
    }

    const std::string& Name() const { return name_; }
    // The height as the system takes it: negative, the character height in
    // pixels; positive, the cell height (character plus internal leading).
    // The height is the one at HeightDpi (96 for every height the program sets).
    int Height() const { return height_; }
    int HeightDpi() const { return height_dpi_; }
    // The scale the handle is made for, and the height it has there.
    int PixelsPerInch() const { return pixels_per_inch_; }
    int PixelHeight() const;
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }
    BYTE Charset() const { return charset_; }

    void SetName(const std::string& name);
    void SetHeight(int height);
    // A height measured at another scale (the system's fonts are given at its own).
    void SetHeightForDpi(int height, int dpi);
    void SetPixelsPerInch(int dpi);
    void SetColor(TColor color);
    void SetStyle(TFontStyles style);
    void SetCharset(BYTE charset);
    // Copies every attribute; fires OnChange once when something differed.
    void Assign(const TFont& other);
    bool SameAs(const TFont& other) const;

    // The cached handle; valid for the life of the process.
    HFONT Handle() const;

    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }

    std::string name_ = kDefaultFontName;
    int height_ = kDefaultFontHeight;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    BYTE charset_ = DEFAULT_CHARSET;
    int height_dpi_ = kDesignDpi;
    int pixels_per_inch_ = kDesignDpi;
};

}  // namespace quillory::ui
