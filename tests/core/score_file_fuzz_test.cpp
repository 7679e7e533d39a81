// Random and mutated score files, a million of them (natively), through the load, the
// dialog's lines, a result's entry and the save. The file is the one input
// the program takes from outside, and nothing in it is checked: every byte
// may be anything. The sanitizers watch for reads outside the table, which
// lies alone at the end of its own heap block for that reason; the checks
// below watch for a name read from the wrong bytes and for a save that
// writes back anything but what was loaded. Fixed seeds: a failure repeats.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/score_file.h"
#include "std_score_files.h"

namespace quillory {
namespace {

using Bytes = std::vector<unsigned char>;

// The million is the native run's, under the sanitizers; the Windows builds
// run the core again for its layout on their targets (the file's bytes on
// i686), where fewer images find what a layout fault would break.
#ifdef QUILLORY_FUZZ_IMAGES
constexpr int kImages = QUILLORY_FUZZ_IMAGES;
#else
constexpr int kImages = 1'000'000;
#endif
constexpr std::size_t kRowBytes = sizeof(ScoreEntry);
constexpr std::size_t kPointsOffset = offsetof(ScoreEntry, Points);

// One file and the temporary one a save writes first, in memory: no map, no
// allocation once the vectors have grown, so a million rounds stay quick.
class TwoFiles final : public ScoreFileSystem {
public:
    Bytes file;
    bool fileExists = false;
    Bytes temporary;
    bool temporaryExists = false;

    bool Exists(const std::string& path) override { return IsFile(path) && fileExists; }
    int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                   std::size_t& bytesRead) override {
        bytesRead = 0;
        if (!IsFile(path) || !fileExists) return kIoFileNotFound;
        bytesRead = std::min(size, file.size());
        std::memcpy(buffer, file.data(), bytesRead);
        return kIoOk;
    }
    int WriteWhole(const std::string& path, const void* data, std::size_t size,
                   std::size_t& bytesWritten) override {
        if (path != TemporaryScorePath(kScoreFileName)) return kIoAccessDenied;
        auto bytes = static_cast<const unsigned char*>(data);
        temporary.assign(bytes, bytes + size);
        temporaryExists = true;
        bytesWritten = size;
        return kIoOk;
    }
    int Replace(const std::string& from, const std::string& to) override {
        if (from != TemporaryScorePath(kScoreFileName) || !IsFile(to) || !temporaryExists)
            return kIoFileNotFound;
        file.swap(temporary);
        fileExists = true;
        temporaryExists = false;
        return kIoOk;
    }
    int Remove(const std::string&) override { return kIoOk; }
    int TryHold(const std::string&) override { return kIoOk; }
    void Release(const std::string&) override {}

private:
    static bool IsFile(const std::string& path) { return path == kScoreFileName; }
};

std::int32_t PointsAt(const Bytes& image, int row) {
    std::int32_t points;
    std::memcpy(&points, image.data() + row * kRowBytes + kPointsOffset, sizeof points);
    return points;
}

void SetPointsAt(Bytes& image, int row, std::int32_t points) {
    std::memcpy(image.data() + row * kRowBytes + kPointsOffset, &points, sizeof points);
}

// Makes the next image: random bytes, then some of what real files and
// broken ones hold: lengths at and past the limit, negative, equal, extreme
// and unsorted points, a sorted table, a file cut short or too long.
class ImageMaker {
public:
    explicit ImageMaker(std::uint64_t seed) : state_(seed) {}

    Bytes Next() {
        Bytes image;
        Next(image);
        return image;
    }

