#include "scores/score_keeper.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace quillory {
namespace {

constexpr const char* kGameOverText = "Game Over!";
constexpr const char* kNameDialogCaption = "Game Over!";
constexpr const char* kNamePrompt = "Your name :";
constexpr const char* kFallbackCaption = "Quillory";
constexpr const char* kBusyText = "Another copy of Quillory is saving its scores.";

// The system's ANSI code page: a name typed in a two-byte code page is cut
// between characters, never inside one.
bool SystemLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::string TypedName(ui::TForm& dialog) {
    return static_cast<ui::TEdit*>(dialog.FindComponent("Edit"))->Text();
}

}  // namespace

ScoreKeeper::ScoreKeeper(ScoreTable& scores)
    : scores_(scores), files_(own_files_), path_(kScoreFileName), is_lead_byte_(SystemLeadByte) {}

ScoreKeeper::ScoreKeeper(ScoreTable& scores, ScoreFileSystem& files, std::string path)
    : scores_(scores), files_(files), path_(std::move(path)), is_lead_byte_(SystemLeadByte) {}

void ScoreKeeper::MakeScores() {
    const ScoreLines lines = MakeScoreLines(scores_);
    if (ShowLines) ShowLines(lines);
    if (ShowRecord) ShowRecord(lines.Scores[0]);
}

void ScoreKeeper::ClearScore() {
    quillory::ClearScore(scores_);
    MakeScores();
}

LoadOutcome ScoreKeeper::LoadScore() {
    const LoadResult result = LoadScoreFile(files_, path_, scores_);
    // The player was told of the damage once; each game over and each showing
    // of the dialog reads the file again, and would say it again.
    const bool damaged = result.Outcome == LoadOutcome::Damaged;
    if (result.Outcome == LoadOutcome::Failed || (damaged && !damage_shown_))
        ReportFailure(result.Status);
    if (result.Outcome == LoadOutcome::Failed) return result.Outcome;
    damage_shown_ = damaged;
    LoadReplays();
    MakeScores();
    return result.Outcome;
}

// Records are a bonus on top of the table: whatever the file holds, the rows
// it vouches for are added to those known, and nothing is ever shown.
void ScoreKeeper::LoadReplays() {
    ReplayLoad load = LoadReplayFile(files_, ReplayPathBeside(path_));
    std::vector<KeptReplay> candidates = std::move(load.Read.Replays);
    candidates.insert(candidates.end(), replays_.begin(), replays_.end());
    replays_ = ReplaysToKeep(scores_, candidates);
}

const KeptReplay* ScoreKeeper::ReplayOfRow(int row) const {
    if (row < 0 || row >= kScoreRows) return nullptr;
    return ReplayForRow(replays_, scores_.Rows[row]);
}

RetryWhenBusy ScoreKeeper::AskWhenBusy() {
    return [this] { return ShowBox(kBusyText, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY; };
}

bool ScoreKeeper::Holds(const ScoreFileHold& hold) {
    if (!hold.Held() && !hold.Busy()) ReportFailure(hold.Status());
    return hold.Held();
}

bool ScoreKeeper::SaveScore() {
    const ScoreFileHold hold(files_, path_, kScoreHoldWait, AskWhenBusy());
    if (!Holds(hold)) return false;
    const IoStatus status = SaveScoreFile(files_, path_, scores_);
    if (!status.Ok()) {
        ReportFailure(status);
        return false;
    }
    SaveReplays(hold, scores_, -1, nullptr, replays_);  // its failure costs no result
    return true;
}

void ScoreKeeper::DeleteScoreFile() {
    // Another copy's save at the same moment would bring the rows back.
    const ScoreFileHold hold(files_, path_, kScoreHoldWait, AskWhenBusy());
    if (!Holds(hold)) return;
    files_.Remove(path_);
    files_.Remove(ReplayPathBeside(path_));
    replays_.clear();
    // No file now, so this empties the table; a file that could not be
    // deleted is read again and the table stays as it was.
    LoadScore();
}

int ScoreKeeper::InsertionRow(std::int32_t score) const {
    return FindInsertionRow(scores_, score);
}

GameOverOutcome ScoreKeeper::EnterResult(const std::string& typedName, std::int32_t score,
                                         int level, const GameRecord* record) {
    const ScoreFileHold hold(files_, path_, kScoreHoldWait, AskWhenBusy());
    if (!Holds(hold)) return hold.Busy() ? GameOverOutcome::Cancelled : GameOverOutcome::SaveFailed;
    const SaveResultOutcome saved =
        SaveResult(hold, scores_, MakeEntryName(typedName, level, is_lead_byte_), score);
    // After the table and under its hold; a record that cannot be written
    // only leaves the row with nothing to watch.
    if (saved.Status.Ok()) SaveReplays(hold, scores_, saved.Row, record, replays_);
    MakeScores();
    if (!saved.Status.Ok()) {
        ReportFailure(saved.Status);
        return GameOverOutcome::SaveFailed;
    }
    if (saved.Row < 0) {
        // Another copy of the game saved better results while the name was typed.
        ShowGameOverBox();
        return GameOverOutcome::NoEntry;
    }
    return GameOverOutcome::Entered;
}

GameOverOutcome ScoreKeeper::GameOver(std::int32_t score, int level, const GameRecord* record) {
    // Another copy of the game may have saved since this one read the file:
    // whether a name is asked for depends on what the file holds now. A
    // damaged file goes on with the rows it holds; the save replaces it.
    if (LoadScore() == LoadOutcome::Failed) return GameOverOutcome::SaveFailed;
    if (InsertionRow(score) < 0) {
        ShowGameOverBox();
        return GameOverOutcome::NoEntry;
    }
    // Only OK hands the text back; after Cancel the name stays empty and the
    // entry is made all the same.
    const std::unique_ptr<ui::TForm> dialog(
        ui::CreateInputDialog(kNameDialogCaption, kNamePrompt, ""));
    name_query_ = NameQuery{dialog.get(), score, level, record, std::nullopt};
    const bool confirmed = dialog->ShowModal() == ui::mrOk;
    const std::optional<GameOverOutcome> entered =
        std::exchange(name_query_, std::nullopt)->Entered;
    if (entered) return *entered;
    return EnterResult(confirmed ? TypedName(*dialog) : std::string(), score, level, record);
}

void ScoreKeeper::EndSession() {
    if (!name_query_ || name_query_->Entered) return;
    // Not the player's Cancel: he had not answered, and what he typed is his
    // name. Marked first: a box shown meanwhile runs a loop that may bring
    // the message again.
    NameQuery& query = *name_query_;
    query.Entered = GameOverOutcome::NoEntry;
    query.Entered = EnterResult(TypedName(*query.Dialog), query.Score, query.Level, query.Record);
    query.Dialog->Close();
}

void ScoreKeeper::ShowGameOverBox() {
    ShowBox(kGameOverText, MB_OK);
}

void ScoreKeeper::ReportFailure(const IoStatus& status) {
    ShowBox(status.Message() + ".", MB_OK | MB_ICONERROR);
}

int ScoreKeeper::ShowBox(const std::string& text, UINT flags) {
    if (ui::Application) return ui::Application->MessageBox(text, ui::Application->Title(), flags);
    return MessageBoxA(nullptr, text.c_str(), kFallbackCaption, flags);
}

}  // namespace quillory
