// Shared helpers of the Windows-side tests: one application object for the
// test program, message pumping, rendering a window into a bitmap, and a
// player's answers from inside modal loops.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/control.h"
#include "ui/forms.h"
#include "ui/system_settings.h"

// RECT comparisons for the layout checks.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace quillory::testing {

inline ui::TApplication& TestApplication() {
    static ui::TApplication* application = [] {
        auto* app = new ui::TApplication();  // lives as long as the test program
        app->Initialize();
        app->SetTitle("Quillory");
        return app;
    }();
    return *application;
}

// Handles waiting messages; with a duration, keeps doing so until it is over.
inline void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0)) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        TestApplication().ProcessMessages();
        if (duration.count() > 0) Sleep(1);
    } while (std::chrono::steady_clock::now() < end);
}

// Pumps until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        TestApplication().ProcessMessages();
        Sleep(1);
    }
    return true;
}

// The control's own paint path (background, then graphic children) into a bitmap.
inline void RenderClient(ui::TWinControl& control, ui::TBitmap& bitmap) {
    const RECT client = control.ClientRect();
    bitmap.SetSize(client.right, client.bottom);
    SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.DC()),
                 PRF_CLIENT);
}

// Clicks the named button of a dialog form, as a player's click does.
inline void ClickButton(ui::TForm& form, const char* name) {
    auto* button = dynamic_cast<ui::TWinControl*>(form.FindComponent(name));
    ASSERT_NE(button, nullptr) << name;
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
}

// What a player's keys send to the focused control, queued so that the
// message loop that runs (a dialog's own, say) delivers them.
inline void PostKey(WORD key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
}
inline void PostText(const std::string& text) {
    for (char ch : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(ch), 0);
}

// Acts inside the modal loops that run while it lives, as the player would:
// each dialog form goes to `act` once it is on screen, and so does each
// visible window of the class given ("#32770" the system's message boxes,
// "#32768" its menus), which a thread timer finds from inside whatever loop
// runs. `act` gives the answer (a click, a key, EndMenu); nothing answers on
// its behalf. A loop still open `limit` after `act` returned fails the test
// and is ended with a result no button of the program gives, so a lost
// answer can neither pass nor hold the suite.
class ModalActs {
public:
    explicit ModalActs(std::function<void(ui::TForm&)> act,
                       std::chrono::milliseconds limit = std::chrono::seconds(5))
        : form_act_(std::move(act)), limit_(limit) {
        previous_ = ui::SetModalAnswerer([this](ui::TForm& form) { Act(form.Handle(), &form); });
        Start();
    }
    ModalActs(const char* windowClass, std::function<void(HWND)> act,
              std::chrono::milliseconds limit = std::chrono::seconds(5))
        : window_class_(windowClass), window_act_(std::move(act)), limit_(limit) {
        Start();
    }
    ~ModalActs() {
        KillTimer(nullptr, timer_);
        Live().erase(std::find(Live().begin(), Live().end(), this));
        if (form_act_) ui::SetModalAnswerer(std::move(previous_));
    }
    ModalActs(const ModalActs&) = delete;
    ModalActs& operator=(const ModalActs&) = delete;

    int shown = 0;  // the dialogs, boxes or menus handed to `act`

private:
    using Clock = std::chrono::steady_clock;
    struct Open {
        HWND Window;
        ui::TForm* Form;
        Clock::time_point AnsweredAt;  // max() while `act` runs
    };