    // The same into a buffer that is used again (no allocation per image).
    void Next(Bytes& image) {
        image.resize(kScoreTableBytes);
        // Eight random bytes per draw: the bytes are the bulk of the work.
        for (std::size_t at = 0; at < image.size(); at += sizeof(std::uint64_t)) {
            const std::uint64_t bits = random_();
            std::memcpy(image.data() + at, &bits, std::min(sizeof bits, image.size() - at));
        }
        const unsigned shape = Below(8);
        for (int row = 0; row < kScoreRows; ++row) {
            unsigned char& length = image[row * kRowBytes];
            switch (Below(6)) {
                case 0: length = static_cast<unsigned char>(Below(kMaxNameLength + 1)); break;
                case 1: length = kMaxNameLength; break;
                case 2: length = kMaxNameLength + 1; break;
                case 3: length = 255; break;
                default: break;  // left as random: anything up to 255
            }
            switch (Below(7)) {
                case 0: SetPointsAt(image, row, -static_cast<std::int32_t>(Below(1000)) - 1); break;
                case 1: SetPointsAt(image, row, std::numeric_limits<std::int32_t>::min()); break;
                case 2: SetPointsAt(image, row, std::numeric_limits<std::int32_t>::max()); break;
                case 3: SetPointsAt(image, row, 0); break;
                case 4: SetPointsAt(image, row, row > 0 ? PointsAt(image, row - 1) : 1); break;
                default: break;
            }
        }
        if (shape == 0) {
            // A table as the game writes it: descending points; the rest random.
            std::int32_t points = static_cast<std::int32_t>(Below(100000));
            for (int row = 0; row < kScoreRows; ++row) {
                SetPointsAt(image, row, points);
                points -= static_cast<std::int32_t>(Below(3) * Below(50));
            }
        }
        if (shape == 1) image.resize(Below(kScoreTableBytes));                    // cut short
        if (shape == 2) image.resize(kScoreTableBytes + 1 + Below(64), 0xA5);      // too long
    }

    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }
    std::int32_t AnyPoints() { return static_cast<std::int32_t>(random_()); }

private:
    // splitmix64: cheap, and good enough to spread bits over a file.
    std::uint64_t random_() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t state_;
};

// What a row's lines must be, from the bytes themselves: the name is the
// row's first min(length, 20) characters, never a byte of padding or points.
void ExpectLinesShowTheRows(const ScoreLines& lines, const Bytes& image, int round) {
    for (int row = 0; row < kScoreRows; ++row) {
        const unsigned char* bytes = image.data() + row * kRowBytes;
        const std::size_t length = std::min<std::size_t>(bytes[0], kMaxNameLength);
        const std::string_view expected(reinterpret_cast<const char*>(bytes) + 1, length);
        if (lines.Names[row] != expected) {
            ADD_FAILURE() << "round " << round << ", row " << row << ": name of "
                          << lines.Names[row].size() << " bytes for a length byte of "
                          << int(bytes[0]);
            return;
        }
        const std::int32_t points = PointsAt(image, row);
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, points).ptr;
        const std::string_view score = points > 0 ? std::string_view(digits, end - digits) : "";
        if (lines.Scores[row] != score) {
            ADD_FAILURE() << "round " << round << ", row " << row << ": score line \""
                          << lines.Scores[row] << "\" for points " << points;
            return;
        }
    }
}

