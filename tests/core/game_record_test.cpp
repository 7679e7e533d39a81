#include <gtest/gtest.h>

#include <functional>

#include "core/replay_file.h"
#include "recorded_games.h"

namespace quillory {
namespace {

using testing::Frame;

// Fixed seeds: a failure repeats. Every game is replayed on a state of its own
// and must show the frame it showed when played, tick for tick, end on the
// same tick, pass the check before keeping, and come back whole from a file.
TEST(GameRecord, EveryRandomGameReplaysFrameForFrame) {
    int ticks = 0, bonusTicks = 0, levelChanges = 0;
    std::vector<Frame> frames;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        const std::optional<GameRecord> record = testing::PlayRecordedGame(seed, frames);
        ASSERT_TRUE(record) << "game " << seed;
        ASSERT_EQ(record->Ticks + 1, frames.size()) << "game " << seed;
        GameState game;
        ReplayPlayer player(*record, game);
        player.Start();
        for (std::size_t tick = 0; tick < frames.size(); ++tick) {
            ASSERT_TRUE(tick == 0 || player.Step()) << "game " << seed << ", tick " << tick;
            ASSERT_EQ(Frame(game), frames[tick]) << "game " << seed << ", tick " << tick;
            bonusTicks += game.BonusTime > 0;
        }
        ASSERT_FALSE(player.Step());
        ASSERT_TRUE(player.AtEnd() && player.AllSeedsUsed());
        ASSERT_TRUE(VerifyRecord(*record)) << "game " << seed;
        KeptReplay kept{{}, *record};
        kept.Row.Points = record->FinalScore;
        const ReplayRead back = ReadReplayImage(ReplayImage({kept}));
        ASSERT_EQ(back.Replays.size(), 1u);
        ASSERT_EQ(back.Replays[0].Game, *record) << "game " << seed;
        ticks += record->Ticks;
        levelChanges += !record->LevelChanges.empty();
    }
    // The player's shapes all came up: long games, bonuses, changes of level.
    EXPECT_GT(ticks, 2000 * 200);
    EXPECT_GT(bonusTicks, 2000 * 4);
    EXPECT_GT(levelChanges, 2000 / 4);
}

// Each a record that does not play back to its end as it says.
TEST(GameRecord, TheCheckBeforeKeepingRejectsRecordsThatDoNotPlayBack) {
    std::vector<Frame> frames;
    std::optional<GameRecord> good;
    for (unsigned seed = 1; !good || good->Seeds.size() < 3; ++seed)
        good = testing::PlayRecordedGame(seed, frames);
    ASSERT_TRUE(VerifyRecord(*good));
    const std::function<void(GameRecord&)> breaks[] = {
        [](GameRecord& r) { ++r.FinalScore; },
        [](GameRecord& r) { r.Moves.resize(MoveBytes(--r.Ticks)); },  // still running at its end
        [](GameRecord& r) { r.Seeds.push_back(7); },
        [](GameRecord& r) { r.Seeds.pop_back(); },
        [](GameRecord& r) { r.StartLevel = 10; },
    };
    for (const auto& damage : breaks) {
        GameRecord bad = *good;
        damage(bad);
        EXPECT_FALSE(VerifyRecord(bad)) << "case " << (&damage - breaks);
    }
}

// A game past the bound goes on; only its record is lost.
TEST(GameRecord, AGameLongerThanTheBoundLosesItsRecord) {
    testing::ClockValue() = testing::kClockNoBonus;  // food at (1, 1), off the snake's row
    GameState game;
    game.Random.SetClock(&testing::FixedClock);
    GameRecorder recorder;
    recorder.Attach(game);
    game.NewGameReset();
    for (std::uint32_t tick = 0; tick < kMaxRecordTicks; ++tick) game.TimerTimer();
    EXPECT_TRUE(recorder.Recording());
    game.TimerTimer();
    EXPECT_TRUE(game.Playing);
    EXPECT_FALSE(recorder.Finish(game.Score));
}

}  // namespace
}  // namespace quillory
