#include "styling/menu_skin_manager.h"

#include <algorithm>

#include "styling/menu/menu_item_paint.h"
#include "styling/menu_skin.h"
#include "ui/menus.h"

namespace quillory::styling {

TMenuSkinManager* MenuSkinManager = nullptr;

namespace {

constexpr char kPopupMenuClass[] = "#32768";

template <typename T>
bool Contains(const std::vector<T*>& list, const T* value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

template <typename T>
void Erase(std::vector<T*>& list, const T* value) {
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

bool OwnsMenuSkin(const ui::TForm* form) {
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (dynamic_cast<TMenuSkin*>(form->Components(i))) return true;
    return false;
}

// A border request is carried out later than it was made: by then the popup
// may be gone and another window may lie where it was. Only a popup menu
// window gets the frame.
bool IsPopupMenuWindow(HWND window) {
    char name[16] = {};
    return window && GetClassNameA(window, name, sizeof(name)) > 0 &&
           lstrcmpA(name, kPopupMenuClass) == 0;
}

}  // namespace

TMenuSkinManager::TMenuSkinManager() {
    if (ui::Application) {
        hooked_ = ui::Application;
        hook_id_ = hooked_->HookMainWindow(
            [this](ui::TMessage& message) { return AppWindowHook(message); });
    }
    menu_window_hook_ = SetWindowsHookExA(WH_CBT, CatchMenuWindows, nullptr, GetCurrentThreadId());
}

TMenuSkinManager::~TMenuSkinManager() {
    // No message may reach the manager once it is gone.
    if (hooked_ && hooked_ == ui::Application) hooked_->UnhookMainWindow(hook_id_);
    if (menu_window_hook_) UnhookWindowsHookEx(menu_window_hook_);
    if (MenuSkinManager == this) MenuSkinManager = nullptr;
}

void TMenuSkinManager::AddSkin(TMenuSkin* skin) {
    if (!skin || Contains(skin_list_, skin)) return;
    skin_list_.push_back(skin);
    if (skin->Form() && !Contains(styled_forms_, skin->Form()))
        styled_forms_.push_back(skin->Form());
    if (!active_skin_ && skin->Active() && !skin->DisableSubclassing()) {
        active_skin_ = skin;
        CollectForms();
    }
}

void TMenuSkinManager::RemoveSkin(TMenuSkin* skin) {
    if (skin == active_skin_) SwitchActiveSkin(skin);
    // Without another candidate and before the application has a main form,
    // the switch keeps its choice; it must not keep one that is going away.
    if (skin == active_skin_) {
        active_skin_ = nullptr;
        pending_forms_.clear();
    }
    Erase(skin_list_, skin);
}

TMenuSkin* TMenuSkinManager::FindActiveCandidate(const TMenuSkin* excluded) const {
    for (TMenuSkin* skin : skin_list_)
        if (skin->Active() && !skin->DisableSubclassing() && skin != excluded) return skin;
    return nullptr;
}

void TMenuSkinManager::SwitchActiveSkin(TMenuSkin* leaving) {
    TMenuSkin* next = FindActiveCandidate(leaving);
    if (next && !active_skin_) {
        active_skin_ = next;
        CollectForms();
        return;
    }
    if (next) {
        if (leaving) {
            if (IControlStyling* controls = ControlStyling())
                controls->HandOverControls(*active_skin_, *next, *next, leaving->Form());
        }
        active_skin_ = next;
        return;
    }
    pending_forms_.clear();
    if (!ui::Application || !ui::Application->MainForm()) return;
    const ui::TForm* kept = leaving ? leaving->Form() : nullptr;
    for (ui::TForm* form : styled_forms_)
        if (form != kept) RestoreFormControls(form);
    styled_forms_.clear();
    active_skin_ = nullptr;
}

bool TMenuSkinManager::KeptOut(ui::TForm* form) const {
    return form->Tag() == kUnstyledTag || OwnsMenuSkin(form);
}

void TMenuSkinManager::CollectForms() {
    for (int i = 0; i < ui::ScreenFormCount(); ++i) {
        ui::TForm* form = ui::ScreenForms(i);
        if (Contains(styled_forms_, form) || KeptOut(form) || Contains(pending_forms_, form))
            continue;
        pending_forms_.push_back(form);
    }
}

void TMenuSkinManager::FormNotification(ui::TComponent* component, ui::TOperation operation) {
    if (!component) return;
    if (operation == ui::TOperation::opInsert) {
        if (!active_skin_) return;
        // A form that keeps its own look (Tag 999, or a TMenuSkin of its own)
        // is not queued, as it would not be collected either.
        auto* form = dynamic_cast<ui::TForm*>(component);
        if (form && !Contains(pending_forms_, form) && !KeptOut(form))
            pending_forms_.push_back(form);
        return;
    }
    // Removed: compared by address only, as the form may be half gone. A form
    // that goes leaves both lists even while no component is active, so a
    // later form at the same address is not taken for it.
    for (auto* list : {&pending_forms_, &styled_forms_}) {
        list->erase(std::remove_if(list->begin(), list->end(),
                                   [component](ui::TForm* form) {
                                       return static_cast<ui::TComponent*>(form) == component;
                                   }),
                    list->end());
    }
}

void TMenuSkinManager::RestoreFormControls(ui::TForm* form) {
    if (!form || !active_skin_) return;
    if (IControlStyling* controls = ControlStyling()) {
        try {
            controls->RestoreFormControls(*active_skin_, *form);
        } catch (...) {
        }
    }
}

void TMenuSkinManager::PaintBorderForItem(LPARAM itemData) {
    ui::TMenuItem* item = ui::TMenuItem::FromItemData(static_cast<ULONG_PTR>(itemData));
    if (!item || !item->ParentHandle()) return;
    RECT rect{};
    if (!GetMenuItemRect(nullptr, item->ParentHandle(), static_cast<UINT>(item->MenuIndex()),
                         &rect)) {
        // The menu is not on screen. Its entries need not ask again while
        // it is not: only while the hook sees the popups made can that be told.
        if (menu_window_hook_)
            for (TMenuSkin* skin : skin_list_) skin->Context().MenuOffScreen(item->ParentHandle());
        return;
    }
    const POINT centre{rect.left + (rect.right - rect.left) / 2,
                       rect.top + (rect.bottom - rect.top) / 2};
    HWND window = WindowFromPoint(centre);
    if (IsPopupMenuWindow(window))
        active_skin_->PaintMenuWindowBorder(window, ItemRightToLeft(*item));
}

// Every window made on this thread passes here: popup menu windows wait for
// their first frame paint, where they show whose menu they hold.
LRESULT CALLBACK TMenuSkinManager::CatchMenuWindows(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && MenuSkinManager && IsPopupMenuWindow(window)) {
        for (TMenuSkin* skin : MenuSkinManager->skin_list_) skin->Context().MenuWindowMade();
        if (MenuSkinManager->active_skin_) WatchMenuWindow(window, AdoptIfStyled);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A popup of a menu whose entries an active component paints flat takes the
// frame their border requests would give it; any other is left as it is.
void TMenuSkinManager::AdoptIfStyled(HWND window) {
    try {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        TMenuSkin* active = MenuSkinManager ? MenuSkinManager->active_skin_ : nullptr;
        for (int i = 0, count = menu && active ? GetMenuItemCount(menu) : 0; i < count; ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_DATA;
            const ui::TMenuItem* item = GetMenuItemInfoA(menu, i, TRUE, &info)
                                            ? ui::TMenuItem::FromItemData(info.dwItemData)
                                            : nullptr;
            const TMenuSkin* painter = item ? TMenuSkin::DrawingSkin(*item) : nullptr;
            if (!painter) continue;
            if (painter->IsActive() && painter->FlatMenu())
                active->AdoptMenuWindow(window, ItemRightToLeft(*item));
            return;
        }
    } catch (...) {
    }
}

bool TMenuSkinManager::AppWindowHook(ui::TMessage& message) {
    try {
        const bool borderRequest =
            message.Msg == WM_FLATBORDER_BYITEM || message.Msg == WM_FLATBORDER_BYWINDOW;
        for (TMenuSkin* skin : skin_list_) {
            // Once one is answered, none can be waiting until the next is posted.
            if (borderRequest) skin->Context().BorderRequestOut = false;
            // Broadcast to every top-level window, as the two below: the
            // application window hears it once for all the components.
            if (message.Msg == WM_DISPLAYCHANGE) skin->Context().ScreenDepthChanged();
        }
        if (message.Msg == WM_SYSCOLORCHANGE || message.Msg == WM_SETTINGCHANGE)
            SystemLookChanged(message.Msg == WM_SETTINGCHANGE);
        if (active_skin_) {
            if (message.Msg == WM_FLATBORDER_BYITEM) {
                PaintBorderForItem(message.LParam);
            } else if (message.Msg == WM_FLATBORDER_BYWINDOW) {
                HWND window = reinterpret_cast<HWND>(message.LParam);
                if (IsPopupMenuWindow(window))
                    active_skin_->PaintMenuWindowBorder(window, message.WParam != 0);
            }
        }
        StylePendingForms();
    } catch (...) {
    }
    return false;
}

// Every component follows the change; when high contrast came or went, the
// forms styled through the active one follow it too: unstyled as its own
// form is, or styled anew. A component the program made inactive styles
// nothing either way.
void TMenuSkinManager::SystemLookChanged(bool settings) {
    const bool wasAside = active_skin_ && active_skin_->SteppedAside();
    for (TMenuSkin* skin : skin_list_) skin->SystemLookChanged(settings);
    if (!active_skin_ || !active_skin_->Active() || active_skin_->SteppedAside() == wasAside)
        return;
    const bool apply = !active_skin_->SteppedAside();
    const std::vector<ui::TForm*> forms = styled_forms_;
    for (ui::TForm* form : forms)
        if (!OwnsMenuSkin(form) && ui::IsScreenForm(form))
            active_skin_->StyleComponents(form, apply, true);
}

void TMenuSkinManager::StylePendingForms() {
    // Forms made under high contrast wait for the style's return.
    if (pending_forms_.empty() || !active_skin_ || active_skin_->SteppedAside()) return;
    // Styling may create components and forms: take the list first.
    const std::vector<ui::TForm*> forms = std::move(pending_forms_);
    pending_forms_.clear();
    for (ui::TForm* form : forms) {
        if (Contains(styled_forms_, form) || !ui::IsScreenForm(form)) continue;
        styled_forms_.push_back(form);
        active_skin_->StyleComponents(form, true, true);
    }
}

}  // namespace quillory::styling
