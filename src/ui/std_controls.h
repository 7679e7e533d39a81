// The system's own controls, subclassed so that every message passes through
// the framework: push button, one-line edit, list box and status bar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/control.h"

namespace quillory::ui {

enum class TBorderStyle { bsNone, bsSingle };

class TButton : public TWinControl {
public:
    const char* ClassName() const override { return "TButton"; }
    explicit TButton(TComponent* owner);

    // Enter clicks the default button, Esc the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult result) { modal_result_ = result; }

    // Gives the form its ModalResult, then fires OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;  // Enter would click it: it has the focus, or it is the default
    TModalResult modal_result_ = mrNone;
};

class TEdit : public TWinControl {
public:
    const char* ClassName() const override { return "TEdit"; }
    explicit TEdit(TComponent* owner);

    int MaxLength() const { return max_length_; }
    void SetMaxLength(int length);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle style);
    void SelectAll();
    int SelStart();
    int SelLength();
    // Selects from `anchor` to `caret`, the caret at the second (it may be the lower).
    void SetSelection(int anchor, int caret);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void CMCtl3DChanged(TMessage& message) override;

private:
    std::string WindowText();
    bool CaretIsAt(int index, POINT caret);

    int max_length_ = 0;
    bool modified_ = false;
    TBorderStyle border_style_ = TBorderStyle::bsSingle;
    // The selection while the window is re-created.
    bool selection_saved_ = false;
    int selection_anchor_ = 0;
    int selection_caret_ = 0;
};

class TListBox : public TWinControl {
public:
    const char* ClassName() const override { return "TListBox"; }
    explicit TListBox(TComponent* owner);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int index) const { return items_[index]; }
    void AddItem(const std::string& text);
    void SetItem(int index, const std::string& text);
    void ClearItems();
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The first row shown.
    int TopIndex() const;
    void SetTopIndex(int index);
    TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void CMCtl3DChanged(TMessage& message) override;

private:
    std::vector<std::string> items_;
    int item_index_ = -1;
    int top_index_ = 0;
    TBorderStyle border_style_ = TBorderStyle::bsSingle;
};

struct TStatusPanel {
    int Width = 50;
    std::string Text;
};

class TStatusBar : public TWinControl {
public:
    const char* ClassName() const override { return "TStatusBar"; }
    explicit TStatusBar(TComponent* owner);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const TStatusPanel& Panels(int index) const { return panels_[index]; }
    void AddPanel(int width, const std::string& text);
    void SetPanelWidth(int index, int width);
    void SetPanelText(int index, const std::string& text);
    // The text the window itself shows in a panel (what a player reads).
    std::string DisplayedText(int index);

    // One text across the whole bar in place of the panels. The panels keep
    // their texts meanwhile (and take new ones) and show them again after.
    bool SimplePanel() const { return simple_panel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simple_text_; }
    void SetSimpleText(const std::string& text);
    // Whether the window itself is in that mode, and the text it shows there.
    bool DisplaysSimpleText();
    std::string DisplayedSimpleText();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    void UpdateParts();
    void UpdateSimple();
    std::vector<TStatusPanel> panels_;
    bool simple_panel_ = false;
    std::string simple_text_;
};

}  // namespace quillory::ui
