// The score table's windowed side: it fills the top scores lists, reads and
// writes "scores.dat" and shows its failures, and enters a finished game's
// result. The main window keeps one and delegates MakeScores, ClearScore,
// LoadScore, SaveScore and GameOver to it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/game_record.h"
#include "core/replay_file.h"
#include "core/score_file.h"
#include "core/score_table.h"
#include "scores/win32_score_files.h"

namespace quillory {
namespace ui {
class TForm;
}

enum class GameOverOutcome {
    NoEntry,     // the result earned no row in the file as it is now: "Game Over!" was shown
    Entered,     // entered and saved: the top scores dialog follows
    SaveFailed,  // the file failed and the failure was reported; a failed write
                 // leaves the entry listed, a file not held or not read enters nothing
    Cancelled,   // another copy kept the file and the player gave the result up
};

class ScoreKeeper {
public:
    // Works on `scores` with Windows' own files, "scores.dat" in the working directory.
    explicit ScoreKeeper(ScoreTable& scores);
    ScoreKeeper(ScoreTable& scores, ScoreFileSystem& files, std::string path);
    ScoreKeeper(const ScoreKeeper&) = delete;
    ScoreKeeper& operator=(const ScoreKeeper&) = delete;

    ScoreTable& Scores() { return scores_; }
    const std::string& Path() const { return path_; }

    // Receives the ten name and score lines whenever they change; the top
    // scores dialog puts them into NameList and ScoreList.
    std::function<void(const ScoreLines&)> ShowLines;
    // Receives the best result with the same lines: row 1's points as the
    // dialog shows them, empty while row 1 holds none above 0. The main
    // window's record panel shows it.
    std::function<void(const std::string&)> ShowRecord;

    // The lead-byte test of the code page names are cut in (IsDBCSLeadByte
    // unless a test chooses another code page).
    void SetLeadBytePredicate(LeadBytePredicate isLeadByte) { is_lead_byte_ = isLeadByte; }

    void MakeScores();
    void ClearScore();
    // Reads the file (no file: an empty table). A failure is shown in the error
    // box and the lists are left alone. A damaged file is shown once, its rows
    // are listed as far as they go, and the next save replaces it whole.
    LoadOutcome LoadScore();
    // Writes the file under the hold; a failure is shown in the error box and answers false.
    bool SaveScore();
    // The "Clear !" command: under the hold, as a save, the file is deleted
    // (whether that worked is not looked at) and read again.
    void DeleteScoreFile();

    // The records of the table's rows this program knows: read with the table
    // (a records file that cannot be read or vouched for only leaves rows
    // with nothing to watch, and is never reported) and kept with each save.
    const std::vector<KeptReplay>& Replays() const { return replays_; }
    // The record of table row `row` (0-based), or null.
    const KeptReplay* ReplayOfRow(int row) const;
    // Asked to play a row's record on the board; the main window answers.
    std::function<void(const KeptReplay&)> WatchReplay;

    // The row a result of `score` earns (0-based), or -1.
    int InsertionRow(std::int32_t score) const;
    // Enters a result under typedName + " (level N)" cut to 20 bytes without
    // splitting a character into the file as it is now (SaveResult), refills
    // the lists and reports a failure, or "Game Over!" when the file's rows
    // leave the result no place any more. The game's `record`, if any, is
    // kept with the row when it plays back to the result.
    GameOverOutcome EnterResult(const std::string& typedName, std::int32_t score, int level,
                                const GameRecord* record = nullptr);

    // The table's part of a game's end, dialogs included: the file is read
    // again; the "Game Over!" box when no row is earned, else the name dialog
    // (Cancel gives an empty name) and the entry. The file is not held while
    // the player types. The caller shows the top scores dialog after Entered.
    GameOverOutcome GameOver(std::int32_t score, int level, const GameRecord* record = nullptr);

    // The session ends (WM_ENDSESSION) while the name dialog is open: Windows
    // ends the program once the message is answered, the dialog's loop with
    // it. The result is entered now, once, under the name typed so far, and
    // the dialog is closed; its answer enters nothing more.
    void EndSession();

private:
    struct NameQuery {
        ui::TForm* Dialog;
        std::int32_t Score;
        int Level;
        const GameRecord* Record;
        std::optional<GameOverOutcome> Entered;  // by the session's end
    };

    // What a hold asks while another copy keeps the file past the wait: the
    // player's Retry waits again.
    RetryWhenBusy AskWhenBusy();
    // Whether `hold` is had; a failure of its own is reported, a wait the
    // player gave up is not.
    bool Holds(const ScoreFileHold& hold);
    void ReportFailure(const IoStatus& status);
    void ShowGameOverBox();
    void LoadReplays();
    int ShowBox(const std::string& text, UINT flags);

    ScoreTable& scores_;
    Win32ScoreFileSystem own_files_;
    ScoreFileSystem& files_;
    std::string path_;
    LeadBytePredicate is_lead_byte_;
    bool damage_shown_ = false;  // the last load found the file damaged and said so
    std::vector<KeptReplay> replays_;
    // Set while the name dialog is open.
    std::optional<NameQuery> name_query_;
};

}  // namespace quillory
