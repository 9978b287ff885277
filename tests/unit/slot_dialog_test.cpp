// The slot dialog: which key or button commits which record of "brett.nnr", and what cancelling leaves.
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

class SlotDialogTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(40, 30, 862, 694);
    }

    // Four boards in "brett.nnr", told apart by the digit in cell (1, 1).
    static void saveFourBoards() {
        game.currentFile = savedBoardFile;
        for (std::int16_t n = 0; n < 4; ++n) {
            game.board(1, 1) = static_cast<std::uint8_t>(n + 1);
            writeBoardRecord(n);
        }
        game.board.clear();
    }

    // Checks the opened dialog: caption, place, and the preselected button with the focus.
    void expectOpened(int slot, const std::string& caption) {
        pf.pushStep([this, slot, caption] {
            auto* form = pf.findForm("frm1");
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->spec.caption, caption);
            EXPECT_EQ(std::make_pair(form->x, form->y), std::make_pair(40 + 595, 30 + 235));
            std::string button = "opt" + std::to_string(slot + 1);
            EXPECT_TRUE(form->values[button]);
            EXPECT_EQ(form->focus, button);
        });
    }

    void expectClosed() {
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
    }
};

TEST_F(SlotDialogTest, KeysAndClicksCommitAtOnce) {
    game.board(4, 4) = 6;
    game.currentFile = "mittel.nnr";
    expectOpened(0, "Sichern unter ...");
    pf.pushFormEvent("frm1", "opt1_KeyPress", '3');
    openSaveDialog();
    expectClosed();
    EXPECT_EQ(game.currentFile, "brett.nnr");
    EXPECT_EQ(game.selectedSlot, 2);
    auto file = test::readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    EXPECT_EQ(file[2 * boardRecordSize + 44], 6);

    saveFourBoards();
    struct Case {
        const char* handler;
        int key;
        const char* checkFirst;  // option button checked before, or none
        int expected;
    };
    const Case cases[] = {
        {"opt2_KeyPress", 13, nullptr, 1},   // Enter commits the button that has the key
        {"opt4_KeyPress", 13, "opt1", 3},
        {"opt2_KeyPress", '1', "opt3", 0},   // a digit wins over button and check
        {"opt4_KeyPress", 'x', "opt3", 2},   // any other key commits the checked button
        {"opt2_Click", 0, nullptr, 1},       // so does a click on an option button
        {"cmd1_Click", 0, nullptr, 1},       // OK, with the slot used last preselected
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handler) + " " + std::to_string(c.key));
        game.board.clear();
        game.currentFile = savedBoardFile;
        expectOpened(game.selectedSlot, "Welches Brett laden?");
        if (c.checkFirst)
            pf.pushStep([this, &c] { pf.setControlValue(pf.forms.begin()->first, c.checkFirst, true); });
        pf.pushFormEvent("frm1", c.handler, c.key);
        openLoadDialog();
        expectClosed();
        EXPECT_EQ(game.board(1, 1), c.expected + 1);
        EXPECT_EQ(game.selectedSlot, c.expected);
    }
}

TEST_F(SlotDialogTest, CancelAndCloseBoxTouchNoFile) {
    saveFourBoards();
    auto before = test::readBytes(savedBoardFile);
    game.selectedSlot = 1;
    game.board(5, 5) = 5;
    Grid board = game.board;
    for (const char* handler : {"cmd2_Click", "frm1_Close"}) {
        pf.pushFormEvent("frm1", handler);
        openSaveDialog();
        expectClosed();
        pf.pushFormEvent("frm1", handler);
        openLoadDialog();
        expectClosed();
    }
    // Escape on a slot button cancels too rather than committing the checked slot.
    pf.pushFormEvent("frm1", "opt3_KeyPress", 27);
    openSaveDialog();
    expectClosed();
    pf.pushFormEvent("frm1", "opt1_KeyPress", 27);
    openLoadDialog();
    expectClosed();
    EXPECT_EQ(test::readBytes(savedBoardFile), before);
    EXPECT_EQ(game.board, board);
    EXPECT_EQ(game.selectedSlot, 1);

    std::filesystem::remove(savedBoardFile);
    pf.pushFormEvent("frm1", "cmd2_Click");
    openSaveDialog();
    EXPECT_FALSE(std::filesystem::exists(savedBoardFile));
}

TEST_F(SlotDialogTest, SavedBoardComesBackWithItsNotes) {
    game.givens(1, 1) = game.board(1, 1) = 2;
    game.board(5, 6) = 7;
    for (int d : {2, 4, 8}) game.candidates(3, 7, d) = true;
    game.candidates(9, 1, 9) = true;
    Grid board = game.board, givens = game.givens;
    CandidateGrid notes = game.candidates;
    pf.pushFormEvent("frm1", "opt1_KeyPress", '4');
    openSaveDialog();

    resetGameState();
    game.difficulty = 3;
    game.clockRunning = true;
    game.selectedSlot = 3;
    game.currentFile = savedBoardFile;
    pf.pushFormEvent("frm1", "opt4_KeyPress", 13);
    openLoadDialog();
    EXPECT_EQ(game.board, board);
    EXPECT_EQ(game.givens, givens);
    EXPECT_EQ(game.candidates, notes);
    EXPECT_EQ(game.difficulty, 3);
    EXPECT_FALSE(game.clockRunning);

    // A slot never written loads as an empty board.
    pf.pushFormEvent("frm1", "opt1_KeyPress", '2');
    openLoadDialog();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_EQ(game.candidates, CandidateGrid{});
}

}  // namespace
}  // namespace nonari
