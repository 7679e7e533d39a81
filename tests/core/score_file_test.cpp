#include <gtest/gtest.h>

#include <cstdio>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/score_file.h"
#include "std_score_files.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

TEST(IoErrorMessage, NamesTheFailures) {
    EXPECT_EQ(IoErrorMessage(2), "File not found");
    EXPECT_EQ(IoErrorMessage(3), "Invalid filename");
    EXPECT_EQ(IoErrorMessage(4), "Too many open files");
    EXPECT_EQ(IoErrorMessage(5), "File access denied");
    EXPECT_EQ(IoErrorMessage(kIoReadBeyondEnd), "Read beyond end of file");
    EXPECT_EQ(IoErrorMessage(kIoDiskFull), "Disk full");
    EXPECT_EQ(IoErrorMessage(32), "I/O error 32");
}

// Files in memory; the read can be made to fail and the hold kept busy.
class FakeFiles : public ScoreFileSystem {
public:
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                   std::size_t& bytesRead) override {
        bytesRead = 0;
        if (readFails) return readFails;
        const Bytes& data = files.at(path);
        bytesRead = std::min(size, data.size());
        std::memcpy(buffer, data.data(), bytesRead);
        return kIoOk;
    }
    int WriteWhole(const std::string& path, const void* data, std::size_t size,
                   std::size_t& bytesWritten) override {
        bytesWritten = std::min(size, writeLimit);  // a disk that fills says nothing
        auto bytes = static_cast<const unsigned char*>(data);
        files[path] = Bytes(bytes, bytes + bytesWritten);
        return kIoOk;
    }
    int Replace(const std::string& from, const std::string& to) override {
        files[to] = files.at(from);
        files.erase(from);
        return kIoOk;
    }
    int Remove(const std::string& path) override {
        files.erase(path);
        return kIoOk;
    }
    // Another program has the hold for the first `busyTries` tries.
    int TryHold(const std::string&) override {
        ++holdTries;
        if (busyTries-- > 0) return kIoSharingViolation;
        held = true;
        return kIoOk;
    }
    void Release(const std::string&) override { held = false; }

    std::map<std::string, Bytes> files;
    int readFails = 0;
    int busyTries = 0, holdTries = 0;
    bool held = false;
    std::size_t writeLimit = SIZE_MAX;
};

ScoreTable SampleTable() {
    ScoreTable table{};
    for (int row = 0; row < kScoreRows; ++row) {
        SetName(table.Rows[row], "player" + std::to_string(row));
        table.Rows[row].Points = 1000 - 100 * row;
        table.Rows[row].Padding[0] = static_cast<std::uint8_t>(0xC0 + row);
    }
    return table;
}

Bytes ImageOf(const ScoreTable& table) {
    Bytes bytes(sizeof table);
    std::memcpy(bytes.data(), &table, sizeof table);
    return bytes;
}

// Another copy of the game saved after this one read the file: the result
// goes where the file's rows put it now, or nowhere.
TEST(ScoreFileWithFakes, SaveResultEntersIntoTheFileAsItIsNow) {
    FakeFiles files;
    files.files[kScoreFileName] = ImageOf(SampleTable());  // 1000, 900, ... 100
    files.busyTries = 2;  // the other copy is finishing its save
    ScoreTable stale{};
    SaveResultOutcome saved =
        SaveResult(ScoreFileHold(files, kScoreFileName, kScoreHoldWait), stale, "late", 450);
    EXPECT_TRUE(saved.Status.Ok());
    EXPECT_EQ(saved.Row, 6) << "below 500, above 400";
    EXPECT_EQ(files.holdTries, 3);
    EXPECT_FALSE(files.held) << "released";
    EXPECT_EQ(files.files.at(kScoreFileName), ImageOf(stale)) << "the table is the file";
    EXPECT_EQ(NameOf(stale.Rows[6]), "late");
    EXPECT_EQ(stale.Rows[7].Points, 400);
    EXPECT_EQ(stale.Rows[9].Points, 200) << "100 dropped";

    const Bytes before = files.files.at(kScoreFileName);
    ScoreTable empty{};
    saved = SaveResult(ScoreFileHold(files, kScoreFileName, {}), empty, "low", 150);
    EXPECT_TRUE(saved.Status.Ok());
    EXPECT_EQ(saved.Row, -1) << "rows 1 to 9 all above 150 now";
    EXPECT_EQ(files.files.at(kScoreFileName), before) << "nothing written";
    EXPECT_EQ(ImageOf(empty), before) << "the table is the file";

    files.writeLimit = 100;
    EXPECT_EQ(SaveScoreFile(files, kScoreFileName, stale).Message(), "Disk full");
    EXPECT_EQ(files.files.at(kScoreFileName), before) << "the old file is untouched";
    EXPECT_EQ(files.files.count(TemporaryScorePath(kScoreFileName)), 0u) << "no leftovers";
}

