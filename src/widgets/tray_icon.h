// TTrayIcon: one icon in the notification area, with a tip, mouse events in
// the order the icon reports them, an optional popup menu, icon cycling
// through an image list, and sending the application to the tray when it is
// minimised. Owned by a form, it also brings that form forward whenever the
// form is shown again.
#pragma once

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "ui/application.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/menus.h"
#include "ui/messages.h"
#include "ui/timer.h"
#include "ui/icon.h"
#include "ui/image_list.h"

namespace quillory::widgets {

// The message the shell sends to the component's hidden window; its LParam
// names the mouse message that happened over the icon.
constexpr UINT TrayCallbackMessage = 0x0800;
constexpr UINT kTrayIconId = 1;
// The tip field holds 64 bytes, the terminating zero included.
constexpr std::size_t kTrayTipLength = 63;
// The first, smallest form of NOTIFYICONDATA: understood by every shell.
constexpr DWORD kTrayIconDataSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(sizeof(void*) != 4 || kTrayIconDataSize == 88,
              "the 88-byte record on 32-bit Windows");
// Asked of the shell for every icon added: from this version on, Enter or
// Space on an icon chosen with the keyboard (Win+B, arrows) is reported as
// NIN_KEYSELECT, not as a right click; the mouse is reported as before. The
// record that asks must be long enough to hold uVersion.
constexpr UINT kTrayIconVersion = NOTIFYICON_VERSION;
constexpr DWORD kTrayVersionDataSize = NOTIFYICONDATAA_V2_SIZE;

using TCycleEvent = std::function<void(ui::TComponent* sender, int nextIndex)>;

// Every Shell_NotifyIconA call of the program goes through here, so tests can
// watch the calls and answer them. Returns the previous handler; nullptr puts
// the real call back.
using TShellNotifyIcon = std::function<BOOL(DWORD message, NOTIFYICONDATAA& data)>;
TShellNotifyIcon SetShellNotifyIcon(TShellNotifyIcon handler);

class TTrayIcon : public ui::TComponent {
public:
    const char* ClassName() const override { return "TTrayIcon"; }
    // `designing` stands for a form designer's preview: no hooks, and the icon
    // only appears on request (DesignPreview). The program never designs.
    explicit TTrayIcon(ui::TComponent* owner, bool designing = false);
    ~TTrayIcon() override;

    bool DesignPreview() const { return design_preview_; }
    void SetDesignPreview(bool value);
    ui::TImageList* IconList() const { return icon_list_; }
    void SetIconList(ui::TImageList* list);
    bool CycleIcons() const { return cycle_icons_; }
    void SetCycleIcons(bool value);
    UINT CycleInterval() const { return cycle_interval_; }
    void SetCycleInterval(UINT milliseconds);
    // While false, every mouse notification from the icon is ignored.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool value);
    const ui::TIcon& Icon() const { return icon_; }
    // Copies the picture.
    void SetIcon(const ui::TIcon& icon);
    bool IconVisible() const { return icon_visible_; }
    // Adds (true) or deletes (false) the icon; the flag follows the request
    // even when the shell refuses.
    void SetIconVisible(bool value);
    int IconIndex() const { return icon_index_; }
    // Picks the list's image; beyond the end of the list means its last image,
    // and without a list the index stays 0.
    void SetIconIndex(int value);
    ui::TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(ui::TPopupMenu* menu);
    bool LeftPopup() const { return left_popup_; }
    void SetLeftPopup(bool value) { left_popup_ = value; }
    bool StartMinimized() const { return start_minimized_; }
    void SetStartMinimized(bool value) { start_minimized_ = value; }
    bool MinimizeToTray() const { return minimize_to_tray_; }
    void SetMinimizeToTray(bool value) { minimize_to_tray_ = value; }

