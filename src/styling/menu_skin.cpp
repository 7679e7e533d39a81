#include "styling/menu_skin.h"

#include <stdexcept>
#include <string>

#include "styling/controls/control_styling_impl.h"
#include "styling/menu/menu_item_paint.h"
#include "styling/menu_skin_manager.h"
#include "ui/application.h"
#include "ui/system_settings.h"

namespace quillory::styling {

namespace {

constexpr int kDefaultDimLevel = 30;
constexpr int kDefaultGrayLevel = 10;
constexpr int kDefaultIconWidth = 24;

// The handlers a TMenuSkin installs on items: types of their own, so that an
// item's handler can be told to be one of ours, whichever instance set it.
struct SkinDrawHandler {
    TMenuSkin* Skin;
    void operator()(ui::TMenuItem* item, ui::TCanvas& canvas, RECT rect, bool selected) const {
        Skin->ItemDraw(item, canvas, rect, selected);
    }
};
struct SkinMeasureHandler {
    TMenuSkin* Skin;
    void operator()(ui::TMenuItem* item, ui::TCanvas& canvas, int& width, int& height) const {
        Skin->ItemMeasure(item, canvas, width, height);
    }
};

}  // namespace

TMenuSkin::TMenuSkin(ui::TComponent* owner) : TComponent(owner) {
    style_.Font = ui::SystemMenuFont();
    form_ = dynamic_cast<ui::TForm*>(owner);
    if (owner && !form_) throw std::invalid_argument("Invalid class typecast");
    style_.UseSystemColors = true;
    colors_ = TSkinColorProperties{};
    colors_.SelectFontColor = style_.Font.Color();
    style_.GrayLevel = kDefaultGrayLevel;
    style_.DimLevel = kDefaultDimLevel;
    style_.IconWidth = kDefaultIconWidth;
    look_.DrawSelect = true;
    SetSkinContainers(kAllSkinContainers);
    SetSkinControls(kAllSkinControls);
    // The screen's depth: the form's window need not exist yet.
    if (form_) ResolveColors(nullptr);
    style_.FTransparentKey = kTransparentKey;
    colors_dirty_ = false;
    look_.IsNT = ui::SystemVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
    window_options_.SystemShadows = ui::SystemDrawsMenuShadows();
    stepped_aside_ = ui::HighContrastOn();
    if (!MenuSkinManager) MenuSkinManager = new TMenuSkinManager();
    // The controls of the forms it styles get their flat look from here.
    SetControlStyling(&TheControlStyling());
}

TMenuSkin::~TMenuSkin() {
    if (form_) StyleComponents(form_, false, false);
    if (MenuSkinManager) {
        MenuSkinManager->RemoveSkin(this);
        if (form_ && !form_->Destroying() && form_->HandleAllocated()) form_->Repaint();
        if (MenuSkinManager->SkinList().empty()) {
            delete MenuSkinManager;
            MenuSkinManager = nullptr;
        }
    }
    // What the control styling keeps per control goes while this is still whole.
    DestroyComponents();
}

void TMenuSkin::Loaded() {
    TComponent::Loaded();
    // A component destroyed before this one was loaded may have taken the
    // manager with it.
    if (!MenuSkinManager) MenuSkinManager = new TMenuSkinManager();
    MenuSkinManager->AddSkin(this);
}

void TMenuSkin::Notification(ui::TComponent* component, ui::TOperation operation) {
    if (MenuSkinManager) MenuSkinManager->FormNotification(component, operation);
    TComponent::Notification(component, operation);
    if (IsActive() && auto_detect_ && operation == ui::TOperation::opInsert &&
        dynamic_cast<ui::TMenuItem*>(component))
        StyleComponent(component, true, true);
}

void TMenuSkin::SetColorProperty(ui::TColor& field, ui::TColor value) {
    field = value;
    colors_dirty_ = true;
}

void TMenuSkin::SetMenuBarColor(ui::TColor value) {
    SetColorProperty(colors_.MenuBarColor, value);
    look_.MenuBarColor = value;
    RenewMenuBarColor();
    RedrawFormMenuBar();
}

ui::TColor TMenuSkin::CaptionsColor() const {
    return look_.DrawMenuBar ? look_.MenuBarColor : style_.Colors.FResMenuBarColor;
}

// The system paints the bar beyond its last caption, in the menu colour of
// its own; in the captions' colour, the bar reads as one. Resolved now: a
// system colour that changes later is followed when the colours are
// resolved again.
void TMenuSkin::ColorMenuBar(ui::TMainMenu& menu, bool apply) {
    menu.SetColor(apply ? ui::ColorToRGB(CaptionsColor()) : ui::clNone);
}

void TMenuSkin::RenewMenuBarColor() {
    ui::TMainMenu* menu = form_ ? form_->Menu() : nullptr;
    if (menu && menu->Color() != ui::clNone) ColorMenuBar(*menu, true);
}

void TMenuSkin::SetFont(const ui::TFont& font) {
    style_.Font.Assign(font);
    RedrawFormMenuBar();
}

void TMenuSkin::SetUseSystemColors(bool value) {
    style_.UseSystemColors = value;
    RedrawFormMenuBar();
}

void TMenuSkin::SetSkinContainers(TSkinContainers value) {
    if (value != skin_containers_ && IsActive()) {
        active_ = false;
        StyleComponents(form_, false, true);
        active_ = true;
        skin_containers_ = value;
        StyleComponents(form_, true, true);
    }
    skin_containers_ = value;
}

void TMenuSkin::SetSkinControls(TSkinControls value) {
    if (value != skin_controls_ && IsActive()) {
        active_ = false;
        StyleComponents(form_, false, true);
        active_ = true;
        skin_controls_ = value;
        StyleComponents(form_, true, true);
    }
    skin_controls_ = value;
}

void TMenuSkin::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    // Under high contrast the choice only waits for the style's return.
    if (!stepped_aside_) StyleComponents(form_, value, true);
    RedrawFormMenuBar();
}

