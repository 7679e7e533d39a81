// The score file on Windows' own files: what a player with an odd working
// directory meets.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "scores/win32_score_files.h"

namespace quillory {
namespace {

using Bytes = std::vector<unsigned char>;

class Win32ScoreFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "quillory-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree();
        CreateDirectoryA(dir.c_str(), nullptr);
        path = dir + "\\scores.dat";
    }
    void TearDown() override { RemoveTree(); }

    void RemoveTree() {
        for (const std::string& name : {path, TemporaryScorePath(path)}) {
            if (name.empty()) continue;
            SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(name.c_str());
            RemoveDirectoryA(name.c_str());
        }
        RemoveDirectoryA(dir.c_str());
    }
    void WriteBytes(const Bytes& bytes) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    Bytes ReadBytes() {
        Bytes bytes(1000);
        std::size_t got = 0;
        EXPECT_EQ(files.ReadPrefix(path, bytes.data(), bytes.size(), got), kIoOk);
        bytes.resize(got);
        return bytes;
    }
    static Bytes Image(unsigned char seed) {
        Bytes bytes(280);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(i * 13 + seed);
        return bytes;
    }
    static Bytes ImageOf(const ScoreTable& table) {
        Bytes bytes(sizeof table);
        std::memcpy(bytes.data(), &table, sizeof table);
        return bytes;
    }

    Win32ScoreFileSystem files;
    std::string dir, path;
};

TEST_F(Win32ScoreFiles, SaveReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    WriteBytes(Bytes(300, 0xEE));
    ScoreTable table;
    std::memcpy(&table, Image(1).data(), sizeof table);
    ASSERT_TRUE(SaveScoreFile(files, path, table).Ok());
    EXPECT_EQ(ReadBytes(), Image(1));
    EXPECT_FALSE(files.Exists(TemporaryScorePath(path)));

    ScoreTable loaded{};
    EXPECT_EQ(LoadScoreFile(files, path, loaded).Outcome, LoadOutcome::Loaded);
    EXPECT_EQ(ImageOf(loaded), Image(1));
}

TEST_F(Win32ScoreFiles, MissingDirectoryAndLockedFileGiveTheirMessages) {
    ScoreTable table{};
    EXPECT_EQ(SaveScoreFile(files, dir + "\\missing\\scores.dat", table).Message(),
              "Invalid filename");

    WriteBytes(Image(5));
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadScoreFile(files, path, table).Status.Message(), "I/O error 32");
    EXPECT_FALSE(SaveScoreFile(files, path, table).Ok());
    CloseHandle(locked);
    EXPECT_EQ(ReadBytes(), Image(5));
}

}  // namespace
}  // namespace quillory
