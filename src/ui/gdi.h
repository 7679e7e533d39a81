// Owners for GDI handles and device contexts. Every object the program creates
// has one of these; copying is deleted so a handle is freed exactly once.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include <atomic>
#include <utility>

#include "ui/ui_types.h"

namespace quillory::ui {

// How many GDI objects and device contexts the owners below hold right now:
// what leak checks read, as the system's count (GetGuiResources) takes in the
// whole process, with what the system and the common controls make for it.
struct GdiOwnerCounts {
    long Objects = 0;
    long DeviceContexts = 0;
};
namespace gdi_detail {
inline std::atomic<long> live_objects{0};
inline std::atomic<long> live_dcs{0};
}  // namespace gdi_detail
inline GdiOwnerCounts LiveGdiOwners() {
    return GdiOwnerCounts{gdi_detail::live_objects.load(), gdi_detail::live_dcs.load()};
}

// An owned GDI object (pen, brush, font, bitmap, region), deleted on scope exit.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {
        if (handle_) ++gdi_detail::live_objects;
    }
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);  // its count comes along
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle == handle_) return;
        if (handle_) {
            DeleteObject(handle_);
            --gdi_detail::live_objects;
        }
        handle_ = handle;
        if (handle_) ++gdi_detail::live_objects;
    }
    // Hands the handle over to the caller, who frees it from now on.
    Handle Release() {
        if (handle_) --gdi_detail::live_objects;
        return std::exchange(handle_, nullptr);
    }

private:
    Handle handle_ = nullptr;
};

using PenHandle = GdiObject<HPEN>;
using BrushHandle = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// An owned image list, destroyed on scope exit.
class ImageListHandle {
public:
    ImageListHandle() = default;
    explicit ImageListHandle(HIMAGELIST list) : list_(list) {
        if (list_) ++gdi_detail::live_objects;
    }
    ~ImageListHandle() { Reset(); }
    ImageListHandle(const ImageListHandle&) = delete;
    ImageListHandle& operator=(const ImageListHandle&) = delete;

    HIMAGELIST Get() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }
    void Reset(HIMAGELIST list = nullptr) {
        if (list == list_) return;
        if (list_) {
            ImageList_Destroy(list_);
            --gdi_detail::live_objects;
        }
        list_ = list;
        if (list_) ++gdi_detail::live_objects;
    }

private:
    HIMAGELIST list_ = nullptr;
};

// Selects an object into a DC and puts the previous one back on scope exit.
// A font that is the DC's font already is left alone: selecting it again
// changes nothing, yet may have GDI match the logical font to a physical one
// anew, work that can outweigh the caption written with it.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(Select(dc, object)) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    static HGDIOBJ Select(HDC dc, HGDIOBJ object) {
        if (!object) return nullptr;
        if (GetObjectType(object) == OBJ_FONT && GetCurrentObject(dc, OBJ_FONT) == object)
            return nullptr;
        return SelectObject(dc, object);
    }

    HDC dc_;
    HGDIOBJ old_;
};

// The DC's own pen (DC_PEN) in a colour for the scope: no GDI object is
// made, so painting thousands of times cannot leak one. A pen wider than one
// pixel is made and freed. The previous pen and pen colour come back at the end.
class ScopedDCPen {
public:
    ScopedDCPen(HDC dc, TColor color, int width = 1)
        : dc_(dc),
          old_color_(GetDCPenColor(dc)),
          pen_(width > 1 ? CreatePen(PS_SOLID, width, ColorToRGB(color)) : nullptr),
          select_(dc, pen_ ? static_cast<HGDIOBJ>(pen_.Get()) : GetStockObject(DC_PEN)) {
        if (!pen_) SetDCPenColor(dc, ColorToRGB(color));
    }
    ~ScopedDCPen() { SetDCPenColor(dc_, old_color_); }
    ScopedDCPen(const ScopedDCPen&) = delete;
    ScopedDCPen& operator=(const ScopedDCPen&) = delete;
    void SetColor(TColor color) { SetDCPenColor(dc_, ColorToRGB(color)); }

private:
    HDC dc_;
    COLORREF old_color_;
    PenHandle pen_;  // selected out by select_ before it is deleted
    ScopedSelect select_;
};

// The DC's own brush (DC_BRUSH) in a colour for the scope, or, with clNone,
// no fill at all; the previous brush and brush colour come back at the end.
class ScopedDCBrush {
public:
    ScopedDCBrush(HDC dc, TColor color)
        : dc_(dc),
          old_color_(GetDCBrushColor(dc)),
          select_(dc, GetStockObject(color == clNone ? NULL_BRUSH : DC_BRUSH)) {
        if (color != clNone) SetDCBrushColor(dc, ColorToRGB(color));
    }
    ~ScopedDCBrush() { SetDCBrushColor(dc_, old_color_); }
    ScopedDCBrush(const ScopedDCBrush&) = delete;
    ScopedDCBrush& operator=(const ScopedDCBrush&) = delete;

private:
    HDC dc_;
    COLORREF old_color_;
    ScopedSelect select_;
};

// SaveDC / RestoreDC around a piece of drawing that changes clip, origin or modes.
class ScopedSaveDC {
public:
    explicit ScopedSaveDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedSaveDC() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A memory DC, deleted on scope exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {
        if (dc_) ++gdi_detail::live_dcs;
    }
    ~MemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
            --gdi_detail::live_dcs;
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// GetDC / ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {
        if (dc_) ++gdi_detail::live_dcs;
    }
    ~WindowDC() {
        if (dc_) {
            ReleaseDC(window_, dc_);
            --gdi_detail::live_dcs;
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// GetWindowDC / ReleaseDC: the whole window, frame and caption included.
class WholeWindowDC {
public:
    explicit WholeWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {
        if (dc_) ++gdi_detail::live_dcs;
    }
    ~WholeWindowDC() {
        if (dc_) {
            ReleaseDC(window_, dc_);
            --gdi_detail::live_dcs;
        }
    }
    WholeWindowDC(const WholeWindowDC&) = delete;
    WholeWindowDC& operator=(const WholeWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {
        if (dc_) ++gdi_detail::live_dcs;
    }
    ~PaintDC() {
        EndPaint(window_, &paint_);
        if (dc_) --gdi_detail::live_dcs;
    }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace quillory::ui
