#include "styling/controls/control_subclass.h"

#include "styling/controls/control_painters.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"
#include "ui/system_library.h"

namespace quillory::styling {

namespace {

int live_records = 0;
long paints = 0;

constexpr WPARAM kSpaceKey = VK_SPACE;

// The handler a record installs: a type of its own, so a control's WindowProc
// can be told to be a record's.
struct SubClassHandler {
    TControlSubClass* Record;
    void operator()(ui::TMessage& message) const { Record->SubClassWndProc(message); }
};

bool HasSubClassHandler(const ui::TControl& control) {
    return control.WindowProc.target<SubClassHandler>() != nullptr;
}

// The edit's and the list box's 3-D look and border, the kinds that have them.
void ReadLook(ui::TControl* control, bool& ctl3d, BYTE& border) {
    if (auto* edit = dynamic_cast<ui::TEdit*>(control)) {
        ctl3d = edit->Ctl3D();
        border = edit->BorderStyle() == ui::TBorderStyle::bsSingle ? 1 : 0;
    } else if (auto* list = dynamic_cast<ui::TListBox*>(control)) {
        ctl3d = list->Ctl3D();
        border = list->BorderStyle() == ui::TBorderStyle::bsSingle ? 1 : 0;
    }
}

void WriteLook(ui::TControl* control, bool ctl3d, BYTE border) {
    const auto style = border ? ui::TBorderStyle::bsSingle : ui::TBorderStyle::bsNone;
    if (auto* edit = dynamic_cast<ui::TEdit*>(control)) {
        edit->SetCtl3D(ctl3d);
        edit->SetBorderStyle(style);
    } else if (auto* list = dynamic_cast<ui::TListBox*>(control)) {
        list->SetCtl3D(ctl3d);
        list->SetBorderStyle(style);
    }
}

// uxtheme's SetWindowTheme, none where the system has no visual styles.
using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
TSetWindowTheme SetWindowThemeFunction() {
    static const auto function =
        ui::SystemLibraryFunction<TSetWindowTheme>("uxtheme.dll", "SetWindowTheme");
    return function;
}

}  // namespace

TControlSubClass::TControlSubClass(ui::TComponent* owner) : TComponent(owner) {
    ++live_records;
}

TControlSubClass::~TControlSubClass() {
    *alive_ = false;
    // Released while the control still runs through us (its component goes
    // first): the control gets its own handler back before we are gone.
    if (FControl && IsInstalled()) {
        FControl->WindowProc = FOldWindowProc;
        Unthemed(false);
    }
    --live_records;
}

int TControlSubClass::LiveCount() {
    return live_records;
}

long TControlSubClass::PaintCount() {
    return paints;
}

TControlSubClass* TControlSubClass::RecordOf(const ui::TControl& control) {
    const auto* handler = control.WindowProc.target<SubClassHandler>();
    return handler ? handler->Record : nullptr;
}

bool TControlSubClass::IsInstalled() const {
    return FControl && RecordOf(*FControl) == this;
}

void TControlSubClass::Install(ui::TControl* control, ISkinSource* skin) {
    FControl = control;
    FreeNotification(control);
    if (!HasSubClassHandler(*control)) {
        FOldWindowProc = control->WindowProc;
        control->WindowProc = SubClassHandler{this};
    }
    FSkin = skin;
    ReadLook(control, FOrgCtl3D, FOrgBorderStyle);
    ReadFocus();
    Unthemed(true);
}

// Asked once when the record starts to follow a control; its focus messages
// keep the answer from then on.
void TControlSubClass::ReadFocus() {
    auto* windowed = dynamic_cast<ui::TWinControl*>(FControl);
    has_focus_ = windowed && windowed->HandleAllocated() && GetFocus() == windowed->Handle();
}

void TControlSubClass::TakeOver(TControlSubClass& other, ISkinSource* skin) {
    FControl = other.FControl;
    FreeNotification(FControl);
    FOldWindowProc = other.FOldWindowProc;
    FOrgCtl3D = other.FOrgCtl3D;
    FOrgBorderStyle = other.FOrgBorderStyle;
    FSkin = skin;
    FControl->WindowProc = SubClassHandler{this};
    unthemed_ = other.unthemed_;
    ReadFocus();
}

// Styled, a control is drawn the classic way: the visual style would fade its
// hover, press and focus changes in over several frames, each themed frame
// showing for a moment before the flat paint covers it.
void TControlSubClass::Unthemed(bool off) {
    auto* windowed = dynamic_cast<ui::TWinControl*>(FControl);
    const TSetWindowTheme setTheme = SetWindowThemeFunction();
    if (!windowed || !windowed->HandleAllocated() || !setTheme) return;
    const HWND window = windowed->Handle();
    if (off == (unthemed_ == window)) return;
    unthemed_ = off ? window : nullptr;  // first: the call sends the window a message
    if (!off) {
        if (IsWindow(window)) setTheme(window, nullptr, nullptr);
    } else if (FAILED(setTheme(window, L"", L""))) {
        // Wine (8.0) refuses the empty name; a blank one names no style either.
        setTheme(window, L" ", L" ");
    }
}

void TControlSubClass::Restore() {
    if (!FControl) return;
    try {
        if (FOldWindowProc) FControl->WindowProc = FOldWindowProc;
        Unthemed(false);
        WriteLook(FControl, FOrgCtl3D, FOrgBorderStyle);
    } catch (...) {
        // Restoring a control's look must not stop the message handling.
    }
}

// The control's object goes: whatever FKeepOnDestroy says, the record goes
// with it (a window re-created under a living control keeps its record; a
// control that dies cannot).
void TControlSubClass::Notification(ui::TComponent* component, ui::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == ui::TOperation::opRemove && component == FControl) {
        if (IsInstalled()) FControl->WindowProc = FOldWindowProc;
        FControl = nullptr;
        Release();
    }
}

