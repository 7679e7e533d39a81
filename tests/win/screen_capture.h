// Pictures of the X server's screen for a person to look at: ImageMagick's
// "import" (a Unix program, which Wine starts as one) on the whole screen or
// an area of it. Wine cannot wait on a Unix process, so the file is watched,
// while `pump` keeps the windows painted.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quillory::testing {

inline bool CaptureScreen(const std::string& unixFolder, const std::string& name,
                          const RECT* area, const std::function<void()>& pump) {
    constexpr DWORD kCaptureTimeoutMs = 20000;
    constexpr DWORD kPollMs = 100;
    const std::string unixPath = unixFolder + "/" + name;
    std::string dosPath = "Z:" + unixPath;
    for (char& ch : dosPath)
        if (ch == '/') ch = '\\';
    DeleteFileA(dosPath.c_str());
    std::string command = "/usr/bin/import -window root ";
    if (area) {
        command += "-crop " + std::to_string(area->right - area->left) + "x" +
                   std::to_string(area->bottom - area->top) + "+" + std::to_string(area->left) +
                   "+" + std::to_string(area->top) + " +repage ";
    }
    command += unixPath;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // Nothing to close: Wine's handles for a Unix program are stale numbers.
    LONGLONG lastSize = -1;
    for (DWORD waited = 0; waited < kCaptureTimeoutMs; waited += kPollMs) {
        pump();
        Sleep(kPollMs);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(dosPath.c_str(), GetFileExInfoStandard, &data)) continue;
        const LONGLONG size = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > 0 && size == lastSize) return true;
        lastSize = size;
    }
    return false;
}

}  // namespace quillory::testing
