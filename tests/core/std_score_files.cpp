#include "std_score_files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace quillory {

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

bool StdScoreFileSystem::Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

int StdScoreFileSystem::ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                                   std::size_t& bytesRead) {
    bytesRead = 0;
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
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
    std::FILE* raw = std::fopen(path.c_str(), "wb");
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
