#include "ui/dialogs.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/application.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"

namespace quillory::ui {

namespace {

constexpr int kDialogMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr int kMaxMessageWidth = 360;
constexpr int kInputClientWidth = 260;
constexpr int kInputMaxLength = 255;
constexpr int kEditHeight = 21;

struct ButtonKind {
    TMsgDlgButtons flag;
    const char* name;
    const char* caption;
    TModalResult result;
};

constexpr ButtonKind kButtonKinds[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
};

LPCSTR IconFor(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return IDI_WARNING;
        case TMsgDlgType::mtError: return IDI_ERROR;
        case TMsgDlgType::mtInformation: return IDI_INFORMATION;
        case TMsgDlgType::mtConfirmation: return IDI_QUESTION;
        case TMsgDlgType::mtCustom: return nullptr;
    }
    return nullptr;
}

void SetUpDialog(TForm& form, const std::string& caption) {
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetPosition(TPosition::poScreenCenter);
    form.SetCaption(caption);
    form.Font().SetName(kDefaultFontName);
    form.Font().SetHeight(kDefaultFontHeight);
}

// The two dialogs build their controls in their constructors, so that like
// every other form they are whole (and loaded) when they are announced.
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type,
                 TMsgDlgButtons buttons);
};

class TInputForm : public TForm {
public:
    TInputForm(TComponent* owner, const std::string& caption, const std::string& prompt,
               const std::string& value);
};

// Frees a dialog form when the scope ends, also after a failure.
struct FormOwner {
    explicit FormOwner(TForm* f) : form(f) {}
    ~FormOwner() { delete form; }
    FormOwner(const FormOwner&) = delete;
    FormOwner& operator=(const FormOwner&) = delete;
    TForm* form;
};

}  // namespace

std::string MessageDialogCaption(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return "Warning";
        case TMsgDlgType::mtError: return "Error";
        case TMsgDlgType::mtInformation: return "Information";
        case TMsgDlgType::mtConfirmation: return "Confirm";
        case TMsgDlgType::mtCustom: break;
    }
    return Application ? Application->Title() : std::string();
}

TMessageForm::TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type,
                           TMsgDlgButtons buttons)
    : TForm(owner) {
    TForm* form = this;
    SetUpDialog(*form, MessageDialogCaption(type));
    int textLeft = kDialogMargin;
    int contentBottom = kDialogMargin;
    if (LPCSTR iconName = IconFor(type)) {
        auto* image = Create<TImage>(form);
        image->SetName("Image");
        image->SetBounds(kDialogMargin, kDialogMargin, kIconSize, kIconSize);
        image->SetIcon(LoadIcon(nullptr, iconName));
        image->SetParent(form);
        textLeft += kIconSize + kDialogMargin;
        contentBottom = kDialogMargin + kIconSize;
    }
    auto* label = Create<TLabel>(form);
    label->SetName("Message");
    label->SetCaption(message);
    label->SetWordWrap(true);
    label->SetTransparent(true);
    {
        WindowDC screen(nullptr);
        TCanvas canvas(screen.Get());
        canvas.Font = form->Font();
        RECT text{0, 0, kMaxMessageWidth, 0};
        canvas.DrawText(message, text, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        const int textTop =
            std::max(kDialogMargin, kDialogMargin + (kIconSize - RectHeight(text)) / 2);
        label->SetBounds(textLeft, textTop, RectWidth(text) + 1, RectHeight(text));
        contentBottom = std::max(contentBottom, textTop + RectHeight(text));
    }
    label->SetParent(form);

    std::vector<const ButtonKind*> kinds;
    for (const ButtonKind& kind : kButtonKinds) {
        if (buttons & kind.flag) kinds.push_back(&kind);
    }
    if (kinds.empty()) kinds.push_back(&kButtonKinds[2]);  // at least OK
    const int buttonsWidth = static_cast<int>(kinds.size()) * kButtonWidth +
                             (static_cast<int>(kinds.size()) - 1) * kButtonGap;
    const int clientWidth =
        std::max(label->Left() + label->Width() + kDialogMargin, buttonsWidth + 2 * kDialogMargin);
    const int buttonTop = contentBottom + kDialogMargin + 4;
    int x = (clientWidth - buttonsWidth) / 2;
    // Esc answers with Cancel if there is one, else No, else the only button.
    TMsgDlgButtons cancelFlag = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : 0;
    if (!cancelFlag && kinds.size() == 1) cancelFlag = kinds.front()->flag;
    TButton* first = nullptr;
    for (const ButtonKind* kind : kinds) {
        auto* button = Create<TButton>(form);
        button->SetName(kind->name);
        button->SetCaption(kind->caption);
        button->SetModalResult(kind->result);
        button->SetBounds(x, buttonTop, kButtonWidth, kButtonHeight);
        button->SetCancel(kind->flag == cancelFlag);
        if (!first) {
            first = button;
            button->SetDefault(true);
        }
        button->SetParent(form);
        x += kButtonWidth + kButtonGap;
    }
    form->SetClientSize(clientWidth, buttonTop + kButtonHeight + kDialogMargin);
    form->SetActiveControl(first);
}

TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
    return Create<TMessageForm>(Application, message, type, buttons);
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
    FormOwner dialog(CreateMessageDialog(message, type, buttons));
    return dialog.form->ShowModal();
}

TInputForm::TInputForm(TComponent* owner, const std::string& caption, const std::string& prompt,
                       const std::string& value)
    : TForm(owner) {
    TForm* form = this;
    SetUpDialog(*form, caption);
    const int innerWidth = kInputClientWidth - 2 * kDialogMargin;
    auto* label = Create<TLabel>(form);
    label->SetName("Prompt");
    label->SetCaption(prompt);
    label->SetWordWrap(true);
    label->SetTransparent(true);
    label->SetBounds(kDialogMargin, kDialogMargin, innerWidth, 13);
    label->SetParent(form);
    label->SetHeight(label->TextHeightForWidth());

    auto* edit = Create<TEdit>(form);
    edit->SetName("Edit");
    edit->SetBounds(kDialogMargin, label->Top() + label->Height() + 6, innerWidth, kEditHeight);
    edit->SetMaxLength(kInputMaxLength);
    edit->SetText(value);
    edit->SetParent(form);
    edit->OnEnter = [edit](TComponent*) { edit->SelectAll(); };

    const int buttonTop = edit->Top() + edit->Height() + kDialogMargin + 4;
    const int center = kInputClientWidth / 2;
    auto* ok = Create<TButton>(form);
    ok->SetName("OK");
    ok->SetCaption("OK");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetBounds(center - kButtonWidth - kButtonGap / 2, buttonTop, kButtonWidth, kButtonHeight);
    ok->SetParent(form);
    auto* cancel = Create<TButton>(form);
    cancel->SetName("Cancel");
    cancel->SetCaption("Cancel");
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    cancel->SetBounds(center + kButtonGap / 2, buttonTop, kButtonWidth, kButtonHeight);
    cancel->SetParent(form);

    form->SetClientSize(kInputClientWidth, buttonTop + kButtonHeight + kDialogMargin);
    form->SetActiveControl(edit);
}

TForm* CreateInputDialog(const std::string& caption, const std::string& prompt,
                         const std::string& value) {
    return Create<TInputForm>(Application, caption, prompt, value);
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    FormOwner dialog(CreateInputDialog(caption, prompt, value));
    if (dialog.form->ShowModal() != mrOk) return false;
    value = static_cast<TEdit*>(dialog.form->FindComponent("Edit"))->Text();
    return true;
}

}  // namespace quillory::ui
