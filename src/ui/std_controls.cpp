#include "ui/std_controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ui/forms.h"

namespace quillory::ui {

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    width_ = 75;
    height_ = 25;
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WindowClass = "BUTTON";
    params.SystemClass = true;
    params.Style |= (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    active_ = value;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (TForm* form = GetParentForm(); form && modal_result_ != mrNone)
        form->SetModalResult(modal_result_);
    TWinControl::Click();
}

void TButton::CMDialogKey(TMessage& message) {
    const WPARAM key = message.WParam;
    if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& message) {
    if (IsAccel(static_cast<char>(message.WParam), caption_) && CanFocus()) {
        Click();
        message.Result = 1;
    }
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND:
            if (HIWORD(message.WParam) == BN_CLICKED) Click();
            return;
        case CM_FOCUSCHANGED: {
            // The focused button answers Enter; otherwise the default one does.
            auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
            active_ = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
            if (HandleAllocated())
                SendMessageA(Handle(), BM_SETSTYLE, active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                             TRUE);
            break;
        }
        default: break;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 21;
    color_ = clWindow;
    SetTabStop(true);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WindowClass = "EDIT";
    params.SystemClass = true;
    params.Style |= ES_AUTOHSCROLL | ES_LEFT;
    params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
    if (border_style_ == TBorderStyle::bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TEdit::CreateHandleDone() {
    if (max_length_ > 0) SendMessageA(Handle(), EM_LIMITTEXT, max_length_, 0);
    SendMessageA(Handle(), EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    if (selection_saved_) {
        // The caret end goes last, so the caret stands where it stood.
        SendMessageA(Handle(), EM_SETSEL, selection_anchor_, selection_caret_);
        SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
        selection_saved_ = false;
    }
}

void TEdit::DestroyWnd() {
    // What lives only in the window survives a re-creation: the text the user
    // typed, the modified flag, the selection and where the caret is.
    if (HandleAllocated()) {
        caption_ = WindowText();
        modified_ = SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0;
        DWORD start = 0, end = 0;
        SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        // EM_GETSEL does not tell which end holds the caret; the caret is at
        // the end the user extended last, which the caret position shows.
        POINT caret{};
        const bool atStart = start != end && GetFocus() == Handle() && GetCaretPos(&caret) &&
                             CaretIsAt(static_cast<int>(start), caret);
        selection_anchor_ = static_cast<int>(atStart ? end : start);
        selection_caret_ = static_cast<int>(atStart ? start : end);
        selection_saved_ = true;
    }
    TWinControl::DestroyWnd();
}

std::string TEdit::WindowText() {
    const int length = GetWindowTextLengthA(Handle());
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(Handle(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool TEdit::CaretIsAt(int index, POINT caret) {
    const LRESULT position = SendMessageA(Handle(), EM_POSFROMCHAR, index, 0);
    if (position == -1) return false;
    return GET_X_LPARAM(position) == caret.x;
}

int TEdit::SelStart() {
    DWORD start = 0;
    if (HandleAllocated()) SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TEdit::SelLength() {
    DWORD start = 0, end = 0;
    if (HandleAllocated())
        SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TEdit::SetSelection(int anchor, int caret) {
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, anchor, caret);
}

void TEdit::SetMaxLength(int length) {
    max_length_ = length;
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, length, 0);
}

void TEdit::SetBorderStyle(TBorderStyle style) {
    if (style == border_style_) return;
    border_style_ = style;
    RecreateWnd();
}

void TEdit::CMCtl3DChanged(TMessage& message) {
    RecreateWnd();  // the border is part of the window's creation style
    TWinControl::CMCtl3DChanged(message);
}

void TEdit::SelectAll() {
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == EN_CHANGE) {
            // The window holds the text the user typed; the control follows it.
            const std::string text = WindowText();
            if (text != caption_) {
                caption_ = text;
                Perform(CM_TEXTCHANGED);
            }
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 97;
    color_ = clWindow;
    SetTabStop(true);
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WindowClass = "LISTBOX";
    params.SystemClass = true;
    params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
    if (border_style_ == TBorderStyle::bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TListBox::DestroyWnd() {
    if (HandleAllocated()) {
        item_index_ = ItemIndex();
        top_index_ = static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0));
    }
    TWinControl::DestroyWnd();
}

void TListBox::CreateHandleDone() {
    for (const std::string& item : items_)
        SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (item_index_ >= 0) SendMessageA(Handle(), LB_SETCURSEL, item_index_, 0);
    if (top_index_ > 0) SendMessageA(Handle(), LB_SETTOPINDEX, top_index_, 0);
}

int TListBox::TopIndex() const {
    if (HandleAllocated())
        return static_cast<int>(
            SendMessageA(const_cast<TListBox*>(this)->Handle(), LB_GETTOPINDEX, 0, 0));
    return top_index_;
}

void TListBox::SetTopIndex(int index) {
    top_index_ = index;
    if (HandleAllocated()) SendMessageA(Handle(), LB_SETTOPINDEX, index, 0);
}

void TListBox::AddItem(const std::string& text) {
    items_.push_back(text);
    if (HandleAllocated())
        SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBox::SetItem(int index, const std::string& text) {
    if (index < 0 || index >= ItemCount()) return;
    items_[index] = text;
    if (HandleAllocated()) {
        const int selected = ItemIndex();
        SendMessageA(Handle(), LB_DELETESTRING, index, 0);
        SendMessageA(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(Handle(), LB_SETCURSEL, selected, 0);
    }
}

void TListBox::ClearItems() {
    items_.clear();
    item_index_ = -1;
    if (HandleAllocated()) SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemIndex() const {
    if (HandleAllocated())
        return static_cast<int>(
            SendMessageA(const_cast<TListBox*>(this)->Handle(), LB_GETCURSEL, 0, 0));
    return item_index_;
}

void TListBox::SetItemIndex(int index) {
    item_index_ = index;
    if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

void TListBox::SetBorderStyle(TBorderStyle style) {
    if (style == border_style_) return;
    border_style_ = style;
    RecreateWnd();
}

void TListBox::CMCtl3DChanged(TMessage& message) {
    RecreateWnd();
    TWinControl::CMCtl3DChanged(message);
}

void TListBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == LBN_SELCHANGE) {
            item_index_ = ItemIndex();
            Click();
        } else if (HIWORD(message.WParam) == LBN_DBLCLK) {
            DoDblClick();
        }
        return;
    }
    TWinControl::WndProc(message);
}

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    height_ = 19;
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WindowClass = STATUSCLASSNAMEA;
    params.SystemClass = true;
    // Our bounds, not the status bar's own idea of where it belongs.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    params.Style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}

void TStatusBar::CreateHandleDone() {
    UpdateParts();
    UpdateSimple();
}

void TStatusBar::AddPanel(int width, const std::string& text) {
    panels_.push_back(TStatusPanel{width, text});
    UpdateParts();
}

void TStatusBar::SetPanelWidth(int index, int width) {
    if (index < 0 || index >= PanelCount() || panels_[index].Width == width) return;
    panels_[index].Width = width;
    UpdateParts();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    if (index < 0 || index >= PanelCount() || panels_[index].Text == text) return;
    panels_[index].Text = text;
    if (HandleAllocated())
        SendMessageA(Handle(), SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::DisplayedText(int index) {
    if (!HandleAllocated() || index < 0 || index >= PanelCount()) return {};
    const auto length = LOWORD(SendMessageA(Handle(), SB_GETTEXTLENGTHA, index, 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(Handle(), SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void TStatusBar::SetSimplePanel(bool value) {
    if (value == simple_panel_) return;
    simple_panel_ = value;
    UpdateSimple();
    // Back to the panels: each shows its text as it stands now.
    if (!value) UpdateParts();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simple_text_ = text;
    if (HandleAllocated())
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TStatusBar::DisplaysSimpleText() {
    return HandleAllocated() && SendMessageA(Handle(), SB_ISSIMPLE, 0, 0) != FALSE;
}

std::string TStatusBar::DisplayedSimpleText() {
    if (!DisplaysSimpleText()) return {};
    // Read back at index 0: in simple mode the bar has that one pane only.
    const auto length = LOWORD(SendMessageA(Handle(), SB_GETTEXTLENGTHA, 0, 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void TStatusBar::UpdateSimple() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID,
                 reinterpret_cast<LPARAM>(simple_text_.c_str()));
    SendMessageA(Handle(), SB_SIMPLE, simple_panel_ ? TRUE : FALSE, 0);
}

void TStatusBar::UpdateParts() {
    if (!HandleAllocated() || panels_.empty()) return;
    std::vector<int> edges;
    int right = 0;
    for (const TStatusPanel& panel : panels_) {
        right += panel.Width;
        edges.push_back(right);
    }
    edges.back() = -1;  // the last panel takes what is left
    SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < PanelCount(); ++i)
        SendMessageA(Handle(), SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panels_[i].Text.c_str()));
}

}  // namespace quillory::ui