void TMenuSkin::SetDisableSubclassing(bool value) {
    if (value == disable_subclassing_) return;
    disable_subclassing_ = value;
    if (!MenuSkinManager) return;
    if (MenuSkinManager->ActiveSkin() == this) {
        MenuSkinManager->SwitchActiveSkin(this);
    } else if (!MenuSkinManager->ActiveSkin() && !value) {
        MenuSkinManager->SwitchActiveSkin(nullptr);
    }
}

// Obtaining the form's window creates it when it does not exist yet; but a
// component not yet active has drawn nothing on a bar that is not there:
// its settings made before Active leave the window to the Active step, which
// makes it once, with the menu already in the style.
void TMenuSkin::RedrawFormMenuBar() {
    if (!form_ || form_->Destroying()) return;
    const bool existed = form_->HandleAllocated();
    if (!active_ && !existed) return;
    HWND window = form_->Handle();
    // A window made just now has never been drawn and shows the menu as it
    // is; only one that was there before has a bar to draw again.
    if (existed) ::DrawMenuBar(window);
}

HWND TMenuSkin::FormWindow() const {
    return form_ && form_->HandleAllocated() ? form_->Handle() : nullptr;
}

void TMenuSkin::ResolveColors(HDC surface) {
    colors_dirty_ = false;
    style_.FHighColor = context_.IsHighColorSurface(surface);
    style_.FLightLevelNormal = kLightLevelNormal;
    style_.FLightLevelHot = kLightLevelHot;
    style_.Colors = ResolveSkinColors(colors_, style_.UseSystemColors, use_dim_color_,
                                      style_.Font.Color(), style_.FHighColor);
    RenewMenuBarColor();
}

void TMenuSkin::SystemLookChanged(bool settings) {
    if (settings) window_options_.SystemShadows = ui::SystemDrawsMenuShadows();
    ResolveColors(nullptr);
    if (const bool highContrast = ui::HighContrastOn(); highContrast != stepped_aside_)
        return StepAside(highContrast);
    // The bar is drawn in the new colours now; a form without a window yet
    // gets none for it.
    if (IsActive() && form_ && !form_->Destroying() && form_->HandleAllocated())
        ::DrawMenuBar(form_->Handle());
}

// Stepping aside leaves nothing of ours behind: the menus are no longer
// owner-drawn (the system measures and draws every item), and each styled
// control, no longer styled by an active component, gives its styling up at
// the repaint request that follows. Coming back styles the form as Active
// says; the manager does the same for the forms styled through this one.
void TMenuSkin::StepAside(bool aside) {
    stepped_aside_ = aside;
    if (!active_) return;  // nothing was drawn, nothing is to be
    StyleComponents(form_, !aside, true);
    RedrawFormMenuBar();
}

const TSkinStyle& TMenuSkin::Style(HDC surface) {
    if (colors_dirty_) ResolveColors(surface);
    FollowFormScale();
    return style_;
}

const TSkinStyle& TMenuSkin::ResolvedStyle(HDC surface) {
    ResolveColors(surface);
    FollowFormScale();
    return style_;
}

// The painters ask for the style before every measure and paint, so the
// style is at the form's scale whenever it is used, also after the form
// moved to a screen of another.
void TMenuSkin::FollowFormScale() {
    const int dpi = form_ ? form_->Dpi() : kDesignDpi;
    style_.Dpi = dpi;
    style_.Font.SetPixelsPerInch(dpi);
}

