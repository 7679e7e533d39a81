// The end of a game and the score file's failures, seen where the player sees
// them: the boxes, the name dialog, the top scores lists and the bytes on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "../../core/recorded_games.h"
#include "../readers_only_handle.h"
#include "scores/score_keeper.h"
#include "scores/scores_form.h"
#include "scores_test_support.h"
#include "ui/dialogs.h"
#include "ui/ext_controls.h"

namespace quillory::testing {
namespace {

[[maybe_unused]] const auto* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// A disk that fills after the first hundred bytes of the temporary file.
BOOL WINAPI DiskFillsAfterAHundredBytes(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                        LPOVERLAPPED overlapped) {
    ::WriteFile(file, data, std::min<DWORD>(size, 100), written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI FlushFails(HANDLE) {
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
}
BOOL WINAPI RenameFails(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_WRITE_PROTECT);
    return FALSE;
}
// Refused three tries in four, as while someone reads the old file.
int renameTries = 0;
BOOL WINAPI RenameRefused(LPCSTR from, LPCSTR to, DWORD flags) {
    if (++renameTries % 4 == 0) return ::MoveFileExA(from, to, flags);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
// A folder where nothing new can be made: what Windows answers there.
HANDLE WINAPI NothingCanBeCreated(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                  DWORD disposition, DWORD flags, HANDLE from) {
    if (disposition == OPEN_EXISTING)
        return ::CreateFileA(name, access, share, sa, disposition, flags, from);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

class GameOverTest : public ::testing::Test {
protected:
    // Starts the program's part: the dialog's creation loads the file.
    void Start(ScoreFileSystem& files) {
        keeper = std::make_unique<ScoreKeeper>(scores, files, path);
        dialog = ui::Create<TScoresForm>(ui::Application, *keeper, nullptr);
    }
    void Start() { Start(files); }
    void TearDown() override {
        delete dialog;
        dialog = nullptr;
        keeper.reset();
    }

    std::vector<std::string> Names() { return WindowLines(*dialog->NameList); }
    std::vector<std::string> ScoreLinesShown() { return WindowLines(*dialog->ScoreList); }

    ScratchDirectory dir;
    std::string path = dir.File("scores.dat");
    ScoreTable scores{};
    Win32ScoreFileSystem files;
    std::unique_ptr<ScoreKeeper> keeper;
    TScoresForm* dialog = nullptr;
};

TEST_F(GameOverTest, NoRowEarnedShowsOnlyTheGameOverBox) {
    Start();
    MessageBoxRecorder boxes;
    ModalAnswers answers([](ui::TForm&) {});

    // An empty table: 0 is not lower than 0.
    EXPECT_EQ(keeper->GameOver(0, 7), GameOverOutcome::NoEntry);
    EXPECT_FALSE(FileExists(path)) << "nothing saved";
    // Rows 1 to 9 above, only row 10 lower: row 10 is never taken.
    const Bytes before = ImageOf(TableOf({100, 100, 100, 100, 100, 100, 100, 100, 100, 0}));
    WriteFileBytes(path, before);
    EXPECT_EQ(keeper->GameOver(50, 7), GameOverOutcome::NoEntry);

    ASSERT_EQ(boxes.boxes.size(), 2u);
    for (const RecordedBox& box : boxes.boxes) {
        EXPECT_EQ(box.Text, "Game Over!");
        EXPECT_EQ(box.Caption, "Quillory");
        EXPECT_EQ(box.Flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
        EXPECT_EQ(box.Flags & MB_ICONMASK, 0u) << "no icon";
    }
    EXPECT_EQ(answers.shown, 0) << "no name dialog";
    EXPECT_EQ(ImageOf(scores), before);
    EXPECT_EQ(ReadFileBytes(path), before) << "nothing saved";
}

TEST_F(GameOverTest, EqualScoresLongNamesAndCancel) {
    scores = TableOf({100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    WriteFileBytes(path, ImageOf(scores));
    const ScoreTable old = scores;
    Start();
    MessageBoxRecorder boxes;

    // A name typed to the edit field's limit: 255 characters, no more.
    std::string typed;
    ModalAnswers longName([&](ui::TForm& form) {
        AnswerName(form, std::string(300, 'x'));
        typed = WindowText(static_cast<ui::TEdit*>(form.FindComponent("Edit"))->Handle());
    });
    // Equal points keep their place: the new 80 goes below the old 80.
    EXPECT_EQ(keeper->GameOver(80, 7), GameOverOutcome::Entered);
    EXPECT_EQ(typed.size(), 255u);
    EXPECT_EQ(NameOf(scores.Rows[3]), std::string(20, 'x')) << "no room left for the suffix";
    EXPECT_EQ(scores.Rows[3].Points, 80);
    for (int row = 4; row < kScoreRows; ++row)
        EXPECT_EQ(std::memcmp(&scores.Rows[row], &old.Rows[row - 1], sizeof(ScoreEntry)), 0)
            << "row " << row + 1 << " is the old row " << row << ", all 28 bytes";
    EXPECT_EQ(ScoreLinesShown(), (std::vector<std::string>{"100", "90", "80", "80", "70", "60",
                                                           "50", "40", "30", "20"}));
    EXPECT_EQ(ReadFileBytes(path), ImageOf(scores));

    // Cancel: the entry is made with the suffix alone, even after typing.
    ModalAnswers cancel([&](ui::TForm& form) { AnswerName(form, "Bob", "Cancel"); });
    EXPECT_EQ(keeper->GameOver(1000, 3), GameOverOutcome::Entered);
    EXPECT_EQ(NameOf(scores.Rows[0]), " (level 3)");
    EXPECT_EQ(Names().front(), " (level 3)");
    EXPECT_EQ(ScoreLinesShown().front(), "1000");

    // 16 characters keep four of the suffix; 10 keep it whole, 20 in all.
    ModalAnswers sixteen([&](ui::TForm& form) { AnswerName(form, "abcdefghijklmnop"); });
    keeper->GameOver(999, 7);
    EXPECT_EQ(NameOf(scores.Rows[1]), "abcdefghijklmnop (le");
    ModalAnswers ten([&](ui::TForm& form) { AnswerName(form, "abcdefghij"); });
    keeper->GameOver(998, 7);
    EXPECT_EQ(NameOf(scores.Rows[2]), "abcdefghij (level 7)");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(GameOverTest, NamesAreNeverCutInsideACharacter) {
    Start();
    MessageBoxRecorder boxes;
    // Characters outside the code page reach the table as the system converts them.
    const std::wstring typed = L"\u017dlu\u0165ou\u010dk\u00fd k\u016f\u0148 \u65e5\u672c";
    ModalAnswers answers([&](ui::TForm& form) {
        auto* edit = static_cast<ui::TEdit*>(form.FindComponent("Edit"));
        SetWindowTextW(edit->Handle(), typed.c_str());
        ClickButton(form, "OK");
    });
    ASSERT_EQ(keeper->GameOver(10, 7), GameOverOutcome::Entered);
    char ansi[64] = {};
    WideCharToMultiByte(CP_ACP, 0, typed.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    CPINFO codePage{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    ASSERT_EQ(codePage.MaxCharSize, 1u) << "one byte a character here; two-byte pages below";
    // The entry, name and level, cut to its 20 bytes.
    EXPECT_EQ(NameOf(scores.Rows[0]), (std::string(ansi) + " (level 7)").substr(0, 20));

    // In a two-byte code page the cut falls before a character that does not fit whole.
    keeper->SetLeadBytePredicate([](unsigned char b) { return IsDBCSLeadByteEx(932, b) != FALSE; });
    const std::string nineteen(19, 'a');
    ASSERT_EQ(keeper->EnterResult(nineteen + "\x93\xfa", 20, 7),  // 19 letters and one kanji
              GameOverOutcome::Entered);
    EXPECT_EQ(NameOf(scores.Rows[0]), nineteen);
    ASSERT_EQ(keeper->EnterResult(std::string(18, 'a') + "\x93\xfa", 21, 7),
              GameOverOutcome::Entered);
    EXPECT_EQ(NameOf(scores.Rows[0]), std::string(18, 'a') + "\x93\xfa");
    EXPECT_TRUE(boxes.boxes.empty());
}

// ------------------------------------------------------------ files that fail

class ScoreFileFailures : public GameOverTest {
protected:
    std::vector<std::string> BoxTexts(const MessageBoxRecorder& recorder,
                                      UINT flags = MB_OK | MB_ICONERROR) {
        std::vector<std::string> texts;
        for (const RecordedBox& box : recorder.boxes) {
            EXPECT_EQ(box.Caption, "Quillory") << box.Text;
            EXPECT_EQ(box.Flags & (MB_TYPEMASK | MB_ICONMASK), flags) << box.Text;
            texts.push_back(box.Text);
        }
        return texts;
    }
};

// Each file is met at start-up, then by a game over that enters a result.
TEST_F(ScoreFileFailures, StartUpAndGameOverWithAnOddFile) {
    const ScoreTable stored = TableOf({30, 20, 10});
    Bytes shortImage = ImageOf(stored);
    shortImage.pop_back();
    Bytes longImage = ImageOf(stored);
    longImage.resize(300, 0x5A);
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* loadBox;  // nullptr: it loads
        const char* saveBox;  // nullptr: the save works
        bool entered;         // listed, saved or not
        // Writers locked out while the program starts: the start-up load
        // must ask for reading only (the attribute alone does not stop the
        // user the suite runs as).
        bool readersOnly = false;
        Win32FileCalls calls = {};
    };
    const auto writeStored = [&] { WriteFileBytes(path, ImageOf(stored)); };
    const auto readOnly = [&](const std::string& file) {
        writeStored();
        if (file != path) WriteFileBytes(file, {});
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    };
    const Case cases[] = {
        {"read-only file", [&] { readOnly(path); }, nullptr, "File access denied.", true,
         /*readersOnly=*/true},
        // A file that cannot be read at the game's end is never written over.
        {"directory", [&] { CreateDirectoryA(path.c_str(), nullptr); }, "File access denied.",
         "File access denied.", false},
        // Reported once; the game over goes on with its rows and saves it whole.
        {"279 bytes", [&] { WriteFileBytes(path, shortImage); }, "Read beyond end of file.",
         nullptr, true},
        {"300 bytes", [&] { WriteFileBytes(path, longImage); }, nullptr, nullptr, true},
        {"disk full", writeStored, nullptr, "Disk full.", true, false,
         {&DiskFillsAfterAHundredBytes}},
        {"flush fails", writeStored, nullptr, "I/O error 1117.", true, false,
         {&::WriteFile, &FlushFails}},
        {"rename fails", writeStored, nullptr, "I/O error 19.", true, false,
         {&::WriteFile, &::FlushFileBuffers, &RenameFails}},
        {"rename refused a while", writeStored, nullptr, nullptr, true, false,
         {.MoveFileExA = &RenameRefused}},
        // The hold fails of itself: no other copy to wait for.
        {"unwritable folder", writeStored, nullptr, "File access denied.", false, false,
         {.CreateFileA = &NothingCanBeCreated}},
        {"read-only lock file", [&] { readOnly(ScoreHoldPath(path)); }, nullptr,
         "File access denied.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Win32ScoreFileSystem layered(c.calls);
        for (const std::string& file : {path, ScoreHoldPath(path)}) {
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(path.c_str());
        scores = ScoreTable{};
        c.make();
        const Bytes before = ReadFileBytes(path);
        const bool lockMade = FileExists(ScoreHoldPath(path));

        MessageBoxRecorder boxes;
        {
            std::optional<ReadersOnlyHandle> readers;
            if (c.readersOnly) {
                readers.emplace(path);
                ASSERT_EQ(readers->ReadWriteOpenError(),
                          static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            }
            Start(layered);
        }
        EXPECT_EQ(BoxTexts(boxes),
                  c.loadBox ? std::vector<std::string>{c.loadBox} : std::vector<std::string>{});
        if (c.loadBox && !c.entered) {
            EXPECT_TRUE(Names().empty()) << "start-up goes on with the lists empty";
        } else {
            EXPECT_EQ(ImageOf(scores), ImageOf(stored)) << "the first 280 bytes";
            EXPECT_EQ(ScoreLinesShown(), Lines({"30", "20", "10"}));
        }

        boxes.boxes.clear();
        ModalAnswers answers([&](ui::TForm& form) { AnswerName(form, "Max"); });
        const GameOverOutcome outcome = keeper->GameOver(25, 7);
        const std::vector<std::string> names = Names();
        EXPECT_EQ(std::count(names.begin(), names.end(), "Max (level 7)"), c.entered ? 1 : 0);
        EXPECT_FALSE(FileExists(TemporaryScorePath(path)));
        EXPECT_EQ(FileExists(ScoreHoldPath(path)), lockMade);
        if (c.saveBox) {
            EXPECT_EQ(outcome, GameOverOutcome::SaveFailed);
            EXPECT_EQ(BoxTexts(boxes), std::vector<std::string>{c.saveBox});
            EXPECT_EQ(ReadFileBytes(path), before) << "the old file is kept as it was";
        } else {
            EXPECT_EQ(outcome, GameOverOutcome::Entered);
            EXPECT_TRUE(boxes.boxes.empty());
            EXPECT_EQ(ReadFileBytes(path), ImageOf(scores)) << "280 bytes, the new table";
        }
        TearDown();
    }
}

TEST_F(ScoreFileFailures, ShortFileAfterALoadedOneListsTheRowsItHolds) {
    WriteFileBytes(path, ImageOf(TableOf({70, 60})));
    MessageBoxRecorder boxes;
    Start();
    ASSERT_EQ(ScoreLinesShown(), Lines({"70", "60"}));
    Bytes image = ImageOf(TableOf({5}));
    image.resize(100);
    WriteFileBytes(path, image);
    EXPECT_EQ(keeper->LoadScore(), LoadOutcome::Damaged);
    EXPECT_EQ(BoxTexts(boxes), std::vector<std::string>{"Read beyond end of file."});
    EXPECT_EQ(ScoreLinesShown(), Lines({"5"})) << "the lists follow the table";
}

// Two copies of the game in one folder, each with the table it read at
// start-up, each ending a game that earns row 1 against it.
TEST_F(ScoreFileFailures, TwoCopiesOnOneFileKeepEveryResult) {
    using namespace std::chrono_literals;
    WriteFileBytes(path, ImageOf(TableOf({30, 20, 10})));
    Start();
    ScoreTable otherScores{};
    Win32ScoreFileSystem otherFiles;
    ScoreKeeper other(otherScores, otherFiles, path);
    ASSERT_EQ(other.LoadScore(), LoadOutcome::Loaded);
    MessageBoxRecorder boxes;
    std::string name = "Ann";
    ModalAnswers answers([&](ui::TForm& form) { AnswerName(form, name); });
    ASSERT_EQ(keeper->GameOver(50, 7), GameOverOutcome::Entered);
    name = "Bob";
    ASSERT_EQ(other.GameOver(40, 7), GameOverOutcome::Entered);
    EXPECT_EQ(ReadFileBytes(path), ImageOf(otherScores)) << "the table after a save is the file";
    EXPECT_EQ(NameOf(otherScores.Rows[0]), "Ann (level 7)");
    EXPECT_EQ(NameOf(otherScores.Rows[1]), "Bob (level 7)");
    EXPECT_EQ(otherScores.Rows[2].Points, 30);
    dialog->Show();
    EXPECT_EQ(Names()[1], "Bob (level 7)") << "the dialog shows the file as it opens";

    // A third copy saves better results while the name is typed: no row is left.
    const Bytes better = ImageOf(TableOf({90, 90, 90, 90, 90, 90, 90, 90, 90}));
    {
        ModalAnswers thirdCopySaves([&](ui::TForm& form) {
            WriteFileBytes(path, better);
            AnswerName(form, name);
        });
        EXPECT_EQ(other.GameOver(60, 7), GameOverOutcome::NoEntry);
    }
    EXPECT_EQ(BoxTexts(boxes, MB_OK), std::vector<std::string>{"Game Over!"});
    EXPECT_EQ(ImageOf(otherScores), better);

    // The file held by a third copy past the wait: Cancel in the busy box
    // gives the result up, and that alone.
    boxes.boxes.clear();
    boxes.answers = {[] { return IDCANCEL; }};
    Win32ScoreFileSystem thirdFiles;
    const ScoreFileHold held(thirdFiles, path, 0ms);
    ASSERT_TRUE(held.Held());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(other.GameOver(95, 7), GameOverOutcome::Cancelled);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, kScoreHoldWait);
    EXPECT_LT(waited, kScoreHoldWait + 2s) << "bounded";
    EXPECT_EQ(BoxTexts(boxes, MB_RETRYCANCEL | MB_ICONWARNING),
              std::vector<std::string>{"Another copy of Quillory is saving its scores."})
        << "no failure after Cancel";
    EXPECT_EQ(ReadFileBytes(path), better);
    EXPECT_EQ(ImageOf(otherScores), better) << "nothing entered";
}

// Two copies, each with the table it read at start-up, save a recorded game
// one after the other: a copy started afterwards can watch both.
TEST_F(ScoreFileFailures, TwoCopiesSavingRecordedGamesKeepBothRecords) {
    const std::vector<KeptReplay> games = ScoringGames(1, 2);
    Start();
    ScoreTable otherScores{}, laterScores{};
    Win32ScoreFileSystem otherFiles, laterFiles;
    ScoreKeeper other(otherScores, otherFiles, path), later(laterScores, laterFiles, path);
    other.LoadScore();
    ModalAnswers answers([&](ui::TForm& form) { AnswerName(form, "Ann"); });
    ASSERT_EQ(keeper->GameOver(games[0].Row.Points, 7, &games[0].Game), GameOverOutcome::Entered);
    ASSERT_EQ(other.GameOver(games[1].Row.Points, 7, &games[1].Game), GameOverOutcome::Entered);
    later.LoadScore();
    for (const KeptReplay& game : games) {
        const int row = game.Row.Points < games[1 - (&game - games.data())].Row.Points;
        ASSERT_EQ(laterScores.Rows[row].Points, game.Row.Points);
        ASSERT_TRUE(later.ReplayOfRow(row)) << "row " << row;
        EXPECT_EQ(later.ReplayOfRow(row)->Game.Seeds, game.Game.Seeds);
    }
}

TEST_F(ScoreFileFailures, TheProgramsKeeperUsesTheWorkingDirectory) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    WriteFileBytes(path, ImageOf(TableOf({11})));
    ScoreTable table{};
    ScoreKeeper programs(table);
    EXPECT_EQ(programs.LoadScore(), LoadOutcome::Loaded);
    EXPECT_EQ(table.Rows[0].Points, 11);
    table.Rows[0].Points = 12;
    EXPECT_TRUE(programs.SaveScore());
    programs.DeleteScoreFile();
    const bool gone = !FileExists(path);
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace quillory::testing
