#include "core/score_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>

namespace quillory {

std::string IoErrorMessage(int code) {
    switch (code) {
        case kIoOk: return "";
        case kIoFileNotFound: return "File not found";
        case kIoPathNotFound: return "Invalid filename";
        case kIoTooManyOpenFiles: return "Too many open files";
        case kIoAccessDenied: return "File access denied";
        case kIoReadBeyondEnd: return "Read beyond end of file";
        case kIoDiskFull: return "Disk full";
        default: return "I/O error " + std::to_string(code);
    }
}

std::string TemporaryScorePath(const std::string& path) { return path + ".tmp"; }

std::string ScoreHoldPath(const std::string& path) { return path + ".lock"; }

ScoreFileHold::ScoreFileHold(ScoreFileSystem& files, std::string path,
                             std::chrono::milliseconds wait)
    : files_(files), path_(std::move(path)) {
    constexpr std::chrono::milliseconds kRetry{50};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        status_.Code = files_.TryHold(path_);
        if (status_.Code != kIoSharingViolation && status_.Code != kIoLockViolation) break;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kRetry);
    }
}

ScoreFileHold::~ScoreFileHold() {
    if (Held()) files_.Release(path_);
}

LoadResult LoadScoreFile(ScoreFileSystem& files, const std::string& path, ScoreTable& table) {
    if (!files.Exists(path)) {
        ClearScore(table);
        return {LoadOutcome::NoFile, {}};
    }
    ScoreTable read;
    std::memcpy(&read, &table, sizeof read);
    std::size_t bytesRead = 0;
    const int code = files.ReadPrefix(path, &read, sizeof read, bytesRead);
    if (code != kIoOk) return {LoadOutcome::Failed, {code}};
    if (bytesRead < sizeof read) {
        // A broken file must not leave half a table behind.
        ClearScore(table);
        return {LoadOutcome::Failed, {kIoReadBeyondEnd}};
    }
    std::memcpy(&table, &read, sizeof table);
    return {LoadOutcome::Loaded, {}};
}

IoStatus SaveScoreFile(ScoreFileSystem& files, const std::string& path, const ScoreTable& table) {
    const std::string temporary = TemporaryScorePath(path);
    std::size_t written = 0;
    int code = files.WriteWhole(temporary, &table, sizeof table, written);
    if (code == kIoOk && written < sizeof table) code = kIoDiskFull;
    if (code == kIoOk) code = files.Replace(temporary, path);
    if (code != kIoOk) files.Remove(temporary);
    return {code};
}

SaveResultOutcome SaveResult(ScoreFileSystem& files, const std::string& path, ScoreTable& table,
                             std::string_view entryName, std::int32_t score,
                             std::chrono::milliseconds holdWait) {
    const ScoreFileHold hold(files, path, holdWait);
    if (!hold.Held()) return {hold.Status()};
    ScoreTable now;
    std::memcpy(&now, &table, sizeof now);
    const LoadResult read = LoadScoreFile(files, path, now);
    if (read.Outcome == LoadOutcome::Failed) return {read.Status};
    const int row = FindInsertionRow(now, score);
    if (row >= 0) EnterResult(now, row, entryName, score);
    std::memcpy(&table, &now, sizeof table);
    if (row < 0) return {};
    return {SaveScoreFile(files, path, table), row};
}

// ---- The standard library's files ------------------------------------------

namespace {

int CodeFromErrorCondition(const std::error_code& error) {
    if (!error) return kIoOk;
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory) return kIoFileNotFound;
    if (condition == std::errc::not_a_directory) return kIoPathNotFound;
    if (condition == std::errc::too_many_files_open ||
        condition == std::errc::too_many_files_open_in_system)
        return kIoTooManyOpenFiles;
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted ||
        condition == std::errc::is_a_directory || condition == std::errc::read_only_file_system ||
        condition == std::errc::text_file_busy || condition == std::errc::device_or_resource_busy)
        return kIoAccessDenied;
    if (condition == std::errc::no_space_on_device || condition == std::errc::file_too_large)
        return kIoDiskFull;
    return error.value() != 0 ? error.value() : kIoAccessDenied;
}

int CodeFromErrno(int error) {
    return CodeFromErrorCondition(std::error_code(error, std::generic_category()));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

StdScoreFileSystem::StdScoreFileSystem()
    : open_([](const char* path, const char* mode) { return std::fopen(path, mode); }) {}

bool StdScoreFileSystem::Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

int StdScoreFileSystem::ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                                   std::size_t& bytesRead) {
    bytesRead = 0;
    errno = 0;
    FilePtr file(open_(path.c_str(), "rb"));
    if (!file) return CodeFromErrno(errno);
    errno = 0;
    bytesRead = std::fread(buffer, 1, size, file.get());
    if (bytesRead < size && std::ferror(file.get())) return CodeFromErrno(errno ? errno : EIO);
    return kIoOk;
}

int StdScoreFileSystem::WriteWhole(const std::string& path, const void* data, std::size_t size,
                                   std::size_t& bytesWritten) {
    bytesWritten = 0;
    errno = 0;
    std::FILE* raw = open_(path.c_str(), "wb");
    if (!raw) return CodeFromErrno(errno);
    bytesWritten = std::fwrite(data, 1, size, raw);
    const int writeError = bytesWritten < size ? errno : 0;
    const bool flushed = std::fflush(raw) == 0;
    const int flushError = flushed ? 0 : errno;
    const bool closed = std::fclose(raw) == 0;
    if (writeError != 0) return CodeFromErrno(writeError);
    if (!flushed) return CodeFromErrno(flushError ? flushError : EIO);
    if (!closed) return CodeFromErrno(errno ? errno : EIO);
    return kIoOk;
}

int StdScoreFileSystem::Replace(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return CodeFromErrorCondition(error);
}

int StdScoreFileSystem::Remove(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return CodeFromErrorCondition(error);
}

int StdScoreFileSystem::TryHold(const std::string& path) {
    std::error_code error;
    if (std::filesystem::create_directory(ScoreHoldPath(path), error)) return kIoOk;
    return error ? CodeFromErrorCondition(error) : kIoSharingViolation;
}

void StdScoreFileSystem::Release(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(ScoreHoldPath(path), ignored);
}

}  // namespace quillory
