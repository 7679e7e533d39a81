// What a tick costs under Wine, paint included, beside a plain full redraw of
// all 600 cells looked up by name; and what the idle program costs. Absolute
// times move from machine to machine by a factor of several, so each tick is
// paired with a yardstick measured right after it, in the same Wine on the
// same display: the same changed cells repainted with plain Win32 (each cell
// invalidated, the window painted from a memory bitmap). These are figures
// for a person to read: on a shared machine any bound on them is a coin
// toss, so nothing here fails. The suite checks the work instead (which
// cells a tick paints). Run with `make bench-win`.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/game_state.h"
#include "game/main_form.h"
#include "win_test_support.h"

namespace quillory {
namespace {

using namespace ui;

constexpr int kTicks = 3000;
constexpr int kFullRedraws = 100;
constexpr double kIdleSeconds = 3.0;

using quillory::bench::Now;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ProcessCpuSeconds() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The measurement is about ticks: a game's end only lets the loop start the
// next one. The real game over would open the modal name dialog whenever a
// game ended with points, and wait there for an answer no one gives.
struct MeasuredMainForm : TMainForm {
    using TMainForm::TMainForm;
    void GameOver() override {}
};

// Paints now whatever the last change invalidated in the window, as the
// message loop would before the next tick.
void PaintNow(TMainForm& form) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

// The yardstick: a plain top-level window of the board's size that shows a
// memory bitmap. A repaint draws each changed cell's picture into the bitmap,
// invalidates the cells and lets the window paint the invalid part from the
// bitmap: what any Win32 program must at least do to show the same change.
class ReferenceBoard {
public:
    static constexpr const char* kClassName = "QuilloryTickReference";

