#include "ui/menus.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/menu_mnemonics.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/forms.h"

namespace quillory::ui {

namespace {

constexpr UINT kFirstMenuCommand = 100;
constexpr UINT kLastMenuCommand = 0x7FFF;
constexpr int kMenuTextMargin = 8;
constexpr int kMenuMinimumHeight = 18;
constexpr int kSeparatorHeight = 8;

std::map<UINT, TMenuItem*>& CommandMap() {
    static std::map<UINT, TMenuItem*> map;
    return map;
}

std::set<const TMenuItem*>& LiveItems() {
    static std::set<const TMenuItem*> items;
    return items;
}

UINT AllocateCommand() {
    static UINT next = kFirstMenuCommand;
    auto& map = CommandMap();
    for (UINT tries = 0; tries <= kLastMenuCommand - kFirstMenuCommand; ++tries) {
        const UINT command = next;
        next = next >= kLastMenuCommand ? kFirstMenuCommand : next + 1;
        if (!map.count(command)) return command;
    }
    return 0;
}

void SetMenuBackground(HMENU menu, HBRUSH brush) {
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(menu, &info);
}

struct CachedMenuFont {
    TFont font;
    bool read = false;
};

CachedMenuFont& MenuFontCache() {
    static CachedMenuFont cache;
    return cache;
}

}  // namespace

const TFont& SystemMenuFont() {
    CachedMenuFont& cache = MenuFontCache();
    if (!cache.read) {
        cache.read = true;
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            cache.font.SetName(metrics.lfMenuFont.lfFaceName);
            // Given at the system's scale; a form at another one scales it from there.
            cache.font.SetHeightForDpi(metrics.lfMenuFont.lfHeight, SystemDpi());
            cache.font.SetCharset(metrics.lfMenuFont.lfCharSet);
            TFontStyles style = 0;
            if (metrics.lfMenuFont.lfWeight >= FW_BOLD) style |= fsBold;
            if (metrics.lfMenuFont.lfItalic) style |= fsItalic;
            cache.font.SetStyle(style);
        }
        cache.font.SetColor(clMenuText);
    }
    return cache.font;
}

void RefreshSystemMenuFont() {
    MenuFontCache().read = false;
}

std::string ShortCutToText(TShortCut shortCut) {
    if (shortCut == scNone) return {};
    const WORD key = shortCut & 0xFF;
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    if (key >= VK_F1 && key <= VK_F24) return text + "F" + std::to_string(key - VK_F1 + 1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return text + static_cast<char>(key);
    switch (key) {
        case VK_DELETE: return text + "Del";
        case VK_INSERT: return text + "Ins";
        case VK_BACK: return text + "BkSp";
        case VK_TAB: return text + "Tab";
        case VK_ESCAPE: return text + "Esc";
        case VK_RETURN: return text + "Enter";
        case VK_SPACE: return text + "Space";
        case VK_PRIOR: return text + "PgUp";
        case VK_NEXT: return text + "PgDn";
        case VK_END: return text + "End";
        case VK_HOME: return text + "Home";
        case VK_LEFT: return text + "Left";
        case VK_UP: return text + "Up";
        case VK_RIGHT: return text + "Right";
        case VK_DOWN: return text + "Down";
        default: break;
    }
    return text + "#" + std::to_string(key);
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {
    if (command_) CommandMap()[command_] = this;
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
    LiveItems().erase(this);
    if (command_) CommandMap().erase(command_);
    for (TMenuItem* item : items_) item->parent_ = nullptr;
    items_.clear();
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    auto found = CommandMap().find(command);
    return found == CommandMap().end() ? nullptr : found->second;
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return LiveItems().count(item) ? item : nullptr;
}

int TMenuItem::MenuIndex() const {
    if (!parent_ || !visible_) return -1;
    int index = 0;
    for (const TMenuItem* item : parent_->items_) {
        if (item == this) return index;
        if (item->visible_) ++index;
    }
    return -1;
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == sub_menu_images_) {
        sub_menu_images_ = nullptr;
        Changed(false);
    }
    TComponent::Notification(component, operation);
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    items_.erase(found);
    item->parent_ = nullptr;
    Changed(true);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

HMENU TMenuItem::ParentHandle() const {
    return parent_handle_;
}

std::string TMenuItem::DisplayText() const {
    if (shortcut_ == scNone) return caption_;
    return caption_ + "\t" + ShortCutToText(shortcut_);
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    const bool lineChanged = IsLine() != (caption == "-");
    caption_ = caption;
    // A bar item is measured only when the menu is built: a new caption on
    // the bar builds it anew, so an owner-drawn bar takes the new size.
    const bool onTheBar = parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
    Changed(lineChanged || onTheBar);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortcut_) return;
    shortcut_ = shortCut;
    Changed(false);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(false);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(false);
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == radio_item_) return;
    radio_item_ = value;
    Changed(false);
}

