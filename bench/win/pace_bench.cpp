// The game's pace under Wine: the mean time between the ticks that move the
// snake at every level, over a few seconds each, with the timer held to its
// due times as the game runs it and as a plain periodic timer; and how often
// the program is woken while no game moves. Wine's timers keep to the
// millisecond where Windows' clock rounds them up to 15.6 ms steps, so these
// figures show the schedule, not Windows' rounding. Figures only, nothing
// fails. Run with `make bench-win`.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench_clock.h"
#include "core/game_state.h"
#include "game/main_form.h"

namespace quillory {
namespace {

using bench::Now;
using namespace ui;

constexpr double kSecondsPerLevel = 3.0;
constexpr double kIdleSeconds = 3.0;

// Waits for messages until `seconds` have passed; returns how many times
// something woke the thread.
int RunFor(TApplication& application, double seconds, const std::function<bool()>& goOn) {
    int wakeUps = 0;
    const double end = Now() + seconds;
    while (Now() < end && goOn()) {
        const auto left = static_cast<DWORD>((end - Now()) * 1000.0) + 1;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0)
            ++wakeUps;
        application.ProcessMessages();
    }
    return wakeUps;
}

struct Pace {
    double MeanMs = 0, ShortestMs = 0, LongestMs = 0;
    int Ticks = 0;
};

Pace MeasureLevel(TApplication& application, int level, bool precise) {
    GameState game;
    std::unique_ptr<TMainForm> form(Create<TMainForm>(&application, game));
    form->Show();
    SetForegroundWindow(form->Handle());
    application.ProcessMessages();
    game.Level = level;
    form->Timer->SetPrecise(precise);
    std::vector<double> ticks;
    form->Timer->OnTimer = [&](TComponent* sender) {
        ticks.push_back(Now());
        form->TimerTimer(sender);
    };
    form->Newgame1Click(nullptr);
    RunFor(application, kSecondsPerLevel, [&] { return game.Playing && !game.Paused; });
    Pace pace;
    pace.Ticks = static_cast<int>(ticks.size());
    if (ticks.size() < 2) return pace;
    pace.MeanMs = (ticks.back() - ticks.front()) * 1000.0 / static_cast<double>(ticks.size() - 1);
    pace.ShortestMs = 1e9;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        const double ms = (ticks[i] - ticks[i - 1]) * 1000.0;
        pace.ShortestMs = std::min(pace.ShortestMs, ms);
        pace.LongestMs = std::max(pace.LongestMs, ms);
    }
    return pace;
}

// Wake-ups per second of a shown main window: no game, then a paused one.
void MeasureIdle(TApplication& application) {
    GameState game;
    std::unique_ptr<TMainForm> form(Create<TMainForm>(&application, game));
    form->Show();
    // Away from the window: Wine watches for the pointer leaving a control
    // with a timer of its own, where Windows waits for the move.
    SetCursorPos(0, 0);
    application.ProcessMessages();
    RunFor(application, 0.5, [] { return true; });  // the showing's own messages
    const int noGame = RunFor(application, kIdleSeconds, [] { return true; });
    form->Newgame1Click(nullptr);
    form->Pause1Click(nullptr);
    RunFor(application, 0.5, [] { return true; });
    const int paused = RunFor(application, kIdleSeconds, [] { return true; });
    std::printf("  wake-ups per second, no game: %.1f, game paused: %.1f (over %.0f s each)\n",
                noGame / kIdleSeconds, paused / kIdleSeconds, kIdleSeconds);
}

}  // namespace
}  // namespace quillory

int main() {
    using namespace quillory;
    ui::TApplication application;
    application.Initialize();
    std::printf("pace_bench: %s\n", GetCommandLineA());
    std::printf("  (make bench-win: under Wine on a private Xvfb display, %.0f s per level)\n",
                kSecondsPerLevel);
    std::printf(
        "  level  designed   due-time timer: mean  shortest longest  ticks"
        "   plain periodic: mean  ticks\n");
    for (int level = 1; level <= 9; ++level) {
        const Pace held = MeasureLevel(application, level, true);
        const Pace plain = MeasureLevel(application, level, false);
        std::printf("  %5d  %5d ms  %19.2f ms %7.2f %7.2f  %5d  %19.2f ms  %5d\n", level,
                    270 - 25 * level, held.MeanMs, held.ShortestMs, held.LongestMs, held.Ticks,
                    plain.MeanMs, plain.Ticks);
    }
    MeasureIdle(application);
    return 0;
}
