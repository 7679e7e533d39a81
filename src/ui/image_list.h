// TImageList: a list of equally sized images (an image list of the common
// controls) that components pick pictures from by index.
#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/component.h"
#include "ui/ui_types.h"
#include "ui/gdi.h"
#include "ui/icon.h"

namespace quillory::ui {

constexpr int kDefaultImageSize = 16;

class TImageList : public TComponent {
public:
    const char* ClassName() const override { return "TImageList"; }
    TImageList(TComponent* owner, int width = kDefaultImageSize,
               int height = kDefaultImageSize);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    HIMAGELIST Handle() const { return list_.Get(); }

    // Each returns the new image's index, or -1 when it could not be added.
    int AddIcon(HICON icon);
    // Pixels of `transparent` become transparent.
    int AddMasked(const TBitmap& image, TColor transparent);
    void Delete(int index);
    void Clear();

    // Copies image `index` into `icon`; false (icon unchanged) when there is none.
    bool GetIcon(int index, TIcon& icon) const;

private:
    int width_;
    int height_;
    ImageListHandle list_;
};

}  // namespace quillory::ui