void TMenuItem::SetImageIndex(int index) {
    if (index == image_index_) return;
    image_index_ = index;
    Changed(false);
}

void TMenuItem::SetSubMenuImages(TImageList* images) {
    if (images == sub_menu_images_) return;
    if (sub_menu_images_) RemoveFreeNotification(sub_menu_images_);
    sub_menu_images_ = images;
    if (images) FreeNotification(images);
    Changed(false);
}

void TMenuItem::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    Changed(false);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(true);
}

void TMenuItem::FillItemInfo(MENUITEMINFOA& info, std::string& text, bool ownerDraw) const {
    text = DisplayText();
    info = MENUITEMINFOA{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    info.fType = 0;
    if (IsLine()) info.fType |= MFT_SEPARATOR;
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    if (radio_item_) info.fType |= MFT_RADIOCHECK;
    if (const TMenu* menu = GetParentMenu(); menu && menu->RightToLeft())
        info.fType |= MFT_RIGHTORDER;
    info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0) |
                  (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
}

void TMenuItem::Build(HMENU parentMenu, bool ownerDraw) {
    parent_handle_ = parentMenu;
    handle_ = nullptr;
    MENUITEMINFOA info;
    std::string text;
    FillItemInfo(info, text, ownerDraw);
    if (!items_.empty()) {
        handle_ = CreatePopupMenu();
        for (TMenuItem* item : items_) {
            if (item->visible_) item->Build(handle_, ownerDraw);
        }
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = handle_;
    }
    InsertMenuItemA(parentMenu, GetMenuItemCount(parentMenu), TRUE, &info);
}

void TMenuItem::Changed(bool rebuild) {
    TMenu* menu = GetParentMenu();
    // Nothing to rebuild while the menu or its form is being torn down.
    if (!menu || menu->Destroying() || (menu->Owner() && menu->Owner()->Destroying())) return;
    if (rebuild || !parent_handle_) {
        menu->Rebuild();
        return;
    }
    SetInPlace(menu->OwnerDraw());
    if (menu->OnChange) menu->OnChange(menu);
    if (auto* mainMenu = dynamic_cast<TMainMenu*>(menu);
        mainMenu && mainMenu->WindowForm() && mainMenu->WindowForm()->HandleAllocated())
        DrawMenuBar(mainMenu->WindowForm()->Handle());
}

// Changing an item in place keeps an open menu intact.
void TMenuItem::SetInPlace(bool ownerDraw) {
    MENUITEMINFOA info;
    std::string text;
    FillItemInfo(info, text, ownerDraw);
    info.fMask &= ~static_cast<UINT>(MIIM_ID);
    SetMenuItemInfoA(parent_handle_, command_, FALSE, &info);
}

void TMenuItem::SetSubItemsInPlace() {
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        item->SetInPlace(true);
        item->SetSubItemsInPlace();
    }
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = 0;
        height = kSeparatorHeight;
    } else {
        width = canvas.TextWidth(caption_) + 2 * kMenuTextMargin;
        if (shortcut_ != scNone)
            width += canvas.TextWidth(ShortCutToText(shortcut_)) + kMenuTextMargin;
        height = std::max(canvas.TextHeight(caption_) + 4, kMenuMinimumHeight);
    }
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, RECT rect, TOwnerDrawState state) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
        return;
    }
    // Plain drawing for an owner-drawn menu that nobody paints.
    const bool selected = (state & odSelected) != 0;
    canvas.FillRect(rect, selected ? clHighlight : clMenu);
    if (IsLine()) {
        const int y = rect.top + RectHeight(rect) / 2;
        canvas.FillRect(RECT{rect.left + 2, y, rect.right - 2, y + 1}, clBtnShadow);
        return;
    }
    canvas.Font.SetColor((state & odGrayed) ? clGrayText : selected ? clHighlightText : clMenuText);
    RECT textRect = rect;
    textRect.left += kMenuTextMargin;
    textRect.right -= kMenuTextMargin;
    canvas.DrawText(caption_, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (shortcut_ != scNone)
        canvas.DrawText(ShortCutToText(shortcut_), textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    DestroyHandle();
    items_->menu_ = nullptr;
}

HMENU TMenu::Handle() {
    if (!handle_) Rebuild();
    return handle_;
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == owner_draw_) return;
    owner_draw_ = value;
    Rebuild();
}

void TMenu::SetImages(TImageList* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images) FreeNotification(images);
    if (handle_) Rebuild();
}

void TMenu::SetRightToLeft(bool value) {
    if (value == right_to_left_) return;
    right_to_left_ = value;
    if (handle_) Rebuild();
}

void TMenu::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    BrushHandle brush(color == clNone ? nullptr : CreateSolidBrush(ColorToRGB(color)));
    // The menu takes the new brush before the old one goes.
    if (handle_) SetMenuBackground(handle_, brush.Get());
    brush_ = std::move(brush);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        if (handle_ && !Destroying()) Rebuild();
    }
    TComponent::Notification(component, operation);
}

