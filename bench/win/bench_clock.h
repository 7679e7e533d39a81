// What the Windows-side benchmarks share: seconds from the performance
// counter, and the yardstick paint their figures are divided by.
#pragma once

#include <windows.h>

namespace quillory::bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

// The least a plain owner-drawn item paints with the system's own calls: a
// fill, one text, one frame, each in a system colour.
inline void PaintReference(HDC dc, HFONT font, const char* caption, const RECT& rect, int face,
                           int ink, int edge, UINT align) {
    HBRUSH fill = CreateSolidBrush(GetSysColor(face));
    FillRect(dc, &rect, fill);
    DeleteObject(fill);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(ink));
    RECT text = rect;
    DrawTextA(dc, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | align);
    SelectObject(dc, oldFont);
    HBRUSH frame = CreateSolidBrush(GetSysColor(edge));
    FrameRect(dc, &rect, frame);
    DeleteObject(frame);
}

}  // namespace quillory::bench
