// The program: the application object, the main window, the message loop.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "core/game_state.h"
#include "core/random.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "game/main_form.h"
#include "scores/scores_form.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/system_library.h"

namespace {

// The random generator's clock: the performance counter, or the tick count
// where there is none.
std::uint32_t PerformanceCounterLowBits() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter)) return static_cast<std::uint32_t>(counter.LowPart);
    return static_cast<std::uint32_t>(GetTickCount());
}

}  // namespace

// What an exception that escapes everything ends in. libstdc++'s own handler
// names the exception's type on stderr, which a windowed program does not
// show, and brings the demangler and a printf into the game: more than a
// tenth of its size. The library offers no supported way to leave it out of
// a static link: its default is fixed when the toolchain is built
// (--disable-libstdcxx-verbose), and std::set_terminate refers to it too. So
// the game has its own, and the release test sees that the library's stays out.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a library: none comes from the game's folder.
    quillory::ui::RestrictLibrarySearch();
    // The installer and the uninstaller (res/installer.nsi) look for this name
    // to ask the player to close the game before they touch its files. The
    // handle is held until the process ends, which closes it.
    [[maybe_unused]] const HANDLE runningMark = CreateMutexA(nullptr, FALSE, "Quillory.Running");
    // Before the first window: every window is laid out at its screen's scale.
    quillory::ui::DeclareDpiAwareness();
    quillory::SetDefaultClockSource(&PerformanceCounterLowBits);
    // Started again while a copy hides in boss mode: that copy comes back.
    if (quillory::WakeCopyInBossMode()) return 0;
    quillory::ui::TApplication application;
    try {
        application.Initialize();
        application.SetTitle(quillory::kApplicationTitle);
        static quillory::GameState game;
        game.Random.SetClock(&PerformanceCounterLowBits);
        // The main window first (closing it ends the program), then the about
        // window, the level dialog and the top scores dialog, whose creation
        // loads the score table.
        auto* mainForm = application.CreateForm<quillory::TMainForm>(game);
        mainForm->AboutForm = application.CreateForm<quillory::TAboutForm>(mainForm);
        mainForm->LevelForm = application.CreateForm<quillory::TLevelForm>(game, mainForm);
        mainForm->ScoresForm =
            application.CreateForm<quillory::TScoresForm>(mainForm->Keeper, mainForm);
        application.Run();
    } catch (...) {
        quillory::ui::HandleCurrentException();
        return 1;
    }
    return 0;
}
