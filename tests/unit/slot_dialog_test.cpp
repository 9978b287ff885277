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

    // Checks the opened dialog: caption, place beside the board, the preselected button with the focus.
    void expectOpened(int slot, const std::string& caption) {
        pf.pushStep([this, slot, caption] {
            auto* form = pf.findForm("frm1");
            const std::string button = "opt" + std::to_string(slot + 1);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(std::make_tuple(form->desc.caption, form->x, form->y, form->focus, form->values[button]),
                      std::make_tuple(caption, 40 + 595, 30 + 235, button, true));
        });
    }

    void expectClosed() { EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled); }
};

TEST_F(SlotDialogTest, KeysAndClicksCommitAtOnceAndTheBoardComesBackWithItsNotes) {
    game.givens(1, 1) = game.board(1, 1) = 2;
    game.board(4, 4) = 6;
    for (int d : {2, 4, 8}) game.candidates(3, 7, d) = game.candidates(9, 1, d + 1) = true;
    game.currentFile = "mittel.nnr";
    const GameState saved = game;
    expectOpened(0, "Sichern unter ...");
    pf.pushFormEvent("frm1", "opt1_KeyPress", '3');
    openSaveDialog();
    expectClosed();
    EXPECT_EQ(std::tie(game.currentFile, game.selectedSlot), std::make_tuple(std::string("brett.nnr"), 2));

    // Enter on opt3 loads record 2 back, notes and all, whichever slot is preselected.
    resetGameState();
    game.clockRunning = true;
    game.selectedSlot = 3;
    game.currentFile = savedBoardFile;
    pf.pushFormEvent("frm1", "opt3_KeyPress", 13);
    openLoadDialog();
    EXPECT_EQ(std::tie(game.board, game.givens, game.candidates), std::tie(saved.board, saved.givens, saved.candidates));
    EXPECT_FALSE(game.clockRunning);

    saveFourBoards();
    // Handler, key, the option button checked before (if any), the record committed. Enter commits the button
    // that has the key; a digit wins over button and check; any other key commits the checked button, so does a
    // click on an option button; OK commits the slot used last, preselected.
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"opt2_KeyPress", 13, nullptr, 1}, {"opt4_KeyPress", 13, "opt1", 3}, {"opt2_KeyPress", '1', "opt3", 0},
        {"opt4_KeyPress", 'x', "opt3", 2}, {"opt2_Click", 0, nullptr, 1},   {"cmd1_Click", 0, nullptr, 1}};
    for (const auto& [handler, key, checkFirst, expected] : cases) {
        SCOPED_TRACE(std::string(handler) + " " + std::to_string(key));
        game.board.clear();
        expectOpened(game.selectedSlot, "Welches Brett laden?");
        if (const char* check = checkFirst)
            pf.pushStep([this, check] { pf.setControlValue(pf.forms.begin()->first, check, true); });
        pf.pushFormEvent("frm1", handler, key);
        openLoadDialog();
        expectClosed();
        EXPECT_EQ(std::tie(game.board(1, 1), game.selectedSlot), std::make_tuple(expected + 1, expected));
    }
}

TEST_F(SlotDialogTest, AbbruchCloseBoxAndEscapeTouchNoFile) {
    saveFourBoards();
    const auto before = test::readBytes(savedBoardFile);
    game.selectedSlot = 1;
    game.board(5, 5) = 5;
    const Grid board = game.board;
    // Escape on a slot button cancels too rather than committing the checked slot.
    for (auto [handler, key] :
         {std::pair{"cmd2_Click", 0}, {"frm1_Close", 0}, {"opt3_KeyPress", 27}, {"opt1_KeyPress", 27}}) {
        SCOPED_TRACE(handler);
        for (auto open : {openSaveDialog, openLoadDialog}) {
            pf.pushFormEvent("frm1", handler, key);
            open();
            expectClosed();
        }
    }
    EXPECT_EQ(test::readBytes(savedBoardFile), before);
    EXPECT_EQ(std::tie(game.board, game.selectedSlot), std::make_tuple(board, 1));
    std::filesystem::remove(savedBoardFile);
    pf.pushFormEvent("frm1", "cmd2_Click");
    openSaveDialog();
    EXPECT_FALSE(std::filesystem::exists(savedBoardFile));
}

}  // namespace
}  // namespace nonari
