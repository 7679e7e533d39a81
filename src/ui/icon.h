// TIcon: an owned icon picture. Assigning copies the picture, so the icon is
// destroyed exactly once by whoever owns its copy.
#pragma once

#include <windows.h>

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

    // nullptr while empty.
    HICON Handle() const { return icon_.Get(); }
    bool Empty() const { return !icon_; }

    // Copies the other icon's picture (an empty icon empties this one).
    void Assign(const TIcon& other);
    // Copies the picture behind a handle that stays the caller's.
    void AssignHandle(HICON icon);
    // Takes over a handle the caller created.
    void TakeHandle(HICON icon) { icon_.Reset(icon); }
    // An ICON resource of the module at the given size (0: the system's
    // icon size); false when it is not there.
    bool LoadFromResourceName(HINSTANCE module, const char* name, int size = 0);

private:
    IconHandle icon_;
};

}  // namespace quillory::ui
