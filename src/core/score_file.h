// "scores.dat": the score table stored whole as one 280-byte record, and the
// failure messages the player sees when reading or writing it goes wrong.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "core/score_table.h"

namespace quillory {

inline constexpr const char* kScoreFileName = "scores.dat";

// Failure codes are Windows system error numbers (2 file not found, 3 path not
// found, 4 too many open files, 5 access denied, ...) plus two of our own.
constexpr int kIoOk = 0;
constexpr int kIoFileNotFound = 2;
constexpr int kIoPathNotFound = 3;
constexpr int kIoTooManyOpenFiles = 4;
constexpr int kIoAccessDenied = 5;
constexpr int kIoSharingViolation = 32;  // another program has the file
constexpr int kIoLockViolation = 33;
constexpr int kIoReadBeyondEnd = 100;  // the file is shorter than a table
constexpr int kIoDiskFull = 101;       // fewer bytes written than asked

// "File not found", "File access denied", ..., "I/O error 87".
std::string IoErrorMessage(int code);

struct IoStatus {
    int Code = kIoOk;
    bool Ok() const { return Code == kIoOk; }
    std::string Message() const { return IoErrorMessage(Code); }
};

// The handful of file operations the score file needs. Each returns a code as
// above. The program passes the operating system's own; tests pass fakes.
class ScoreFileSystem {
public:
    virtual ~ScoreFileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Opens the file for reading only (a read-only file loads) and reads at
    // most `size` bytes from its start.
    virtual int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                           std::size_t& bytesRead) = 0;
    // Creates or truncates the file and writes `size` bytes, flushed to disk.
    virtual int WriteWhole(const std::string& path, const void* data, std::size_t size,
                           std::size_t& bytesWritten) = 0;
    // Puts `from` in the place of `to` in one step, replacing it.
    virtual int Replace(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    // Takes this program's exclusive hold on `path` for one save, without
    // waiting: kIoSharingViolation while another program has it. Readers are
    // not kept out; a save replaces the file in one step.
    virtual int TryHold(const std::string& path) = 0;
    virtual void Release(const std::string& path) = 0;
    // Lets time pass before a refused call is tried again.
    virtual void Pause(std::chrono::milliseconds duration);
};

// Damaged: the file is shorter than a table. What it holds stands at the
// front of the table, the rest is zero, and the next save replaces it whole.
enum class LoadOutcome { Loaded, NoFile, Damaged, Failed };

struct LoadResult {
    LoadOutcome Outcome;
    IoStatus Status;
};

// Reads the table from `path`. No file: the table is cleared. A file longer
// than a table gives its first 280 bytes; a shorter one is Damaged, with
// "Read beyond end of file". Any other failure leaves the table as it was.
LoadResult LoadScoreFile(ScoreFileSystem& files, const std::string& path, ScoreTable& table);

// Writes the table whole: into a temporary file beside `path` first, which
// then takes the old file's place in one step. On any failure the old file is
// untouched and the temporary one is gone.
IoStatus SaveScoreFile(ScoreFileSystem& files, const std::string& path, const ScoreTable& table);

// The temporary file a save writes before it replaces `path`.
std::string TemporaryScorePath(const std::string& path);

// What a hold on `path` takes, beside it: the save replaces the file itself by
// renaming, so a lock on the file would not bind a program that opens the new one.
std::string ScoreHoldPath(const std::string& path);

// Long enough for another copy of the game to finish its save, short enough
// that a game whose save is refused does not seem to hang.
inline constexpr std::chrono::milliseconds kScoreHoldWait{1500};

// Asked when another program has kept the hold for a whole wait: true waits
// as long again, false gives up.
using RetryWhenBusy = std::function<bool()>;

// The exclusive hold on the score file for one read-enter-write, so that two
// copies of the game never interleave their saves. Retried while another
// program has it, for at most `wait`, and again for as long as `retry` says.
class ScoreFileHold {
public:
    ScoreFileHold(ScoreFileSystem& files, std::string path, std::chrono::milliseconds wait,
                  const RetryWhenBusy& retry = {});
    ~ScoreFileHold();
    ScoreFileHold(const ScoreFileHold&) = delete;
    ScoreFileHold& operator=(const ScoreFileHold&) = delete;

    bool Held() const { return status_.Ok(); }
    // Not held because another program kept it, not for a failure of its own.
    bool Busy() const {
        return status_.Code == kIoSharingViolation || status_.Code == kIoLockViolation;
    }
    IoStatus Status() const { return status_; }
    ScoreFileSystem& Files() const { return files_; }
    const std::string& Path() const { return path_; }

private:
    void TryFor(std::chrono::milliseconds wait);

    ScoreFileSystem& files_;
    std::string path_;
    IoStatus status_;
};

struct SaveResultOutcome {
    IoStatus Status;  // the failure that ended the save, if any
    int Row = -1;     // the 0-based row the result went into; -1: the rows read left it none
};

// A finished game's result into the file as it is now, which another copy of
// the game may have written since this one read it: under `hold`, the file
// is read again, the row found anew in what it holds (a damaged file as far
// as it goes), the result entered and the table written back. On success
// `table` is what the file holds (with or without the entry); after a failed
// write it holds the entry the file lacks. A hold not had, or a file that
// cannot be read, leaves the file and `table` as they were.
SaveResultOutcome SaveResult(const ScoreFileHold& hold, ScoreTable& table,
                             std::string_view entryName, std::int32_t score);

}  // namespace quillory
