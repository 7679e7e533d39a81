// Prints the texts of the child windows of one class (a status bar's first
// part, a message box's text) in the top-level windows of one title, one a
// line: what the game shows, read as text by the end-to-end scripts.
// Usage: window_texts TITLE CLASS
#include <windows.h>

#include <cstdio>

namespace {

const char* g_title = "";
const char* g_class = "";

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char text[512] = {};
    GetClassNameA(child, text, sizeof text);
    if (lstrcmpiA(text, g_class) != 0) return TRUE;
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", text);
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, g_title) == 0) EnumChildWindows(window, &PrintChild, 0);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    g_title = argv[1];
    g_class = argv[2];
    EnumWindows(&VisitTopLevel, 0);
    return 0;
}
