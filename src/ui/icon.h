// TIcon: an owned icon picture. Assigning copies the picture, so the icon is
// destroyed exactly once by whoever owns its copy. A picture taken from the
// module's resources is read only when its handle is first asked for.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace quillory::ui {

// An owned HICON, destroyed on scope exit.
class IconHandle {
public:
    IconHandle() = default;
    explicit IconHandle(HICON icon) : icon_(icon) {}
    ~IconHandle() { Reset(); }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    IconHandle(IconHandle&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    IconHandle& operator=(IconHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.icon_, nullptr));
        return *this;
    }

    HICON Get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void Reset(HICON icon = nullptr) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

class TIcon {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    // nullptr while empty. A picture still in the resources is made now.
    HICON Handle() const;
    bool Empty() const { return !icon_ && !resource_; }
    // True while the picture is only a reference to a resource.
    bool Pending() const { return resource_.has_value(); }

    // Copies the other icon's picture (an empty icon empties this one); a
    // picture the other has not read yet is not read for the copy either.
    void Assign(const TIcon& other);
    // Copies the picture behind a handle that stays the caller's.
    void AssignHandle(HICON icon);
    // Takes over a handle the caller created.
    void TakeHandle(HICON icon) {
        resource_.reset();
        icon_.Reset(icon);
    }
    // An ICON resource of the module at the given size (0: the system's icon
    // size); false when the module has no such resource. The picture itself
    // is made at the first Handle().
    bool LoadFromResourceName(HINSTANCE module, const char* name, int size = 0);

private:
    struct ResourceRef {
        HINSTANCE Module = nullptr;
        std::string Name;  // a resource named by text...
        WORD Id = 0;       // ...or by number (then Name is empty)
        int Size = 0;
    };

    mutable IconHandle icon_;
    mutable std::optional<ResourceRef> resource_;
};

}  // namespace quillory::ui
