#include "core/score_file.h"

#include <cstring>
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

void ScoreFileSystem::Pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

ScoreFileHold::ScoreFileHold(ScoreFileSystem& files, std::string path,
                             std::chrono::milliseconds wait, const RetryWhenBusy& retry)
    : files_(files), path_(std::move(path)) {
    do {
        TryFor(wait);
    } while (Busy() && retry && retry());
}

void ScoreFileHold::TryFor(std::chrono::milliseconds wait) {
    constexpr std::chrono::milliseconds kRetry{50};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        status_.Code = files_.TryHold(path_);
        if (!Busy() || std::chrono::steady_clock::now() >= deadline) return;
        files_.Pause(kRetry);
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
    // Zero where a short file ends: the rows it holds whole are kept, so
    // that a damaged file costs no result that can still be read.
    ScoreTable read{};
    std::size_t bytesRead = 0;
    const int code = files.ReadPrefix(path, &read, sizeof read, bytesRead);
    if (code != kIoOk) return {LoadOutcome::Failed, {code}};
    std::memcpy(&table, &read, sizeof table);
    if (bytesRead < sizeof read) return {LoadOutcome::Damaged, {kIoReadBeyondEnd}};
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

SaveResultOutcome SaveResult(const ScoreFileHold& hold, ScoreTable& table,
                             std::string_view entryName, std::int32_t score) {
    if (!hold.Held()) return {hold.Status()};
    ScoreFileSystem& files = hold.Files();
    const std::string& path = hold.Path();
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

}  // namespace quillory
