// Menus: TMenuItem (caption, shortcut, state, picture, events), TMainMenu (a
// form's menu bar) and TPopupMenu. With OwnerDraw every item, the bar's
// included, is measured and painted through OnMeasureItem / OnAdvancedDrawItem.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/component.h"
#include "ui/control.h"
#include "ui/image_list.h"
#include "ui/messages.h"
#include "ui/ui_types.h"

namespace quillory::ui {

class TMenu;
class TMenuItem;
class TForm;

using TMenuMeasureItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, RECT rect, bool selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TMenuItem* sender, TCanvas& canvas, RECT rect, TOwnerDrawState state)>;

// "F9", "Del", "Ctrl+S"...
std::string ShortCutToText(TShortCut shortCut);

// The system's menu font (face and height as the system gives them, colour
// clMenuText). Read once, and again after the system's settings change.
const TFont& SystemMenuFont();
// Forgets the font read, so the next call reads it anew.
void RefreshSystemMenuFont();

class TMenuItem : public TComponent {
public:
    const char* ClassName() const override { return "TMenuItem"; }
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TShortCut ShortCut() const { return shortcut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // Checked shows a radio mark instead of a tick.
    bool RadioItem() const { return radio_item_; }
    void SetRadioItem(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int ImageIndex() const { return image_index_; }
    void SetImageIndex(int index);
    // Pictures for the sub-items (by their ImageIndex), before the menu's own list.
    TImageList* SubMenuImages() const { return sub_menu_images_; }
    void SetSubMenuImages(TImageList* images);
    TBitmap& Bitmap() { return bitmap_; }
    bool IsLine() const { return caption_ == "-"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_[index]; }
    TMenuItem* Parent() const { return parent_; }
    // The item's position in its parent's platform menu, which holds only the
    // visible items; -1 for a hidden item or one without a parent.
    int MenuIndex() const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);

    UINT Command() const { return command_; }
    // The item's own popup (for items with sub-items) once the menu is built.
    HMENU Handle() const { return handle_; }
    // The menu the item is built into (for the bar's items: the bar).
    HMENU ParentHandle() const;
    TMenu* GetParentMenu() const;

    // The text the system shows: caption, then a tab and the shortcut.
    std::string DisplayText() const;

    virtual void Click();
    virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas& canvas, RECT rect, TOwnerDrawState state);

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    static TMenuItem* FindByCommand(UINT command);
    // The item a menu message's item data points to, if it is still alive.
    static TMenuItem* FromItemData(ULONG_PTR data);

    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenu;
    void Build(HMENU parentMenu, bool ownerDraw);
    void Changed(bool rebuild);
    void SetInPlace(bool ownerDraw);
    void SetSubItemsInPlace();
    void FillItemInfo(MENUITEMINFOA& info, std::string& text, bool ownerDraw) const;

    std::string caption_;
    TShortCut shortcut_ = scNone;
    bool enabled_ = true;
    bool checked_ = false;
    bool default_ = false;
    bool visible_ = true;
    bool radio_item_ = false;
    int image_index_ = -1;
    TImageList* sub_menu_images_ = nullptr;
    TBitmap bitmap_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    UINT command_ = 0;
    HMENU handle_ = nullptr;
    HMENU parent_handle_ = nullptr;
};

class TMenu : public TComponent {
public:
    const char* ClassName() const override { return "TMenu"; }
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_.get(); }
    HMENU Handle();
    bool OwnerDraw() const { return owner_draw_; }
    void SetOwnerDraw(bool value);
    // Pictures for the items, by their ImageIndex.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // The menu reads from right to left (items in right-to-left order).
    bool RightToLeft() const { return right_to_left_; }
    void SetRightToLeft(bool value);
    // What the system paints where no item lies (a bar beyond its last
    // caption); clNone leaves the system's menu colour.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Builds the system menu anew from the items.
    virtual void Rebuild();
    // The system measures an owner-drawn item once and keeps its size: every
    // item set anew (in place, an open menu stays open) is measured again.
    void Remeasure();
    // Between BeginUpdate and EndUpdate every rebuild asked for is put off;
    // EndUpdate builds the menu once if any was. Calls nest.
    void BeginUpdate() { ++update_depth_; }
    void EndUpdate();
    // Finds the enabled item with this shortcut and clicks it.
    bool IsShortCut(TShortCut shortCut);
    TMenuItem* FindItem(UINT command) const;

    std::function<void(TMenu* sender)> OnChange;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual HMENU CreateMenuHandle() = 0;
    virtual void HandleRebuilt() {}
    void DestroyHandle();

private:
    std::unique_ptr<TMenuItem> items_;
    HMENU handle_ = nullptr;
    bool owner_draw_ = false;
    bool right_to_left_ = false;
    int update_depth_ = 0;
    bool rebuild_pending_ = false;
    TImageList* images_ = nullptr;
    TColor color_ = clNone;
    BrushHandle brush_;  // the menu's while it holds it; freed after it
};

class TMainMenu : public TMenu {
public:
    const char* ClassName() const override { return "TMainMenu"; }
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    // The form whose menu bar this is (set by TForm::SetMenu).
    TForm* WindowForm() const { return form_; }
    void SetWindowForm(TForm* form) { form_ = form; }

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
    void HandleRebuilt() override;

private:
    TForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
public:
    const char* ClassName() const override { return "TPopupMenu"; }
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Opens the menu at a screen point; the application window receives its messages.
    virtual void Popup(int x, int y);
    TNotifyEvent OnPopup;

protected:
    HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

// Menu commands, item measuring and item drawing, and the letters typed in
// owner-drawn menus, for whichever window received them. True when the
// message concerned a menu item.
bool DispatchMenuMessage(TMessage& message);

}  // namespace quillory::ui
