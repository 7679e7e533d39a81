#include "ui/dialogs.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/ext_controls.h"
#include "ui/std_controls.h"

namespace quillory::ui {

namespace {

constexpr int kDialogMargin = 12;
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
// every other form they are whole (and loaded) when they are announced. They
// lay them out at their scale then, and again should they move to a screen of
// another scale while they wait for their answer.
class TMessageForm : public TForm {
public:
    const char* ClassName() const override { return "TMessageForm"; }
    TMessageForm(TComponent* owner, const std::string& message, TMsgDlgType type,
                 TMsgDlgButtons buttons);

protected:
    void DpiChanged(int) override { LayOut(); }

private:
    void LayOut();
    TImage* image_ = nullptr;
    LPCSTR icon_name_ = nullptr;
    TLabel* label_ = nullptr;
    std::vector<TButton*> buttons_;
};

class TInputForm : public TForm {
public:
    const char* ClassName() const override { return "TInputForm"; }
    TInputForm(TComponent* owner, const std::string& caption, const std::string& prompt,
               const std::string& value);

protected:
    void DpiChanged(int) override { LayOut(); }
    // The edit has the focus from the start, so it is never entered: what it
    // holds is selected here, and the first key typed replaces it.
    void DoShow() override {
        edit_->SelectAll();
        TForm::DoShow();
    }

private:
    void LayOut();
    TLabel* label_ = nullptr;
    TEdit* edit_ = nullptr;
    TButton* ok_ = nullptr;
    TButton* cancel_ = nullptr;
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
    SetUpDialog(*this, MessageDialogCaption(type));
    if (IconFor(type)) {
        image_ = Create<TImage>(this);
        image_->SetName("Image");
        image_->SetParent(this);
    }
    icon_name_ = IconFor(type);
    label_ = Create<TLabel>(this);
    label_->SetName("Message");
    label_->SetCaption(message);
    label_->SetWordWrap(true);
    label_->SetTransparent(true);
    label_->SetParent(this);

    std::vector<const ButtonKind*> kinds;
    for (const ButtonKind& kind : kButtonKinds) {
        if (buttons & kind.flag) kinds.push_back(&kind);
    }
    if (kinds.empty()) kinds.push_back(&kButtonKinds[2]);  // at least OK
    // Esc answers with Cancel if there is one, else No, else the only button.
    TMsgDlgButtons cancelFlag = (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : 0;
    if (!cancelFlag && kinds.size() == 1) cancelFlag = kinds.front()->flag;
    for (const ButtonKind* kind : kinds) {
        auto* button = Create<TButton>(this);
        button->SetName(kind->name);
        button->SetCaption(kind->caption);
        button->SetModalResult(kind->result);
        button->SetCancel(kind->flag == cancelFlag);
        if (buttons_.empty()) button->SetDefault(true);
        button->SetParent(this);
        buttons_.push_back(button);
    }
    LayOut();
    SetActiveControl(buttons_.front());
}

void TMessageForm::LayOut() {
    const int margin = Scaled(kDialogMargin);
    const int buttonWidth = Scaled(kButtonWidth);
    const int buttonHeight = Scaled(kButtonHeight);
    const int buttonGap = Scaled(kButtonGap);
    int textLeft = margin;
    int contentBottom = margin;
    int iconSize = 0;
    if (image_) {
        // The system's icon at the size it has for this scale.
        iconSize = SystemMetricForDpi(SM_CXICON, Dpi());
        image_->SetBounds(margin, margin, iconSize, iconSize);
        image_->SetIcon(static_cast<HICON>(
            LoadImageA(nullptr, icon_name_, IMAGE_ICON, iconSize, iconSize, LR_SHARED)));
        textLeft += iconSize + margin;
        contentBottom = margin + iconSize;
    }
    {
        WindowDC screen(nullptr);
        TCanvas canvas(screen.Get());
        canvas.Font = label_->Font();
        RECT text{0, 0, Scaled(kMaxMessageWidth), 0};
        canvas.DrawText(label_->Caption(), text, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        const int textTop = std::max(margin, margin + (iconSize - RectHeight(text)) / 2);
        label_->SetBounds(textLeft, textTop, RectWidth(text) + 1, RectHeight(text));
        contentBottom = std::max(contentBottom, textTop + RectHeight(text));
    }
    const int count = static_cast<int>(buttons_.size());
    const int buttonsWidth = count * buttonWidth + (count - 1) * buttonGap;
    const int clientWidth =
        std::max(label_->Left() + label_->Width() + margin, buttonsWidth + 2 * margin);
    const int buttonTop = contentBottom + margin + Scaled(4);
    int x = (clientWidth - buttonsWidth) / 2;
    for (TButton* button : buttons_) {
        button->SetBounds(x, buttonTop, buttonWidth, buttonHeight);
        x += buttonWidth + buttonGap;
    }
    SetClientSize(clientWidth, buttonTop + buttonHeight + margin);
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
    SetUpDialog(*this, caption);
    label_ = Create<TLabel>(this);
    label_->SetName("Prompt");
    label_->SetCaption(prompt);
    label_->SetWordWrap(true);
    label_->SetTransparent(true);
    label_->SetParent(this);

    edit_ = Create<TEdit>(this);
    edit_->SetName("Edit");
    edit_->SetMaxLength(kInputMaxLength);
    edit_->SetText(value);
    edit_->SetParent(this);
    TEdit* edit = edit_;
    edit_->OnEnter = [edit](TComponent*) { edit->SelectAll(); };

    ok_ = Create<TButton>(this);
    ok_->SetName("OK");
    ok_->SetCaption("OK");
    ok_->SetModalResult(mrOk);
    ok_->SetDefault(true);
    ok_->SetParent(this);
    cancel_ = Create<TButton>(this);
    cancel_->SetName("Cancel");
    cancel_->SetCaption("Cancel");
    cancel_->SetModalResult(mrCancel);
    cancel_->SetCancel(true);
    cancel_->SetParent(this);

    LayOut();
    SetActiveControl(edit_);
}

void TInputForm::LayOut() {
    const int margin = Scaled(kDialogMargin);
    const int clientWidth = Scaled(kInputClientWidth);
    const int innerWidth = clientWidth - 2 * margin;
    const int buttonWidth = Scaled(kButtonWidth);
    const int buttonHeight = Scaled(kButtonHeight);
    const int buttonGap = Scaled(kButtonGap);
    label_->SetBounds(margin, margin, innerWidth, Scaled(13));
    label_->SetHeight(label_->TextHeightForWidth());
    edit_->SetBounds(margin, label_->Top() + label_->Height() + Scaled(6), innerWidth,
                     Scaled(kEditHeight));
    const int buttonTop = edit_->Top() + edit_->Height() + margin + Scaled(4);
    const int center = clientWidth / 2;
    ok_->SetBounds(center - buttonWidth - buttonGap / 2, buttonTop, buttonWidth, buttonHeight);
    cancel_->SetBounds(center + buttonGap / 2, buttonTop, buttonWidth, buttonHeight);
    SetClientSize(clientWidth, buttonTop + buttonHeight + margin);
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
