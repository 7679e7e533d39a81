// Libraries the program loads while it runs come from the system folder and
// nowhere else: a library of the same name left beside the game (a Downloads
// folder, an unpacked zip) must never run inside it.
#pragma once

#include <windows.h>

namespace quillory::ui {

// The loader call; tests hand in one of their own.
using TLoadLibraryEx = HMODULE(WINAPI*)(LPCSTR name, HANDLE file, DWORD flags);

// Loads a system library (a bare file name) from the system folder: searched
// there alone where the system can restrict a search to it, otherwise given
// by its full path there, its own dependencies looked for beside it. None
// when the system folder holds no such library.
HMODULE LoadSystemLibrary(const char* name, TLoadLibraryEx load = LoadLibraryExA);

// A function of a loaded module, none where the module or the function is
// missing.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of a system library, loaded from the system folder.
template <typename Function>
Function SystemLibraryFunction(const char* library, const char* name) {
    return ModuleFunction<Function>(LoadSystemLibrary(library), name);
}

// Restricts the search of every later load of the process to the system
// folder, where the system can (SetDefaultDllDirectories); call it first.
void RestrictLibrarySearch();

}  // namespace quillory::ui