TEST(ScoreFileFuzz, RandomImagesLoadListAndSaveBackByteForByte) {
    ImageMaker maker(20261208u);
    TwoFiles files;
    // The table alone in its heap block: a read past its end is caught.
    auto table = std::make_unique<ScoreTable>();
    int loaded = 0, shortFiles = 0, failures = 0;
    Bytes loadedBytes;
    for (int round = 0; round < kImages && failures < 5; ++round) {
        maker.Next(files.file);
        files.fileExists = true;
        // What was in memory before must not decide what a load gives.
        std::memset(table.get(), static_cast<int>(round & 0xFF), sizeof *table);

        const LoadResult result = LoadScoreFile(files, kScoreFileName, *table);
        if (files.file.size() < kScoreTableBytes) {
            ++shortFiles;
            Bytes salvaged = files.file;
            salvaged.resize(kScoreTableBytes);  // the bytes read, the rest zero
            if (result.Outcome != LoadOutcome::Damaged || result.Status.Code != kIoReadBeyondEnd ||
                std::memcmp(table.get(), salvaged.data(), kScoreTableBytes) != 0) {
                ADD_FAILURE() << "round " << round << ": a file of " << files.file.size()
                              << " bytes loaded, or not as far as it goes";
                ++failures;
            }
            continue;
        }
        ++loaded;
        if (result.Outcome != LoadOutcome::Loaded ||
            std::memcmp(table.get(), files.file.data(), kScoreTableBytes) != 0) {
            ADD_FAILURE() << "round " << round << ": the table is not the file's first 280 bytes";
            ++failures;
            continue;
        }
        loadedBytes.assign(files.file.begin(), files.file.begin() + kScoreTableBytes);
        ExpectLinesShowTheRows(MakeScoreLines(*table), loadedBytes, round);

        const IoStatus saved = SaveScoreFile(files, kScoreFileName, *table);
        if (!saved.Ok() || files.file != loadedBytes) {
            ADD_FAILURE() << "round " << round << ": the save did not write back the "
                          << "bytes loaded (" << files.file.size() << " bytes, code "
                          << saved.Code << ")";
            ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
    // The maker's shapes all came up: loads, short files, both in numbers.
    EXPECT_GT(loaded, kImages / 2);
    EXPECT_GT(shortFiles, kImages / 20);
}

// A result entered into a loaded table of anything: the row it takes is
// the first of rows 1 to 9 strictly below it, the rows above keep every
// byte, the rows below are the old ones moved down whole, and the lines
// still come from the right bytes.
TEST(ScoreFileFuzz, ResultsEnteredIntoRandomTablesMoveRowsWhole) {
    ImageMaker maker(7u);
    auto table = std::make_unique<ScoreTable>();
    const std::string names[] = {"", "Ann", "A name far longer than twenty", "exactly twenty chars"};
    for (int round = 0; round < kImages / 10; ++round) {
        Bytes image = maker.Next();
        image.resize(kScoreTableBytes);
        std::memcpy(table.get(), image.data(), kScoreTableBytes);
        const std::int32_t score =
            maker.Below(4) == 0 ? PointsAt(image, static_cast<int>(maker.Below(kScoreRows)))
                                : maker.AnyPoints();

        int expectedRow = -1;
        for (int row = 0; row < kScoreRows - 1 && expectedRow < 0; ++row)
            if (PointsAt(image, row) < score) expectedRow = row;
        const int row = FindInsertionRow(*table, score);
        ASSERT_EQ(row, expectedRow) << "round " << round << ", score " << score;
        if (row < 0) continue;

        const std::string name = MakeEntryName(names[round % 4], 1 + round % 9);
        ASSERT_LE(name.size(), static_cast<std::size_t>(kMaxNameLength));
        EnterResult(*table, row, name, score);
        const auto* bytes = reinterpret_cast<const unsigned char*>(table.get());
        ASSERT_EQ(std::memcmp(bytes, image.data(), row * kRowBytes), 0) << "round " << round;
        ASSERT_EQ(std::memcmp(bytes + (row + 1) * kRowBytes, image.data() + row * kRowBytes,
                              (kScoreRows - 1 - row) * kRowBytes),
                  0)
            << "round " << round << ": the rows below did not move down whole";
        ASSERT_EQ(std::string(NameOf(table->Rows[row])), name);
        ASSERT_EQ(table->Rows[row].Points, score);

        Bytes entered(bytes, bytes + kScoreTableBytes);
        ExpectLinesShowTheRows(MakeScoreLines(*table), entered, round);
        if (::testing::Test::HasFailure()) return;
    }
}

// The same images through the real files, fewer of them (each is a file
// written, renamed and read): the standard library's reads and writes keep
// every byte too, also of files longer or shorter than a table.
TEST(ScoreFileFuzz, RealFilesKeepEveryByteOfRandomImages) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quillory-score-fuzz";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / kScoreFileName).string();
    StdScoreFileSystem files;
    ImageMaker maker(42u);
    auto table = std::make_unique<ScoreTable>();
    for (int round = 0; round < 100; ++round) {
        const Bytes image = maker.Next();
        {
            std::FILE* out = std::fopen(path.c_str(), "wb");
            ASSERT_NE(out, nullptr);
            ASSERT_EQ(std::fwrite(image.data(), 1, image.size(), out), image.size());
            std::fclose(out);
        }
        const LoadResult result = LoadScoreFile(files, path, *table);
        if (image.size() < kScoreTableBytes) {
            ASSERT_EQ(result.Status.Code, kIoReadBeyondEnd) << "round " << round;
            continue;
        }
        ASSERT_EQ(result.Outcome, LoadOutcome::Loaded) << "round " << round;
        ASSERT_TRUE(SaveScoreFile(files, path, *table).Ok()) << "round " << round;
        std::FILE* in = std::fopen(path.c_str(), "rb");
        ASSERT_NE(in, nullptr);
        Bytes back(kScoreTableBytes + 1);
        const std::size_t read = std::fread(back.data(), 1, back.size(), in);
        std::fclose(in);
        back.resize(read);
        ASSERT_EQ(back, Bytes(image.begin(), image.begin() + kScoreTableBytes))
            << "round " << round;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace quillory
