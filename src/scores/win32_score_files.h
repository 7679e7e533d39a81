// The score file's operations on Windows' own files, with Windows' own error
// numbers (so that the player reads "File access denied" for a read-only file,
// "I/O error 32" for a file locked by someone else, and so on). Its waits
// between two tries keep the program's windows painting.
#pragma once

#include <windows.h>

#include <map>

#include "core/score_file.h"

namespace quillory {

// The kernel calls a save goes through, replaceable so that a test can make
// the disk fill, the flush fail, the final rename fail or the folder refuse
// new files where the real calls are made.
struct Win32FileCalls {
    decltype(&::WriteFile) WriteFile = &::WriteFile;
    decltype(&::FlushFileBuffers) FlushFileBuffers = &::FlushFileBuffers;
    decltype(&::MoveFileExA) MoveFileExA = &::MoveFileExA;
    decltype(&::CreateFileA) CreateFileA = &::CreateFileA;
};

class Win32ScoreFileSystem final : public ScoreFileSystem {
public:
    Win32ScoreFileSystem() = default;
    explicit Win32ScoreFileSystem(const Win32FileCalls& calls) : calls_(calls) {}
    ~Win32ScoreFileSystem() override;
    Win32ScoreFileSystem(const Win32ScoreFileSystem&) = delete;
    Win32ScoreFileSystem& operator=(const Win32ScoreFileSystem&) = delete;

    bool Exists(const std::string& path) override;
    int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                   std::size_t& bytesRead) override;
    int WriteWhole(const std::string& path, const void* data, std::size_t size,
                   std::size_t& bytesWritten) override;
    // Retried for a moment while someone has the old file open (a reader, an
    // indexer, a virus scanner): Windows will not rename over it meanwhile.
    int Replace(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    // The hold is the lock file opened with no sharing and deleted on close:
    // the system lets it go with the process, however that ends.
    int TryHold(const std::string& path) override;
    void Release(const std::string& path) override;
    void Pause(std::chrono::milliseconds duration) override;

private:
    Win32FileCalls calls_;
    std::map<std::string, HANDLE> holds_;
};

}  // namespace quillory
