/* Planted beside the game under system libraries' names: loaded, it leaves a mark. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance, (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("planted_library_loaded", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    return TRUE;
}
