#include "styling/menu/menu_window.h"

#include <cstdlib>

#include "styling/elements/dc_tools.h"
#include "ui/gdi.h"

namespace quillory::styling {

namespace {

// Where the previous procedure is kept when the popup's own user-data slot
// is taken (the slot is used when it is free).
constexpr char kPreviousProcProperty[] = "QuilloryFlatMenuProc";
// A region this close to the window's size still fits it.
constexpr int kRegionSlack = 5;
constexpr int kShadow = 2;

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

WNDPROC CurrentProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void InstallMenuWindowProc(HWND window) {
    if (CurrentProc(window) == MenuWindowProc) return;
    const LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0) {
        SetWindowLongPtrA(window, GWLP_USERDATA, previous);
    } else {
        SetPropA(window, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuWindowProc));
}

// Gives the window its previous procedure back and forgets it; answers it.
WNDPROC RestoreMenuWindowProc(HWND window) {
    const WNDPROC previous = PreviousMenuWindowProc(window);
    if (GetPropA(window, kPreviousProcProperty)) {
        RemovePropA(window, kPreviousProcProperty);
    } else {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    if (previous) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return previous;
}

LRESULT PassOn(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A message after the restore, or a window whose slot was cleared: never
    // call an empty procedure.
    if (!procedure) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(procedure, window, message, wParam, lParam);
}

// The window loses its flat frame: no region, the previous procedure, then
// the procedure's own answer. A flat popup 2 pixels to the right (an open
// sub-menu or its parent) is repainted, as part of it lay under this one.
LRESULT EndFlatFrame(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetWindowRgn(window, nullptr, FALSE);
    const WNDPROC previous = RestoreMenuWindowProc(window);
    const LRESULT result = PassOn(previous, window, message, wParam, lParam);
    HWND neighbour = WindowFromPoint(POINT{rect.right + kShadow, rect.top + kShadow});
    if (!IsFlatMenuWindow(neighbour))
        neighbour = WindowFromPoint(POINT{rect.right + kShadow, rect.bottom - kShadow});
    if (neighbour && neighbour != window && IsFlatMenuWindow(neighbour))
        InvalidateRect(neighbour, nullptr, FALSE);
    return result;
}

void FitRegion(HWND window, const RECT& w) {
    ui::RegionHandle current(CreateRectRgn(0, 0, 0, 0));
    bool fits = false;
    if (current && GetWindowRgn(window, current.Get()) != ERROR) {
        RECT box{};
        GetRgnBox(current.Get(), &box);
        fits = std::abs(box.right - w.right) <= kRegionSlack &&
               std::abs(box.bottom - w.bottom) <= kRegionSlack;
    }
    if (fits) return;
    // The top-right and bottom-left 2 x 2 corners cut away, so the right and
    // bottom strips read as a shadow.
    ui::RegionHandle body(CreateRectRgn(0, 0, w.right - kShadow, w.bottom - kShadow));
    ui::RegionHandle shifted(CreateRectRgn(kShadow, kShadow, w.right, w.bottom));
    ui::RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    if (!body || !shifted || !shape) return;
    CombineRgn(shape.Get(), body.Get(), shifted.Get(), RGN_OR);
    // The window owns the region once it accepted it.
    if (SetWindowRgn(window, shape.Get(), TRUE)) shape.Release();
}

void CopyRow(HDC dc, const RECT& w, int toY, int fromY) {
    const int width = w.right - w.left - 1;
    StretchBlt(dc, w.left + 1, toY, width, 2, dc, w.left + 1, fromY, width, 1, SRCCOPY);
}

}  // namespace

bool IsFlatMenuWindow(HWND window) {
    return window && IsWindow(window) && CurrentProc(window) == MenuWindowProc;
}

WNDPROC PreviousMenuWindowProc(HWND window) {
    if (HANDLE kept = GetPropA(window, kPreviousProcProperty))
        return reinterpret_cast<WNDPROC>(kept);
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool SystemDrawsMenuShadows() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 &&
           version.dwMinorVersion == 1;
}

void PaintMenuWindowBorder(ISkinSource& skin, HWND window, bool rightToLeft,
                           const TMenuWindowOptions& options, bool& painting) {
    if (!window || painting || !IsWindow(window)) return;
    ui::WholeWindowDC windowDC(window);
    HDC dc = windowDC.Get();
    if (!dc) return;
    ScopedFlag guard(painting);
    const TResolvedColors& colors = skin.Style(dc).Colors;

    RECT w{};
    GetWindowRect(window, &w);
    OffsetRect(&w, -w.left, -w.top);
    InstallMenuWindowProc(window);
    if (!options.SystemShadows) {
        FitRegion(window, w);
        w.right -= kShadow;
        w.bottom -= kShadow;
    }
    OutlineRect(dc, w, colors.FResMenuBorderColor);
    // The two columns inside the near frame take the icon column's colour.
    if (rightToLeft) {
        OutlineRect(dc, RECT{w.right - 3, w.top + 2, w.right - 1, w.bottom - 1},
                    colors.FResIconBackColor);
    } else {
        OutlineRect(dc, RECT{w.left + 1, w.top + 2, w.left + 3, w.bottom - 1},
                    colors.FResIconBackColor);
    }
    // The top margin continues the first entry's look.
    CopyRow(dc, w, w.top + 1, w.top + 3);
    if (options.SystemShadows) {
        CopyRow(dc, w, w.bottom - 3, w.top + 3);
        OutlineRect(dc, RECT{w.right - 3, w.top + 1, w.right - 1, w.bottom - 1}, colors.FResColor);
    }
    w.right += kShadow;
    w.bottom += kShadow;
    if (!options.SystemShadows) {
        OutlineRect(dc, RECT{w.left + kShadow, w.bottom - kShadow, w.right, w.bottom},
                    colors.FResMenuShadowColor);
        OutlineRect(dc, RECT{w.right - kShadow, w.top + kShadow, w.right, w.bottom},
                    colors.FResMenuShadowColor);
    }
}

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_SHOWWINDOW:
            if (LOBYTE(wParam) != 0) break;
            return EndFlatFrame(window, message, wParam, lParam);
        case WM_CLOSE:
        case WM_DESTROY: return EndFlatFrame(window, message, wParam, lParam);
        default: break;
    }
    return PassOn(PreviousMenuWindowProc(window), window, message, wParam, lParam);
}

}  // namespace quillory::styling
