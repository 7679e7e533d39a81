// What a tick costs under Wine, paint included, beside a plain full redraw of
// all 600 cells looked up by name; and what the idle program costs. These are
// figures for a person to read: on a shared machine any bound on them is a
// coin toss, so nothing here fails. The suite checks the work instead (which
// cells a tick paints). Run with `make bench-win`.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/game_state.h"
#include "game/main_form.h"
#include "win_test_support.h"

namespace quillory {
namespace {

using namespace ui;

constexpr int kTicks = 3000;
constexpr int kFullRedraws = 100;
constexpr double kIdleSeconds = 3.0;

using quillory::bench::Now;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ProcessCpuSeconds() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The measurement is about ticks: a game's end only lets the loop start the
// next one. The real game over would open the modal name dialog whenever a
// game ended with points, and wait there for an answer no one gives.
struct MeasuredMainForm : TMainForm {
    using TMainForm::TMainForm;
    void GameOver() override {}
};

// Paints now whatever the last change invalidated in the window, as the
// message loop would before the next tick.
void PaintNow(TMainForm& form) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

struct Figures {
    double TickMs = 0;
    double FullRedrawMs = 0;
    double IdleCpuShare = 0;
};

Figures Measure() {
    testing::TestApplication();
    testing::ScopedMessageBoxAnswer noBoxes(
        [](const std::string&, const std::string&, UINT) { return IDOK; });
    GameState game;
    std::unique_ptr<TMainForm> form(Create<MeasuredMainForm>(Application, game));
    form->Timer->SetEnabled(false);
    form->Show();
    testing::Pump();

    form->Newgame1Click(nullptr);
    testing::Pump();
    // A running game that wanders over every row: a turn down now and then.
    std::vector<double> ticks;
    ticks.reserve(kTicks);
    for (int i = 0; ticks.size() < static_cast<std::size_t>(kTicks); ++i) {
        if (!game.Playing) {
            form->Newgame1Click(nullptr);
            PaintNow(*form);
        }
        if (i % 23 == 0) {
            WORD key = game.CurrentDirection == dirRight ? VK_DOWN : VK_RIGHT;
            form->FormKeyDown(form.get(), key, 0);
        }
        const double start = Now();
        form->TimerTimer(form->Timer);
        PaintNow(*form);
        const double stop = Now();
        if (game.Playing) ticks.push_back(stop - start);
    }
    std::vector<double> fullRedraws;
    for (int i = 0; i < kFullRedraws; ++i) {
        const double start = Now();
        form->DrawFieldByName();
        PaintNow(*form);
        fullRedraws.push_back(Now() - start);
    }

    // The game over and no game running: the 150 ms timer ticks and does
    // nothing, the loop waits.
    game.Playing = false;
    form->Timer->SetInterval(150);
    form->Timer->SetEnabled(true);
    testing::Pump();
    const double cpuStart = ProcessCpuSeconds();
    const double wallStart = Now();
    while (Now() - wallStart < kIdleSeconds) testing::TestApplication().HandleMessage();
    const double idle = (ProcessCpuSeconds() - cpuStart) / (Now() - wallStart);
    form->Timer->SetEnabled(false);

    return Figures{Median(ticks) * 1e3, Median(fullRedraws) * 1e3, idle};
}

}  // namespace
}  // namespace quillory

int main() {
    const quillory::Figures figures = quillory::Measure();
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    std::printf("main_form_bench: %s\n", GetCommandLineA());
    std::printf("  (make bench-win: under Wine on a private Xvfb display, %lu processors)\n",
                static_cast<unsigned long>(system.dwNumberOfProcessors));
    std::printf("  tick + DrawField + paint:    median %.4f ms over %d ticks\n", figures.TickMs,
                quillory::kTicks);
    std::printf("  full redraw by name + paint: median %.4f ms over %d runs\n",
                figures.FullRedrawMs, quillory::kFullRedraws);
    std::printf("  full redraw / tick:          %.1f\n", figures.FullRedrawMs / figures.TickMs);
    std::printf("  idle CPU share over %.0f s:    %.2f %%\n", quillory::kIdleSeconds,
                figures.IdleCpuShare * 100.0);
    return 0;
}
