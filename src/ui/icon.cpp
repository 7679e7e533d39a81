#include "ui/icon.h"

namespace quillory::ui {

namespace {

const char* ResourceName(const std::string& name, WORD id) {
    return name.empty() ? MAKEINTRESOURCEA(id) : name.c_str();
}

}  // namespace

HICON TIcon::Handle() const {
    if (!icon_ && resource_) {
        const ResourceRef& ref = *resource_;
        const UINT flags = ref.Size ? 0 : LR_DEFAULTSIZE;
        icon_.Reset(static_cast<HICON>(LoadImageA(ref.Module, ResourceName(ref.Name, ref.Id),
                                                  IMAGE_ICON, ref.Size, ref.Size, flags)));
        resource_.reset();
    }
    return icon_.Get();
}

void TIcon::Assign(const TIcon& other) {
    if (this == &other) return;
    if (other.resource_) {
        icon_.Reset();
        resource_ = other.resource_;
        return;
    }
    AssignHandle(other.icon_.Get());
}

void TIcon::AssignHandle(HICON icon) {
    if (icon && icon == icon_.Get()) return;
    resource_.reset();
    icon_.Reset(icon ? CopyIcon(icon) : nullptr);
}

bool TIcon::LoadFromResourceName(HINSTANCE module, const char* name, int size) {
    // Finding the resource is cheap; making the picture is not, and a
    // program may never show it.
    if (!FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_GROUP_ICON))) return false;
    ResourceRef ref;
    ref.Module = module;
    ref.Size = size;
    if (IS_INTRESOURCE(name))
        ref.Id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    else
        ref.Name = name;
    icon_.Reset();
    resource_ = std::move(ref);
    return true;
}

}  // namespace quillory::ui
