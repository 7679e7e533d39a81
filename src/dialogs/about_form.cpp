#include "dialogs/about_form.h"

#include <algorithm>

#include "ui/gdi.h"

namespace quillory {
namespace {

constexpr int kClientWidth = 316;
constexpr int kClientHeight = 247;
constexpr int kDesignLeft = 323;
constexpr int kDesignTop = 108;

}  // namespace

void THalftoneImage::Paint() {
    ui::TBitmap& picture = Picture();
    if (!Stretch() || picture.Empty()) return ui::TImage::Paint();
    HDC dc = Canvas().Handle();
    ui::ScopedSaveDC save(dc);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE wants the brush origin set after it
    const RECT client = ClientRect();
    StretchBlt(dc, 0, 0, ui::RectWidth(client), ui::RectHeight(client), picture.DC(), 0, 0,
               picture.Width(), picture.Height(), SRCCOPY);
}

TAboutForm::TAboutForm(ui::TComponent* owner, ui::TForm* mainWindow)
    : ui::TForm(owner), main_window_(mainWindow) {
    SetName("AboutForm");
    SetBorderStyle(ui::TFormBorderStyle::bsToolWindow);
    SetFormStyle(ui::TFormStyle::fsStayOnTop);
    SetCaption("About");
    SetColor(clBtnFace);
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    SetBounds(kDesignLeft, kDesignTop, Width(), Height());

    Image1 = ui::Create<THalftoneImage>(this);
    Image1->SetName("Image1");
    Image1->SetStretch(true);
    Image1->SetPictureResource(GetModuleHandleA(nullptr), kAboutPictureResource);
    Image1->SetParent(this);
    LayOut();

    OnClose = [this](ui::TComponent* sender, ui::TCloseAction& action) {
        FormClose(sender, action);
    };
    OnKeyDown = [this](ui::TComponent* sender, WORD& key, ui::TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
}

// The picture fills the client area at every scale, stretched smoothly.
void TAboutForm::LayOut() {
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    Image1->SetBounds(0, 0, Scaled(kClientWidth), Scaled(kClientHeight));
}

void TAboutForm::DpiChanged(int) {
    LayOut();
}

void TAboutForm::SetVisible(bool visible) {
    if (visible && !placed_ && main_window_ && main_window_->HandleAllocated()) {
        // The first showing is centred over the main window, which is still on
        // screen; from then on the window opens where it is put.
        placed_ = true;
        CentreOver(*main_window_, /*keepOnScreen=*/true);
    }
    ui::TForm::SetVisible(visible);
}

void TAboutForm::ShowInPlaceOfMainWindow() {
    if (main_window_ && main_window_->HandleAllocated()) {
        const RECT main = main_window_->WindowRect();
        SetBounds(main.left, main.top, Width(), Height());
    }
    Show();
    if (main_window_) main_window_->Hide();
}

void TAboutForm::FormClose(ui::TComponent*, ui::TCloseAction& action) {
    action = ui::TCloseAction::caHide;
    if (!main_window_) return;
    // The main window comes back wherever the player moved this one.
    const RECT own = WindowRect();
    main_window_->SetBounds(own.left, own.top, main_window_->Width(), main_window_->Height());
    main_window_->Show();
    // Showing it activates it as a rule; where it does not, this window must
    // not leave the choice to the system as it goes.
    PassActivationTo(*main_window_);
}

void TAboutForm::FormKeyDown(ui::TComponent*, WORD& key, ui::TShiftState) {
    if (key != VK_ESCAPE) return;
    key = 0;
    Close();
}

}  // namespace quillory
