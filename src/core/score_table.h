// The ten best results, kept as the exact 280-byte image that "scores.dat"
// holds: ten rows of 28 bytes, little-endian. Bytes that carry no meaning
// (name characters past the length, padding) are kept as they were read.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillory {

static_assert(std::endian::native == std::endian::little,
              "the score file is little-endian and is mapped onto memory as it stands");

constexpr int kScoreRows = 10;
constexpr int kMaxNameLength = 20;

struct ScoreEntry {
    std::uint8_t NameLength;        // 0..20 as written by us; a file may hold more
    char NameChars[kMaxNameLength]; // ANSI characters; the first NameLength count
    std::uint8_t Padding[3];
    std::int32_t Points;
};
static_assert(sizeof(ScoreEntry) == 28);
static_assert(offsetof(ScoreEntry, NameChars) == 1);
static_assert(offsetof(ScoreEntry, Points) == 24);

struct ScoreTable {
    ScoreEntry Rows[kScoreRows];  // Rows[0] is the best result
};
static_assert(sizeof(ScoreTable) == 280);

constexpr std::size_t kScoreTableBytes = sizeof(ScoreTable);

// The row's name; a stored length above 20 is taken as 20, so nothing
// outside the row is ever read as part of a name.
std::string_view NameOf(const ScoreEntry& row);

// Stores at most 20 characters of name; the characters past them keep their bytes.
void SetName(ScoreEntry& row, std::string_view name);

// Empties every row (name length and points only; nothing else is touched).
void ClearScore(ScoreTable& table);

// The 0-based row a result of `score` earns, or -1 for none: the first of the
// rows 1..9 whose points are strictly lower. Equal results keep their place, so
// a new one goes below them; row 10 is never taken by a new result.
int FindInsertionRow(const ScoreTable& table, std::int32_t score);

// Moves the rows from `row` down by one, whole (all 28 bytes); the last row is lost.
void ShiftRowsDown(ScoreTable& table, int row);

// The name stored with a result: typed name + " (level N)", cut to 20 bytes.
// `isLeadByte` tells the first byte of a two-byte character in the system's
// code page, so that the cut never splits one; without it bytes are cut as they are.
using LeadBytePredicate = bool (*)(unsigned char);
std::string MakeEntryName(std::string_view typedName, int level,
                          LeadBytePredicate isLeadByte = nullptr);

// The whole entry of a result: shift the rows below `row`, then store name and points.
void EnterResult(ScoreTable& table, int row, std::string_view name, std::int32_t score);

// The cut of `text` to at most `maxBytes` that never ends in the middle of a
// two-byte character.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes,
                            LeadBytePredicate isLeadByte);

}  // namespace quillory

namespace quillory {

// What the top scores dialog lists: one name line and one score line per row.
// A row without positive points shows an empty score line, so every score
// stays beside its own name even in an unsorted table read from a file.
struct ScoreLines {
    std::string Names[kScoreRows];
    std::string Scores[kScoreRows];
};
ScoreLines MakeScoreLines(const ScoreTable& table);

}  // namespace quillory
