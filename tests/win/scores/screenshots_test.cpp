// Pictures of the top scores dialog and the about window as the X server
// shows them, for a person to look at, each taken with its window on top of
// the screen at its middle. The build sets the folder they go to.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/about_form.h"
#include "scores/scores_form.h"
#include "../screen_capture.h"
#include "scores_test_support.h"

namespace quillory::testing {
namespace {

// The window, or one of its controls, is what the screen shows at its middle.
bool OnTop(HWND window) {
    const RECT r = WindowRect(window);
    HWND shown = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return shown && (shown == window || IsChild(window, shown));
}

TEST(Screenshots, TopScoresAndAbout) {
    const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR");
    ASSERT_TRUE(folder && *folder) << "QUILLORY_SCREENSHOT_DIR is not set (the build sets it)";

    ScratchDirectory dir;
    ScoreTable stored = TableOf({1250, 980, 640, 415, 300, 120, 85, 40, 0, 0});
    const char* names[] = {"Ada (level 9)",
                           "Grace (level 8)",
                           "Linus (level 7)",
                           "Ken (level 7)",
                           "Dennis (level 6)",
                           "Barbara (level 5)",
                           "Edsger (level 4)",
                           "Alan (level 3)",
                           "",
                           ""};
    for (int row = 0; row < kScoreRows; ++row) SetName(stored.Rows[row], names[row]);
    WriteFileBytes(dir.File("scores.dat"), ImageOf(stored));

    ScoreTable scores{};
    Win32ScoreFileSystem files;
    ScoreKeeper keeper(scores, files, dir.File("scores.dat"));
    std::unique_ptr<ui::TForm> main(MakeMainWindow(250, 200));
    std::unique_ptr<TScoresForm> dialog(
        ui::Create<TScoresForm>(ui::Application, keeper, main.get()));
    std::unique_ptr<TAboutForm> about(ui::Create<TAboutForm>(ui::Application, main.get()));

    main->SetEnabled(false);
    dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return OnTop(dialog->Handle()); }));
    EXPECT_TRUE(CaptureScreen(folder, "top_scores.png", nullptr, [] { Pump(); }));
    dialog->Close();

    about->ShowInPlaceOfMainWindow();
    ASSERT_TRUE(PumpUntil([&] { return OnTop(about->Handle()); }));
    EXPECT_TRUE(CaptureScreen(folder, "about.png", nullptr, [] { Pump(); }));
    about->Close();
}

}  // namespace
}  // namespace quillory::testing
