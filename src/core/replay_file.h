// "replays.dat": the records of the games in the score table, in a file of
// their own beside "scores.dat", which stays exactly as it always was. A
// record names its row by the row's 28 bytes, so a row whose record is
// missing or does not match simply has nothing to watch.
//
// The image, little-endian throughout:
//   header   8 bytes: "QRPL", then the format version (u32, 1)
//   records  one after another to the end of the file, each
//     u32    body length N
//     N      body:  28 bytes  the table row, as "scores.dat" holds it
//                   i32       starting level, 1..9
//                   u32       ticks T
//                   u32       seeds S
//                   u32       level changes C
//                   S x u32   the seeds, in order
//                   C x 8     (u32 tick, i32 level)
//                   ceil(T/4) the moves, 2 bits a tick (direction - 1),
//                             earliest tick in the low bits
//     u32    CRC-32 (the zip one) of the length and the body
// The game's final score is the row's points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/game_record.h"
#include "core/score_file.h"
#include "core/score_table.h"

namespace quillory {

inline constexpr const char* kReplayFileName = "replays.dat";
constexpr std::uint32_t kReplayFormatVersion = 1;
constexpr std::size_t kReplayHeaderBytes = 8;
constexpr std::size_t kReplayFixedBodyBytes = sizeof(ScoreEntry) + 16;
constexpr std::size_t kMaxReplayBodyBytes = kReplayFixedBodyBytes + 4 * kMaxRecordSeeds +
                                            8 * kMaxRecordLevelChanges +
                                            MoveBytes(kMaxRecordTicks);
// A file never holds more than one record for each row.
constexpr std::size_t kMaxReplayFileBytes =
    kReplayHeaderBytes + kScoreRows * (8 + kMaxReplayBodyBytes);

// The records file that goes with the score file at `scorePath`: the same
// folder, its own name.
std::string ReplayPathBeside(const std::string& scorePath);

struct KeptReplay {
    ScoreEntry Row;  // the row the game made, all 28 bytes
    GameRecord Game;
};

bool SameRow(const ScoreEntry& a, const ScoreEntry& b);

std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// The whole file's bytes. A record that is not well formed is left out (it
// could not be read back).
std::vector<std::uint8_t> ReplayImage(const std::vector<KeptReplay>& replays);

struct ReplayRead {
    std::vector<KeptReplay> Replays;  // those the file vouches for, in its order
    bool Damaged = false;             // something in it was not: the next save rewrites it
};

// Never throws on what a file holds: a foreign header gives nothing, a record
// whose checksum or contents fail is skipped, a length that cannot be
// trusted ends the reading there. Every length is checked against the bounds
// and the bytes left before anything is allocated for it.
ReplayRead ReadReplayImage(std::span<const std::uint8_t> bytes);

// The records worth keeping with `table`: for each row, in table order, the
// first of `candidates` made for that very row (same 28 bytes, final score
// the row's points) and not given to a row before. Rows without one have
// none; records whose row left the table are dropped.
std::vector<KeptReplay> ReplaysToKeep(const ScoreTable& table,
                                      const std::vector<KeptReplay>& candidates);

// The record to watch for `row`, or null.
const KeptReplay* ReplayForRow(const std::vector<KeptReplay>& replays, const ScoreEntry& row);

struct ReplayLoad {
    ReplayRead Read;
    IoStatus Status;  // a failure to read at all; no file is no failure
};

// Reads the records file; at most one byte past the largest file there can
// be, so an oversized file is cut, and is Damaged.
ReplayLoad LoadReplayFile(ScoreFileSystem& files, const std::string& path);

// Writes the records whole, as the score file is written: into a temporary
// file first, which then replaces `path` in one step.
IoStatus SaveReplayFile(ScoreFileSystem& files, const std::string& path,
                        const std::vector<KeptReplay>& replays);

// After SaveResult has written the table under `hold` and entered a result
// into `row` (-1: none): the records file beside it rewritten whole with the
// records `table` keeps. They are chosen from, in this order, the finished
// game's record (only if it plays back to the row's points), the records
// file as it is now (another copy of the game may have written it since) and
// `known`, the records this program already has; so a damaged or unreadable
// file loses nothing the program knows. `known` becomes what was kept. A
// failure here never concerns the result, which is already saved.
IoStatus SaveReplays(const ScoreFileHold& hold, const ScoreTable& table, int row,
                     const GameRecord* finished, std::vector<KeptReplay>& known);

}  // namespace quillory
