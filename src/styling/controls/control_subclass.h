// TControlSubClass: the record that routes every message of one styled
// control. The control handles each message first; the record follows its
// visual state (mouse over, pressed, focused) and paints the flat look over
// what the control drew. The record is owned by the component whose colours
// it follows, and goes when its control goes.
#pragma once

#include <windows.h>

#include <memory>

#include "styling/elements/control_styling.h"
#include "styling/elements/skin_style.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/messages.h"

namespace quillory::styling {

class TControlSubClass : public ui::TComponent {
public:
    const char* ClassName() const override { return "TControlSubClass"; }
    explicit TControlSubClass(ui::TComponent* owner);
    ~TControlSubClass() override;

    // Puts the record between the control and its handler (unless a record
    // already is) and remembers the control's 3-D look and border.
    void Install(ui::TControl* control, ISkinSource* skin);
    // Takes over the control another record routes, with its previous handler:
    // the control follows `skin` from now on; the other record stays unused.
    void TakeOver(TControlSubClass& other, ISkinSource* skin);
    // Gives the control its previous handler, 3-D look and border back; the
    // record stays as it is.
    void Restore();
    // The control is routed through this record right now.
    bool IsInstalled() const;

    // The replacement message handler.
    void SubClassWndProc(ui::TMessage& message);
    // Runs the painter of the control's kind.
    void PaintControl();

    void Notification(ui::TComponent* component, ui::TOperation operation) override;

    ui::TControl* FControl = nullptr;
    bool FKeepOnDestroy = false;
    bool FHot = false;
    bool FLButtonDown = false;
    bool FSpaceDown = false;
    bool FSpacePainted = false;
    bool FFocused = false;
    ui::TWndMethod FOldWindowProc;
    ISkinSource* FSkin = nullptr;
    bool FOrgCtl3D = true;
    BYTE FOrgBorderStyle = 1;  // 0 none, 1 single
    UINT FLastMessage = 0;

    // The device context of the paint message being handled for a graphic
    // control (its parent's, origin on the control), or none.
    HDC PaintDC() const { return paint_dc_; }

    // How many records exist in the process (leak checks read it), and how
    // many times a painter has run (what tests and benchmarks count).
    static int LiveCount();
    static long PaintCount();
    // The record whose handler a control's WindowProc is, or none.
    static TControlSubClass* RecordOf(const ui::TControl& control);

private:
    void EndStyling();
    void Release();
    void PaintOrRepaint(bool invalidateOnly);
    void ReadFocus();
    void Unthemed(bool off);

    HDC paint_dc_ = nullptr;
    // The window whose visual style the record has switched off: a window
    // re-created under the control is switched off again.
    HWND unthemed_ = nullptr;
    // The control's window has the keyboard focus, followed through its
    // focus messages: asking the system is a trip to the window server on
    // every paint.
    bool has_focus_ = false;
    // False once the record is gone: a message the control handles may free it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quillory::styling
