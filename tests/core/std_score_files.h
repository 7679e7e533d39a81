// The score file's operations over the C++ standard library alone, for the
// core's tests on real files. The game has its own over the Win32 file
// functions (scores/win32_score_files.h).
#pragma once

#include <string>

#include "core/score_file.h"

namespace quillory {

class StdScoreFileSystem final : public ScoreFileSystem {
public:
    bool Exists(const std::string& path) override;
    int ReadPrefix(const std::string& path, void* buffer, std::size_t size,
                   std::size_t& bytesRead) override;
    int WriteWhole(const std::string& path, const void* data, std::size_t size,
                   std::size_t& bytesWritten) override;
    int Replace(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    // A directory beside the file, made and removed: the one atomic "create
    // unless it exists" the standard library offers. One left behind by a
    // program that died keeps every save out until it is removed by hand.
    int TryHold(const std::string& path) override;
    void Release(const std::string& path) override;
};

}  // namespace quillory
