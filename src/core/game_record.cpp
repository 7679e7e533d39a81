// Recording a game as it runs, playing it again, and the check that a record
// really plays back to its result.
#include "core/game_record.h"

#include <algorithm>
#include <utility>

namespace quillory {
namespace {

bool IsLevel(std::int32_t level) { return level >= kMinLevel && level <= kMaxLevel; }

}  // namespace

bool RecordWellFormed(const GameRecord& record) {
    if (!IsLevel(record.StartLevel) || record.Ticks == 0 || record.Ticks > kMaxRecordTicks ||
        record.Seeds.empty() || record.Seeds.size() > kMaxRecordSeeds ||
        record.LevelChanges.size() > kMaxRecordLevelChanges ||
        record.Moves.size() != MoveBytes(record.Ticks))
        return false;
    std::int64_t previousTick = -1;
    for (const LevelChange& change : record.LevelChanges) {
        if (change.Tick <= previousTick || change.Tick >= record.Ticks || !IsLevel(change.Level))
            return false;
        previousTick = change.Tick;
    }
    return true;
}

GameRecorder::GameRecorder() : moves_(MoveBytes(kMaxRecordTicks)) {
    seeds_.reserve(kMaxRecordSeeds);
    changes_.reserve(kMaxRecordLevelChanges);
}

void GameRecorder::Attach(GameState& game) {
    Detach();
    game_ = &game;
    game.Recorder = this;
    game.Random.SetSeeds(this);
}

void GameRecorder::Detach() {
    if (!game_) return;
    if (game_->Recorder == this) game_->Recorder = nullptr;
    if (game_->Random.Seeds() == this) game_->Random.SetSeeds(nullptr);
    game_ = nullptr;
    recording_ = false;
}

void GameRecorder::GameStarted(std::int32_t level) {
    // Only the bytes the last game used can be non-zero.
    std::fill_n(moves_.begin(), MoveBytes(ticks_), std::uint8_t{0});
    ticks_ = 0;
    seeds_.clear();
    changes_.clear();
    startLevel_ = level_ = level;
    recording_ = IsLevel(level);
}

void GameRecorder::NoteUnusualTick(std::int32_t direction, std::int32_t level) {
    if (ticks_ == kMaxRecordTicks || direction < dirUp || direction > dirLeft) {
        recording_ = false;
        return;
    }
    if (level == level_) return;
    if (!IsLevel(level) || changes_.size() == kMaxRecordLevelChanges) {
        recording_ = false;
        return;
    }
    changes_.push_back({ticks_, level});
    level_ = level;
}

std::uint32_t GameRecorder::NextSeed(ClockSource clock) {
    const std::uint32_t seed = clock();
    if (recording_) {
        if (seeds_.size() == kMaxRecordSeeds)
            recording_ = false;
        else
            seeds_.push_back(seed);
    }
    return seed;
}

std::optional<GameRecord> GameRecorder::Finish(std::int32_t finalScore) {
    if (!recording_ || ticks_ == 0) {
        recording_ = false;
        return std::nullopt;
    }
    recording_ = false;
    GameRecord record;
    record.StartLevel = startLevel_;
    record.FinalScore = finalScore;
    record.Ticks = ticks_;
    record.Seeds = seeds_;
    record.LevelChanges = changes_;
    record.Moves.assign(moves_.begin(), moves_.begin() + MoveBytes(ticks_));
    return record;
}

ReplayPlayer::ReplayPlayer(GameRecord record, GameState& game)
    : record_(std::move(record)),
      game_(game),
      savedRecorder_(game.Recorder),
      savedSeeds_(game.Random.Seeds()) {
    game_.Recorder = nullptr;
    game_.Random.SetSeeds(this);
}

ReplayPlayer::~ReplayPlayer() {
    game_.Recorder = savedRecorder_;
    game_.Random.SetSeeds(savedSeeds_);
}

void ReplayPlayer::Start() {
    tick_ = 0;
    nextSeed_ = 0;
    nextChange_ = 0;
    seedsShort_ = false;
    game_.Level = record_.StartLevel;
    game_.NewGameReset();
}

bool ReplayPlayer::Step() {
    if (!game_.Playing || game_.Paused || tick_ >= record_.Ticks) return false;
    const auto& changes = record_.LevelChanges;
    while (nextChange_ < changes.size() && changes[nextChange_].Tick <= tick_)
        game_.Level = changes[nextChange_++].Level;
    game_.CurrentDirection = record_.DirectionAt(tick_);
    game_.TimerTimer();
    ++tick_;
    return true;
}

std::uint32_t ReplayPlayer::NextSeed(ClockSource) {
    if (nextSeed_ < record_.Seeds.size()) return record_.Seeds[nextSeed_++];
    seedsShort_ = true;  // the game asks for more than was played: it will not match
    return 0;
}

bool VerifyRecord(const GameRecord& record) {
    if (!RecordWellFormed(record)) return false;
    GameState game;
    ReplayPlayer player(record, game);
    player.Start();
    while (player.Step())
        if (!game.Playing && !player.AtEnd()) return false;
    return player.AtEnd() && !game.Playing && player.SeedsHeld() && player.AllSeedsUsed() &&
           game.Score == record.FinalScore;
}

}  // namespace quillory
