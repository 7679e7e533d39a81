#include "styling/menu/menu_window.h"

#include <cstdlib>
#include <memory>

#include "styling/elements/dc_tools.h"
#include "ui/gdi.h"
#include "ui/system_settings.h"

namespace quillory::styling {

namespace {

// Where the previous procedure is kept when the popup's own user-data slot
// is taken (the slot is used when it is free).
constexpr char kPreviousProcProperty[] = "QuilloryFlatMenuProc";
// A region this close to the window's size still fits it.
constexpr int kRegionSlack = 5;
constexpr int kShadow = 2;
constexpr int kFrame = 1;
constexpr int kMargin = 2;
// Where the window keeps the look of its frame while it carries it.
constexpr char kFrameLookProperty[] = "QuilloryFlatMenuLook";
// Whom a caught popup is handed to at its first frame paint.
constexpr char kAdopterProperty[] = "QuilloryMenuAdopter";

struct TFlatFrameLook {
    ui::TColor Border, IconBack, Background, ShadowColor;
    int Shadow;  // the width of the painted shadow strips
    bool SystemShadows;
    bool RightToLeft;
};

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

// Puts `procedure` in front of the window's own, which it keeps to hand back.
void Subclass(HWND window, WNDPROC procedure) {
    const LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0) {
        SetWindowLongPtrA(window, GWLP_USERDATA, previous);
    } else {
        SetPropA(window, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// Gives the window its previous procedure back and forgets it; answers it.
WNDPROC Unsubclass(HWND window) {
    const WNDPROC previous = PreviousMenuWindowProc(window);
    if (GetPropA(window, kPreviousProcProperty)) {
        RemovePropA(window, kPreviousProcProperty);
    } else {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    if (previous) SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return previous;
}

LRESULT CALLBACK WaitingMenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void InstallMenuWindowProc(HWND window) {
    if (CurrentProc(window) == MenuWindowProc) return;
    // A caught popup that a border request reaches first waits no longer.
    if (CurrentProc(window) == WaitingMenuWindowProc) {
        RemovePropA(window, kAdopterProperty);
        if (!Unsubclass(window)) return;  // its slot was cleared: nothing to hand back
    }
    Subclass(window, MenuWindowProc);
    // Rounded corners would cut into the square flat frame.
    ui::KeepCornersSquare(window);
}

void KeepFrameLook(HWND window, const TFlatFrameLook& look) {
    if (auto* kept = static_cast<TFlatFrameLook*>(GetPropA(window, kFrameLookProperty))) {
        *kept = look;
        return;
    }
    auto owned = std::make_unique<TFlatFrameLook>(look);
    if (SetPropA(window, kFrameLookProperty, owned.get())) owned.release();
}

// The window goes back to its previous procedure, without the kept look.
WNDPROC RestoreMenuWindowProc(HWND window) {
    delete static_cast<TFlatFrameLook*>(RemovePropA(window, kFrameLookProperty));
    return Unsubclass(window);
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

void FitRegion(HWND window, const RECT& w, int shadow, int slack) {
    ui::RegionHandle current(CreateRectRgn(0, 0, 0, 0));
    bool fits = false;
    if (current && GetWindowRgn(window, current.Get()) != ERROR) {
        RECT box{};
        GetRgnBox(current.Get(), &box);
        // Its notch must be as wide as the shadow: a popup whose form moved to
        // a screen of another scale gets its corners cut anew.
        fits = std::abs(box.right - w.right) <= slack && std::abs(box.bottom - w.bottom) <= slack &&
               !PtInRegion(current.Get(), box.right - shadow, box.top) &&
               PtInRegion(current.Get(), box.right - shadow - 1, box.top);
    }
    if (fits) return;
    // The top-right and bottom-left corners (2 x 2 at 96 dpi) cut away, so the
    // right and bottom strips read as a shadow.
    ui::RegionHandle body(CreateRectRgn(0, 0, w.right - shadow, w.bottom - shadow));
    ui::RegionHandle shifted(CreateRectRgn(shadow, shadow, w.right, w.bottom));
    ui::RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    if (!body || !shifted || !shape) return;
    CombineRgn(shape.Get(), body.Get(), shifted.Get(), RGN_OR);
    // The window owns the region once it accepted it.
    if (SetWindowRgn(window, shape.Get(), TRUE)) shape.Release();
}

// Copies one row of the window (inside the left frame) onto `rows` rows.
void CopyRow(HDC dc, const RECT& w, int frame, int toY, int rows, int fromY) {
    const int width = w.right - w.left - frame;
    StretchBlt(dc, w.left + frame, toY, width, rows, dc, w.left + frame, fromY, width, 1, SRCCOPY);
}

RECT WindowBox(HWND window) {
    RECT w{};
    GetWindowRect(window, &w);
    OffsetRect(&w, -w.left, -w.top);
    return w;
}

// The frame and the margins lie on the system's own border of the popup,
// which keeps its size at every scale.
void PaintFlatFrame(HDC dc, RECT w, const TFlatFrameLook& look) {
    if (!look.SystemShadows) {
        w.right -= look.Shadow;
        w.bottom -= look.Shadow;
    }
    OutlineRect(dc, w, look.Border);
    // The columns inside the near frame take the icon column's colour.
    if (look.RightToLeft) {
        FillSolid(dc,
                  RECT{w.right - kFrame - kMargin, w.top + kFrame + 1, w.right - kFrame,
                       w.bottom - kFrame},
                  look.IconBack);
    } else {
        FillSolid(
            dc,
            RECT{w.left + kFrame, w.top + kFrame + 1, w.left + kFrame + kMargin, w.bottom - kFrame},
            look.IconBack);
    }
    // The top margin continues the first entry's look.
    CopyRow(dc, w, kFrame, w.top + kFrame, kMargin, w.top + kFrame + kMargin);
    if (look.SystemShadows) {
        CopyRow(dc, w, kFrame, w.bottom - kFrame - kMargin, kMargin, w.top + kFrame + kMargin);
        FillSolid(
            dc,
            RECT{w.right - kFrame - kMargin, w.top + kFrame, w.right - kFrame, w.bottom - kFrame},
            look.Background);
        return;
    }
    w.right += look.Shadow;
    w.bottom += look.Shadow;
    FillSolid(dc, RECT{w.left + look.Shadow, w.bottom - look.Shadow, w.right, w.bottom},
              look.ShadowColor);
    FillSolid(dc, RECT{w.right - look.Shadow, w.top + look.Shadow, w.right, w.bottom},
              look.ShadowColor);
}

// The system paints its own frame again at WM_NCPAINT, and into a memory
// surface at WM_PRINT when it fades or slides a menu in: each time the flat
// frame goes over it, as it was last painted.
LRESULT PaintFrameAfter(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HDC printed) {
    const LRESULT result = PassOn(PreviousMenuWindowProc(window), window, message, wParam, lParam);
    const auto* look = static_cast<const TFlatFrameLook*>(GetPropA(window, kFrameLookProperty));
    if (!look) return result;
    if (printed) {
        PaintFlatFrame(printed, WindowBox(window), *look);
    } else if (ui::WholeWindowDC dc(window); dc.Get()) {
        PaintFlatFrame(dc.Get(), WindowBox(window), *look);
    }
    return result;
}

// The window carries the flat frame in the look the style has now; its
// region is cut. Answers the look.
TFlatFrameLook TakeFlatFrame(ISkinSource& skin, HWND window, HDC surface, bool rightToLeft,
                             const TMenuWindowOptions& options) {
    const TSkinStyle& style = skin.Style(surface);
    const TResolvedColors& colors = style.Colors;
    // The shadow strips are ours and follow the scale.
    const TFlatFrameLook look{colors.FResMenuBorderColor,
                              colors.FResIconBackColor,
                              colors.FResColor,
                              colors.FResMenuShadowColor,
                              style.Scaled(kShadow),
                              options.SystemShadows,
                              rightToLeft};
    KeepFrameLook(window, look);
    InstallMenuWindowProc(window);
    if (!options.SystemShadows)
        FitRegion(window, WindowBox(window), look.Shadow, style.Scaled(kRegionSlack));
    return look;
}

// A caught popup waits here until its first frame paint or print: by then
// the system has given it its menu, which tells whether the style paints it.
LRESULT CALLBACK WaitingMenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NCPAINT && message != WM_PRINT && message != WM_DESTROY)
        return PassOn(PreviousMenuWindowProc(window), window, message, wParam, lParam);
    const auto adopt = reinterpret_cast<TMenuWindowAdopter>(RemovePropA(window, kAdopterProperty));
    if (Unsubclass(window) && adopt && message != WM_DESTROY) adopt(window);
    // On to the procedure the window has now: the flat frame's or its own.
    const WNDPROC now = CurrentProc(window);
    return PassOn(now == WaitingMenuWindowProc ? nullptr : now, window, message, wParam, lParam);
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

void PaintMenuWindowBorder(ISkinSource& skin, HWND window, bool rightToLeft,
                           const TMenuWindowOptions& options, bool& painting) {
    if (!window || painting || !IsWindow(window)) return;
    ui::WholeWindowDC windowDC(window);
    HDC dc = windowDC.Get();
    if (!dc) return;
    ScopedFlag guard(painting);
    PaintFlatFrame(dc, WindowBox(window), TakeFlatFrame(skin, window, dc, rightToLeft, options));
}

void WatchMenuWindow(HWND window, TMenuWindowAdopter adopt) {
    const WNDPROC current = window && adopt ? CurrentProc(window) : nullptr;
    if (!current || current == MenuWindowProc || current == WaitingMenuWindowProc) return;
    if (!SetPropA(window, kAdopterProperty, reinterpret_cast<HANDLE>(adopt))) return;
    Subclass(window, WaitingMenuWindowProc);
}

void AdoptMenuWindow(ISkinSource& skin, HWND window, bool rightToLeft,
                     const TMenuWindowOptions& options) {
    if (window && IsWindow(window)) TakeFlatFrame(skin, window, nullptr, rightToLeft, options);
}

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_SHOWWINDOW:
            if (LOBYTE(wParam) != 0) break;
            return EndFlatFrame(window, message, wParam, lParam);
        case WM_CLOSE:
        case WM_DESTROY: return EndFlatFrame(window, message, wParam, lParam);
        case WM_NCPAINT: return PaintFrameAfter(window, message, wParam, lParam, nullptr);
        case WM_PRINT:
            if (!(lParam & PRF_NONCLIENT)) break;
            return PaintFrameAfter(window, message, wParam, lParam, reinterpret_cast<HDC>(wParam));
        default: break;
    }
    return PassOn(PreviousMenuWindowProc(window), window, message, wParam, lParam);
}

}  // namespace quillory::styling
