// What painting one menu entry costs under Wine: a popup entry (icon column
// gradient, caption, shortcut, border request) and a bar caption, each idle
// and selected, on the game's own main window. Prints the median and the
// 90th percentile of many single paints, and, since absolute times move from
// machine to machine by a factor of several, the popup entry's ratio to a
// plain system paint of the same rectangle (a fill, one text, one frame)
// measured in turn with it, as is the idle bar caption's. Not a test:
// nothing here fails.
//
//   tools/with-xvfb.sh tools/wine-run.sh $PWD/build/win64/wine
//       build/win64/bench/win/menu_paint_bench.exe [paints]
// (one command line). With QUILLORY_BENCH_MARKS set, each timed paint lies
// between two atom look-ups, "paint" and "painted", which a WINEDEBUG=+server
// trace shows as find_atom requests: the requests between them are the calls
// a paint waits on the window system for.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock.h"
#include "core/game_state.h"
#include "game/main_form.h"
#include "styling/menu/menu_item_paint.h"
#include "ui/application.h"

namespace {

using namespace quillory;

using quillory::bench::Now;

const bool kMarks = std::getenv("QUILLORY_BENCH_MARKS") != nullptr;

// The border requests go to the application window, whose style manager
// answers them as it would between two paints of a shown menu.
void AnswerBorderRequests() {
    MSG msg;
    while (PeekMessageA(&msg, ui::Application->Handle(), styling::WM_FLATBORDER_BYITEM,
                        styling::WM_FLATBORDER_BYWINDOW, PM_REMOVE))
        DispatchMessageA(&msg);
}

double Report(const char* what, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %.4f ms   p90 %.4f ms   (%zu paints)\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.size());
    return ms[ms.size() / 2];
}

// The yardstick on the same surface as the entry.
void PaintReference(HDC dc, HFONT font, const char* caption, const RECT& rect, UINT align) {
    bench::PaintReference(dc, font, caption, rect, COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT,
                          align);
}

// The entry's paints, each followed by a reference paint of the same
// rectangle when `reference` is given. Returns the entry's median.
double Measure(const char* what, ui::TMenuItem* item, const RECT& rect, bool selected, int paints,
               std::vector<double>* reference = nullptr, HFONT font = nullptr,
               UINT align = DT_LEFT) {
    ui::TBitmap target(rect.right + 8, rect.bottom + 4);
    ui::TCanvas canvas(target.DC());
    std::vector<double> ms;
    ms.reserve(paints);
    for (int i = 0; i < paints; ++i) {
        if (kMarks) GlobalFindAtomA("paint");
        const double start = Now();
        item->OnDrawItem(item, canvas, rect, selected);
        ms.push_back((Now() - start) * 1000.0);
        if (kMarks) GlobalFindAtomA("painted");
        AnswerBorderRequests();
        if (!reference) continue;
        const double referenceStart = Now();
        PaintReference(target.DC(), font, item->Caption().c_str(), rect, align);
        reference->push_back((Now() - referenceStart) * 1000.0);
    }
    return Report(what, ms);
}

}  // namespace

int main(int argc, char** argv) {
    const int paints = argc > 1 ? std::max(100, std::atoi(argv[1])) : 5000;
    ui::TApplication application;
    application.Initialize();
    static GameState game;
    auto* form = application.CreateForm<TMainForm>(game);
    SetCursorPos(0, 0);  // no bar caption hovered
    // The game's popup entries are about 120 pixels wide and 23 high.
    const RECT popup{4, 0, 4 + 120, 23};
    const RECT bar{0, 0, 46, 19};
    std::printf("menu_paint_bench: %d paints each\n", paints);
    // The yardstick writes with the entry's own font, not merely one like it.
    HFONT menuFont = form->MenuSkin1->Font().Handle();
    std::vector<double> reference;
    const double entry =
        Measure("popup entry", form->Newgame1, popup, false, paints, &reference, menuFont);
    const double plain = Report("reference (fill, text, frame)", reference);
    Measure("popup entry, selected", form->Newgame1, popup, true, paints);
    Measure("separator", form->N1, RECT{4, 0, 124, 4}, false, paints);
    std::vector<double> barReference;
    const double caption =
        Measure("bar caption", form->Game1, bar, false, paints, &barReference, menuFont, DT_CENTER);
    const double barPlain = Report("reference, bar caption", barReference);
    Measure("bar caption, selected", form->Game1, bar, true, paints);
    // The share of the icon column gradient.
    form->MenuSkin1->SetGradient(false);
    Measure("popup entry, no gradient", form->Newgame1, popup, false, paints);
    std::printf("entry / reference: %.2f\n", entry / plain);
    std::printf("bar caption / reference: %.2f\n", caption / barPlain);
    return 0;
}
