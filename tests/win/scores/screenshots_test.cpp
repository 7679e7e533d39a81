// Pictures of the top scores dialog and the about window as the X server
// shows them, for a person to look at. The build sets the folder they go to.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/about_form.h"
#include "scores/scores_form.h"
#include "scores_test_support.h"

namespace quillory::testing {
namespace {

constexpr DWORD kCaptureTimeoutMs = 20000;
constexpr DWORD kPollMs = 100;

// Runs ImageMagick's "import" (a Unix program, which Wine starts as one) and
// waits, pumping messages so the windows stay painted, until the picture is
// written. Wine cannot wait on a Unix process, so the file is watched.
bool CaptureScreen(const std::string& unixFolder, const std::string& name) {
    const std::string unixPath = unixFolder + "/" + name;
    std::string dosPath = "Z:" + unixPath;
    for (char& ch : dosPath)
        if (ch == '/') ch = '\\';
    DeleteFileA(dosPath.c_str());
    std::string command = "/usr/bin/import -window root " + unixPath;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    LONGLONG lastSize = -1;
    for (DWORD waited = 0; waited < kCaptureTimeoutMs; waited += kPollMs) {
        PumpMessages();
        Sleep(kPollMs);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(dosPath.c_str(), GetFileExInfoStandard, &data)) continue;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > 0 && size == lastSize) return true;
        lastSize = size;
    }
    return false;
}

TEST(Screenshots, TopScoresAndAbout) {
    const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR");
    if (!folder || !*folder) GTEST_SKIP() << "QUILLORY_SCREENSHOT_DIR is not set";

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
    EXPECT_TRUE(CaptureScreen(folder, "top_scores.png"));
    dialog->Close();

    about->ShowInPlaceOfMainWindow();
    EXPECT_TRUE(CaptureScreen(folder, "about.png"));
    about->Close();
}

}  // namespace
}  // namespace quillory::testing
