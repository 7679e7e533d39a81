#include "scores/win32_score_files.h"

#include <windows.h>

namespace quillory {
namespace {

// Closes a file handle when it goes out of scope.
class ScopedFile {
public:
    explicit ScopedFile(HANDLE handle) : handle_(handle) {}
    ~ScopedFile() {
        if (Valid()) CloseHandle(handle_);
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now and tells whether the close went through.
    bool Close() {
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

int LastError() {
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return kIoDiskFull;
    return error != 0 ? static_cast<int>(error) : kIoAccessDenied;
}

}  // namespace

bool Win32ScoreFileSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Win32ScoreFileSystem::ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                                     std::size_t& bytesRead) {
    bytesRead = 0;
    // Reading only: a read-only file (or one on a read-only medium) still loads.
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    auto* bytes = static_cast<char*>(buffer);
    while (bytesRead < size) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes + bytesRead, static_cast<DWORD>(size - bytesRead), &got,
                      nullptr))
            return LastError();
        if (got == 0) break;  // end of file
        bytesRead += got;
    }
    if (!file.Close()) return LastError();
    return kIoOk;
}

int Win32ScoreFileSystem::WriteWhole(const std::string& path, const void* data, std::size_t size,
                                     std::size_t& bytesWritten) {
    bytesWritten = 0;
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    DWORD written = 0;
    if (!WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr))
        return LastError();
    bytesWritten = written;
    if (!FlushFileBuffers(file.Get())) return LastError();
    if (!file.Close()) return LastError();
    return kIoOk;
}

int Win32ScoreFileSystem::Replace(const std::string& from, const std::string& to) {
    // Windows refuses to replace a read-only file; not every implementation of
    // MoveFileEx does (Wine's doesn't), and a player who made the file
    // read-only wants it kept.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return kIoAccessDenied;
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastError();
    return kIoOk;
}

int Win32ScoreFileSystem::Remove(const std::string& path) {
    if (!DeleteFileA(path.c_str())) return LastError();
    return kIoOk;
}

}  // namespace quillory