    void Start() {
        Live().push_back(this);
        timer_ = SetTimer(nullptr, 0, 10, &ModalActs::Tick);
    }
    static std::vector<ModalActs*>& Live() {
        static std::vector<ModalActs*> live;
        return live;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        for (ModalActs* acts : Live())
            if (acts->timer_ == id) return acts->Check();
    }
    static BOOL CALLBACK Collect(HWND window, LPARAM found) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
    }

    void Act(HWND window, ui::TForm* form) {
        ++shown;
        Forget(window);
        open_.push_back({window, form, Clock::time_point::max()});
        if (form)
            form_act_(*form);
        else
            window_act_(window);
        for (Open& o : open_)
            if (o.Window == window) o.AnsweredAt = Clock::now();
    }
    void Forget(HWND window) {
        open_.erase(std::remove_if(open_.begin(), open_.end(),
                                   [window](const Open& o) { return o.Window == window; }),
                    open_.end());
    }
    bool StillOpen(const Open& o) const {
        if (o.Form)
            return ui::IsScreenForm(o.Form) && o.Form->HandleAllocated() &&
                   o.Form->Handle() == o.Window && o.Form->Modal();
        return IsWindow(o.Window) && IsWindowVisible(o.Window);
    }
    void Check() {
        std::vector<Open> overdue;
        for (const Open& o : std::vector<Open>(open_)) {
            if (!StillOpen(o))
                Forget(o.Window);
            else if (o.AnsweredAt != Clock::time_point::max() &&
                     Clock::now() - o.AnsweredAt > limit_)
                overdue.push_back(o);
        }
        for (const Open& o : overdue) {
            Forget(o.Window);
            ADD_FAILURE() << "\"" << WindowTextOf(o.Window) << "\" still open " << limit_.count()
                          << " ms after its answer: the answer was lost";
            if (o.Form)
                o.Form->SetModalResult(ui::mrAbort);
            else if (window_class_ == "#32768")
                EndMenu();
            else
                EndDialog(o.Window, IDABORT);
        }
        if (!window_act_) return;
        std::vector<HWND> windows;
        EnumThreadWindows(GetCurrentThreadId(), &ModalActs::Collect,
                          reinterpret_cast<LPARAM>(&windows));
        for (HWND window : windows) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            const bool known = std::any_of(open_.begin(), open_.end(),
                                           [window](const Open& o) { return o.Window == window; });
            if (!known && window_class_ == name && IsWindowVisible(window)) Act(window, nullptr);
        }
    }
    static std::string WindowTextOf(HWND window) {
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    std::function<void(ui::TForm&)> form_act_;
    std::string window_class_;
    std::function<void(HWND)> window_act_;
    std::chrono::milliseconds limit_;
    ui::TModalAnswerer previous_;
    UINT_PTR timer_ = 0;
    std::vector<Open> open_;
};

// Every message dialog shown meanwhile, kept and answered with `button`.
class AnsweredDialogs {
public:
    explicit AnsweredDialogs(const char* button)
        : answer_([this, button](ui::TForm& dialog) {
              Captions.push_back(dialog.Caption());
              if (auto* message = dynamic_cast<ui::TControl*>(dialog.FindComponent("Message")))
                  Texts.push_back(message->Caption());
              OnlyOk = OnlyOk && !dialog.FindComponent("Cancel") && !dialog.FindComponent("Yes");
              ClickButton(dialog, button);
          }) {}
    std::vector<std::string> Texts, Captions;
    bool OnlyOk = true;  // no dialog offered more than OK

private:
    ModalActs answer_;
};

struct RecordedBox {
    std::string Text;
    std::string Caption;
    UINT Flags = 0;
};

// Records every native message box (the error box among them), runs `during`
// while it is up, and answers OK. A box that asks more takes the next of
// `answers`; one with none left fails the test, and so does an answer still
// unused at the end of the scope.
class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        previous_ = ui::SetMessageBoxAnswerer(
            [this](const std::string& text, const std::string& caption, UINT flags) {
                boxes.push_back({text, caption, flags});
                if (during) during();
                if ((flags & MB_TYPEMASK) == MB_OK) return IDOK;
                if (answers.empty()) ADD_FAILURE() << "no answer for \"" << text << "\"";
                if (answers.empty()) return IDABORT;  // no button of the box
                const std::function<int()> answer = answers.front();
                answers.erase(answers.begin());
                return answer();
            });
    }
    ~MessageBoxRecorder() {
        ui::SetMessageBoxAnswerer(std::move(previous_));
        if (!answers.empty()) ADD_FAILURE() << answers.size() << " answer(s) never asked for";
    }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const RecordedBox& box : boxes) texts.push_back(box.Text);
        return texts;
    }

    std::vector<RecordedBox> boxes;
    std::vector<std::function<int()>> answers;
    std::function<void()> during;

private:
    ui::TMessageBoxAnswerer previous_;
};

