// The side panels: digit counts, the error check and its beep, the difficulty line and the help text.
#include "screen/board_view.h"
#include "screen/side_panels.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

class ScreenPanels : public ScreenTest {};

TEST_F(ScreenPanels, CountsAndStatusBeepOnEveryUpdateWhileAConflictStands) {
    drawStatisticsPanel();  // an empty board: zeros, no error, no beep
    EXPECT_EQ(std::make_tuple(int{game.digitCount[0]}, game.boardFull, rec.beeps), std::make_tuple(81, false, 0));
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(rec.lastTextAt(659 + 16 * d, 252), "0 ") << d;
    EXPECT_EQ(rec.lastTextAt(626, 326) + game.statusText, "Keine Fehler! Keine Fehler! ");

    game.board(2, 5) = game.board(8, 5) = 7;
    updateStatistics();
    updateStatistics();
    EXPECT_EQ(rec.lastTextAt(626, 326) + rec.lastTextAt(659 + 16 * 7, 252), "Falsche Zahl! 2 ");
    EXPECT_EQ(rec.beeps, 2);
    game.board(8, 5) = 0;
    updateStatistics();
    EXPECT_EQ(std::make_pair(game.statusText, rec.beeps), std::make_pair(std::string("Keine Fehler! "), 2));

    // Only a full and consistent board is solved: two cells of a row exchanged break two columns.
    game.board = gridFromText(solvedGrid);
    updateStatistics();
    EXPECT_TRUE(game.boardFull && rec.lastTextAt(626, 326) == "Brett gelöst!!!");
    std::swap(game.board(1, 1), game.board(2, 1));
    updateStatistics();
    EXPECT_TRUE(game.boardFull);
    EXPECT_EQ(std::make_pair(game.statusText, rec.beeps), std::make_pair(std::string("Falsche Zahl! "), 3));
}

TEST_F(ScreenPanels, BytesAboveNineFromADamagedRecordAreNotCounted) {
    const GameState before = game;
    for (int value = 10; value <= 255; ++value) {
        game.board(3, 3) = static_cast<std::uint8_t>(value);
        updateStatistics();
        EXPECT_EQ(game.digitCount[0], 80) << value;
    }
    // Counting them would write past the counts into the tables that follow.
    EXPECT_EQ(std::tie(game.unitCount, game.digitMap, game.digitUsed, game.boardCopy, game.givensCopy),
              std::tie(before.unitCount, before.digitMap, before.digitUsed, before.boardCopy, before.givensCopy));
    EXPECT_EQ(game.difficultyName, before.difficultyName);
}

TEST_F(ScreenPanels, HeadersFollowNumbersOrLettersMode) {
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232) + rec.lastTextAt(675, 232) + rec.lastTextAt(675 + 16 * 8, 232), "Zahlen19");
    game.numbersMode = false;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(619, 232) + rec.lastTextAt(683, 232) + rec.lastTextAt(675 + 16 * 8 + 8, 232), "ZifferAI");
    // With large fonts the letters A..H move 4 pixels left, "I" stays.
    rec.ops.clear();
    game.largeFonts = true;
    drawStatisticsPanel();
    EXPECT_EQ(rec.lastTextAt(675 + 16 * 7 + 4, 232) + rec.lastTextAt(675 + 16 * 8 + 8, 232), "HI");
}

TEST_F(ScreenPanels, DifficultyLineCountsGivensAndNamesTheSetting) {
    Grid solution = gridFromText(solvedGrid);
    for (int i = 0; i < 75; i += 3) game.givens(i % 9 + 1, i / 9 + 1) = solution(i % 9 + 1, i / 9 + 1);
    game.difficulty = 1;
    drawDifficultyPanel();
    EXPECT_EQ(game.givenCount, 25);
    EXPECT_EQ(rec.lastTextAt(631, 414) + "|" + rec.lastTextAt(791, 414) + "|" + rec.lastTextAt(656, 426),
              "Vorgegebene Zahlen: 0|25 |  Mittel   ");
    game.givens.clear();
    game.difficulty = 4;
    game.largeFonts = true;
    showDifficultyLine();
    EXPECT_EQ(rec.lastTextAt(791, 411) + "|" + rec.lastTextAt(656, 426), "0 |Teuflisch  ");
}

TEST_F(ScreenPanels, HelpTextShownOnItsPanelAndLeftAloneByBoardDrawing) {
    game.helpText = "Bitte Menupunkt auswählen!";
    drawHelpPanel();
    const auto field = rec.of(DrawOp::FilledBox);
    const auto shown = rec.textsAt(616, 515);
    ASSERT_EQ(std::make_pair(field.size(), shown.size()), std::make_pair(std::size_t{1}, std::size_t{1}));
    EXPECT_EQ(std::tie(field[0].x1, field[0].y1, field[0].x2, field[0].y2, field[0].fill),
              std::make_tuple(609, 498, 830, 541, Rgb{0xFFFFFF}));
    EXPECT_EQ(std::tie(shown[0].text, shown[0].opaque, shown[0].font.face),
              std::make_tuple(std::string("Bitte Menupunkt auswählen!"), true, std::string("Terminal")));
    drawBoard();
    drawStatisticsPanel();
    drawTimePanel();
    EXPECT_TRUE(rec.textsAt(616, 515).size() == 1 && game.helpText == "Bitte Menupunkt auswählen!");
}

}  // namespace
}  // namespace nonari::test
