// The score file's operations over the C++ standard library alone, for the
// core's tests on real files. The game has its own over the Win32 file
// functions (scores/win32_score_files.h).
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "core/score_file.h"

namespace quillory {

class StdScoreFileSystem final : public ScoreFileSystem {
public:
    // Opens a file as std::fopen does (by default std::fopen itself). An
    // administrator opens a read-only file for writing too, so only a
    // stand-in that sees the mode asked for shows that a load reads alone.
    using OpenFunction = std::function<std::FILE*(const char* path, const char* mode)>;
    StdScoreFileSystem();
    explicit StdScoreFileSystem(OpenFunction open) : open_(std::move(open)) {}

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

private:
    OpenFunction open_;
};

}  // namespace quillory