void TMenu::DestroyHandle() {
    if (handle_) DestroyMenu(handle_);  // destroys the sub-menus too
    handle_ = nullptr;
}

void TMenu::EndUpdate() {
    if (update_depth_ == 0 || --update_depth_ > 0 || !rebuild_pending_) return;
    rebuild_pending_ = false;
    Rebuild();
}

void TMenu::Rebuild() {
    if (update_depth_ > 0) {
        rebuild_pending_ = true;
        return;
    }
    HMENU old = handle_;
    handle_ = CreateMenuHandle();
    for (int i = 0; i < items_->Count(); ++i) {
        TMenuItem* item = items_->Items(i);
        if (item->Visible()) item->Build(handle_, owner_draw_);
    }
    if (brush_) SetMenuBackground(handle_, brush_.Get());
    HandleRebuilt();
    if (old) DestroyMenu(old);
    if (OnChange) OnChange(this);
}

void TMenu::Remeasure() {
    if (handle_ && owner_draw_) items_->SetSubItemsInPlace();
}

TMenuItem* TMenu::FindItem(UINT command) const {
    TMenuItem* item = TMenuItem::FindByCommand(command);
    return item && item->GetParentMenu() == this ? item : nullptr;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    if (shortCut == scNone) return false;
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible()) continue;
            if (item->ShortCut() == shortCut) return item;
            if (item->Enabled()) {
                if (TMenuItem* found = find(item)) return found;
            }
        }
        return nullptr;
    };
    TMenuItem* item = find(items_.get());
    if (!item || !item->Enabled()) return false;
    item->Click();
    return true;
}

void TMainMenu::HandleRebuilt() {
    if (form_) form_->MenuChanged();
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HWND owner = Application ? Application->Handle() : nullptr;
    const UINT command = TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                        x, y, 0, owner, nullptr);
    if (command) {
        if (TMenuItem* item = FindItem(command)) item->Click();
    }
}

namespace {

// The system matches no "&" letter of an owner-drawn entry: it asks the
// menu's owner. The window menu is the system's own.
bool AnswerMenuCharMessage(TMessage& message) {
    if (HIWORD(message.WParam) & MF_SYSMENU) return false;
    HMENU menu = reinterpret_cast<HMENU>(message.LParam);
    std::vector<MenuEntryKey> entries;
    int highlighted = -1;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_STATE;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        const TMenuItem* item = TMenuItem::FromItemData(info.dwItemData);
        entries.push_back({item ? std::string_view(item->Caption()) : std::string_view(),
                           (info.fState & MFS_DISABLED) == 0});
        if (info.fState & MFS_HILITE) highlighted = i;
    }
    const MenuCharAnswer answer =
        quillory::AnswerMenuChar(entries, highlighted, static_cast<char>(LOWORD(message.WParam)));
    if (answer.Action == MenuCharAction::NotFound) return false;
    message.Result = MAKELRESULT(
        answer.Index, answer.Action == MenuCharAction::Execute ? MNC_EXECUTE : MNC_SELECT);
    return true;
}

}  // namespace

bool DispatchMenuMessage(TMessage& message) {
    switch (message.Msg) {
        case WM_MENUCHAR: return AnswerMenuCharMessage(message);
        case WM_COMMAND: {
            if (message.LParam != 0 || HIWORD(message.WParam) != 0) return false;
            TMenuItem* item = TMenuItem::FindByCommand(LOWORD(message.WParam));
            if (!item) return false;
            item->Click();
            message.Result = 0;
            return true;
        }
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
            if (measure->CtlType != ODT_MENU) return false;
            TMenuItem* item = TMenuItem::FromItemData(measure->itemData);
            if (!item) return false;
            WindowDC screen(nullptr);
            TCanvas canvas(screen.Get());
            canvas.Font = SystemMenuFont();
            canvas.Font.SetPixelsPerInch(SystemDpi());  // as the system shows its menus
            int width = static_cast<int>(measure->itemWidth);
            int height = static_cast<int>(measure->itemHeight);
            item->MeasureItem(canvas, width, height);
            measure->itemWidth = static_cast<UINT>(std::max(width, 0));
            measure->itemHeight = static_cast<UINT>(std::max(height, 0));
            message.Result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
            if (draw->CtlType != ODT_MENU) return false;
            TMenuItem* item = TMenuItem::FromItemData(draw->itemData);
            if (!item) return false;
            ScopedSaveDC save(draw->hDC);
            TCanvas canvas(draw->hDC);
            canvas.Font = SystemMenuFont();
            canvas.Font.SetPixelsPerInch(SystemDpi());  // as the system shows its menus
            item->AdvancedDrawItem(canvas, draw->rcItem, draw->itemState);
            message.Result = TRUE;
            return true;
        }
        default: return false;
    }
}

}  // namespace quillory::ui
