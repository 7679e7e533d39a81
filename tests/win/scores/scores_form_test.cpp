// The top scores dialog: its layout, its lists after loading and clearing,
// how it closes and where it appears.
#include "scores/scores_form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "scores_test_support.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"
#include "ui/gdi.h"

namespace quillory::testing {
namespace {

// A child window's bounds in its parent's client area.
LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class ScoresFormTest : public ::testing::Test {
protected:
    void Start() {
        keeper = std::make_unique<ScoreKeeper>(scores, files, path);
        dialog = ui::Create<TScoresForm>(ui::Application, *keeper, main);
        dialog->OnClosed = [this](ui::TComponent*) { ++closed; };
    }
    void TearDown() override {
        delete dialog;
        delete main;
        keeper.reset();
    }
    // Disables the main window and shows the dialog, as the Top Scores command does.
    void OpenDialog() {
        main->SetEnabled(false);
        dialog->Show();
        Pump();
    }
    std::vector<std::string> Names() { return WindowLines(*dialog->NameList); }
    std::vector<std::string> ScoreTexts() { return WindowLines(*dialog->ScoreList); }

    ScratchDirectory dir;
    std::string path = dir.File("scores.dat");
    ScoreTable scores{};
    Win32ScoreFileSystem files;
    std::unique_ptr<ScoreKeeper> keeper;
    ui::TForm* main = MakeMainWindow();
    TScoresForm* dialog = nullptr;
    int closed = 0;
};

TEST_F(ScoresFormTest, Layout) {
    Start();
    HWND window = dialog->Handle();  // its frame and its sizes at every scale: dialogs_dpi_test
    EXPECT_EQ(dialog->Font().Name(), "Tahoma");
    EXPECT_EQ(dialog->Font().Height(), -11);
    EXPECT_EQ(dialog->Font().Charset(), ANSI_CHARSET);
    EXPECT_EQ(dialog->Font().Color(), clWindowText);
    EXPECT_EQ(dialog->Color(), clBtnFace);

    EXPECT_EQ(dialog->Label1->Caption(), "Name                             Score");
    EXPECT_EQ(dialog->Label1->Caption().size(), 4u + 29u + 5u);
    const RECT label = dialog->Label1->BoundsRect();
    EXPECT_EQ(label.left, 32);
    EXPECT_EQ(label.top, 8);
    EXPECT_EQ(ui::RectHeight(label), 13);
    EXPECT_TRUE(dialog->Label1->Font().Style() & ui::fsBold);
    EXPECT_EQ(dialog->Label1->Font().Name(), "Tahoma");
    {
        // 151 pixels, or what the face needs to show "Score" whole.
        ui::WindowDC screen(nullptr);
        ui::TCanvas canvas(screen.Get());
        canvas.Font = dialog->Label1->Font();
        EXPECT_EQ(ui::RectWidth(label), std::max(151, canvas.TextWidth(dialog->Label1->Caption())));
        EXPECT_LE(label.right, 235) << "inside the dialog";
    }

    struct Expected {
        ui::TWinControl* control;
        int left, top, width, height;
        bool bold;
    };
    const Expected controls[] = {
        {dialog->IndexList, 13, 32, 17, 137, true}, {dialog->Button1, 36, 184, 75, 25, true},
        {dialog->NameList, 32, 32, 105, 137, true}, {dialog->ScoreList, 152, 32, 65, 137, true},
        {dialog->Button2, 124, 184, 75, 25, false}, {dialog->Button3, 80, 217, 75, 25, false},
    };
    // Tab order is the order of the child windows.
    HWND child = GetWindow(window, GW_CHILD);
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.control->Name());
        HWND handle = expected.control->Handle();
        EXPECT_EQ(child, handle) << "tab order";
        child = GetWindow(child, GW_HWNDNEXT);
        const RECT bounds = ChildBounds(handle);
        EXPECT_EQ(bounds.left, expected.left);
        EXPECT_EQ(bounds.top, expected.top);
        EXPECT_EQ(ui::RectWidth(bounds), expected.width);
        EXPECT_EQ(ui::RectHeight(bounds), expected.height);
        const LOGFONTA font = FontOf(handle);
        EXPECT_STREQ(font.lfFaceName, "Tahoma");
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight >= FW_BOLD, expected.bold);
    }

    for (TScoreListBox* list : {dialog->IndexList, dialog->NameList, dialog->ScoreList}) {
        SCOPED_TRACE(list->Name());
        HWND handle = list->Handle();
        EXPECT_FALSE(IsWindowEnabled(handle));
        EXPECT_FALSE(GetWindowLongPtrA(handle, GWL_STYLE) & WS_BORDER);
        EXPECT_FALSE(GetWindowLongPtrA(handle, GWL_EXSTYLE) &
                     (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        EXPECT_EQ(SendMessageA(handle, LB_GETITEMHEIGHT, 0, 0), 13);
        // The list's background is the dialog's button face.
        ui::WindowDC dc(handle);
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(window, WM_CTLCOLORLISTBOX,
                                                                 reinterpret_cast<WPARAM>(dc.Get()),
                                                                 reinterpret_cast<LPARAM>(handle)));
        LOGBRUSH colour{};
        ASSERT_TRUE(GetObjectA(brush, sizeof colour, &colour));
        EXPECT_EQ(colour.lbColor, GetSysColor(COLOR_BTNFACE));
        // Ten lines fit without scrolling.
        RECT last{};
        SendMessageA(handle, LB_GETITEMRECT, 9, reinterpret_cast<LPARAM>(&last));
        EXPECT_LE(last.bottom, 137);
    }
    EXPECT_EQ(WindowLines(*dialog->IndexList),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));

    EXPECT_EQ(WindowText(dialog->Button1->Handle()), "OK");
    EXPECT_EQ(WindowText(dialog->Button2->Handle()), "Clear !");
    EXPECT_TRUE(dialog->Button1->Default());
    EXPECT_TRUE(dialog->Button1->Cancel());
    EXPECT_EQ(GetWindowLongPtrA(dialog->Button1->Handle(), GWL_STYLE) & BS_TYPEMASK,
              BS_DEFPUSHBUTTON);
    EXPECT_FALSE(dialog->Button2->Default() || dialog->Button2->Cancel());
}

