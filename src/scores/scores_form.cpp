#include "scores/scores_form.h"

#include <algorithm>
#include <string>

#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/gdi.h"

namespace quillory {
namespace {

constexpr int kClientWidth = 235;
constexpr int kClientHeight = 256;
constexpr int kDesignLeft = 340;
constexpr int kDesignTop = 187;
constexpr const char* kFontName = "Tahoma";
constexpr int kFontHeight = -11;
constexpr int kLineHeight = 13;
constexpr int kListTop = 32;
constexpr int kListHeight = 137;
constexpr int kButtonTop = 184;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kWatchTop = 217;
constexpr int kWatchLeft = 80;

// "Name", 29 spaces, "Score": the two words stand over their columns.
const std::string kHeading = "Name" + std::string(29, ' ') + "Score";

// The heading is laid out for Tahoma's narrow spaces; where the face is
// another one the label grows rather than cut "Score" off.
void FitLabelToCaption(ui::TLabel& label) {
    ui::WindowDC screen(nullptr);
    ui::TCanvas canvas(screen.Get());
    canvas.Font = label.Font();
    const int needed = canvas.TextWidth(label.Caption());
    if (needed > label.Width()) label.SetWidth(needed);
}

}  // namespace

// ---------------------------------------------------------------- TScoreListBox

void TScoreListBox::SetItemHeight(int height) {
    if (height <= 0 || height == item_height_) return;
    item_height_ = height;
    ApplyItemHeight();
}

void TScoreListBox::ApplyItemHeight() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(item_height_, 0));
    Invalidate();
}

void TScoreListBox::CreateHandleDone() {
    ui::TListBox::CreateHandleDone();
    ApplyItemHeight();
}

void TScoreListBox::WndProc(ui::TMessage& message) {
    ui::TListBox::WndProc(message);
    // A new font makes the list box measure its lines again.
    if (message.Msg == ui::CM_FONTCHANGED) ApplyItemHeight();
}

// ---------------------------------------------------------------- TScoresForm

TScoresForm::TScoresForm(ui::TComponent* owner, ScoreKeeper& keeper, ui::TForm* mainWindow)
    : ui::TForm(owner), keeper_(keeper), main_window_(mainWindow) {
    SetName("ScoresForm");
    SetBorderStyle(ui::TFormBorderStyle::bsToolWindow);
    SetCaption("Top Scores");
    SetColor(clBtnFace);
    Font().SetName(kFontName);
    Font().SetHeight(kFontHeight);
    Font().SetCharset(ANSI_CHARSET);
    Font().SetColor(clWindowText);
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    SetBounds(kDesignLeft, kDesignTop, Width(), Height());

    Label1 = ui::Create<ui::TLabel>(this);
    Label1->SetName("Label1");
    Label1->SetCaption(kHeading);
    Label1->SetParent(this);
    Label1->Font().SetStyle(ui::fsBold);

    // Created in tab order: IndexList, Button1, NameList, ScoreList, Button2.
    auto makeList = [this](const char* name) {
        auto* list = ui::Create<TScoreListBox>(this);
        list->SetName(name);
        list->SetBorderStyle(ui::TBorderStyle::bsNone);
        list->SetColor(clBtnFace);
        list->SetEnabled(false);
        list->SetParent(this);
        list->Font().SetStyle(ui::fsBold);
        return list;
    };
    IndexList = makeList("IndexList");
    for (int rank = 1; rank <= kScoreRows; ++rank) IndexList->AddItem(std::to_string(rank));

    Button1 = ui::Create<ui::TButton>(this);
    Button1->SetName("Button1");
    Button1->SetCaption("OK");
    Button1->SetDefault(true);
    Button1->SetCancel(true);
    Button1->SetParent(this);
    Button1->Font().SetStyle(ui::fsBold);
    Button1->OnClick = [this](ui::TComponent* sender) { Button1Click(sender); };

    NameList = makeList("NameList");
    ScoreList = makeList("ScoreList");

    Button2 = ui::Create<ui::TButton>(this);
    Button2->SetName("Button2");
    Button2->SetCaption("Clear !");
    Button2->SetParent(this);
    Button2->OnClick = [this](ui::TComponent* sender) { Button2Click(sender); };

    Button3 = ui::Create<ui::TButton>(this);
    Button3->SetName("Button3");
    Button3->SetCaption("&Watch...");
    Button3->SetParent(this);
    Button3->SetEnabled(false);
    Button3->OnClick = [this](ui::TComponent* sender) { Button3Click(sender); };

    WatchMenu = ui::Create<ui::TPopupMenu>(this);
    WatchMenu->SetName("WatchMenu");
    for (int row = 0; row < kScoreRows; ++row) {
        auto* item = ui::Create<ui::TMenuItem>(this);
        item->SetName("WatchRow" + std::to_string(row + 1));
        item->OnClick = [this, row](ui::TComponent*) { WatchRow(row); };
        WatchMenu->Items()->Add(item);
    }

    LayOut();
    SetActiveControl(Button1);
    keeper_.ShowLines = [this](const ScoreLines& lines) { FillLists(lines); };
    OnCreate = [this](ui::TComponent* sender) { FormCreate(sender); };
    OnClose = [this](ui::TComponent* sender, ui::TCloseAction& action) {
        FormClose(sender, action);
    };
}

