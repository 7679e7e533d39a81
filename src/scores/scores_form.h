// TScoresForm: the top scores dialog. Ranks, names and scores of the table,
// an OK button and "Clear !". Created hidden at start-up (its creation loads
// the table, and so does every showing), then only shown and hidden; shown while the main window is
// disabled, which its closing enables again.
#pragma once

#include <vector>

#include "scores/score_keeper.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/std_controls.h"

namespace quillory {

// A list box whose lines are a fixed number of pixels high, whatever its font.
class TScoreListBox : public ui::TListBox {
public:
    const char* ClassName() const override { return "TScoreListBox"; }
    explicit TScoreListBox(ui::TComponent* owner) : ui::TListBox(owner) {}

    int ItemHeight() const { return item_height_; }
    void SetItemHeight(int height);

protected:
    void CreateHandleDone() override;
    void WndProc(ui::TMessage& message) override;

private:
    void ApplyItemHeight();
    int item_height_ = 13;
};

class TScoresForm : public ui::TForm {
public:
    const char* ClassName() const override { return "TScoresForm"; }
    // `keeper` fills the lists and must outlive the dialog; `mainWindow` is the
    // window the dialog is first centred over and enables when it closes.
    TScoresForm(ui::TComponent* owner, ScoreKeeper& keeper, ui::TForm* mainWindow);
    ~TScoresForm() override;

    void SetVisible(bool visible) override;

    ui::TLabel* Label1 = nullptr;
    TScoreListBox* IndexList = nullptr;
    TScoreListBox* NameList = nullptr;
    TScoreListBox* ScoreList = nullptr;
    ui::TButton* Button1 = nullptr;
    ui::TButton* Button2 = nullptr;
    ui::TButton* Button3 = nullptr;  // "Watch...": enabled while a row has a record
    // One item for each row, those with a record shown; made with the dialog
    // so that the menus' style finds them.
    ui::TPopupMenu* WatchMenu = nullptr;

    // Runs after the dialog closed (by OK, Enter, Esc or the caption's button)
    // and the main window was enabled again.
    ui::TNotifyEvent OnClosed;

    void FormCreate(ui::TComponent* sender);
    void Button1Click(ui::TComponent* sender);
    void Button2Click(ui::TComponent* sender);
    // Offers the rows that have a record in a menu under the button.
    void Button3Click(ui::TComponent* sender);
    // The rows (0-based, in table order) whose game can be watched.
    std::vector<int> WatchableRows() const;
    // Closes the dialog and has row `row`'s game played on the main board.
    void WatchRow(int row);
    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);

protected:
    void DpiChanged(int oldDpi) override;

private:
    void LayOut();
    void FillLists(const ScoreLines& lines);

    ScoreKeeper& keeper_;
    ui::TForm* main_window_;
    bool placed_ = false;
};

}  // namespace quillory
