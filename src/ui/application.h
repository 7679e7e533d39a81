// TApplication: the hidden top-level window that owns every form, the hooks
// on its messages, the message loop, the native message box and the error box
// for failures. The task-bar button is the main form's (TForm).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/component.h"
#include "ui/messages.h"

namespace quillory::ui {

class TForm;

// A hook sees every message sent to the application window before it is
// handled; returning true means it handled the message.
using TApplicationHook = std::function<bool(TMessage& message)>;

// The test seam of the native message box: when set, MessageBox asks it
// instead of showing a box, and returns its answer.
using TMessageBoxAnswerer =
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>;
TMessageBoxAnswerer SetMessageBoxAnswerer(TMessageBoxAnswerer answerer);

class TApplication : public TComponent {
public:
    const char* ClassName() const override { return "TApplication"; }
    TApplication();
    ~TApplication() override;

    // Common controls and the application window.
    void Initialize();
    HWND Handle() const { return window_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Creates a form owned by the application; the first one is the main form,
    // whose closing ends the program.
    template <typename T, typename... Args>
    T* CreateForm(Args&&... args) {
        T* form = Create<T>(this, std::forward<Args>(args)...);
        if (!main_form_) SetMainForm(form);
        return form;
    }
    TForm* MainForm() const { return main_form_; }
    bool ShowMainForm = true;

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Handles one message, waiting for it if there is none.
    void HandleMessage();

    // A native message box owned by the application window.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // The error box: the failure's text with a full stop, the title as caption.
    void ShowException(const std::string& message);
    // Shows the exception being handled (call inside a catch block).
    void HandleException();

    int HookMainWindow(TApplicationHook hook);
    void UnhookMainWindow(int id);

    void Notification(TComponent* component, TOperation operation) override;

private:
    static LRESULT CALLBACK AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void WndProc(TMessage& message);
    bool ProcessMessage();
    bool IsPreProcessMessage(MSG& msg);
    void SetMainForm(TForm* form);

    HWND window_ = nullptr;
    std::string title_;
    TForm* main_form_ = nullptr;
    bool terminated_ = false;
    std::vector<std::pair<int, TApplicationHook>> hooks_;
    int next_hook_id_ = 1;
};

// The platform's convention for an application-modal box or dialog, in one
// place for both: while a scope lives, every other enabled top-level window
// of the program, the application window included, takes no input. Its end
// enables exactly the windows it disabled, so one that was disabled already
// (the main window behind the level dialog, say) stays disabled.
class ApplicationModalScope {
public:
    // `modal`: the box or dialog itself, when its window exists already.
    explicit ApplicationModalScope(HWND modal = nullptr);
    ~ApplicationModalScope();
    ApplicationModalScope(const ApplicationModalScope&) = delete;
    ApplicationModalScope& operator=(const ApplicationModalScope&) = delete;

    const std::vector<HWND>& DisabledWindows() const { return disabled_; }

private:
    std::vector<HWND> disabled_;
};

// Lets `duration` pass on this thread with its windows painting, for a wait
// the player cannot cut short: paint messages are handled (and what other
// threads send, as every wait for messages does), input is dropped so that
// no command starts meanwhile, and every other message keeps its place.
void WaitPaintingOnly(std::chrono::milliseconds duration);

// The program's one application object (set by the TApplication constructor).
extern TApplication* Application;

// Shows the exception being handled through the application's error box.
void HandleCurrentException();

}  // namespace quillory::ui
