#include "ui/image_list.h"

#include "ui/gdi.h"

namespace quillory::ui {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner),
      width_(width),
      height_(height),
      list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

int TImageList::Count() const {
    return list_ ? ImageList_GetImageCount(list_.Get()) : 0;
}

int TImageList::AddIcon(HICON icon) {
    if (!list_ || !icon) return -1;
    return ImageList_AddIcon(list_.Get(), icon);
}

int TImageList::AddMasked(const TBitmap& image, TColor transparent) {
    if (!list_ || image.Empty()) return -1;
    // The list selects the bitmap itself, so it gets a copy that no DC holds.
    BitmapHandle copy(CreateCompatibleBitmap(image.DC(), image.Width(), image.Height()));
    if (!copy) return -1;
    {
        MemoryDC dc(image.DC());
        ScopedSelect select(dc.Get(), copy.Get());
        BitBlt(dc.Get(), 0, 0, image.Width(), image.Height(), image.DC(), 0, 0, SRCCOPY);
    }
    return ImageList_AddMasked(list_.Get(), copy.Get(), ColorToRGB(transparent));
}

void TImageList::Delete(int index) {
    if (list_ && index >= 0 && index < Count()) ImageList_Remove(list_.Get(), index);
}

void TImageList::Clear() {
    if (list_) ImageList_RemoveAll(list_.Get());
}

bool TImageList::GetIcon(int index, TIcon& icon) const {
    if (!list_ || index < 0 || index >= Count()) return false;
    HICON picture = ImageList_GetIcon(list_.Get(), index, ILD_NORMAL);
    if (!picture) return false;
    icon.TakeHandle(picture);
    return true;
}

}  // namespace quillory::ui
