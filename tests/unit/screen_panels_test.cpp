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
    EXPECT_EQ(rec.lastTextAt(626, 326), "Keine Fehler! ");
    EXPECT_EQ(game.statusText, "Keine Fehler! ");
    EXPECT_FALSE(game.boardFull);
    EXPECT_EQ(rec.beeps, 0);
}

TEST_F(ScreenPanels, ConflictsBeepOnEveryUpdateAndOnlyAFullConsistentBoardIsSolved) {
    game.board(2, 5) = 7;
    game.board(8, 5) = 7;
    updateStatistics();
    EXPECT_EQ(rec.lastTextAt(626, 326), "Falsche Zahl! ");
    EXPECT_EQ(rec.lastTextAt(659 + 16 * 7, 252), "2 ");
    updateStatistics();
    EXPECT_EQ(rec.beeps, 2);
    game.board(8, 5) = 0;
    updateStatistics();
    EXPECT_EQ(game.statusText, "Keine Fehler! ");
    EXPECT_EQ(rec.beeps, 2);

    game.board = gridFromText(solvedGrid);
    updateStatistics();
    EXPECT_TRUE(game.boardFull);
    EXPECT_EQ(rec.lastTextAt(626, 326), "Brett gelöst!!!");
    // Two cells of a row exchanged: nine of every digit, but two columns break.
    std::swap(game.board(1, 1), game.board(2, 1));
    updateStatistics();
    EXPECT_TRUE(game.boardFull);
    EXPECT_EQ(game.statusText, "Falsche Zahl! ");
    EXPECT_EQ(rec.beeps, 3);
}

TEST_F(ScreenPanels, HeadersFollowNumbersOrLettersMode) {
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232), "Zahlen");
    EXPECT_EQ(rec.lastTextAt(675, 232), "1");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 8, 232), "9");

    game.numbersMode = false;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232), "Ziffer");
    EXPECT_EQ(rec.lastTextAt(675 + 8, 232), "A");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 8 + 8, 232), "I");
    // With large fonts the letters A..H move 4 pixels left, "I" stays.
    rec.clearOps();
    game.largeFonts = true;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 7 + 4, 232), "H");
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 8 + 8, 232), "I");
}

TEST_F(ScreenPanels, DifficultyLineCountsGivensAndNamesTheSetting) {
    Grid solution = gridFromText(solvedGrid);
    for (int i = 0; i < 75; i += 3) game.givens(i % 9 + 1, i / 9 + 1) = solution(i % 9 + 1, i / 9 + 1);
    game.difficulty = 1;
    drawDifficultyPanel();
    EXPECT_EQ(game.givenCount, 25);
    EXPECT_EQ(rec.lastTextAt(631, 414), "Vorgegebene Zahlen: 0");
    EXPECT_EQ(rec.lastTextAt(791, 414), "25 ");
    EXPECT_EQ(rec.lastTextAt(656, 426), "  Mittel   ");

    game.givens.clear();
    game.difficulty = 4;
    game.largeFonts = true;
    showDifficultyLine();
    EXPECT_EQ(rec.lastTextAt(791, 411), "0 ");
    EXPECT_EQ(rec.lastTextAt(656, 426), "Teuflisch  ");
}

TEST_F(ScreenPanels, HelpTextShownOnItsPanelAndLeftAloneByBoardDrawing) {
    game.helpText = "Bitte Menupunkt auswählen!";
    drawHelpPanel();
    EXPECT_TRUE(rec.hasFilledBox(609, 498, 830, 541));
    auto shown = rec.textsAt(616, 515);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bitte Menupunkt auswählen!");
    EXPECT_TRUE(shown[0].opaque);
    EXPECT_EQ(shown[0].font.face, "Terminal");

    drawBoard();
    drawStatisticsPanel();
    drawTimePanel();
    EXPECT_EQ(rec.textsAt(616, 515).size(), 1u);
    EXPECT_EQ(game.helpText, "Bitte Menupunkt auswählen!");
}

}  // namespace
}  // namespace nonari::test