TEST_F(ScoresFormTest, ListsAfterLoadKeepEveryScoreBesideItsName) {
    // An unsorted file with a negative and a zero row.
    ScoreTable stored = TableOf({50, -5, 70, 0, 20});
    SetName(stored.Rows[3], "");
    WriteFileBytes(path, ImageOf(stored));
    MessageBoxRecorder boxes;
    Start();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Player 1", "Player 2", "Player 3", "", "Player 5",
                                                 "Player 6", "Player 7", "Player 8", "Player 9",
                                                 "Player 10"}));
    EXPECT_EQ(ScoreTexts(), Lines({"50", "", "70", "", "20"}));
}

TEST_F(ScoresFormTest, ClearAsksFirst) {
    const ScoreTable stored = TableOf({30, 20, 10});
    WriteFileBytes(path, ImageOf(stored));
    MessageBoxRecorder boxes;
    Start();
    OpenDialog();

    std::string answer = "No";
    ModalAnswers answers([&](ui::TForm& form) {
        EXPECT_EQ(form.Caption(), "Confirm");
        auto* text = dynamic_cast<ui::TControl*>(form.FindComponent("Message"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Caption(), "Are you sure?");
        EXPECT_NE(form.FindComponent("Image"), nullptr) << "the question icon";
        auto* yes = dynamic_cast<ui::TButton*>(form.FindComponent("Yes"));
        auto* no = dynamic_cast<ui::TButton*>(form.FindComponent("No"));
        ASSERT_TRUE(yes && no);
        EXPECT_EQ(yes->Caption(), "&Yes");
        EXPECT_EQ(no->Caption(), "&No");
        EXPECT_TRUE(yes->Default());
        EXPECT_TRUE(no->Cancel());
        ClickButton(form, answer.c_str());
    });

    SendMessageA(dialog->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(ReadFileBytes(path), ImageOf(stored));
    EXPECT_EQ(ImageOf(scores), ImageOf(stored));
    EXPECT_EQ(ScoreTexts(), Lines({"30", "20", "10"}));

    answer = "Yes";
    SendMessageA(dialog->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(answers.shown, 2);
    EXPECT_FALSE(FileExists(path)) << "deleted, and not written again";
    EXPECT_EQ(Names(), Lines({}));
    EXPECT_EQ(ScoreTexts(), Lines({}));
    for (const ScoreEntry& row : scores.Rows) {
        EXPECT_EQ(row.NameLength, 0);
        EXPECT_EQ(row.Points, 0);
    }
    EXPECT_TRUE(IsWindowVisible(dialog->Handle())) << "the dialog stays open";
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ScoresFormTest, ClearingAReadOnlyFileKeepsTheTable) {
    const ScoreTable stored = TableOf({30, 20, 10});
    WriteFileBytes(path, ImageOf(stored));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    MessageBoxRecorder boxes;
    Start();
    ModalAnswers answers([](ui::TForm& form) { ClickButton(form, "Yes"); });
    dialog->Button2Click(dialog->Button2);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ImageOf(scores), ImageOf(stored));
    EXPECT_EQ(ScoreTexts(), Lines({"30", "20", "10"}));
    EXPECT_TRUE(boxes.boxes.empty());
}

// Another copy's save at the same moment would bring the cleared rows back.
TEST_F(ScoresFormTest, ClearWaitsForAnotherCopysSave) {
    WriteFileBytes(path, ImageOf(TableOf({30})));
    MessageBoxRecorder boxes;
    Start();
    Win32ScoreFileSystem otherCopy;
    auto held = std::make_unique<ScoreFileHold>(otherCopy, path, std::chrono::milliseconds(0));
    boxes.answers = {[&] {
        held.reset();
        return IDRETRY;
    }};
    ModalAnswers answers([](ui::TForm& form) { ClickButton(form, "Yes"); });
    dialog->Button2Click(dialog->Button2);
    EXPECT_EQ(boxes.boxes.size(), 1u) << "the busy box";
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ScoreTexts(), Lines({}));
}

TEST_F(ScoresFormTest, EveryWayOfClosingEnablesTheMainWindow) {
    Start();
    const auto closeBy = [&](const char* how, const std::function<void()>& close) {
        SCOPED_TRACE(how);
        const int before = closed;
        OpenDialog();
        ASSERT_TRUE(IsWindowVisible(dialog->Handle()));
        ASSERT_FALSE(IsWindowEnabled(main->Handle()));
        close();
        Pump();
        EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
        EXPECT_TRUE(IsWindowEnabled(main->Handle()));
        EXPECT_EQ(closed, before + 1);
    };
    closeBy("OK", [&] { SendMessageA(dialog->Button1->Handle(), BM_CLICK, 0, 0); });
    closeBy("Enter", [&] { PostMessageA(dialog->Button1->Handle(), WM_KEYDOWN, VK_RETURN, 0); });
    // Esc answers wherever the focus is: the cancel button takes it.
    closeBy("Esc", [&] { PostMessageA(dialog->Button2->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    closeBy("caption button", [&] { SendMessageA(dialog->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(IsWindow(dialog->Handle())) << "hidden, never destroyed";
    EXPECT_EQ(Names(), Lines({})) << "the lists are kept";
}

TEST_F(ScoresFormTest, CentredTheFirstTimeThenWhereThePlayerLeftIt) {
    Start();
    OpenDialog();
    const RECT mainRect = WindowRect(main->Handle());
    RECT own = WindowRect(dialog->Handle());
    // Over the main window's middle, within a pixel.
    EXPECT_NEAR(own.left + own.right, mainRect.left + mainRect.right, 1);
    EXPECT_NEAR(own.top + own.bottom, mainRect.top + mainRect.bottom, 1);
    RECT client{};
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, 235) << "placing keeps the size";

    // The player drags it away, closes it; the main window moves meanwhile.
    SetWindowPos(dialog->Handle(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog->Close();
    main->SetBounds(300, 200, kMainWidth, kMainHeight);
    OpenDialog();
    own = WindowRect(dialog->Handle());
    EXPECT_EQ(own.left, 30);
    EXPECT_EQ(own.top, 40);
    dialog->Close();
}

TEST_F(ScoresFormTest, CentringNeverGoesOffTheTopLeftOfTheScreen) {
    main->SetBounds(-400, -300, kMainWidth, kMainHeight);
    Start();
    OpenDialog();
    const RECT own = WindowRect(dialog->Handle());
    EXPECT_EQ(own.left, 0);
    EXPECT_EQ(own.top, 0);
    dialog->Close();
}

}  // namespace
}  // namespace quillory::testing
