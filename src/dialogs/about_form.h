// TAboutForm: the about window, one picture stretched over its client area.
// It is shown in the main window's place while the main window is hidden, and
// closing it brings the main window back where the about window stood.
#pragma once

#include "ui/ext_controls.h"
#include "ui/forms.h"

namespace quillory {

// The resource the program and its tests carry the about picture under.
inline constexpr const char* kAboutPictureResource = "ABOUTPICTURE";

// A picture control that stretches with HALFTONE: the picture's text and thin
// lines stay legible at a size that is not a whole multiple of its own.
class THalftoneImage : public ui::TImage {
public:
    const char* ClassName() const override { return "THalftoneImage"; }
    explicit THalftoneImage(ui::TComponent* owner) : ui::TImage(owner) {}

protected:
    void Paint() override;
};

class TAboutForm : public ui::TForm {
public:
    const char* ClassName() const override { return "TAboutForm"; }
    // `mainWindow` is the window the about window stands in for.
    TAboutForm(ui::TComponent* owner, ui::TForm* mainWindow);

    void SetVisible(bool visible) override;

    // The About command's part of the work: this window at the main window's
    // top-left corner (centred over it the first time), then the main window hidden.
    void ShowInPlaceOfMainWindow();

    THalftoneImage* Image1 = nullptr;

    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);
    // Esc closes the window as its close button does: it has no button of its own.
    void FormKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);

protected:
    void DpiChanged(int oldDpi) override;

private:
    void LayOut();
    ui::TForm* main_window_;
    bool placed_ = false;
};

}  // namespace quillory
