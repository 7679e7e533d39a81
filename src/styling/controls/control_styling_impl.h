// The control styling behind the styling component: which controls it
// selects, the records it installs, and how their styling ends or passes on
// to another component.
#pragma once

#include "styling/elements/control_styling.h"

namespace quillory::styling {

class TControlStyling : public IControlStyling {
public:
    void StyleControl(const TControlStyleRequest& request) override;
    void RestoreFormControls(ui::TComponent& recordOwner, ui::TForm& form) override;
    void HandOverControls(ui::TComponent& from, ISkinSource& to, ui::TComponent& toOwner,
                          const ui::TForm* keptForm) override;
};

// The one control styling of the program; the styling component registers it.
TControlStyling& TheControlStyling();

}  // namespace quillory::styling
