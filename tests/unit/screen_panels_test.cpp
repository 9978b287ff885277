// The side panels: digit counts, the error check and its beep, the difficulty line and the help text.
#include "screen/board_view.h"
#include "screen/side_panels.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

class ScreenPanels : public ScreenTest {};

TEST_F(ScreenPanels, EmptyBoardCountsZeroWithoutErrorOrBeep) {
    drawStatisticsPanel();
    EXPECT_EQ(game.digitCount[0], 81);
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rec.lastTextAt(659 + 16 * d, 252), "0 ") << d;
    EXPECT_EQ(game.statusText, "Keine Fehler! ");
    EXPECT_EQ(rec.lastTextAt(626, 326), "Keine Fehler! ");
    EXPECT_EQ(rec.textsAt(626, 326).back().font.height, 26);
    EXPECT_TRUE(rec.textsAt(626, 326).back().opaque);
    EXPECT_FALSE(game.boardFull);
    EXPECT_EQ(rec.beeps, 0);
    // Both panels got their white fields.
    EXPECT_TRUE(rec.hasFilledBox(609, 222, 830, 271));
    EXPECT_TRUE(rec.hasFilledBox(609, 314, 830, 363));
}

TEST_F(ScreenPanels, ConflictBeepsOnEveryUpdateUntilRemoved) {
    game.board(2, 5) = 7;
    game.board(8, 5) = 7;
    updateStatistics();
    EXPECT_EQ(game.statusText, "Falsche Zahl! ");
    EXPECT_EQ(rec.lastTextAt(626, 326), "Falsche Zahl! ");
    EXPECT_EQ(rec.lastTextAt(659 + 16 * 7, 252), "2 ");
    updateStatistics();
    checkBoardStatus();
    EXPECT_EQ(rec.beeps, 3);

    game.board(8, 5) = 0;
    updateStatistics();
    EXPECT_EQ(game.statusText, "Keine Fehler! ");
    EXPECT_EQ(rec.beeps, 3);

    // Same box, different column and row.
    game.board(1, 1) = 4;
    game.board(3, 2) = 4;
    updateStatistics();
    EXPECT_EQ(game.statusText, "Falsche Zahl! ");
    EXPECT_EQ(rec.beeps, 4);
}

TEST_F(ScreenPanels, OnlyAFullConsistentBoardIsSolved) {
    game.board = gridFromText(solvedGrid);
    updateStatistics();
    EXPECT_TRUE(game.boardFull);
    EXPECT_EQ(game.statusText, "Brett gelöst!!!");
    EXPECT_EQ(rec.lastTextAt(626, 326), "Brett gelöst!!!");
    EXPECT_EQ(game.digitCount[0], 0);
    EXPECT_EQ(rec.beeps, 0);

    // Two cells of a row exchanged: nine of every digit, but two columns break.
    std::swap(game.board(1, 1), game.board(2, 1));
    updateStatistics();
    EXPECT_TRUE(game.boardFull);
    EXPECT_EQ(game.statusText, "Falsche Zahl! ");
    EXPECT_EQ(rec.beeps, 1);

    // One cell empty: consistent but not full.
    std::swap(game.board(1, 1), game.board(2, 1));
    game.board(9, 9) = 0;
    updateStatistics();
    EXPECT_FALSE(game.boardFull);
    EXPECT_EQ(game.statusText, "Keine Fehler! ");
}

TEST_F(ScreenPanels, HeadersFollowNumbersOrLettersMode) {
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232), "Zahlen");
    EXPECT_EQ(rec.lastTextAt(619, 252), "Anzahl");
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rec.lastTextAt(675 + 16 * (d - 1), 232), std::to_string(d));

    rec.clearOps();
    game.numbersMode = false;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232), "Ziffer");
    EXPECT_EQ(rec.lastTextAt(675 + 8, 232), "A");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 8 + 8, 232), "I");

    // With large fonts the letters A..H move 4 pixels left, "I" stays.
    rec.clearOps();
    rec.fixedFontHeight = 18;
    game.largeFonts = true;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(675 + 4, 232), "A");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 7 + 4, 232), "H");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 8 + 8, 232), "I");
}

TEST_F(ScreenPanels, DifficultyLineCountsGivensAndNamesTheSetting) {
    Grid solution = gridFromText(solvedGrid);
    int placed = 0;
    for (int i = 0; i < 81 && placed < 25; i += 3, ++placed) {
        int c = i % 9 + 1, r = i / 9 + 1;
        game.givens(c, r) = solution(c, r);
    }
    game.difficulty = 1;
    drawDifficultyPanel();
    EXPECT_EQ(game.givenCount, 25);
    EXPECT_EQ(rec.lastTextAt(631, 414), "Vorgegebene Zahlen: 0");
    EXPECT_EQ(rec.lastTextAt(791, 414), "25 ");
    EXPECT_EQ(rec.lastTextAt(656, 426), "  Mittel   ");
    EXPECT_EQ(rec.textsAt(656, 426).back().font.height, 26);

    game.givens.clear();
    game.difficulty = 4;
    game.largeFonts = true;
    showDifficultyLine();
    EXPECT_EQ(game.givenCount, 0);
    EXPECT_EQ(rec.lastTextAt(791, 411), "0 ");
    EXPECT_EQ(rec.lastTextAt(656, 426), "Teuflisch  ");
}

TEST_F(ScreenPanels, HelpTextStaysThroughBoardDrawing) {
    game.helpText = "Bitte Menupunkt auswählen!";
    drawHelpPanel();
    EXPECT_TRUE(rec.hasFilledBox(609, 498, 830, 541));
    const DrawOp* title = rec.findText("HILFEFENSTER:");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 671);
    auto shown = rec.textsAt(616, 515);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bitte Menupunkt auswählen!");
    EXPECT_EQ(shown[0].font.face, "Terminal");
    EXPECT_TRUE(shown[0].opaque);
    EXPECT_EQ(shown[0].fill, 0xFFFFFFu);

    drawBoard();
    drawStatisticsPanel();
    EXPECT_EQ(game.helpText, "Bitte Menupunkt auswählen!");
    EXPECT_EQ(rec.textsAt(616, 515).size(), 1u) << "board drawing leaves the help panel alone";
}

TEST_F(ScreenPanels, TimePanelFrameAroundTheClockLabel) {
    drawTimePanel();
    EXPECT_TRUE(rec.hasFilledBox(629, 584, 808, 627));
    const DrawOp* title = rec.findText("ZEITMESSUNG:");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 669);
    EXPECT_EQ(title->y1, 581 - 14);
}

}  // namespace
}  // namespace nonari::test
