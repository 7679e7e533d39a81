#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/replay_file.h"
#include "recorded_games.h"
#include "std_score_files.h"

namespace quillory {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool Same(const KeptReplay& a, const KeptReplay& b) { return SameRow(a.Row, b.Row) && a.Game == b.Game; }

// The records of real games that scored, each with a row of its own.
std::vector<KeptReplay> ScoringGames(unsigned firstSeed, int count) {
    std::vector<KeptReplay> games;
    std::vector<testing::Frame> frames;
    for (unsigned seed = firstSeed; static_cast<int>(games.size()) < count; ++seed) {
        KeptReplay kept{{}, *testing::PlayRecordedGame(seed, frames)};
        kept.Row.Points = kept.Game.FinalScore;
        SetName(kept.Row, "game " + std::to_string(seed));
        if (kept.Game.FinalScore > 0) games.push_back(kept);
    }
    return games;
}

TEST(ReplayFile, ChecksumIsTheZipOne) {
    const std::string check = "123456789";  // the CRC-32 standard check value
    EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
}

// Thousands of cut, flipped, re-checksummed, mis-sized, lengthened and
// foreign images, each alone in a heap block of its exact size so that a read
// past its end is caught: what comes back is what the image still vouches for.
TEST(ReplayFile, DamagedImagesGiveTheRecordsTheyStillHold) {
    const std::vector<KeptReplay> games = ScoringGames(1, 6);
    const Bytes whole = ReplayImage(games);
    std::vector<std::size_t> ends;  // where each record's bytes end
    for (std::size_t n = 1; n <= games.size(); ++n)
        ends.push_back(ReplayImage({games.begin(), games.begin() + n}).size());
    std::mt19937 random(2026);
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 6000; ++round) {
        Bytes image = whole;
        const std::size_t hit = below(games.size());  // the record cases 2 and 3 damage
        const std::size_t start = hit == 0 ? kReplayHeaderBytes : ends[hit - 1];
        switch (round % 6) {
            case 0: image.resize(below(whole.size())); break;
            case 1:
                for (std::size_t n = 1 + below(4); n > 0; --n) image[below(image.size())] ^= 1 + below(255);
                break;
            case 2: {  // a body changed and its checksum made to fit
                const std::size_t body = ends[hit] - start - 8;
                for (std::size_t n = 1 + below(4); n > 0; --n) image[start + 4 + below(body)] = random();
                const std::uint32_t crc = Crc32(std::span(image).subspan(start, body + 4));
                std::memcpy(&image[ends[hit] - 4], &crc, 4);
                break;
            }
            case 3: for (std::size_t i = 0; i < 4; ++i) image[start + i] = random(); break;  // its length
            case 4: image.resize(whole.size() + 1 + below(300), std::uint8_t(random())); break;
            default: image.resize(below(kMaxReplayBodyBytes)); for (auto& byte : image) byte = random();
        }
        // The records whose bytes are all still there, from the header on, come back for sure.
        std::size_t intact = 0;
        while (intact < games.size() && ends[intact] <= image.size() &&
               std::equal(whole.begin(), whole.begin() + ends[intact], image.begin()))
            ++intact;
        auto exact = std::make_unique_for_overwrite<std::uint8_t[]>(image.size());
        std::memcpy(exact.get(), image.data(), image.size());
        const ReplayRead read = ReadReplayImage({exact.get(), image.size()});
        // Nothing else does, bar the body whose checksum was made to fit; in order.
        std::size_t next = 0;
        for (const KeptReplay& replay : read.Replays) {
            while (next < games.size() && !Same(replay, games[next])) ++next;
            if (next < games.size()) continue;
            ASSERT_EQ(round % 6, 2) << "round " << round << ": a record the image does not hold";
            ASSERT_TRUE(RecordWellFormed(replay.Game));
            VerifyRecord(replay.Game);  // plays to some end, whatever it holds
            next = hit + 1;
        }
        ASSERT_GE(read.Replays.size(), round % 6 == 2 ? games.size() - 1 : intact) << "round " << round;
        // A file that reads clean ends where its last record does.
        const std::size_t cleanEnd = read.Replays.empty() ? kReplayHeaderBytes : ends[read.Replays.size() - 1];
        ASSERT_TRUE(read.Damaged || image.empty() || image.size() == cleanEnd) << "round " << round;
    }
}

// Two copies of the game, each with its own stale table, save one after the
// other under the hold: both rows, both records. A records file damaged
// since costs nothing the program knows and is written whole again; a
// record that does not play back, and one whose row left, are not kept.
TEST(ReplayFile, SavesUnderTheHoldKeepEveryRecordTheTableKeeps) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quillory-replay-save";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string scores = (dir / kScoreFileName).string(), replays = (dir / kReplayFileName).string();
    ASSERT_EQ(ReplayPathBeside(scores), replays);
    StdScoreFileSystem files;
    const std::vector<KeptReplay> games = ScoringGames(100, 4);
    std::vector<KeptReplay> knownA, knownB;
    ScoreTable table;
    auto save = [&](const GameRecord& game, std::vector<KeptReplay>& known) {
        table = {};  // each copy's own, read before the other saved
        const ScoreFileHold hold(files, scores, kScoreHoldWait);
        const int row = SaveResult(hold, table, "copy", game.FinalScore).Row;
        EXPECT_TRUE(SaveReplays(hold, table, row, &game, known).Ok());
        return row;
    };
    save(games[0].Game, knownA);
    save(games[1].Game, knownB);
    const ReplayLoad both = LoadReplayFile(files, replays);
    EXPECT_EQ(both.Read.Replays.size(), 2u);
    for (int row = 0; row < 2; ++row) EXPECT_TRUE(ReplayForRow(both.Read.Replays, table.Rows[row])) << row;

    std::ofstream(replays, std::ios::binary).write("QRPL\1\0\0\0\xFF\xFF\xFF\x7F", 12);
    GameRecord unplayable = games[2].Game;
    unplayable.Seeds.pop_back();
    const int row = save(unplayable, knownB);
    const ReplayLoad again = LoadReplayFile(files, replays);
    EXPECT_FALSE(again.Read.Damaged);
    EXPECT_EQ(again.Read.Replays.size(), 2u);
    EXPECT_FALSE(ReplayForRow(again.Read.Replays, table.Rows[row]));

    ClearScore(table);
    const ScoreFileHold hold(files, scores, kScoreHoldWait);
    ASSERT_TRUE(SaveReplays(hold, table, -1, nullptr, knownB).Ok());
    EXPECT_TRUE(LoadReplayFile(files, replays).Read.Replays.empty());
    fs::remove_all(dir);
}

// Beyond the largest file there can be: the bytes past it are not read.
TEST(ReplayFile, AnOversizedFileGivesTheRecordsBeforeTheBound) {
    const std::string path = (std::filesystem::temp_directory_path() / "quillory-oversized.dat").string();
    const std::vector<KeptReplay> games = ScoringGames(1, 2);
    Bytes image = ReplayImage(games);
    image.resize(kMaxReplayFileBytes + 10, 0x5A);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
    StdScoreFileSystem files;
    const ReplayLoad load = LoadReplayFile(files, path);
    EXPECT_TRUE(load.Read.Damaged);
    EXPECT_EQ(load.Read.Replays.size(), 2u);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace quillory