void TControlSubClass::Release() {
    try {
        delete this;
    } catch (...) {
    }
}

// The component is no longer active: the control gets its handler and its
// look back, and the record goes. The answer the control gave stands (a text
// length, a hit test); only a graphic control's swallowed paint was answered 1.
void TControlSubClass::EndStyling() {
    Restore();
    FControl = nullptr;  // nothing is restored twice
    Release();
}

void TControlSubClass::SubClassWndProc(ui::TMessage& message) {
    ui::TControl* control = FControl;
    if (!control) return;
    const bool graphic = !control->IsWindowed();
    const std::shared_ptr<bool> alive = alive_;
    HDC previousPaintDC = paint_dc_;
    // Before the control's own handling: a control that hands the focus on
    // while it takes it hears of the loss inside that handling.
    if (message.Msg == WM_SETFOCUS) has_focus_ = true;
    if (message.Msg == WM_KILLFOCUS || message.Msg == WM_DESTROY) has_focus_ = false;
    if (message.Msg == WM_PAINT && graphic) {
        // The control's own painting is left out; the flat look paints instead.
        message.Result = 1;
        paint_dc_ = reinterpret_cast<HDC>(message.WParam);
    } else if (FOldWindowProc) {
        ui::TWndMethod next = FOldWindowProc;  // the call may free this record
        next(message);
        if (!*alive || !FControl) return;
    }
    if (!FSkin || !FSkin->IsActive()) return EndStyling();
    if (message.Msg == WM_DESTROY || message.Msg == WM_NCDESTROY)
        unthemed_ = nullptr;  // a window re-created in its place is switched off anew
    else
        Unthemed(true);

    FLastMessage = message.Msg;
    switch (message.Msg) {
        case WM_DESTROY:
            if (!FKeepOnDestroy) {
                if (IsInstalled()) control->WindowProc = FOldWindowProc;
                FControl = nullptr;
                return Release();
            }
            break;
        case WM_SETFOCUS:
            FHot = true;
            PaintControl();
            break;
        case WM_KILLFOCUS:
            FHot = false;
            PaintControl();
            break;
        case WM_PAINT:
            FKeepOnDestroy = false;
            PaintControl();
            break;
        case WM_WINDOWPOSCHANGED:
        case EM_GETMODIFY:  // an edit asks this just before its window is re-created
        case ui::CM_CTL3DCHANGED:
        case ui::CM_PARENTCTL3DCHANGED:
        case ui::CM_INVALIDATE:
        case ui::CN_PARENTNOTIFY: FKeepOnDestroy = true; break;
        case WM_NCPAINT:
            if (dynamic_cast<ui::TListBox*>(control)) PaintListBoxFrame(*this);
            break;
        case BM_GETCHECK:
        case BM_SETCHECK:
            FHot = false;
            PaintControl();
            break;
        case BM_SETSTATE: PaintControl(); break;
        case WM_KEYDOWN:
            if (message.WParam == kSpaceKey) {
                FSpaceDown = true;
                if (!FSpacePainted) PaintControl();
                FSpacePainted = true;
            }
            break;
        case WM_KEYUP:
            if (message.WParam == kSpaceKey) {
                FSpaceDown = false;
                FSpacePainted = false;
                PaintControl();
            }
            break;
        case WM_LBUTTONDOWN:
            FLButtonDown = true;
            PaintControl();
            break;
        case WM_LBUTTONUP:
            FLButtonDown = false;
            PaintOrRepaint(false);
            break;
        case WM_LBUTTONDBLCLK:
            // A double click is a second press of a button.
            if (dynamic_cast<ui::TButton*>(control) || dynamic_cast<ui::TSpeedButton*>(control))
                control->Perform(WM_LBUTTONDOWN, message.WParam, message.LParam);
            break;
        case ui::CM_FOCUSCHANGED:
        case ui::CM_PARENTCOLORCHANGED:
        case ui::CM_TEXTCHANGED: PaintControl(); break;
        case ui::CM_ENABLEDCHANGED:
            if (message.WParam == 0) {
                FHot = false;
                PaintControl();
            }
            break;
        case ui::CM_MOUSEENTER:
            if (control->Enabled()) {
                FHot = true;
                PaintOrRepaint(false);
            }
            break;
        case ui::CM_MOUSELEAVE:
            if (control->Enabled()) {
                FHot = false;
                PaintOrRepaint(true);
            }
            break;
        case ui::CM_EXIT:
            FHot = false;
            PaintControl();
            break;
        default: break;
    }
    if (*alive) paint_dc_ = previousPaintDC;  // a nested message may have freed the record
}

// Windowed controls are painted at once; a graphic control is repainted (or
// only invalidated) through its parent, and paints at its paint message.
void TControlSubClass::PaintOrRepaint(bool invalidateOnly) {
    if (FControl->IsWindowed()) return PaintControl();
    if (invalidateOnly)
        FControl->Invalidate();
    else
        FControl->Repaint();
}

void TControlSubClass::PaintControl() {
    ui::TControl* control = FControl;
    if (!control) return;
    auto* windowed = dynamic_cast<ui::TWinControl*>(control);
    FFocused = windowed && windowed->HandleAllocated() && has_focus_;
    ++paints;
    if (dynamic_cast<ui::TEdit*>(control)) return PaintEdit(*this);
    if (dynamic_cast<ui::TButton*>(control)) return PaintButton(*this);
    if (dynamic_cast<ui::TSpeedButton*>(control)) {
        if (control->Visible()) PaintSpeedButton(*this);
        return;
    }
    if (dynamic_cast<ui::TPanel*>(control)) return PaintPanel(*this);
    if (dynamic_cast<ui::TListBox*>(control)) return PaintListBoxFrame(*this);
}

}  // namespace quillory::styling
