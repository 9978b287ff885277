// The slot dialog: which key or button commits which record of "brett.nnr", and what cancelling leaves.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "tests/support/test_support.h"

namespace nonari {
namespace {

using SlotDialogTest = test::HeadlessGame;

TEST_F(SlotDialogTest, KeysAndClicksCommitTheirRecordAtOnceCancellingTouchesNoFile) {
    pf.openMainWindow(40, 30, 862, 694);
    game.dialog.currentFile = savedBoardFile;
    for (std::int16_t n = 0; n < 4; ++n) {  // four boards told apart by the digit in cell (1, 1)
        game.puzzle.board(1, 1) = static_cast<std::uint8_t>(n + 1);
        ASSERT_EQ(writeBoardRecord(n), FileResult::Ok);
    }
    auto expectClosed = [this] { EXPECT_TRUE(pf.script.empty() && pf.forms.empty() && pf.windowEnabled); };
    // "3" saves into record 2 at once, whichever button has the key.
    game.puzzle.board(1, 1) = 7;
    pf.pushFormEvent("frm1", "opt1_KeyPress", '3');
    openSaveDialog();
    expectClosed();
    EXPECT_EQ(game.dialog.selectedSlot, 2);
    // Handler, key, the option button checked before (if any), the record loaded. Enter commits the button that
    // has the key, any other key the checked one; so does a click on an option button; OK commits the slot used
    // last, which is preselected.
    const std::tuple<const char*, int, const char*, int, int> cases[] = {
        {"opt2_KeyPress", 13, nullptr, 1, 2}, {"opt4_KeyPress", 13, "opt1", 3, 4}, {"opt4_KeyPress", 'x', "opt3", 2, 7},
        {"opt2_Click", 0, nullptr, 1, 2}, {"cmd1_Click", 0, nullptr, 1, 2}};
    for (const auto& [handler, key, checkFirst, slot, digit] : cases) {
        SCOPED_TRACE(std::string(handler) + " " + std::to_string(key));
        game.puzzle.board.clear();
        if (const char* check = checkFirst)
            pf.pushStep([this, check] { pf.setControlValue(pf.forms.begin()->first, check, true); });
        pf.pushFormEvent("frm1", handler, key);
        openLoadDialog();
        expectClosed();
        EXPECT_EQ(std::tie(game.puzzle.board(1, 1), game.dialog.selectedSlot), std::make_tuple(digit, slot));
    }

    // Escape on a slot button cancels too rather than committing the checked slot.
    const auto before = test::readBytes(savedBoardFile);
    game.puzzle.board(5, 5) = 5;
    const Grid board = game.puzzle.board;
    for (auto [handler, key] : {std::pair{"cmd2_Click", 0}, {"frm1_Close", 0}, {"opt3_KeyPress", 27}}) {
        SCOPED_TRACE(handler);
        for (auto open : {openSaveDialog, openLoadDialog}) {
            pf.pushFormEvent("frm1", handler, key);
            open();
            expectClosed();
        }
    }
    EXPECT_EQ(test::readBytes(savedBoardFile), before);
    EXPECT_EQ(std::tie(game.puzzle.board, game.dialog.selectedSlot), std::make_tuple(board, 1));
}

}  // namespace
}  // namespace nonari
