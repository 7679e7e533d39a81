// TMenuSkinManager: one per process while any TMenuSkin exists. It registers
// the components, picks the active one that also styles the forms without a
// TMenuSkin of their own (queued as they appear, styled at the next message
// of the application window), and carries out the popup windows' border
// requests posted by the menu painter; it catches the popup menu windows as
// the system makes them, so that their very first frame is the flat one.
#pragma once

#include <vector>

#include "ui/application.h"
#include "ui/component.h"
#include "ui/forms.h"

namespace quillory::styling {

class TMenuSkin;

class TMenuSkinManager {
public:
    TMenuSkinManager();
    ~TMenuSkinManager();
    TMenuSkinManager(const TMenuSkinManager&) = delete;
    TMenuSkinManager& operator=(const TMenuSkinManager&) = delete;

    void AddSkin(TMenuSkin* skin);
    void RemoveSkin(TMenuSkin* skin);
    // The first registered component that is active, does not disable
    // subclassing and is not `excluded`.
    TMenuSkin* FindActiveCandidate(const TMenuSkin* excluded) const;
    void SwitchActiveSkin(TMenuSkin* leaving);
    void FormNotification(ui::TComponent* component, ui::TOperation operation);
    void CollectForms();
    void RestoreFormControls(ui::TForm* form);
    // Sees every message of the application window; never handles one.
    bool AppWindowHook(ui::TMessage& message);

    TMenuSkin* ActiveSkin() const { return active_skin_; }
    const std::vector<TMenuSkin*>& SkinList() const { return skin_list_; }
    const std::vector<ui::TForm*>& PendingForms() const { return pending_forms_; }
    const std::vector<ui::TForm*>& StyledForms() const { return styled_forms_; }

private:
    bool KeptOut(ui::TForm* form) const;
    void SystemLookChanged(bool settings);
    void StylePendingForms();
    void PaintBorderForItem(LPARAM itemData);
    // The thread's window-creation hook, and whom it hands a caught popup.
    static LRESULT CALLBACK CatchMenuWindows(int code, WPARAM wParam, LPARAM lParam);
    static void AdoptIfStyled(HWND window);

    std::vector<TMenuSkin*> skin_list_;
    std::vector<ui::TForm*> pending_forms_;
    std::vector<ui::TForm*> styled_forms_;
    TMenuSkin* active_skin_ = nullptr;
    ui::TApplication* hooked_ = nullptr;
    int hook_id_ = 0;
    HHOOK menu_window_hook_ = nullptr;
};

// The one manager, or none.
extern TMenuSkinManager* MenuSkinManager;

}  // namespace quillory::styling