TEST(ScoreFileWithFakes, FailedReadLeavesTheTableAsItWas) {
    FakeFiles files;
    files.files[kScoreFileName] = Bytes(280, 0x11);
    files.readFails = kIoAccessDenied;
    ScoreTable table = SampleTable();
    const LoadResult result = LoadScoreFile(files, kScoreFileName, table);
    EXPECT_EQ(result.Outcome, LoadOutcome::Failed);
    EXPECT_EQ(result.Status.Message(), "File access denied");
    EXPECT_EQ(ImageOf(table), ImageOf(SampleTable()));
}

// Real files in a fresh directory of their own.
class ScoreFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("quillory-") + info->name());
        path = (dir / kScoreFileName).string();
        RemoveDir();
        fs::create_directories(dir);
    }
    void TearDown() override { RemoveDir(); }

    // A read-only file left behind cannot be deleted on Windows until it is writable again.
    void RemoveDir() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }
    void WriteBytes(const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Bytes ReadBytes() {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    StdScoreFileSystem files;
    fs::path dir;
    std::string path;
};

TEST_F(ScoreFileOnDisk, MissingFileClearsTheTableAndWritesNothing) {
    ScoreTable table = SampleTable();
    const LoadResult result = LoadScoreFile(files, path, table);
    EXPECT_EQ(result.Outcome, LoadOutcome::NoFile);
    EXPECT_TRUE(result.Status.Ok());
    for (const ScoreEntry& row : table.Rows) EXPECT_EQ(row.Points, 0);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ScoreFileOnDisk, RoundTripIsByteExactIncludingBytesWithoutMeaning) {
    Bytes image(280);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<unsigned char>(i * 7 + 3);
    WriteBytes(image);
    ScoreTable table{};
    ASSERT_EQ(LoadScoreFile(files, path, table).Outcome, LoadOutcome::Loaded);
    EXPECT_EQ(ImageOf(table), image);
    ASSERT_TRUE(SaveScoreFile(files, path, table).Ok());
    EXPECT_EQ(ReadBytes(), image);
    EXPECT_FALSE(fs::exists(TemporaryScorePath(path)));
}

TEST_F(ScoreFileOnDisk, LongerFileGivesItsFirst280BytesAndTheSaveCutsIt) {
    Bytes image = ImageOf(SampleTable());
    Bytes longer = image;
    longer.resize(300, 0xEE);
    WriteBytes(longer);
    ScoreTable table{};
    ASSERT_EQ(LoadScoreFile(files, path, table).Outcome, LoadOutcome::Loaded);
    EXPECT_EQ(ImageOf(table), image);
    ASSERT_TRUE(SaveScoreFile(files, path, table).Ok());
    EXPECT_EQ(ReadBytes().size(), 280u);
}

TEST_F(ScoreFileOnDisk, ShortFileIsDamagedAndKeepsTheRowsItHolds) {
    Bytes image = ImageOf(SampleTable());
    image.pop_back();  // 279 bytes
    WriteBytes(image);
    ScoreTable table{};
    const LoadResult result = LoadScoreFile(files, path, table);
    EXPECT_EQ(result.Outcome, LoadOutcome::Damaged);
    EXPECT_EQ(result.Status.Message(), "Read beyond end of file");
    EXPECT_EQ(ImageOf(table), ImageOf(SampleTable())) << "row 10's last byte is 0";
}

}  // namespace
}  // namespace quillory