// The system's settings as a test wants them for the scope: drop shadows and
// high contrast as given, the version the system reports unless one is given.
class ScopedSystemSettings {
public:
    ScopedSystemSettings(bool dropShadow, bool highContrast,
                         std::function<OSVERSIONINFOA()> version = nullptr,
                         decltype(ui::TSystemSettings::SetWindowAttribute) setAttribute = nullptr) {
        ui::TSystemSettings settings = ui::SystemSettingsPlatform();
        settings.DropShadow = [dropShadow] { return dropShadow; };
        settings.HighContrast = [highContrast] { return highContrast; };
        if (version) settings.Version = std::move(version);
        if (setAttribute) settings.SetWindowAttribute = std::move(setAttribute);
        previous_ = ui::SetSystemSettings(std::move(settings));
    }
    ~ScopedSystemSettings() { ui::SetSystemSettings(std::move(previous_)); }
    ScopedSystemSettings(const ScopedSystemSettings&) = delete;
    ScopedSystemSettings& operator=(const ScopedSystemSettings&) = delete;

private:
    ui::TSystemSettings previous_;
};

// One system colour changed for the scope through SetSysColors, which tells
// every window; it lasts for the prefix's session, so it is put back on every
// way out.
class ScopedSysColor {
public:
    ScopedSysColor(int index, COLORREF colour) : index_(index), previous_(GetSysColor(index)) {
        SetSysColors(1, &index_, &colour);
    }
    ~ScopedSysColor() { SetSysColors(1, &index_, &previous_); }
    ScopedSysColor(const ScopedSysColor&) = delete;
    ScopedSysColor& operator=(const ScopedSysColor&) = delete;

private:
    const int index_;
    const COLORREF previous_;
};

// The contrast ratio of the accessibility guidelines, from its definition.
inline double WcagRatio(COLORREF a, COLORREF b) {
    const auto lin = [](int v) {
        return v <= 10 ? v / 3294.6 : std::pow((v + 14.025) / 269.025, 2.4);
    };
    const auto lum = [&](COLORREF c) {
        return .05 + .2126 * lin(GetRValue(c)) + .7152 * lin(GetGValue(c)) +
               .0722 * lin(GetBValue(c));
    };
    return std::max(lum(a), lum(b)) / std::min(lum(a), lum(b));
}

// A dark and a light contrast theme of the tests' own; the highlight hardly stands out in both.
constexpr int kThemeIndices[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HOTLIGHT, COLOR_HIGHLIGHT,
                                 COLOR_GRAYTEXT};
constexpr COLORREF kContrastThemes[][std::size(kThemeIndices)] = {
    {0, RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 0, 160), RGB(64, 255, 64)},
    {RGB(255, 255, 255), 0, RGB(0, 0, 170), RGB(255, 210, 0), RGB(120, 0, 120)}};

// A contrast theme for the scope: the setting, then the colours (SetSysColors tells every window).
class ScopedContrastTheme {
public:
    explicit ScopedContrastTheme(const COLORREF* colours) {
        std::transform(kThemeIndices, std::end(kThemeIndices), previous_, GetSysColor);
        SetSysColors(std::size(kThemeIndices), kThemeIndices, colours);
    }
    ~ScopedContrastTheme() {
        settings_.reset();  // off first: the windows look at it when the colours change
        SetSysColors(std::size(kThemeIndices), kThemeIndices, previous_);
    }

private:
    std::optional<ScopedSystemSettings> settings_{std::in_place, false, true};
    COLORREF previous_[std::size(kThemeIndices)];
};

inline std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// A window's outer rectangle in the client coordinates of `reference`.
inline RECT RectIn(HWND window, HWND reference) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

constexpr int kMainLeft = 100;
constexpr int kMainTop = 100;
constexpr int kMainWidth = 322;
constexpr int kMainHeight = 269;

// The main window as far as the dialogs are concerned: a visible form they
// are placed over and give back to.
inline ui::TForm* MakeMainWindow(int left = kMainLeft, int top = kMainTop) {
    auto* main = ui::Create<ui::TForm>(ui::Application);
    main->SetBorderStyle(ui::TFormBorderStyle::bsSingle);
    main->SetCaption("Quillory");
    main->SetBounds(left, top, kMainWidth, kMainHeight);
    main->Show();
    return main;
}

inline RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}
// A child window's rectangle in its parent's client coordinates.
inline RECT ChildBounds(HWND child) {
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace quillory::testing
