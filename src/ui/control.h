// Controls: TControl (bounds, visibility, colour, font, caption, the
// replaceable WindowProc), TGraphicControl (no window: painted and fed with
// mouse messages by its parent) and TWinControl (its own HWND, whose real
// window procedure forwards every message into WindowProc).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/component.h"
#include "ui/font.h"
#include "ui/messages.h"
#include "ui/ui_types.h"

namespace quillory::ui {

class TWinControl;
class TForm;

// The window procedure of every window the framework creates or subclasses.
LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char& key)>;

// Whether `key` is the access key that an & marks in `caption` ("&&" is a
// literal &), compared without case.
bool IsAccel(char key, const std::string& caption);

class TControl : public TComponent {
public:
    const char* ClassName() const override { return "TControl"; }
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Every message of the control passes through here. Replace it to watch or
    // change the control's behaviour; keep the old value and call it.
    TWndMethod WindowProc;
    // Sends a message through WindowProc and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TForm* GetParentForm() const;
    virtual bool IsWindowed() const { return false; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent visible too.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool value);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parent_font_; }
    void SetParentFont(bool value);

    // The control reads from right to left (its texts right-aligned, in
    // right-to-left reading order).
    bool UseRightToLeftReading() const { return right_to_left_; }
    void SetRightToLeft(bool value);

    // The scale the control is shown at, its form's, and a length designed
    // at 96 dpi at that scale: every length a window sets goes through here.
    int Dpi() const { return dpi_; }
    int Scaled(int length) const { return ScaleForDpi(length, dpi_); }
    // The control (and a windowed control's children) is shown at `dpi`
    // from now on: its font follows, keeping its point size, and DpiChanged
    // lets it lay out again. Forms do this when they move to another scale;
    // a control takes its parent's scale when it gets a parent.
    virtual void ChangeDpi(int dpi);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    // Queues a repaint of the control; Repaint paints it before returning.
    virtual void Invalidate();
    virtual void Repaint();
    void Update();

    // The programmatic click: fires OnClick through DoClick.
    virtual void Click() { DoClick(); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    // The handler WindowProc starts with: the control's own reactions,
    // then DefaultHandler for what it does not handle.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    virtual void DoClick() {
        if (OnClick) OnClick(this);
    }
    virtual void DoDblClick() {
        if (OnDblClick) OnDblClick(this);
    }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // Framework notifications; each arrives through WindowProc.
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);

    // Where the caption lives for a windowed control (its window text).
    virtual void CaptionChanged() {}
    virtual void BoundsChanged() {}
    // After ChangeDpi: the lengths the control keeps of its own, for the new scale.
    virtual void DpiChanged(int /*oldDpi*/) {}

    // Controls that raise OnClick on a left press and release inside them.
    bool click_events_ = false;
    bool clicked_ = false;
    bool mouse_inside_ = false;  // between CM_MOUSEENTER and CM_MOUSELEAVE

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parent_color_ = false;
    TFont font_;
    bool parent_font_ = true;
    bool right_to_left_ = false;
    int dpi_ = kDesignDpi;
    std::string caption_;

    friend class TWinControl;
};

// A control without a window: its parent paints it (WM_PAINT with the parent's
// DC in WParam, the origin moved to the control's corner) and hands it the
// mouse messages that land on it.
class TGraphicControl : public TControl {
public:
    const char* ClassName() const override { return "TGraphicControl"; }
    explicit TGraphicControl(TComponent* owner);
    TCanvas& Canvas() { return canvas_; }

protected:
    void WndProc(TMessage& message) override;
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

// What CreateWindowEx is called with; controls adjust it in CreateParams.
struct TCreateParams {
    std::string WindowClass;  // a system class (BUTTON, EDIT...) or our own, registered on demand
    bool SystemClass = false;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    HWND ParentWindow = nullptr;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HMENU Menu = nullptr;  // a top-level window's menu bar, there from the start
};

class TWinControl : public TControl {
public:
    const char* ClassName() const override { return "TWinControl"; }
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    bool IsWindowed() const override { return true; }

