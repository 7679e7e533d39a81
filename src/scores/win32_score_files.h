// The score file's operations on Windows' own files, with Windows' own error
// numbers (so that the player reads "File access denied" for a read-only file,
// "I/O error 32" for a file locked by someone else, and so on).
#pragma once

#include "core/score_file.h"

namespace quillory {

class Win32ScoreFileSystem final : public ScoreFileSystem {
public:
    bool Exists(const std::string& path) override;
    int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                   std::size_t& bytesRead) override;
    int WriteWhole(const std::string& path, const void* data, std::size_t size,
                   std::size_t& bytesWritten) override;
    int Replace(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
};

}  // namespace quillory
