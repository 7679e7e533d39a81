// Where the styling component hands its form's controls over to the control
// styling. The control styling lives beside the menu painters and may not
// know the component above it, so it registers itself here, below both, and
// the component calls it for every component it styles.
#pragma once

#include <cstdint>

#include "styling/elements/skin_style.h"
#include "ui/component.h"
#include "ui/forms.h"

namespace quillory::styling {

// The kinds of control a styling component may style (bit number = value).
enum TSkinControl : std::uint8_t {
    skMainMenu,
    skPopupMenu,
    skToolbar,
    skControlbar,
    skCombo,
    skListBox,
    skEdit,
    skMaskEdit,
    skMemo,
    skRichEdit,
    skMiscEdit,
    skCheckBox,
    skRadioButton,
    skButton,
    skBitBtn,
    skSpeedButton,
    skUpDown,
    skPanel,
    skGroupBox,
    skTreeView,
    skListView,
    skProgressBar,
    skHotKey
};
using TSkinControls = std::uint32_t;
constexpr TSkinControls SkinControlBit(TSkinControl kind) {
    return TSkinControls{1} << kind;
}
constexpr TSkinControls kAllSkinControls = (TSkinControls{1} << (skHotKey + 1)) - 1;

// The kinds of parent a styled control may sit in.
enum TSkinContainer : std::uint8_t {
    scForm,
    scFrame,
    scToolbar,
    scCoolbar,
    scControlbar,
    scPanel,
    scScrollBox,
    scGroupBox,
    scTabSheet,
    scPageScroller
};
using TSkinContainers = std::uint16_t;
constexpr TSkinContainers SkinContainerBit(TSkinContainer kind) {
    return static_cast<TSkinContainers>(1u << kind);
}
constexpr TSkinContainers kAllSkinContainers =
    static_cast<TSkinContainers>((1u << (scPageScroller + 1)) - 1);

// One component handed to the control styling.
struct TControlStyleRequest {
    ISkinSource& Skin;            // the colours and the Active flag the control follows
    ui::TComponent& RecordOwner;  // owns whatever the control styling keeps per control
    ui::TComponent& Component;
    bool Apply;    // style it (true); false installs and removes nothing
    bool Repaint;  // queue a repaint of a selected control
    TSkinControls Controls;
    TSkinContainers Containers;
};

class IControlStyling {
public:
    virtual ~IControlStyling() = default;
    // Selects and styles one component (the styling component recurses into forms itself).
    virtual void StyleControl(const TControlStyleRequest& request) = 0;
    // Every control inside `form` styled through `recordOwner` gets its own
    // handler back; what is kept per control stays with its owner.
    virtual void RestoreFormControls(ui::TComponent& recordOwner, ui::TForm& form) = 0;
    // The controls styled through `from`, except those inside `keptForm`, go
    // over to `to` (owned by `toOwner`), which they follow from now on.
    virtual void HandOverControls(ui::TComponent& from, ISkinSource& to, ui::TComponent& toOwner,
                                  const ui::TForm* keptForm) = 0;
};

// The control styling registers itself once; none leaves controls as they are.
void SetControlStyling(IControlStyling* styling);
IControlStyling* ControlStyling();

}  // namespace quillory::styling
