// The slot dialog: which key or button commits which record of "brett.nnr", and what cancelling leaves.
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <filesystem>

namespace nonari {
namespace {

namespace fs = std::filesystem;

class SlotDialogTest : public test::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(40, 30, 862, 694);
    }

    // A board that tells the slots apart: digit n+1 in the top-left cell, a note in cell (9, 9).
    static void makeBoard(int n) {
        game.board.clear();
        game.givens.clear();
        game.candidates.clear();
        game.board(1, 1) = game.givens(1, 1) = static_cast<std::uint8_t>(n + 1);
        game.board(2, 1) = 9;
        game.candidates(9, 9, n + 1) = true;
    }

    // Four different boards in "brett.nnr".
    static void saveFourBoards() {
        game.currentFile = savedBoardFile;
        for (std::int16_t n = 0; n < 4; ++n) {
            makeBoard(n);
            writeBoardRecord(n);
        }
        game.board.clear();
        game.givens.clear();
        game.candidates.clear();
    }

    static std::vector<unsigned char> record(const std::vector<unsigned char>& file, int n) {
        auto begin = file.begin() + n * boardRecordSize;
        return {begin, begin + boardRecordSize};
    }

    // Which of the four boards is loaded; -1 for none of them.
    static int loadedBoard() {
        for (int n = 0; n < 4; ++n)
            if (game.board(1, 1) == n + 1 && game.givens(1, 1) == n + 1 && game.candidates(9, 9, n + 1)) return n;
        return -1;
    }

    void expectPreselected(int slot, const std::string& caption) {
        pf.pushStep([this, slot, caption] {
            auto* form = pf.findForm("frm1");
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->spec.caption, caption);
            EXPECT_EQ(form->x, 40 + 595);
            EXPECT_EQ(form->y, 30 + 235);
            EXPECT_FALSE(pf.windowEnabled);
            std::string button = "opt" + std::to_string(slot + 1);
            EXPECT_TRUE(form->values[button]);
            EXPECT_EQ(form->focus, button);
        });
    }

    void check(const std::string& button) {
        pf.pushStep([this, button] {
            for (auto& [id, form] : pf.forms)
                if (form.spec.name == "frm1") pf.setControlValue(id, button, true);
        });
    }

    void expectClosed() {
        EXPECT_TRUE(pf.script.empty());
        EXPECT_TRUE(pf.forms.empty());
        EXPECT_TRUE(pf.windowEnabled);
        EXPECT_TRUE(game.dialogClosed);
    }
};

TEST_F(SlotDialogTest, DigitKeySavesIntoItsSlotAtOnce) {
    makeBoard(0);
    game.currentFile = "mittel.nnr";
    expectPreselected(0, "Sichern unter ...");
    pf.pushFormEvent("frm1", "opt1_KeyPress", '3');
    openSaveDialog();
    expectClosed();
    EXPECT_EQ(game.currentFile, "brett.nnr");
    EXPECT_EQ(game.selectedSlot, 2);

    // The first save builds the whole file: three blank records around the saved one.
    auto file = test::readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    for (int n : {0, 1, 3}) {
        auto blank = record(file, n);
        EXPECT_TRUE(std::all_of(blank.begin(), blank.begin() + 1200, [](unsigned char b) { return b == 0; })) << n;
    }
    EXPECT_EQ(file[2 * boardRecordSize + 11], 1);  // board cell (1, 1)
    EXPECT_EQ(file[2 * boardRecordSize + 100 + 11], 1);

    // The next opening preselects that slot.
    expectPreselected(2, "Sichern unter ...");
    pf.pushFormEvent("frm1", "cmd2_Click");
    openSaveDialog();
    expectClosed();
}

TEST_F(SlotDialogTest, KeysAndClicksChooseTheSlotToLoad) {
    saveFourBoards();
    struct Case {
        const char* handler;
        int key;
        const char* checkFirst;  // option button checked before the key, or nothing
        int expected;
    };
    const Case cases[] = {
        {"opt2_KeyPress", 13, nullptr, 1},   // Enter commits the button that has the key
        {"opt4_KeyPress", 13, "opt1", 3},
        {"opt2_KeyPress", '4', nullptr, 3},  // a digit wins over the button
        {"opt1_KeyPress", '1', "opt3", 0},
        {"opt4_KeyPress", 'x', "opt3", 2},   // any other key commits the checked button
        {"opt3_Click", 0, nullptr, 2},       // a click on an option button commits it
        {"opt1_Click", 0, nullptr, 0},
        {"cmd1_Click", 0, "opt2", 1},        // OK commits the checked button
        {"cmd1_Click", 0, nullptr, 1},       // ... which is the one used last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handler) + " " + std::to_string(c.key));
        game.board.clear();
        game.clockRunning = true;
        game.currentFile = savedBoardFile;
        if (c.checkFirst) check(c.checkFirst);
        pf.pushFormEvent("frm1", c.handler, c.key);
        openLoadDialog();
        expectClosed();
        EXPECT_EQ(loadedBoard(), c.expected);
        EXPECT_EQ(game.selectedSlot, c.expected);
        EXPECT_FALSE(game.clockRunning);
    }
    EXPECT_EQ(pf.findForm("frm1"), nullptr);
}

TEST_F(SlotDialogTest, CancelAndCloseBoxTouchNoFile) {
    saveFourBoards();
    auto before = test::readBytes(savedBoardFile);
    game.selectedSlot = 1;
    makeBoard(3);
    Grid board = game.board;

    expectPreselected(1, "Sichern unter ...");
    pf.pushFormEvent("frm1", "cmd2_Click");
    openSaveDialog();
    expectClosed();

    game.currentFile = savedBoardFile;
    expectPreselected(1, "Welches Brett laden?");
    pf.pushFormEvent("frm1", "frm1_Close");
    openLoadDialog();
    expectClosed();

    EXPECT_EQ(test::readBytes(savedBoardFile), before);
    EXPECT_EQ(game.board, board);
    EXPECT_EQ(game.selectedSlot, 1);

    // Nothing is created either when there was no file.
    fs::remove(savedBoardFile);
    pf.pushFormEvent("frm1", "cmd2_Click");
    openSaveDialog();
    EXPECT_FALSE(fs::exists(savedBoardFile));
}

TEST_F(SlotDialogTest, SavedBoardComesBackWithItsNotes) {
    makeBoard(1);
    game.board(5, 6) = 7;
    for (int d : {2, 4, 8}) game.candidates(3, 7, d) = true;
    game.candidates(9, 1, 9) = true;
    Grid board = game.board, givens = game.givens;
    CandidateGrid notes = game.candidates;
    pf.pushFormEvent("frm1", "opt4_KeyPress", '4');
    openSaveDialog();

    game.board.clear();
    game.givens.clear();
    game.candidates.clear();
    game.difficulty = 3;
    game.currentFile = savedBoardFile;
    expectPreselected(3, "Welches Brett laden?");
    pf.pushFormEvent("frm1", "opt4_KeyPress", 13);
    openLoadDialog();
    expectClosed();
    EXPECT_EQ(game.board, board);
    EXPECT_EQ(game.givens, givens);
    EXPECT_EQ(game.candidates, notes);
    EXPECT_EQ(game.difficulty, 3);

    // A slot never written loads as an empty board.
    pf.pushFormEvent("frm1", "opt1_KeyPress", '2');
    openLoadDialog();
    EXPECT_EQ(game.board, Grid{});
    EXPECT_EQ(game.givens, Grid{});
    EXPECT_EQ(game.candidates, CandidateGrid{});
}

}  // namespace
}  // namespace nonari
