#include "ui/system_library.h"

#include <string>

namespace quillory::ui {

HMODULE LoadSystemLibrary(const char* name, TLoadLibraryEx load) {
    if (HMODULE module = load(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // Refused as an unknown flag by the systems without it (Windows 7 before
    // its update KB2533623); any other failure means the library is not there.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder, length) + "\\" + name;
    return load(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictLibrarySearch() {
    // kernel32 is in every process: nothing is loaded to ask it.
    using Function = BOOL(WINAPI*)(DWORD);
    if (auto setDirectories =
            ModuleFunction<Function>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"))
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace quillory::ui
