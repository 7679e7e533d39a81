#include <gtest/gtest.h>

#include <cstring>

#include "core/score_table.h"

namespace quillory {
namespace {

ScoreTable TableWithPoints(std::initializer_list<std::int32_t> points) {
    ScoreTable table{};
    int row = 0;
    for (std::int32_t p : points) {
        SetName(table.Rows[row], "row" + std::to_string(row + 1));
        table.Rows[row++].Points = p;
    }
    return table;
}

TEST(ScoreTableLayout, RowsSitAt28ByteStridesLittleEndian) {
    ScoreTable table{};
    SetName(table.Rows[1], "Ann");
    table.Rows[1].Points = 0x01020304;
    unsigned char bytes[280];
    std::memcpy(bytes, &table, sizeof bytes);
    EXPECT_EQ(bytes[28], 3);
    EXPECT_EQ(std::memcmp(bytes + 29, "Ann", 3), 0);
    EXPECT_EQ(bytes[28 + 24], 0x04);
    EXPECT_EQ(bytes[28 + 27], 0x01);
}

TEST(InsertionRow, FirstOfRowsOneToNineWithStrictlyLowerPoints) {
    ScoreTable empty{};
    EXPECT_EQ(FindInsertionRow(empty, 0), -1) << "0 is not lower than 0";
    EXPECT_EQ(FindInsertionRow(empty, 5), 0);

    const ScoreTable table = TableWithPoints({100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    EXPECT_EQ(FindInsertionRow(table, 80), 3) << "equal results keep their place";
    EXPECT_EQ(FindInsertionRow(table, 101), 0);
    EXPECT_EQ(FindInsertionRow(table, 21), 8);
    EXPECT_EQ(FindInsertionRow(table, 20), -1) << "row 10 is never taken";
    EXPECT_EQ(FindInsertionRow(table, 15), -1);

    const ScoreTable nineAt100 = TableWithPoints({100, 100, 100, 100, 100, 100, 100, 100, 100, 0});
    EXPECT_EQ(FindInsertionRow(nineAt100, 50), -1);
    const ScoreTable negative = TableWithPoints({-5, -5, -5, -5, -5, -5, -5, -5, -5, -5});
    EXPECT_EQ(FindInsertionRow(negative, 0), 0);
}

TEST(EnterResult, MovesTheRowsBelowDownWholeAndDropsTheLast) {
    ScoreTable table = TableWithPoints({100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    table.Rows[5].Padding[1] = 0xAB;  // bytes without meaning travel with their row
    table.Rows[5].NameChars[15] = 'z';
    EnterResult(table, 3, "new", 80);

    EXPECT_EQ(NameOf(table.Rows[2]), "row3");
    EXPECT_EQ(table.Rows[2].Points, 80);
    EXPECT_EQ(NameOf(table.Rows[3]), "new");
    EXPECT_EQ(table.Rows[3].Points, 80);
    EXPECT_EQ(NameOf(table.Rows[4]), "row4");
    EXPECT_EQ(table.Rows[6].Padding[1], 0xAB);
    EXPECT_EQ(table.Rows[6].NameChars[15], 'z');
    EXPECT_EQ(NameOf(table.Rows[9]), "row9");
    EXPECT_EQ(table.Rows[9].Points, 20);
}

TEST(EntryName, TypedNamePlusLevelCutTo20NeverInATwoByteCharacter) {
    EXPECT_EQ(MakeEntryName("ABCDEFGHIJKLMNOP", 7), "ABCDEFGHIJKLMNOP (le");  // 16 characters
    EXPECT_EQ(MakeEntryName("ABCDEFGHIJ", 7), "ABCDEFGHIJ (level 7)");        // exactly 20
    EXPECT_EQ(MakeEntryName("ABCDEFGHIJKLMNOPQRST", 7), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(MakeEntryName(std::string(255, 'x'), 9), std::string(20, 'x'));
    EXPECT_EQ(MakeEntryName("", 3), " (level 3)") << "after Cancel the suffix stands alone";
    // Never a two-byte character cut in half: 19 single bytes and a two-byte
    // character that would straddle the cut.
    const auto IsTestLeadByte = +[](unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; };
    std::string name(19, 'a');
    name += "\x82\xA0";
    EXPECT_EQ(MakeEntryName(name, 7, IsTestLeadByte), std::string(19, 'a'));
    std::string even(18, 'a');
    even += "\x82\xA0";
    EXPECT_EQ(MakeEntryName(even, 7, IsTestLeadByte), even);
    EXPECT_EQ(CutToBytes("\x82\xA0\x82\xA0", 3, IsTestLeadByte), "\x82\xA0");
}

TEST(Names, StoredLengthAbove20IsTakenAs20CharactersPastTheNameKeptAlsoWhenCleared) {
    ScoreEntry row{};
    std::memset(row.NameChars, 'q', sizeof row.NameChars);
    row.NameLength = 255;
    row.Padding[0] = 'X';
    EXPECT_EQ(NameOf(row), std::string(20, 'q'));

    SetName(row, "Bo");
    EXPECT_EQ(NameOf(row), "Bo");
    EXPECT_EQ(row.NameChars[2], 'q');
    SetName(row, std::string(30, 'w'));
    EXPECT_EQ(row.NameLength, 20);
    EXPECT_EQ(row.Padding[0], 'X');
    // Clearing the table empties lengths and points only.
    ScoreTable table = TableWithPoints({9, 8, 7, 6, 5, 4, 3, 2, 1, -1});
    table.Rows[0].Padding[2] = 0x77;
    ClearScore(table);
    for (const ScoreEntry& row : table.Rows) {
        EXPECT_EQ(row.NameLength, 0);
        EXPECT_EQ(row.Points, 0);
    }
    EXPECT_EQ(table.Rows[0].NameChars[0], 'r') << "characters past the length stay";
    EXPECT_EQ(table.Rows[0].Padding[2], 0x77);
}

TEST(ScoreLines, EveryScoreStaysBesideItsName) {
    ScoreTable table{};
    SetName(table.Rows[0], "first");
    table.Rows[0].Points = 5;
    table.Rows[1].Points = -3;  // an unsorted file: a non-positive row above a positive one
    SetName(table.Rows[1], "broken");
    SetName(table.Rows[2], "third");
    table.Rows[2].Points = 1234567;
    const ScoreLines lines = MakeScoreLines(table);
    EXPECT_EQ(lines.Names[0], "first");
    EXPECT_EQ(lines.Scores[0], "5");
    EXPECT_EQ(lines.Names[1], "broken");
    EXPECT_EQ(lines.Scores[1], "");
    EXPECT_EQ(lines.Scores[2], "1234567") << "no separators";
    EXPECT_EQ(lines.Names[9], "");
    EXPECT_EQ(lines.Scores[9], "");
}

}  // namespace
}  // namespace quillory
