// A game kept so that it can be watched again. The rules are deterministic
// once their inputs are known, and a game has only three: the level (set at
// the start, changed by the level dialog), every value the random generator
// was seeded with, in order, and the direction of every tick. The recorder
// notes them while a game runs; the player feeds them back to a GameState of
// its own, which then goes through the very same boards.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/game_state.h"
#include "core/random.h"

namespace quillory {

// A record's bounds. The longest game that still eats a meal now and then,
// one that circles the whole board (600 ticks) between each of its at most
// 596 meals, takes under 360,000 ticks; a game longer than this keeps its
// row and loses its record (at 2 bits a tick, at most 128 KiB of moves).
constexpr std::uint32_t kMaxRecordTicks = 1u << 19;
// A game reseeds once at its start and two or three times a meal: under 1,800.
constexpr std::uint32_t kMaxRecordSeeds = 2048;
// Each change of level needs the level dialog; far more than anyone makes.
constexpr std::uint32_t kMaxRecordLevelChanges = 256;
constexpr std::int32_t kMinLevel = 1;
constexpr std::int32_t kMaxLevel = 9;

// From tick `Tick` (0-based) on, the awards are at `Level`.
struct LevelChange {
    std::uint32_t Tick = 0;
    std::int32_t Level = 0;
    bool operator==(const LevelChange&) const = default;
};

struct GameRecord {
    std::int32_t StartLevel = 0;  // the level the game began at: its pace
    std::int32_t FinalScore = 0;
    std::uint32_t Ticks = 0;      // ticks that moved the snake; the last one ended the game
    std::vector<std::uint32_t> Seeds;
    std::vector<LevelChange> LevelChanges;  // ascending ticks
    // The direction of every tick less one, 2 bits each, four ticks a byte
    // with the earliest in the low bits.
    std::vector<std::uint8_t> Moves;

    std::int32_t DirectionAt(std::uint32_t tick) const {
        return ((Moves[tick / 4] >> (tick % 4 * 2)) & 3) + 1;
    }
    bool operator==(const GameRecord&) const = default;
};

constexpr std::size_t MoveBytes(std::uint32_t ticks) { return (ticks + 3u) / 4u; }

// Sizes within the bounds and agreeing with each other, levels 1..9, level
// changes in order inside the game. Says nothing of how the game replays.
bool RecordWellFormed(const GameRecord& record);

// Notes the games of one GameState. Everything it needs is allocated when it
// is made, so no tick ever waits for memory.
class GameRecorder final : private SeedSource {
public:
    GameRecorder();
    ~GameRecorder() { Detach(); }
    GameRecorder(const GameRecorder&) = delete;
    GameRecorder& operator=(const GameRecorder&) = delete;

    // From now on every new game of `game` is recorded.
    void Attach(GameState& game);
    void Detach();

    // The game's own calls (NewGameReset, TimerTimer).
    void GameStarted(std::int32_t level);
    void TickTaken(std::int32_t direction, std::int32_t level) {
        if (!recording_) return;
        if (level != level_ || ticks_ == kMaxRecordTicks || direction < dirUp ||
            direction > dirLeft) {
            NoteUnusualTick(direction, level);
            if (!recording_) return;
        }
        moves_[ticks_ / 4] |= static_cast<std::uint8_t>((direction - 1) << (ticks_ % 4 * 2));
        ++ticks_;
    }

    // The game that has just ended with `finalScore`; none when no game was
    // started since the last one, or this one outgrew a bound. Recording
    // stops until the next new game.
    std::optional<GameRecord> Finish(std::int32_t finalScore);

    bool Recording() const { return recording_; }

private:
    std::uint32_t NextSeed(ClockSource clock) override;
    void NoteUnusualTick(std::int32_t direction, std::int32_t level);

    GameState* game_ = nullptr;
    bool recording_ = false;
    std::int32_t startLevel_ = 0;
    std::int32_t level_ = 0;
    std::uint32_t ticks_ = 0;
    std::vector<std::uint8_t> moves_;    // sized to the bound, zero past ticks_
    std::vector<std::uint32_t> seeds_;   // reserved to the bound
    std::vector<LevelChange> changes_;   // reserved to the bound
};

// Plays a record again on a GameState the caller owns and draws (its
// DrawField is called as in a game; give it no GameOver that enters results).
// While the player lives it owns the state's Level, direction and seeds; the
// state's recorder and seed source are put aside and given back at the end.
class ReplayPlayer final : private SeedSource {
public:
    ReplayPlayer(GameRecord record, GameState& game);
    ~ReplayPlayer();
    ReplayPlayer(const ReplayPlayer&) = delete;
    ReplayPlayer& operator=(const ReplayPlayer&) = delete;

    // The starting position, as a new game at the record's level.
    void Start();
    // The next tick as it was played. False, changing nothing, when there is
    // none to play: every tick played, the game over, or the state paused.
    bool Step();

    bool AtEnd() const { return tick_ == record_.Ticks; }
    std::uint32_t TicksPlayed() const { return tick_; }
    // Every seed asked for so far was in the record.
    bool SeedsHeld() const { return !seedsShort_; }
    bool AllSeedsUsed() const { return nextSeed_ == record_.Seeds.size(); }
    // The pace the game was played at: its starting level's.
    int IntervalMs() const { return GameState::TickIntervalMsAt(record_.StartLevel); }
    const GameRecord& Record() const { return record_; }

private:
    std::uint32_t NextSeed(ClockSource clock) override;

    GameRecord record_;
    GameState& game_;
    GameRecorder* savedRecorder_;
    SeedSource* savedSeeds_;
    std::uint32_t tick_ = 0;
    std::size_t nextSeed_ = 0;
    std::size_t nextChange_ = 0;
    bool seedsShort_ = false;
};

// The check before a record is kept: replayed in memory from its start, the
// game ends on its last tick and not before, having used exactly its seeds,
// with the record's final score.
bool VerifyRecord(const GameRecord& record);

}  // namespace quillory
