// What the top scores and about window tests share: the application object,
// a scratch directory, the recorded message boxes, and reading back what a
// list box window shows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../win_test_support.h"
#include "core/score_table.h"
#include "ui/application.h"
#include "ui/forms.h"
#include "ui/std_controls.h"

namespace quillory::testing {

using Bytes = std::vector<unsigned char>;

// The shared application object, made before the first test.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApplication(); }
};

// A fresh directory for one test, removed with everything in it afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ =
            std::string(temp) + "quillory-scores-" + info->test_suite_name() + "-" + info->name();
        Remove(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchDirectory() { Remove(path_); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    static void Remove(const std::string& path) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string child = path + "\\" + name;
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(child);
                else
                    DeleteFileA(child.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path.c_str());
    }
    std::string path_;
};

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline Bytes ReadFileBytes(const std::string& path) {
    Bytes bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    unsigned char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    CloseHandle(file);
    return bytes;
}

inline Bytes ImageOf(const ScoreTable& table) {
    Bytes bytes(sizeof table);
    std::memcpy(bytes.data(), &table, sizeof table);
    return bytes;
}

// A table of the given points, row n named "Player n"; the other bytes are
// patterned so that a test sees them travel unchanged.
inline ScoreTable TableOf(const std::vector<std::int32_t>& points) {
    ScoreTable table;
    auto* raw = reinterpret_cast<unsigned char*>(&table);
    for (std::size_t i = 0; i < sizeof table; ++i)
        raw[i] = static_cast<unsigned char>(0xA0 + i % 7);
    for (int row = 0; row < kScoreRows; ++row) {
        SetName(table.Rows[row], "Player " + std::to_string(row + 1));
        table.Rows[row].Points = row < static_cast<int>(points.size()) ? points[row] : 0;
    }
    return table;
}

// The shared player's answers from inside the modal loops, by the name these
// tests know them.
using ModalAnswers = ModalActs;

// Types `name` into the name dialog and confirms it (or cancels).
inline void AnswerName(ui::TForm& dialog, const std::string& name, const char* button = "OK") {
    auto* edit = dynamic_cast<ui::TEdit*>(dialog.FindComponent("Edit"));
    ASSERT_NE(edit, nullptr);
    for (char ch : name) SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(ch), 0);
    ClickButton(dialog, button);
}

// The lines the list box window itself holds.
inline std::vector<std::string> WindowLines(ui::TListBox& list) {
    std::vector<std::string> lines;
    HWND window = list.Handle();
    const int count = static_cast<int>(SendMessageA(window, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageA(window, LB_GETTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        lines.push_back(text);
    }
    return lines;
}

inline std::vector<std::string> Lines(std::initializer_list<const char*> first, int total = 10) {
    std::vector<std::string> lines(first.begin(), first.end());
    lines.resize(static_cast<std::size_t>(total));
    return lines;
}

}  // namespace quillory::testing