    // The window, created on first use (with the parents' windows).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window and creates it anew with the current properties, once
    // the message being handled is done (so that whoever watches WindowProc
    // learns of the change before the window goes). What the user sees and
    // did survives: text, selection, focus, place in the z-order (and so in
    // the tab order), and keys typed but not yet handled.
    void RecreateWnd();
    // The control that owns a window of this program, or nullptr.
    static TWinControl* FindControl(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_[index]; }
    // The topmost visible child under a client point (graphic children only
    // when `graphicOnly`); disabled ones only with `allowDisabled`.
    TControl* ControlAtPos(POINT point, bool allowDisabled, bool graphicOnly = false) const;
    // Sends a message to every child control through its WindowProc.
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    void SetFocus();
    bool Focused() const;
    virtual bool CanFocus() const;
    bool TabStop() const { return tab_stop_; }
    void SetTabStop(bool value);

    bool Ctl3D() const { return ctl3d_; }
    void SetCtl3D(bool value);

    RECT ClientRect() const override;
    void ChangeDpi(int dpi) override;
    void Invalidate() override;
    void Repaint() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;

    // Paints the graphic children that meet `area` into `dc` (client coordinates).
    void PaintControls(HDC dc, const RECT& area);

    // Between BeginUpdate and EndUpdate the graphic children's invalidations
    // are gathered and handed to the window system as one region at the end:
    // one call instead of one per changed child. Calls nest.
    void BeginUpdate() { ++update_depth_; }
    void EndUpdate();
    // Adds a client rectangle to the area that needs painting.
    void InvalidateClientRect(const RECT& rect);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Keyboard dispatch operations; true when the key was taken (set to 0).
    virtual bool DoKeyDown(WORD& key, TShiftState shift);
    virtual bool DoKeyPress(char& key);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Destroys the window (the children's first, so that each keeps what its
    // window held: a control keeps its state in DestroyWnd and puts it back in
    // CreateHandleDone).
    virtual void DestroyWnd();
    // After the window exists: fonts, texts and the children's windows.
    virtual void CreateHandleDone() {}
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void CaptionChanged() override;
    void CMParentColorChanged(TMessage& message) override;
    void CMParentFontChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    virtual void CMCtl3DChanged(TMessage& message);
    virtual void CMDialogKey(TMessage&) {}
    virtual void CMDialogChar(TMessage& message);

    // Our own window classes paint themselves: background, then the graphic
    // children, into a back buffer copied once.
    virtual void PaintWindow(HDC dc);
    TCanvas& Canvas() { return canvas_; }
    virtual void Paint() {}
    bool OwnClass() const { return own_class_; }

    // Answers WM_CTLCOLOR* for a system control: text and background colours.
    LRESULT ControlColors(HDC dc);

private:
    friend class TControl;
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void CreateHandle();
    void RecreateNow();
    struct TypedKey {
        TWinControl* control;
        MSG msg;
    };
    static void TakeTypedKeys(TWinControl* control, std::vector<TypedKey>& typed);
    void UpdateWindowBounds();
    void PaintHandler(TMessage& message);
    bool RouteMouseToGraphic(TMessage& message);
    bool ReflectToChild(TMessage& message);

    // The message handlers of WndProc, one a message. What one does not take
    // goes on to Unhandled: mouse routing to the graphic children, then the
    // control's own handling.
    void Unhandled(TMessage& message);
    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMGetFont(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMReflected(TMessage& message);
    void WMMouseLeave(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMSysColorChange(TMessage& message);
    void CMSysColorChange(TMessage& message);
    void CMInvalidate(TMessage& message);
    void CMRecreateWnd(TMessage& message);
    void CNControlColor(TMessage& message);

    HWND handle_ = nullptr;
    WNDPROC default_proc_ = DefWindowProcA;
    bool own_class_ = false;
    std::vector<TControl*> controls_;
    TControl* captured_child_ = nullptr;
    bool tab_stop_ = false;
    bool ctl3d_ = true;
    bool tracking_leave_ = false;
    int update_depth_ = 0;
    RegionHandle pending_update_;
    TCanvas canvas_;
    std::unique_ptr<TBitmap> back_buffer_;
    BrushHandle color_brush_;
    COLORREF color_brush_rgb_ = CLR_INVALID;
};

// Registers (once) one of our own window classes.
bool RegisterFrameworkClass(const std::string& name, UINT classStyle);

}  // namespace quillory::ui
