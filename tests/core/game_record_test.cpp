// Games recorded as they run, played again, checked and filed. Fixed seeds: a failure repeats.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <tuple>

#include "core/replay_file.h"
#include "core/turn_queue.h"
#include "recorded_games.h"
#include "std_score_files.h"

namespace quillory {
namespace {

using testing::Frame;
using testing::PlayRecordedGame;
using testing::ScoringGames;
using testing::Shot;

using Bytes = std::vector<std::uint8_t>;

// Replayed on a state of its own, each game shows its frames tick for tick, ends on the same
// tick and passes the check before keeping.
TEST(GameRecord, EveryRandomGameReplaysFrameForFrame) {
    int bonusTicks = 0, levelChanges = 0;
    std::vector<Frame> frames;
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        const std::optional<GameRecord> record = PlayRecordedGame(seed, frames);
        ASSERT_TRUE(record && record->Ticks + 1 == frames.size()) << "game " << seed;
        GameState game;
        ReplayPlayer player(*record, game);
        player.Start();
        for (std::size_t tick = 0; tick < frames.size(); ++tick) {
            ASSERT_TRUE(tick == 0 || player.Step()) << "game " << seed << ", tick " << tick;
            ASSERT_EQ(Shot(game), frames[tick]) << "game " << seed << ", tick " << tick;
            bonusTicks += std::get<2>(frames[tick]) > 0;
        }
        ASSERT_TRUE(!player.Step() && player.AtEnd() && VerifyRecord(*record)) << "game " << seed;
        levelChanges += !record->LevelChanges.empty();
    }
    // The player's shapes came up: bonuses, changes of level.
    EXPECT_GT(bonusTicks, 2000 * 4);
    EXPECT_GT(levelChanges, 2000 / 4);
}

TEST(GameRecord, TheCheckBeforeKeepingRejectsRecordsThatDoNotPlayBack) {
    GameRecord good;
    for (unsigned seed = 1; good.Seeds.size() < 3; ++seed) good = ScoringGames(seed, 1)[0].Game;
    ASSERT_TRUE(VerifyRecord(good));
    void (*const breaks[])(GameRecord&) = {
        [](GameRecord& r) { ++r.FinalScore; },
        [](GameRecord& r) { r.Moves.resize(MoveBytes(--r.Ticks)); },  // still running at its end
        [](GameRecord& r) { r.Seeds.push_back(7); },
        [](GameRecord& r) { r.Seeds.pop_back(); },
        [](GameRecord& r) { r.StartLevel = 10; },
    };
    for (const auto& damage : breaks) {
        GameRecord bad = good;
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
    for (std::uint32_t tick = 0; tick <= kMaxRecordTicks; ++tick) game.TimerTimer();
    EXPECT_TRUE(game.Playing);
    EXPECT_FALSE(recorder.Finish(game.Score));
}

// Cut, scribbled, re-checksummed, mis-sized, lengthened and foreign images, each alone in a heap
// block of its size (a read past its end is caught), give what they still vouch for.
TEST(ReplayFile, DamagedImagesGiveTheRecordsTheyStillHold) {
    const std::vector<KeptReplay> games = ScoringGames(1, 6);
    const Bytes whole = ReplayImage(games);
    std::vector<std::size_t> ends;  // where each record's bytes end
    for (auto end = games.begin() + 1; end <= games.end(); ++end)
        ends.push_back(ReplayImage({games.begin(), end}).size());
    std::mt19937 random(2026);
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 6000; ++round) {
        Bytes image = whole;
        const auto hit = below(games.size()), start = hit ? ends[hit - 1] : kReplayHeaderBytes;
        auto scribble = [&](std::size_t from, std::size_t size) {
            for (int n = 0; n < 4; ++n) image[from + below(size)] = random();
        };
        switch (round % 6) {
            case 0: image.resize(below(whole.size())); break;
            case 1: scribble(0, image.size()); break;
            case 2: {  // a body changed and its checksum made to fit
                scribble(start + 4, ends[hit] - start - 8);
                const auto crc = Crc32(std::span(image).subspan(start, ends[hit] - start - 4));
                std::memcpy(&image[ends[hit] - 4], &crc, 4);
                break;
            }
            case 3: scribble(start, 4); break;  // its length
            case 4: image.resize(whole.size() + 1 + below(300), std::uint8_t(random())); break;
            default:  // foreign
                image.resize(below(kMaxReplayBodyBytes));
                std::ranges::generate(image, random);
        }
        std::size_t intact = 0;  // records whose bytes, and all before, are still there
        while (intact < games.size() && ends[intact] <= image.size() &&
               std::equal(whole.begin(), whole.begin() + ends[intact], image.begin()))
            ++intact;
        auto exact = std::make_unique_for_overwrite<std::uint8_t[]>(image.size());
        std::memcpy(exact.get(), image.data(), image.size());
        const ReplayRead read = ReadReplayImage({exact.get(), image.size()});
        // Only originals come back, bar a body that was given a fitting checksum: that one plays.
        for (const KeptReplay& got : read.Replays) {
            if (std::ranges::count(games, got.Game, &KeptReplay::Game)) continue;
            ASSERT_TRUE(round % 6 == 2 && RecordWellFormed(got.Game)) << "round " << round;
            VerifyRecord(got.Game);
        }
        ASSERT_GE(read.Replays.size(), round % 6 == 2 ? games.size() - 1 : intact) << round;
    }
}

// Two copies with stale tables save in turn under the hold: both records kept. A damaged file is
// rewritten, losing nothing known; unplayable records, rows gone and bytes past the bound are not.
TEST(ReplayFile, SavesUnderTheHoldKeepEveryRecordTheTableKeeps) {
    const Bytes check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(check), 0xCBF43926u);  // the zip checksum's standard check value
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quillory-replay-save";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string scores = (dir / kScoreFileName).string(), replays = ReplayPathBeside(scores);
    ASSERT_EQ(replays, (dir / kReplayFileName).string());
    StdScoreFileSystem files;
    std::vector<KeptReplay> games = ScoringGames(100, 3), knownA, knownB;
    ScoreTable table;
    auto save = [&](const GameRecord* game, std::vector<KeptReplay>& known) {
        table = {};  // each copy's own, read before the other saved
        const ScoreFileHold hold(files, scores, kScoreHoldWait);
        const int row =
            game ? SaveResult(hold, table, "copy", game->FinalScore).Row : (ClearScore(table), -1);
        EXPECT_TRUE(SaveReplays(hold, table, row, game, known).Ok());
        return row;
    };
    save(&games[0].Game, knownA);
    save(&games[1].Game, knownB);
    ReplayLoad load = LoadReplayFile(files, replays);
    EXPECT_EQ(load.Read.Replays.size(), 2u);
    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(ReplayForRow(load.Read.Replays, table.Rows[row])) << row;
    std::ofstream(replays, std::ios::binary).write("QRPL\1\0\0\0\xFF\xFF\xFF\x7F", 12);
    games[2].Game.Seeds.pop_back();
    const int row = save(&games[2].Game, knownB);
    load = LoadReplayFile(files, replays);
    EXPECT_TRUE(!load.Read.Damaged && load.Read.Replays.size() == 2u);
    EXPECT_FALSE(ReplayForRow(load.Read.Replays, table.Rows[row]));
    Bytes big = ReplayImage(knownB);
    big.resize(kMaxReplayFileBytes + 10, 0x5A);
    std::ofstream(replays, std::ios::binary).write(reinterpret_cast<char*>(big.data()), big.size());
    load = LoadReplayFile(files, replays);
    EXPECT_TRUE(load.Read.Damaged && load.Read.Replays.size() == 2u);
    save(nullptr, knownB);  // the table cleared
    EXPECT_TRUE(LoadReplayFile(files, replays).Read.Replays.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quillory