void TMenuSkin::StyleComponents(ui::TComponent* container, bool apply, bool repaint) {
    if (!container) return;
    // A copy: styling may add components (the control styling's records).
    std::vector<ui::TComponent*> components;
    for (int i = 0; i < container->ComponentCount(); ++i)
        components.push_back(container->Components(i));
    for (ui::TComponent* component : components) StyleComponent(component, apply, repaint);
}

void TMenuSkin::StyleComponent(ui::TComponent* component, bool apply, bool repaint) {
    if (!component) return;
    auto styleMenu = [this, apply](ui::TMenu* menu, bool refreshCaption) {
        ui::TMenuItem* root = menu->Items();
        // A menu going away with its form keeps its handle; only the handlers go.
        const bool dying = menu->Destroying() || (menu->Owner() && menu->Owner()->Destroying());
        // The switches and the caption refresh each ask for a new system menu:
        // it is built once, at the end, with all of them.
        if (!dying) menu->BeginUpdate();
        for (int i = 0; i < root->Count(); ++i) {
            if (!dying) menu->SetOwnerDraw(apply);
            HookMenuItemTree(root->Items(i), apply);
        }
        if (refreshCaption && !dying && root->Count() > 0) {
            // Each caption change rebuilds the system's menu with the new measures.
            ui::TMenuItem* first = root->Items(0);
            const std::string caption = first->Caption();
            first->SetCaption("");
            first->SetCaption(caption);
        }
        if (!dying) menu->EndUpdate();
    };
    if (auto* mainMenu = dynamic_cast<ui::TMainMenu*>(component)) {
        if ((skin_controls_ & SkinControlBit(skMainMenu)) && mainMenu->Tag() != kUnstyledTag) {
            styleMenu(mainMenu, true);
            ColorMenuBar(*mainMenu, apply);
        }
    } else if (auto* popupMenu = dynamic_cast<ui::TPopupMenu*>(component)) {
        if (skin_controls_ & SkinControlBit(skPopupMenu)) styleMenu(popupMenu, false);
    }
    // Toolbars and control bars would come here; the program has none.

    // Controls go to the control styling, if there is one.
    if (IControlStyling* controls = ControlStyling()) {
        controls->StyleControl(TControlStyleRequest{*this, *this, *component, apply, repaint,
                                                    skin_controls_, skin_containers_});
    }
    if (auto* form = dynamic_cast<ui::TForm*>(component)) StyleComponents(form, apply, repaint);
}

void TMenuSkin::HookMenuItem(ui::TMenuItem* item, bool apply) {
    if (!item) return;
    if (apply) {
        if (item->Tag() == kUnstyledTag) return;
        if (!item->OnDrawItem || override_owner_draw_) item->OnDrawItem = SkinDrawHandler{this};
        if (!item->OnMeasureItem || override_owner_draw_)
            item->OnMeasureItem = SkinMeasureHandler{this};
        return;
    }
    if (HasSkinDrawHandler(*item)) item->OnDrawItem = nullptr;
    if (HasSkinMeasureHandler(*item)) item->OnMeasureItem = nullptr;
}

void TMenuSkin::HookMenuItemTree(ui::TMenuItem* item, bool apply) {
    if (!item) return;
    HookMenuItem(item, apply);
    for (int i = 0; i < item->Count(); ++i) HookMenuItemTree(item->Items(i), apply);
}

bool TMenuSkin::HasSkinDrawHandler(const ui::TMenuItem& item) {
    return DrawingSkin(item) != nullptr;
}

TMenuSkin* TMenuSkin::DrawingSkin(const ui::TMenuItem& item) {
    const auto* handler = item.OnDrawItem.target<SkinDrawHandler>();
    return handler ? handler->Skin : nullptr;
}

bool TMenuSkin::HasSkinMeasureHandler(const ui::TMenuItem& item) {
    return item.OnMeasureItem.target<SkinMeasureHandler>() != nullptr;
}

void TMenuSkin::ItemMeasure(ui::TMenuItem* item, ui::TCanvas& canvas, int& width, int& height) {
    if (item) MeasureMenuItem(*this, *item, canvas, width, height);
}

void TMenuSkin::ItemDraw(ui::TMenuItem* item, ui::TCanvas& canvas, RECT rect, bool selected) {
    if (IsActive() && item) PaintMenuItem(*this, *item, canvas.Handle(), rect, selected);
}

void TMenuSkin::PaintMenuWindowBorder(HWND window, bool rightToLeft) {
    if (stepped_aside_) return;  // a request made before the step
    styling::PaintMenuWindowBorder(*this, window, rightToLeft, window_options_, painting_border_);
}

void TMenuSkin::AdoptMenuWindow(HWND window, bool rightToLeft) {
    if (!stepped_aside_) styling::AdoptMenuWindow(*this, window, rightToLeft, window_options_);
}

}  // namespace quillory::styling
