// TForm: a top-level window of the program, owned (in the window system's
// sense) by the application window. Frame styles, placement, stay on top,
// modal and modeless showing, default and cancel buttons through dialog keys,
// key preview and menu shortcuts. The main form carries the task-bar button,
// and the forms and boxes open over it are minimised and restored with it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace quillory::ui {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

// The test seam of every modal loop: when set, ShowModal calls it once the
// form is on screen and the other windows wait, then runs its loop as ever.
// It plays the person's part (a click on a button, a key to the focused
// control) and has no answer of its own to give: the loop ends only when
// the form's ModalResult is set, so an answer that goes astray is not taken
// for a Cancel.
using TModalAnswerer = std::function<void(class TForm& form)>;
TModalAnswerer SetModalAnswerer(TModalAnswerer answerer);

class TForm : public TWinControl {
public:
    const char* ClassName() const override { return "TForm"; }
    explicit TForm(TComponent* owner);
    ~TForm() override;
    void AfterConstruction() override;

    TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    // The outer rectangle on the screen (the window is created if need be).
    RECT WindowRect();
    // Centres the form over `window` by the outer sizes of both, each half
    // truncated toward zero; `keepOnScreen` raises a negative corner to 0.
    void CentreOver(TForm& window, bool keepOnScreen);
    TFormStyle FormStyle() const { return form_style_; }
    void SetFormStyle(TFormStyle style);
    bool KeyPreview() const { return key_preview_; }
    void SetKeyPreview(bool value) { key_preview_ = value; }

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // The menu's window handle changed (rebuilt): attach it again.
    void MenuChanged();

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

    void SetVisible(bool visible) override;
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult result) { modal_result_ = result; }
    void Close();
    // While this form is the active window, activates `window` instead (which
    // must be visible and enabled): call it before hiding this form, whose
    // successor the system would otherwise take from the order on screen,
    // where another program's window may lie above the one meant.
    void PassActivationTo(TForm& window);
    // Frees the form once the message that is being handled has finished.
    void Release();
    // The form shows a task-bar button with the program's icons while it is
    // on screen: the main form, and a form shown in its place.
    void CarryTaskbarButton();

    TWinControl* ActiveControl() const { return active_control_; }
    void SetActiveControl(TWinControl* control);
    // Called when a control of the form receives the focus.
    void FocusChanged(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop.
    void SelectNext(bool forward);

    // A menu shortcut of the form's menu: the item is clicked, true returned.
    virtual bool IsShortCut(WORD key, TShiftState shift);
    bool DoKeyDown(WORD& key, TShiftState shift) override;
    bool DoKeyPress(char& key) override;
    // Sends a message to every control of the form, children of children too.
    void BroadcastAll(TMessage& message);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateHandleDone() override;
    void WndProc(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    virtual void DoCreate() {
        if (OnCreate) OnCreate(this);
    }
    virtual void DoShow() {
        if (OnShow) OnShow(this);
    }
    virtual void DoHide() {
        if (OnHide) OnHide(this);
    }

    // WM_DPICHANGED: the window takes the rectangle the system suggests for
    // the new scale, then everything in it is laid out again at that scale.
    void WMDpiChanged(TMessage& message);

private:
    void ApplyPosition();
    // The form is shown at `dpi` now: laid out and its menus measured at it.
    void TakeScale(int dpi);
    void FitClientSize();
    void WMActivate(TMessage& message);
    bool IsMainForm() const;
    // The main form minimised or restored: the windows open over it follow.
    void MainFormSized(WPARAM how);

    TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    TFormStyle form_style_ = TFormStyle::fsNormal;
    bool key_preview_ = false;
    TMainMenu* menu_ = nullptr;
    int client_width_ = -1;
    int client_height_ = -1;
    bool modal_ = false;
    TModalResult modal_result_ = mrNone;
    bool position_applied_ = false;
    TWinControl* active_control_ = nullptr;
    // What the main form hid when it was minimised, shown again on its restore.
    std::vector<HWND> hidden_with_main_;
    bool taskbar_button_ = false;
};

// Every form of the program in creation order (the screen's list).
int ScreenFormCount();
TForm* ScreenForms(int index);
bool IsScreenForm(const TForm* form);

}  // namespace quillory::ui
