// Print jobs on a printer that can break down mid-job, the exact captions, and the puzzle a sheet leaves on the board.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <set>

namespace nonari::test {
namespace {

// Counts the calls that reach the printer; fails once breakAfterDraws of them were drawn.
class FailingPrinter : public HeadlessPlatform {
public:
    int draws = 0, breakAfterDraws = -1;
    bool onPrinter = false;

    FailingPrinter() { printerAvailable = true; }
    bool selectPrinter() override { return onPrinter = HeadlessPlatform::selectPrinter(); }
    void drawBox(int, int, int, int) override { draws += onPrinter; }
    void drawText(int x, int y, const std::string& text) override {
        draws += onPrinter;
        HeadlessPlatform::drawText(x, y, text);
    }
    bool printerFailed() override {
        return (breakAfterDraws >= 0 && draws >= breakAfterDraws) || HeadlessPlatform::printerFailed();
    }
    void targetWindow() override { onPrinter = false; }
};

class PrintTest : public HeadlessGame {
protected:
    void SetUp() override { HeadlessGame::SetUp(), installPlatform(&printer); }
    void printWithBreakAt(void (*job)(), int breakAt) {
        printer.messages.clear();
        printer.draws = 0;
        printer.breakAfterDraws = breakAt;
        job();
    }
    FailingPrinter printer;
};

// Gives the first `count` cells of a solution in reading order.
void setPuzzle(int count) {
    const Grid full = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    game.puzzle.board.clear();
    game.puzzle.givens.clear();
    for (int i = 0; i < count; ++i) {
        const int c = i % 9 + 1, r = i / 9 + 1;
        game.puzzle.board(c, r) = game.puzzle.givens(c, r) = full(c, r);
    }
}

int countGivens() {
    return static_cast<int>(std::ranges::count_if(game.puzzle.givens.cell, [](auto v) { return v != 0; }));
}

// Record r of difficulty k holds 40 - 6k - r cells, so a count tells which puzzle was loaded.
void writeCollections() {
    for (int k = 0; k <= 4; ++k) {
        game.dialog.currentFile = collectionFile(k);
        for (std::int16_t r = 0; r <= 3; ++r) {
            setPuzzle(40 - 6 * k - r);
            ASSERT_EQ(writeBoardRecord(r), FileResult::Ok);
        }
    }
    setPuzzle(0);
}

TEST_F(PrintTest, FailingPrinterShowsAnErrorAndChangesNothingLoadedSoFar) {
    setPuzzle(30);
    game.puzzle.candidates(9, 8, 3) = true;
    game.screen.givenCount = 17;  // the board print counts givens on its own and must put this back
    const GameState before = game;
    for (int breakAt : {-2, 0, 50, 95, 120}) {  // -2: no printer at all
        SCOPED_TRACE(breakAt);
        printer.printerAvailable = breakAt != -2;
        printWithBreakAt(printBoard, breakAt);
        EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
        EXPECT_EQ(std::tie(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates, game.screen.givenCount),
                  std::tie(before.puzzle.board, before.puzzle.givens, before.puzzle.candidates, before.screen.givenCount));
        EXPECT_FALSE(printer.onPrinter);
    }
    // A sheet stops at the first failure: at once nothing is loaded; call 300 lies inside the third grid
    // (90 outlines, 31..40 givens and a caption each), so the Mittel puzzle stays loaded.
    printer.printerAvailable = true;
    writeCollections();
    printWithBreakAt(printSheets, 0);
    EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
    EXPECT_EQ(countGivens(), 0);
    printWithBreakAt(printSheets, 300);
    EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
    EXPECT_FALSE(printer.onPrinter);
    EXPECT_TRUE(countGivens() >= 31 && countGivens() <= 34) << countGivens();
}

TEST_F(PrintTest, BoardCaptionsNameEveryDifficultyWithItsOwnBlanks) {
    // pdftotext joins blanks: the exact captions are seen only here, on the drawing calls.
    const char* captions[] = {"Schwierigkeitsgrad:   Leicht mit 28 Zahlen", "Schwierigkeitsgrad:   Mittel mit 28 Zahlen",
                              "Schwierigkeitsgrad:  Schwer mit 28 Zahlen",  "Schwierigkeitsgrad:  Extrem mit 28 Zahlen",
                              "Schwierigkeitsgrad: Teuflisch mit 28 Zahlen"};
    setPuzzle(28);
    for (std::int16_t d = 0; d <= 4; ++d) {
        game.settings.difficulty = d;
        printer.printedTexts.clear();
        printBoard();
        ASSERT_FALSE(printer.printedTexts.empty());
        EXPECT_EQ(printer.printedTexts.back(), captions[d]);
    }
}

TEST_F(PrintTest, SheetLeavesAShuffledExtremPuzzleOnTheBoardTakingEachRecordInTurn) {
    writeCollections();
    std::set<int> extremCounts;
    for (int i = 0; i < 30; ++i) printSheets(), extremCounts.insert(countGivens());
    EXPECT_EQ(extremCounts, (std::set<int>{19, 20, 21, 22}));
    EXPECT_TRUE(printer.messages.empty());
    const int count = countGivens();
    EXPECT_EQ(game.screen.givenCount, count);
    EXPECT_EQ(game.puzzle.board, game.puzzle.givens) << "givens only";
    EXPECT_FALSE(game.clock.clockRunning || printer.onPrinter);
    const Grid printed = game.puzzle.givens;
    setPuzzle(count);
    EXPECT_NE(printed, game.puzzle.givens) << "the stored puzzle is printed shuffled";
}

}  // namespace
}  // namespace nonari::test
