#include "core/score_table.h"

#include <algorithm>
#include <cstring>

namespace quillory {

std::string_view NameOf(const ScoreEntry& row) {
    const std::size_t length = std::min<std::size_t>(row.NameLength, kMaxNameLength);
    return {row.NameChars, length};
}

void SetName(ScoreEntry& row, std::string_view name) {
    const std::size_t length = std::min<std::size_t>(name.size(), kMaxNameLength);
    std::memcpy(row.NameChars, name.data(), length);
    row.NameLength = static_cast<std::uint8_t>(length);
}

void ClearScore(ScoreTable& table) {
    for (ScoreEntry& row : table.Rows) {
        row.NameLength = 0;
        row.Points = 0;
    }
}

int FindInsertionRow(const ScoreTable& table, std::int32_t score) {
    for (int row = 0; row < kScoreRows - 1; ++row)
        if (table.Rows[row].Points < score) return row;
    return -1;
}

void ShiftRowsDown(ScoreTable& table, int row) {
    for (int j = kScoreRows - 2; j >= row; --j) table.Rows[j + 1] = table.Rows[j];
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes,
                            LeadBytePredicate isLeadByte) {
    if (text.size() <= maxBytes) return text;
    if (!isLeadByte) return text.substr(0, maxBytes);
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t width =
            isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return text.substr(0, end);
}

std::string MakeEntryName(std::string_view typedName, int level, LeadBytePredicate isLeadByte) {
    std::string full(typedName);
    full += " (level ";
    full += std::to_string(level);
    full += ')';
    return std::string(CutToBytes(full, kMaxNameLength, isLeadByte));
}

void EnterResult(ScoreTable& table, int row, std::string_view name, std::int32_t score) {
    ShiftRowsDown(table, row);
    SetName(table.Rows[row], name);
    table.Rows[row].Points = score;
}

}  // namespace quillory

namespace quillory {

ScoreLines MakeScoreLines(const ScoreTable& table) {
    ScoreLines lines;
    for (int row = 0; row < kScoreRows; ++row) {
        lines.Names[row] = std::string(NameOf(table.Rows[row]));
        if (table.Rows[row].Points > 0) lines.Scores[row] = std::to_string(table.Rows[row].Points);
    }
    return lines;
}

}  // namespace quillory
