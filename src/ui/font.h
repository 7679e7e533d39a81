// TFont: a font description (name, height, colour, style)
// whose handle comes from a process-wide cache, so 600 controls sharing a font
// share one HFONT.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

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
          charset_(other.charset_) {}
    TFont& operator=(const TFont& other) {
        Assign(other);
        return *this;
    }

    const std::string& Name() const { return name_; }
    // The height as the system takes it: negative, the character height in
    // pixels; positive, the cell height (character plus internal leading).
    int Height() const { return height_; }
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }
    BYTE Charset() const { return charset_; }

    void SetName(const std::string& name);
    void SetHeight(int height);
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
};

}  // namespace quillory::ui