// The design at 96 dpi, scaled to the dialog's screen; the lists keep ten
// lines of their scaled height.
void TScoresForm::LayOut() {
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    Label1->SetBounds(Scaled(32), Scaled(8), Scaled(151), Scaled(13));
    FitLabelToCaption(*Label1);
    auto placeList = [this](TScoreListBox* list, int left, int width) {
        list->SetBounds(Scaled(left), Scaled(kListTop), Scaled(width), Scaled(kListHeight));
        list->SetItemHeight(Scaled(kLineHeight));
    };
    placeList(IndexList, 13, 17);
    placeList(NameList, 32, 105);
    placeList(ScoreList, 152, 65);
    Button1->SetBounds(Scaled(36), Scaled(kButtonTop), Scaled(kButtonWidth), Scaled(kButtonHeight));
    Button2->SetBounds(Scaled(124), Scaled(kButtonTop), Scaled(kButtonWidth),
                       Scaled(kButtonHeight));
    Button3->SetBounds(Scaled(kWatchLeft), Scaled(kWatchTop), Scaled(kButtonWidth),
                       Scaled(kButtonHeight));
}

void TScoresForm::DpiChanged(int) {
    LayOut();
}

TScoresForm::~TScoresForm() {
    keeper_.ShowLines = nullptr;
}

void TScoresForm::FormCreate(ui::TComponent*) {
    keeper_.LoadScore();
}

void TScoresForm::Button1Click(ui::TComponent*) {
    Close();
}

void TScoresForm::Button2Click(ui::TComponent*) {
    if (ui::MessageDlg("Are you sure?", ui::TMsgDlgType::mtConfirmation, ui::mbYes | ui::mbNo) !=
        ui::mrYes)
        return;
    keeper_.DeleteScoreFile();
}

std::vector<int> TScoresForm::WatchableRows() const {
    std::vector<int> rows;
    for (int row = 0; row < kScoreRows; ++row)
        if (keeper_.ReplayOfRow(row)) rows.push_back(row);
    return rows;
}

void TScoresForm::Button3Click(ui::TComponent*) {
    const std::vector<int> rows = WatchableRows();
    if (rows.empty()) return;
    WatchMenu->BeginUpdate();
    for (int row = 0; row < kScoreRows; ++row) {
        // "&1" to "1&0": each row is picked by its rank's last digit too.
        std::string text = std::to_string(row + 1);
        text.insert(text.size() - 1, "&");
        text += ".  ";
        for (char ch : NameList->Item(row)) text += ch == '&' ? std::string("&&") : std::string(1, ch);
        if (!ScoreList->Item(row).empty()) text += "  -  " + ScoreList->Item(row);
        ui::TMenuItem* item = WatchMenu->Items()->Items(row);
        item->SetCaption(text);
        item->SetVisible(std::find(rows.begin(), rows.end(), row) != rows.end());
    }
    WatchMenu->EndUpdate();
    RECT button{};
    GetWindowRect(Button3->Handle(), &button);
    WatchMenu->Popup(button.left, button.bottom);
}

void TScoresForm::WatchRow(int row) {
    const KeptReplay* replay = keeper_.ReplayOfRow(row);
    if (!replay) return;
    const KeptReplay chosen = *replay;  // closing may read the table again
    Close();
    if (keeper_.WatchReplay) keeper_.WatchReplay(chosen);
}

void TScoresForm::FormClose(ui::TComponent*, ui::TCloseAction& action) {
    action = ui::TCloseAction::caHide;
    // Enabled and activated before this window goes, not left to the system.
    if (main_window_) {
        main_window_->SetEnabled(true);
        PassActivationTo(*main_window_);
    }
    if (OnClosed) OnClosed(this);
}

void TScoresForm::SetVisible(bool visible) {
    // Another copy of the game may have saved since the table was read: the
    // lists show the file as it is when the dialog opens. A file that cannot
    // be read is reported and the dialog opens all the same, "Clear !" being
    // the player's way out of a broken file.
    if (visible && !Visible()) keeper_.LoadScore();
    if (visible && !placed_ && main_window_ && main_window_->HandleAllocated()) {
        // The first showing is centred over the main window; later ones keep
        // wherever the player left the dialog.
        placed_ = true;
        CentreOver(*main_window_, /*keepOnScreen=*/true);
    }
    ui::TForm::SetVisible(visible);
}

void TScoresForm::FillLists(const ScoreLines& lines) {
    NameList->ClearItems();
    ScoreList->ClearItems();
    for (const std::string& name : lines.Names) NameList->AddItem(name);
    for (const std::string& score : lines.Scores) ScoreList->AddItem(score);
    Button3->SetEnabled(!WatchableRows().empty());
}

}  // namespace quillory
