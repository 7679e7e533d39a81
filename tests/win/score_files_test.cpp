// The score file on Windows' own files: what a player with an odd working
// directory meets.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "scores/scores_test_support.h"
#include "scores/win32_score_files.h"

namespace quillory::testing {
namespace {

class Win32ScoreFiles : public ::testing::Test {
protected:
    static Bytes Image(unsigned char seed) {
        Bytes bytes(280);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(i * 13 + seed);
        return bytes;
    }

    Win32ScoreFileSystem files;
    ScratchDirectory dir;
    const std::string path = dir.File("scores.dat");
};

TEST_F(Win32ScoreFiles, SaveReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    WriteFileBytes(path, Bytes(300, 0xEE));
    ScoreTable table;
    std::memcpy(&table, Image(1).data(), sizeof table);
    ASSERT_TRUE(SaveScoreFile(files, path, table).Ok());
    EXPECT_EQ(ReadFileBytes(path), Image(1));
    EXPECT_FALSE(files.Exists(TemporaryScorePath(path)));

    ScoreTable loaded{};
    EXPECT_EQ(LoadScoreFile(files, path, loaded).Outcome, LoadOutcome::Loaded);
    EXPECT_EQ(ImageOf(loaded), Image(1));
}

TEST_F(Win32ScoreFiles, MissingDirectoryAndLockedFileGiveTheirMessages) {
    ScoreTable table{};
    EXPECT_EQ(SaveScoreFile(files, dir.File("missing\\scores.dat"), table).Message(),
              "Invalid filename");

    WriteFileBytes(path, Image(5));
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadScoreFile(files, path, table).Status.Message(), "I/O error 32");
    EXPECT_FALSE(SaveScoreFile(files, path, table).Ok());
    CloseHandle(locked);
    EXPECT_EQ(ReadFileBytes(path), Image(5));
}

}  // namespace
}  // namespace quillory::testing
