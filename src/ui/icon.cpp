#include "ui/icon.h"

namespace quillory::ui {

void TIcon::Assign(const TIcon& other) {
    if (this == &other) return;
    AssignHandle(other.Handle());
}

void TIcon::AssignHandle(HICON icon) {
    if (icon && icon == icon_.Get()) return;
    icon_.Reset(icon ? CopyIcon(icon) : nullptr);
}

bool TIcon::LoadFromResourceName(HINSTANCE module, const char* name, int size) {
    auto* loaded = static_cast<HICON>(
        LoadImageA(module, name, IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
    if (!loaded) return false;
    icon_.Reset(loaded);
    return true;
}

}  // namespace quillory::ui
