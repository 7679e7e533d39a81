#include "styling/elements/control_styling.h"

namespace quillory::styling {

namespace {

IControlStyling*& Registered() {
    static IControlStyling* styling = nullptr;
    return styling;
}

}  // namespace

void SetControlStyling(IControlStyling* styling) {
    Registered() = styling;
}

IControlStyling* ControlStyling() {
    return Registered();
}

}  // namespace quillory::styling
