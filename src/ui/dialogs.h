// Message dialogs and the one-line input dialog, built as ordinary forms of
// the framework (so styling reaches their buttons and edit field). Their modal
// loops answer to the test seam of SetModalAnswerer.
#pragma once

#include <string>

#include "ui/forms.h"

namespace quillory::ui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 0x01;
constexpr TMsgDlgButtons mbNo = 0x02;
constexpr TMsgDlgButtons mbOK = 0x04;
constexpr TMsgDlgButtons mbCancel = 0x08;
constexpr TMsgDlgButtons mbAbort = 0x10;
constexpr TMsgDlgButtons mbRetry = 0x20;
constexpr TMsgDlgButtons mbIgnore = 0x40;

// "Confirm", "Information", "Warning", "Error" (mtCustom: the application's title).
std::string MessageDialogCaption(TMsgDlgType type);

// A dialog form owned by the application: icon "Image", text "Message", and a
// button per flag named "Yes", "No", "OK", "Cancel", "Abort", "Retry",
// "Ignore" with captions "&Yes", "&No", "OK", "Cancel"... The caller frees it.
TForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows it modally, centred on the screen, and returns the modal result.
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);

// The input dialog form: prompt "Prompt" (word-wrapped label), edit field
// "Edit" (255 characters, its text selected), buttons "OK" (default) and
// "Cancel" (Esc). The caller frees it.
TForm* CreateInputDialog(const std::string& caption, const std::string& prompt,
                         const std::string& value);
// True and the edited text in `value` when OK ends it; `value` unchanged otherwise.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

}  // namespace quillory::ui
