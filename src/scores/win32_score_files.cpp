#include "scores/win32_score_files.h"

#include "ui/application.h"

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

int CodeOf(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return kIoDiskFull;
    return error != 0 ? static_cast<int>(error) : kIoAccessDenied;
}

int LastError() {
    return CodeOf(GetLastError());
}

}  // namespace

bool Win32ScoreFileSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Win32ScoreFileSystem::ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                                     std::size_t& bytesRead) {
    bytesRead = 0;
    // Reading only: a read-only file (or one on a read-only medium) still loads.
    // Sharing deletion too, so that another copy's save may replace the file
    // while this one reads it.
    ScopedFile file(calls_.CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
    ScopedFile file(calls_.CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    DWORD written = 0;
    const BOOL wrote = calls_.WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr);
    bytesWritten = written;
    if (!wrote) return LastError();
    if (!calls_.FlushFileBuffers(file.Get())) return LastError();
    if (!file.Close()) return LastError();
    return kIoOk;
}

int Win32ScoreFileSystem::Replace(const std::string& from, const std::string& to) {
    // A read-only file is never replaced: Windows refuses to move a file over
    // one (access denied), and a player who made the file read-only wants it
    // kept. Asked first, so the rule holds on any file system underneath.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return kIoAccessDenied;
    constexpr int kTries = 10;
    constexpr std::chrono::milliseconds kBetweenTries{50};
    for (int tries = 1;; ++tries) {
        if (calls_.MoveFileExA(from.c_str(), to.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return kIoOk;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || tries == kTries)
            return CodeOf(error);
        Pause(kBetweenTries);
    }
}

int Win32ScoreFileSystem::Remove(const std::string& path) {
    if (!DeleteFileA(path.c_str())) return LastError();
    return kIoOk;
}

Win32ScoreFileSystem::~Win32ScoreFileSystem() {
    for (const auto& [path, handle] : holds_) CloseHandle(handle);
}

int Win32ScoreFileSystem::TryHold(const std::string& path) {
    if (holds_.count(path)) return kIoSharingViolation;
    const std::string lockPath = ScoreHoldPath(path);
    // A read-only lock file or a folder in its place is no other copy's hold,
    // and waiting would never end: Windows opens neither for writing, for
    // any user, administrators included.
    const DWORD attributes = GetFileAttributesA(lockPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return kIoAccessDenied;
    HANDLE lock = calls_.CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                     nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A lock file on its way out under another copy's last handle.
        if (error == ERROR_ACCESS_DENIED &&
            GetFileAttributesA(lockPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return kIoSharingViolation;
        return CodeOf(error);
    }
    holds_[path] = lock;
    return kIoOk;
}

void Win32ScoreFileSystem::Pause(std::chrono::milliseconds duration) {
    ui::WaitPaintingOnly(duration);
}

void Win32ScoreFileSystem::Release(const std::string& path) {
    const auto held = holds_.find(path);
    if (held == holds_.end()) return;
    CloseHandle(held->second);
    holds_.erase(held);
}

}  // namespace quillory