    ui::TNotifyEvent OnClick;
    ui::TNotifyEvent OnDblClick;
    ui::TMouseEvent OnMouseDown;
    ui::TMouseEvent OnMouseUp;
    ui::TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    // The shell restarted and refused the icon when it was added again: it is
    // gone from the notification area although IconVisible still says true.
    ui::TNotifyEvent OnIconLost;

    // Each answers whether the shell accepted the call (false when nothing was called).
    virtual bool ShowTrayIcon();
    virtual bool HideTrayIcon();
    virtual bool UpdateTrayIcon();

    // Hides the application's main form and its task-bar window.
    void HideMainWindow();

    // Load completion: the owner calls it once, after it has made the
    // component's settings. Applies StartMinimized and adds or deletes the
    // icon to match IconVisible.
    void Loaded() override;

    bool Designing() const { return designing_; }
    // The hidden window the shell sends TrayCallbackMessage to; made when the
    // icon first goes to the shell (or when asked for here).
    HWND MessageWindow();
    bool HasMessageWindow() const { return message_window_ != nullptr; }
    // What the last shell call was given.
    const NOTIFYICONDATAA& IconData() const { return icon_data_; }

    void Notification(ui::TComponent* component, ui::TOperation operation) override;

protected:
    virtual void DoClick() {
        if (OnClick) OnClick(this);
    }
    virtual void DoDblClick() {
        if (OnDblClick) OnDblClick(this);
    }
    virtual void DoCycle();
    virtual void DoMouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
        if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    }
    virtual void DoMouseUp(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
        if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    }
    virtual void DoMouseMove(ui::TShiftState shift, int x, int y) {
        if (OnMouseMove) OnMouseMove(this, shift, x, y);
    }
    // Minimised with MinimizeToTray: hide the program, show the icon.
    virtual void DoSendToTray();
    virtual void DoIconLost() {
        if (OnIconLost) OnIconLost(this);
    }

private:
    struct OwnerHookState;
    struct OwnerProcHook;

    static LRESULT CALLBACK TrayMessageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT TrayMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void IconMouseMessage(UINT mouseMessage);
    bool FillIconData();
    static bool CallShell(DWORD message, NOTIFYICONDATAA& data);
    void CycleTimerTick();
    void PopupMenuAtCursor();
    void ClickDefaultItem();
    void LoadListImage();
    void HookApplicationWindow();
    void UnhookApplicationWindow();
    void HookOwnerWindow();
    void UnhookOwnerWindow();
    bool ApplicationWindowMessage(ui::TMessage& message);
    void OwnerWindowMessage(ui::TMessage& message);

    bool design_preview_ = false;
    ui::TImageList* icon_list_ = nullptr;
    bool cycle_icons_ = false;
    UINT cycle_interval_ = 0;
    bool enabled_ = true;
    std::string hint_;
    bool show_hint_ = false;
    ui::TIcon icon_;
    bool icon_visible_ = true;
    int icon_index_ = 0;
    ui::TPopupMenu* popup_menu_ = nullptr;
    bool left_popup_ = false;
    bool start_minimized_ = false;
    bool minimize_to_tray_ = false;

    const bool designing_;
    bool design_toggle_ = false;
    bool click_pending_ = false;
    // The last report from the icon was a left release: a NIN_SELECT right
    // after it belongs to that click.
    bool after_left_release_ = false;
    // An add went to the shell since the last delete (or the shell's restart).
    bool icon_maybe_shown_ = false;
    // The owner has been shown (or existed when it was hooked).
    bool owner_shown_ = false;
    // Shown again: brought forward as soon as it is on screen.
    bool bring_forward_ = false;
    NOTIFYICONDATAA icon_data_{};
    HWND message_window_ = nullptr;
    ui::TTimer* cycle_timer_ = nullptr;
    ui::TApplication* hooked_application_ = nullptr;
    int application_hook_id_ = 0;
    std::shared_ptr<OwnerHookState> owner_hook_;
};

}  // namespace quillory::widgets