    ReferenceBoard(int width, int height, int cellSize) : cell_size_(cellSize) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "tick reference", WS_POPUP, 10,
                                  10, width, height, nullptr, nullptr, wc.hInstance, this);
        HDC screen = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        old_bitmap_ = SelectObject(memory_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(memory_, &all, GetSysColorBrush(COLOR_BTNFACE));
        // One picture per look, made once: a face with a coloured square.
        const COLORREF inks[] = {GetSysColor(COLOR_BTNFACE), RGB(0, 0, 0), RGB(0, 0, 255),
                                 RGB(255, 0, 0)};
        for (int look = 0; look < kLooks; ++look) {
            pictures_[look] = CreateCompatibleBitmap(screen, cell_size_, cell_size_);
            HDC dc = CreateCompatibleDC(screen);
            HGDIOBJ old = SelectObject(dc, pictures_[look]);
            RECT cell{0, 0, cell_size_, cell_size_};
            FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
            HBRUSH ink = CreateSolidBrush(inks[look]);
            RECT mark{1, 1, cell_size_ - 1, cell_size_ - 1};
            FillRect(dc, &mark, ink);
            DeleteObject(ink);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        pictures_dc_ = CreateCompatibleDC(screen);
        old_picture_ = SelectObject(pictures_dc_, pictures_[0]);
        ReleaseDC(nullptr, screen);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~ReferenceBoard() {
        DestroyWindow(window_);
        SelectObject(pictures_dc_, old_picture_);
        DeleteDC(pictures_dc_);
        SelectObject(memory_, old_bitmap_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
        for (HBITMAP picture : pictures_) DeleteObject(picture);
    }
    ReferenceBoard(const ReferenceBoard&) = delete;
    ReferenceBoard& operator=(const ReferenceBoard&) = delete;

    struct Change {
        int X, Y;  // 1-based, as on the board
        std::uint8_t Code;
    };
    void Repaint(const std::vector<Change>& changes) {
        // The cells as one region: each InvalidateRect would be a trip to the
        // window server of its own.
        HRGN cells = CreateRectRgn(0, 0, 0, 0);
        for (const Change& change : changes) {
            const RECT cell = CellRect(change.X, change.Y);
            SelectObject(pictures_dc_, pictures_[LookOf(change.Code)]);
            BitBlt(memory_, cell.left, cell.top, cell_size_, cell_size_, pictures_dc_, 0, 0,
                   SRCCOPY);
            HRGN piece = CreateRectRgnIndirect(&cell);
            CombineRgn(cells, cells, piece, RGN_OR);
            DeleteObject(piece);
        }
        InvalidateRgn(window_, cells, FALSE);
        DeleteObject(cells);
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW);
        GdiFlush();
    }

private:
    static constexpr int kLooks = 4;
    static int LookOf(std::uint8_t code) {
        switch (code) {
            case cellBody:
            case cellFedBody: return 1;
            case cellFood: return 2;
            case cellBonus: return 3;
            default: return 0;
        }
    }
    RECT CellRect(int x, int y) const {
        const int left = (8 + 10 * (x - 1)) * cell_size_ / 10, top = (y - 1) * cell_size_;
        return RECT{left, top, left + cell_size_, top + cell_size_};
    }
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ReferenceBoard*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT && self) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            const RECT& r = paint.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, self->memory_, r.left,
                   r.top, SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    int cell_size_;
    HWND window_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    HBITMAP pictures_[kLooks] = {};
    HDC pictures_dc_ = nullptr;
    HGDIOBJ old_picture_ = nullptr;
};

std::vector<ReferenceBoard::Change> ChangedCells(const Board& before, const Board& after) {
    std::vector<ReferenceBoard::Change> changes;
    for (int x = 1; x <= kBoardColumns; ++x)
        for (int y = 1; y <= kBoardRows; ++y)
            if (before(x, y) != after(x, y)) changes.push_back({x, y, after(x, y)});
    return changes;
}

struct Figures {
    double TickMs = 0;
    double ReferenceMs = 0;
    double FullRedrawMs = 0;
    double IdleCpuShare = 0;
};

Figures Measure() {
    testing::TestApplication();
    testing::MessageBoxRecorder boxes;  // a game over's box is answered OK
    GameState game;
    std::unique_ptr<TMainForm> form(Create<MeasuredMainForm>(Application, game));
    form->Timer->OnTimer = nullptr;  // ticks come from the loop below
    form->Show();
    testing::Pump();

    form->Newgame1Click(nullptr);
    testing::Pump();
    ReferenceBoard reference(form->MainPanel->Width(), form->MainPanel->Height(),
                             form->CellSize());
    testing::Pump();
    // A running game that wanders over every row: a turn down now and then.
    std::vector<double> ticks, references;
    ticks.reserve(kTicks);
    references.reserve(kTicks);
    for (int i = 0; ticks.size() < static_cast<std::size_t>(kTicks); ++i) {
        if (!game.Playing) {
            form->Newgame1Click(nullptr);
            PaintNow(*form);
        }
        if (i % 23 == 0) {
            WORD key = game.CurrentDirection == dirRight ? VK_DOWN : VK_RIGHT;
            form->FormKeyDown(form.get(), key, 0);
        }
        const Board before = game.Board;
        const double start = Now();
        form->TimerTimer(form->Timer);
        PaintNow(*form);
        const double stop = Now();
        if (!game.Playing) continue;
        ticks.push_back(stop - start);
        // The yardstick right after, so that both see the same load.
        const auto changes = ChangedCells(before, game.Board);
        const double referenceStart = Now();
        reference.Repaint(changes);
        references.push_back(Now() - referenceStart);
    }
    std::vector<double> fullRedraws;
    for (int i = 0; i < kFullRedraws; ++i) {
        const double start = Now();
        form->DrawFieldByName();
        PaintNow(*form);
        fullRedraws.push_back(Now() - start);
    }

    // The game paused: no timer runs, the loop waits (woken only to end the measurement).
    if (game.Playing && !game.Paused) form->Pause1Click(nullptr);
    testing::Pump();
    const double cpuStart = ProcessCpuSeconds();
    const double wallStart = Now();
    while (Now() - wallStart < kIdleSeconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
        testing::TestApplication().ProcessMessages();
    }
    const double idle = (ProcessCpuSeconds() - cpuStart) / (Now() - wallStart);

    return Figures{Median(ticks) * 1e3, Median(references) * 1e3, Median(fullRedraws) * 1e3, idle};
}

}  // namespace
}  // namespace quillory

int main() {
    const quillory::Figures figures = quillory::Measure();
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    std::printf("main_form_bench: %s\n", GetCommandLineA());
    std::printf("  (make bench-win: under Wine on a private Xvfb display, %lu processors)\n",
                static_cast<unsigned long>(system.dwNumberOfProcessors));
    std::printf("  tick + DrawField + paint:    median %.4f ms over %d ticks\n", figures.TickMs,
                quillory::kTicks);
    std::printf("  reference repaint (Win32):   median %.4f ms, the same cells\n",
                figures.ReferenceMs);
    std::printf("  tick / reference repaint: %.2f\n", figures.TickMs / figures.ReferenceMs);
    std::printf("  full redraw by name + paint: median %.4f ms over %d runs\n",
                figures.FullRedrawMs, quillory::kFullRedraws);
    std::printf("  full redraw / tick:          %.1f\n", figures.FullRedrawMs / figures.TickMs);
    std::printf("  idle CPU share over %.0f s:    %.2f %%\n", quillory::kIdleSeconds,
                figures.IdleCpuShare * 100.0);
    return 0;
}
