// A file held open so that others may only read it. The suite may run as a
// user whom a read-only file does not stop (root, and Wine running as root),
// so the read-only attribute alone cannot show that a load asks for reading
// only. A share mode can: while this handle is held, every open that asks to
// write fails with a sharing violation, whoever asks, and an open that asks
// to read (and lets others read) goes through.
#pragma once

#include <windows.h>

#include <string>

namespace quillory::testing {

class ReadersOnlyHandle {
public:
    explicit ReadersOnlyHandle(const std::string& path)
        : path_(path),
          handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~ReadersOnlyHandle() { Release(); }
    ReadersOnlyHandle(const ReadersOnlyHandle&) = delete;
    ReadersOnlyHandle& operator=(const ReadersOnlyHandle&) = delete;

    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    // What an open asking for reading and writing meets now: 0 when it goes
    // through, else the system's error (ERROR_SHARING_VIOLATION while held).
    DWORD ReadWriteOpenError() const {
        HANDLE other = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (other == INVALID_HANDLE_VALUE) return GetLastError();
        CloseHandle(other);
        return 0;
    }

private:
    std::string path_;
    HANDLE handle_;
};

}  // namespace quillory::testing
