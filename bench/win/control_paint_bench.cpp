// What the flat control style costs under Wine: one repaint of a styled push
// button (normal and hot), and what styling the game's main window adds to
// its start-up (a TMenuSkin examining the 600 board buttons and leaving them
// alone). Prints medians of many runs and, since absolute times move from
// machine to machine by a factor of several, the button's ratio to a plain
// system paint of the same client area (a fill, one text, one frame) measured
// in turn with it. Not a test: nothing here fails.
//
//   tools/with-xvfb.sh tools/wine-run.sh $PWD/build/win64/wine
//       build/win64/bench/win/control_paint_bench.exe [repaints]
// (one command line).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench_clock.h"
#include "core/game_state.h"
#include "game/main_form.h"
#include "styling/controls/control_subclass.h"
#include "styling/menu_skin.h"
#include "ui/application.h"
#include "ui/std_controls.h"

namespace {

using namespace quillory;

using quillory::bench::Now;

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A dialog-like form with one push button; the main window's style reaches it
// through the style manager.
class TButtonForm : public ui::TForm {
public:
    explicit TButtonForm(ui::TComponent* owner) : TForm(owner) {
        SetBounds(200, 200, 200, 100);
        Button = ui::Create<ui::TButton>(this);
        Button->SetBounds(60, 30, 75, 25);
        Button->SetCaption("Clear !");
        Button->SetParent(this);
    }
    ui::TButton* Button;
};

// The yardstick on the button's own window.
void PaintReference(HWND button, HFONT font, const char* caption) {
    HDC dc = GetDC(button);
    RECT client;
    GetClientRect(button, &client);
    bench::PaintReference(dc, font, caption, client, COLOR_BTNFACE, COLOR_BTNTEXT,
                          COLOR_BTNSHADOW, DT_CENTER);
    ReleaseDC(button, dc);
}

}  // namespace

int main(int argc, char** argv) {
    const int repaints = argc > 1 ? std::max(10, std::atoi(argv[1])) : 5000;
    ui::TApplication application;
    application.Initialize();
    application.SetTitle("Quillory");

    // Start-up: the main window with and without its style component's Active step.
    std::vector<double> styled, styling;
    for (int run = 0; run < 5; ++run) {
        GameState game;
        const double start = Now();
        std::unique_ptr<TMainForm> form(ui::Create<TMainForm>(&application, game));
        styled.push_back((Now() - start) * 1000.0);
        // The style's own share: off and on again, as creation did once.
        form->MenuSkin1->SetActive(false);
        const double again = Now();
        form->MenuSkin1->SetActive(true);
        styling.push_back((Now() - again) * 1000.0);
    }
    std::printf("main window created, style active     median %.3f ms (5 runs)\n", Median(styled));
    std::printf(
        "style's share: styling the main window median %.3f ms (600 board buttons examined)\n",
        Median(styling));
    {
        // The same without the menu bar, which the style builds anew: the
        // controls' share alone.
        GameState game;
        std::unique_ptr<TMainForm> form(ui::Create<TMainForm>(&application, game));
        std::vector<double> controls;
        for (int run = 0; run < 5; ++run) {
            form->MenuSkin1->SetActive(false);
            form->MenuSkin1->SetSkinControls(form->MenuSkin1->SkinControls() &
                                             ~styling::SkinControlBit(styling::skMainMenu));
            const double start = Now();
            form->MenuSkin1->SetActive(true);
            controls.push_back((Now() - start) * 1000.0);
            form->MenuSkin1->SetActive(false);
            form->MenuSkin1->SetSkinControls(form->MenuSkin1->SkinControls() |
                                             styling::SkinControlBit(styling::skMainMenu));
            form->MenuSkin1->SetActive(true);
        }
        std::printf("  of which the controls (menu bar left out) median %.3f ms\n",
                    Median(controls));
    }

    GameState game;
    std::unique_ptr<TMainForm> main(ui::Create<TMainForm>(&application, game));
    main->Show();
    std::unique_ptr<TButtonForm> dialog(ui::Create<TButtonForm>(&application));
    dialog->Show();
    Pump();
    styling::TControlSubClass* record = styling::TControlSubClass::RecordOf(*dialog->Button);
    if (!record) {
        std::printf("the button is not styled\n");
        return 1;
    }
    HWND button = dialog->Button->Handle();
    HFONT font = dialog->Button->Font().Handle();
    double ratio[2] = {};
    for (bool hot : {false, true}) {
        std::vector<double> ms, reference;
        record->FHot = hot;
        for (int i = 0; i < repaints; ++i) {
            const double start = Now();
            record->PaintControl();
            ms.push_back((Now() - start) * 1000.0);
            const double referenceStart = Now();
            PaintReference(button, font, "Clear !");
            reference.push_back((Now() - referenceStart) * 1000.0);
        }
        std::printf("styled button repaint, %s          median %.4f ms (%d repaints)\n",
                    hot ? "hot   " : "normal", Median(ms), repaints);
        std::printf("  reference (fill, text, frame)        median %.4f ms\n", Median(reference));
        ratio[hot] = Median(ms) / Median(reference);
    }
    std::printf("button / reference: %.2f\n", ratio[0]);
    std::printf("hot button / reference: %.2f\n", ratio[1]);
    return 0;
}
