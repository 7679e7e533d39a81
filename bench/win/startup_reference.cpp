// The start-up benchmark's yardstick: what the game's first screen asks of
// the platform, and nothing of the game. A plain window with the game's menu
// bar, a four-panel status bar and a line of text in each of the four faces
// the game uses, with the same manifest (common controls 6). Written straight
// against Win32 so that none of our own framework's costs are in it.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr const char* kClassName = "QuilloryStartupReference";
constexpr const char* kCaption = "Quillory start-up reference";
constexpr int kClientWidth = 316;
constexpr int kClientHeight = 223;
constexpr int kStatusId = 1;

struct FaceLine {
    const char* Face;
    int Height;
    DWORD Charset;
    const char* Text;
};
constexpr FaceLine kLines[] = {
    {"Webdings", -12, SYMBOL_CHARSET, "<<<<r~"},
    {"Tahoma", -11, DEFAULT_CHARSET, "Top Scores"},
    {"Trebuchet MS", -32, DEFAULT_CHARSET, "Paused..."},
    {"MS Sans Serif", -11, DEFAULT_CHARSET, " Score : 0"},
};
constexpr int kLineCount = sizeof kLines / sizeof kLines[0];

struct Window {
    HFONT Fonts[kLineCount] = {};
    HWND Status = nullptr;
};

HMENU BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU game = CreatePopupMenu();
    AppendMenuA(game, MF_STRING, 101, "New game\tF9");
    AppendMenuA(game, MF_STRING, 102, "Pause\tF10");
    AppendMenuA(game, MF_STRING, 103, "Boss Mode\tDel");
    AppendMenuA(game, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(game, MF_STRING, 104, "E&xit");
    HMENU options = CreatePopupMenu();
    AppendMenuA(options, MF_STRING, 105, "Level\tF11");
    AppendMenuA(options, MF_STRING, 106, "Top Scores\tF12");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "&Game");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(options), "&Options");
    AppendMenuA(bar, MF_STRING, 107, "About");
    return bar;
}

void OnCreate(HWND hwnd, Window& window) {
    for (int i = 0; i < kLineCount; ++i) {
        window.Fonts[i] = CreateFontA(kLines[i].Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      kLines[i].Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, DEFAULT_PITCH, kLines[i].Face);
    }
    // Each face is realised before the window shows, as a window that lays
    // out its text does (the game measures its pause label so).
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = GetCurrentObject(screen, OBJ_FONT);
    for (int i = 0; i < kLineCount; ++i) {
        SIZE extent;
        SelectObject(screen, window.Fonts[i]);
        GetTextExtentPoint32A(screen, kLines[i].Text, lstrlenA(kLines[i].Text), &extent);
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    window.Status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0,
                                    0, hwnd, reinterpret_cast<HMENU>(kStatusId),
                                    GetModuleHandleA(nullptr), nullptr);
    int edges[] = {78, 142, 234, -1};
    SendMessageA(window.Status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    const char* texts[] = {" Score : ", " Level : ", " Record : ", " Bonus : "};
    for (int i = 0; i < 4; ++i)
        SendMessageA(window.Status, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(texts[i]));
}

void OnPaint(HWND hwnd, const Window& window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
    int top = 8;
    for (int i = 0; i < kLineCount; ++i) {
        SelectObject(dc, window.Fonts[i]);
        TextOutA(dc, 8, top, kLines[i].Text, lstrlenA(kLines[i].Text));
        top += 12 - kLines[i].Height;
    }
    SelectObject(dc, old);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
            break;
        case WM_CREATE: OnCreate(hwnd, *window); return 0;
        case WM_SIZE: SendMessageA(window->Status, WM_SIZE, 0, 0); return 0;
        case WM_PAINT: OnPaint(hwnd, *window); return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == 104) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            for (HFONT font : window->Fonts)
                if (font) DeleteObject(font);
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;

    constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, TRUE, kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    Window window;
    HWND hwnd = CreateWindowExA(kExStyle, kClassName, kCaption, kStyle,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, BuildMenu(), instance, &window);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
