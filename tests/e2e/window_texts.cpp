// Prints the texts of the child windows of one class (a status bar's first
// part, a message box's text) in every top-level window of one title, one a
// line, for the end-to-end scripts: what the game shows, read as text.
// Usage: window_texts TITLE CLASS
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char* g_class = "";

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, g_class) != 0) return TRUE;
    char text[512] = {};
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM title) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, reinterpret_cast<const char*>(title)) == 0)
        EnumChildWindows(window, &PrintChild, 0);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    g_class = argv[2];
    EnumWindows(&VisitTopLevel, reinterpret_cast<LPARAM>(argv[1]));
    return 0;
}
