#include "ui/font.h"

#include <map>
#include <tuple>

#include "ui/gdi.h"

namespace quillory::ui {

namespace {

using FontKey = std::tuple<std::string, int, TFontStyles, BYTE>;

// Lives until the process ends: fonts are few and shared by many controls.
std::map<FontKey, FontHandle>& FontCache() {
    static std::map<FontKey, FontHandle> cache;
    return cache;
}

}  // namespace

void TFont::SetName(const std::string& name) {
    if (name_ == name) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    SetHeightForDpi(height, kDesignDpi);
}

void TFont::SetHeightForDpi(int height, int dpi) {
    if (dpi <= 0) dpi = kDesignDpi;
    if (height_ == height && height_dpi_ == dpi) return;
    height_ = height;
    height_dpi_ = dpi;
    Changed();
}

void TFont::SetPixelsPerInch(int dpi) {
    if (dpi <= 0) dpi = kDesignDpi;
    if (pixels_per_inch_ == dpi) return;
    pixels_per_inch_ = dpi;
    Changed();
}

int TFont::PixelHeight() const {
    return ScaleForDpi(height_, pixels_per_inch_, height_dpi_);
}

void TFont::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TFont::SetCharset(BYTE charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && color_ == other.color_ &&
           style_ == other.style_ && charset_ == other.charset_ &&
           height_dpi_ == other.height_dpi_ && pixels_per_inch_ == other.pixels_per_inch_;
}

void TFont::Assign(const TFont& other) {
    if (this == &other || SameAs(other)) return;
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    charset_ = other.charset_;
    height_dpi_ = other.height_dpi_;
    pixels_per_inch_ = other.pixels_per_inch_;
    Changed();
}

HFONT TFont::Handle() const {
    const int height = PixelHeight();
    FontKey key{name_, height, style_, charset_};
    auto& cache = FontCache();
    auto found = cache.find(key);
    if (found != cache.end()) return found->second.Get();
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    return cache.emplace(key, FontHandle(font)).first->second.Get();
}

}  // namespace quillory::ui
