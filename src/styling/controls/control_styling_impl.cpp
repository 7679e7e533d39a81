#include "styling/controls/control_styling_impl.h"

#include <vector>

#include "styling/controls/control_subclass.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"

namespace quillory::styling {

namespace {

constexpr LONG_PTR kUnstyled = 999;

// The kind that selects a control, in the order they are tried; none when the
// control is of no kind the component styles.
bool Selected(const ui::TComponent& component, TSkinControls controls) {
    auto wants = [controls](TSkinControl kind) { return (controls & SkinControlBit(kind)) != 0; };
    if (ui::InheritsFrom<ui::TEdit>(&component) && wants(skEdit)) return true;
    // Push buttons only of exactly the plain class: a derived button draws itself.
    if (ui::IsExactly<ui::TButton>(&component) && wants(skButton)) return true;
    if (ui::InheritsFrom<ui::TSpeedButton>(&component) && wants(skSpeedButton)) return true;
    if (ui::InheritsFrom<ui::TPanel>(&component) && wants(skPanel)) return true;
    if (ui::InheritsFrom<ui::TListBox>(&component) && wants(skListBox)) return true;
    return false;
}

bool InStyledContainer(const ui::TControl& control, TSkinContainers containers) {
    const ui::TWinControl* parent = control.Parent();
    auto wants = [containers](TSkinContainer kind) {
        return (containers & SkinContainerBit(kind)) != 0;
    };
    if (ui::InheritsFrom<ui::TCoolBar>(parent) && wants(scCoolbar)) return true;
    if (ui::InheritsFrom<ui::TPanel>(parent) && wants(scPanel)) return true;
    if (ui::InheritsFrom<ui::TForm>(parent) && wants(scForm)) return true;
    return false;
}

std::vector<TControlSubClass*> RecordsOf(ui::TComponent& owner) {
    std::vector<TControlSubClass*> records;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        if (auto* record = dynamic_cast<TControlSubClass*>(owner.Components(i)))
            records.push_back(record);
    }
    return records;
}

bool LiesIn(const ui::TControl& control, const ui::TForm* form) {
    return form && control.GetParentForm() == form;
}

}  // namespace

TControlStyling& TheControlStyling() {
    static TControlStyling styling;
    return styling;
}

void TControlStyling::StyleControl(const TControlStyleRequest& request) {
    auto* control = dynamic_cast<ui::TControl*>(&request.Component);
    if (!control || !Selected(*control, request.Controls)) return;
    if (!InStyledContainer(*control, request.Containers)) return;
    if (request.Apply && control->Tag() != kUnstyled && control->Parent()->Tag() != kUnstyled) {
        auto* record = ui::Create<TControlSubClass>(&request.RecordOwner);
        record->Install(control, &request.Skin);
    }
    if (request.Repaint) control->Invalidate();
}

void TControlStyling::RestoreFormControls(ui::TComponent& recordOwner, ui::TForm& form) {
    const std::vector<TControlSubClass*> records = RecordsOf(recordOwner);
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        TControlSubClass* record = *it;
        if (record->FControl && LiesIn(*record->FControl, &form) && record->IsInstalled())
            record->Restore();
    }
}

void TControlStyling::HandOverControls(ui::TComponent& from, ISkinSource& to,
                                       ui::TComponent& toOwner, const ui::TForm* keptForm) {
    for (TControlSubClass* old : RecordsOf(from)) {
        if (!old->FControl || LiesIn(*old->FControl, keptForm) || !old->IsInstalled()) continue;
        auto* record = ui::Create<TControlSubClass>(&toOwner);
        record->FOrgCtl3D = old->FOrgCtl3D;
        record->FOrgBorderStyle = old->FOrgBorderStyle;
        record->TakeOver(*old, &to);
    }
}

}  // namespace quillory::styling
