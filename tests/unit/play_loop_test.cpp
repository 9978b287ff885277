// The button bar and both play loops: click zones, keys, the K-then-O memory, own-board keys and the win.
#include "logic/rules.h"
#include "screen/play_loops.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, darkGrey = 0x404040, darkRed = 0x800000;
constexpr int laden = 30, sichern = 108, drucken = 202, neustart = 296, hilfe = 398, abbruch = 476;

class PlayLoop : public ScreenTest {
protected:
    // Times the button at this left edge was drawn pressed (dark top line) or raised (white top line).
    int drawnAs(int buttonLeft, Rgb topColour) const {
        return static_cast<int>(std::count_if(rec.ops.begin(), rec.ops.end(), [&](const DrawOp& op) {
            return op.kind == DrawOp::Line && op.x1 == buttonLeft && op.y1 == 598 && op.y2 == 598 && op.pen == topColour;
        }));
    }
    int pressed(int buttonLeft) const { return drawnAs(buttonLeft, darkGrey); }
    int raised(int buttonLeft) const { return drawnAs(buttonLeft, white); }
    void closeSlotDialog() { rec.pushFormEvent("frm1", "frm1_Close"); }
    // A puzzle that single-candidate logic completes: the solution with every fourth cell open.
    void loadEasyPuzzle() {
        solution = gridFromText(solvedGrid);
        puzzle = solution;
        for (int i = 0; i < 81; i += 4) puzzle(i % 9 + 1, i / 9 + 1) = 0;
        game.board = puzzle;
        game.givens = puzzle;
    }
    void keyUp(int key) { rec.pushKeyUp(key); }
    Grid solution, puzzle;
};

TEST_F(PlayLoop, ButtonWidthsAndHotLetters) {
    playLoop();
    for (auto [buttonLeft, width] : {std::pair{laden, 76}, {sichern, 92}, {drucken, 92}, {neustart, 100}, {hilfe, 76},
                                     {abbruch, 92}}) {
        EXPECT_EQ(raised(buttonLeft), 1) << buttonLeft;
        bool outline = std::any_of(rec.ops.begin(), rec.ops.end(), [&](const DrawOp& op) {
            return op.kind == DrawOp::Box && op.x1 == buttonLeft - 1 && op.y1 == 597 && op.x2 == buttonLeft + width &&
                   op.y2 == 624;
        });
        EXPECT_TRUE(outline) << buttonLeft;
    }
    // The label without its hot letter; the letter in dark red over a white one in the second cell.
    const DrawOp* label = rec.findText("  aden ");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::tie(label->x1, label->y1), std::make_tuple(40, 604));
    const DrawOp* hot = rec.findText("L");
    ASSERT_NE(hot, nullptr);
    EXPECT_EQ(std::tie(hot->x1, hot->y1, hot->pen), std::make_tuple(48, 604, white));
    EXPECT_EQ(std::tie(hot[1].text, hot[1].x1, hot[1].y1, hot[1].pen), std::make_tuple(std::string("L"), 47, 603, darkRed));
    EXPECT_FALSE(hot[1].opaque);
    EXPECT_TRUE(rec.opaque);

    // Large fonts move the label 8 left and 2 up (less the font-14 shift's correction).
    rec.clearOps();
    game.largeFonts = true;
    drawButton(0, laden, 598, " _Laden ");
    EXPECT_EQ(std::tie(rec.findText("  aden ")->x1, rec.findText("  aden ")->y1), std::make_tuple(31, 602));
    EXPECT_EQ(rec.findText("L")->x1, 40);
}

TEST_F(PlayLoop, ClickZonesTileTheStripUpToX612) {
    left(28, 610);   // left of every zone
    left(29, 610);
    closeSlotDialog();
    left(107, 610);
    closeSlotDialog();
    left(108, 610);
    closeSlotDialog();
    left(300, 596);  // above the zone
    left(300, 624);  // below it
    left(300, 597);
    left(475, 623);
    left(613, 610);  // right of the Abbruch zone
    left(612, 610);
    keyUp('N');      // left unread: the loop has ended
    game.clockRunning = true;
    playLoop();
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(pressed(laden), 2);
    EXPECT_EQ(raised(laden), 3);
    EXPECT_EQ(pressed(sichern), 1);
    EXPECT_EQ(pressed(neustart), 1);
    EXPECT_EQ(pressed(hilfe), 1);
    EXPECT_EQ(pressed(drucken), 0);
    EXPECT_EQ(pressed(abbruch), 1);
    EXPECT_EQ(raised(abbruch), 1) << "Abbruch stays pressed";
    EXPECT_EQ(rec.script.size(), 1u);

    // Right of the drawn Abbruch button, still in its zone.
    rec.script.clear();
    rec.clearOps();
    left(600, 610);
    keyUp('N');
    playLoop();
    EXPECT_EQ(pressed(abbruch), 1);
    EXPECT_EQ(rec.script.size(), 1u);
}

TEST_F(PlayLoop, AEndsOnlyInNumbersModeEscapeAlways) {
    game.numbersMode = false;
    keyUp('A');
    rec.pushStep([this] { EXPECT_EQ(pressed(abbruch), 0) << "A is a digit key in letters mode"; });
    keyUp(27);
    keyUp('N');
    playLoop();
    EXPECT_EQ(pressed(abbruch), 1);
    EXPECT_EQ(rec.script.size(), 1u);

    rec.script.clear();
    rec.clearOps();
    game.numbersMode = true;
    keyUp('A');
    keyUp('N');
    playLoop();
    EXPECT_EQ(pressed(abbruch), 1);
    EXPECT_EQ(rec.script.size(), 1u);

    // In own-board entry the same keys end the loop.
    rec.script.clear();
    rec.clearOps();
    keyUp(27);
    keyUp('N');
    ownBoardLoop();
    EXPECT_EQ(pressed(abbruch), 1);
    EXPECT_EQ(rec.script.size(), 1u);
}

TEST_F(PlayLoop, SolveKeysRememberKAcrossOtherKeys) {
    loadEasyPuzzle();
    game.clockRunning = true;
    game.startTime = currentTime();
    game.finalTime = "X";
    keyUp('K');
    keyUp('L');
    closeSlotDialog();
    keyUp('O');
    playLoop();
    EXPECT_EQ(game.board, solution);
    EXPECT_EQ(game.statusText, "Brett gelöst!!!");
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(game.finalTime, "X") << "a solved board does not win";
}

TEST_F(PlayLoop, OForgetsKSoOKOSolvesOnce) {
    loadEasyPuzzle();
    keyUp('O');
    rec.pushStep([this] { EXPECT_EQ(game.board, puzzle) << "O alone does nothing"; });
    keyUp('K');
    keyUp('O');
    rec.pushStep([this] {
        EXPECT_EQ(game.board, solution);
        game.board = puzzle;
    });
    keyUp('O');
    playLoop();
    EXPECT_EQ(game.board, puzzle);
}

TEST_F(PlayLoop, CandidateKeysInAGame) {
    game.clockRunning = true;
    game.board(1, 1) = 5;
    keyUp('F');
    rec.pushStep([] {
        EXPECT_TRUE(game.candidates(2, 2, 9));
        EXPECT_TRUE(game.clockRunning) << "own notes keep the clock";
    });
    keyUp('C');
    rec.pushStep([] { EXPECT_FALSE(game.candidates(2, 2, 9)); });
    keyUp('M');
    playLoop();
    EXPECT_TRUE(game.showCandidates);
    EXPECT_FALSE(game.clockRunning);
    EXPECT_TRUE(game.candidates(2, 2, 9));
    EXPECT_FALSE(game.candidates(2, 1, 5)) << "automatic candidates follow the board";
}

TEST_F(PlayLoop, OwnBoardKeysShuffleButLeaveNotesAlone) {
    loadEasyPuzzle();
    game.board = game.givens = solution;  // a full board shuffles to a different full board
    game.candidates(3, 3, 3) = true;
    keyUp('F');
    keyUp('C');
    rec.pushStep([] { EXPECT_TRUE(game.candidates(3, 3, 3)); });
    keyUp('X');
    keyUp('K');
    keyUp('O');
    game.clockRunning = true;
    ownBoardLoop();
    EXPECT_TRUE(game.clockRunning) << "own-board solving leaves the clock flag alone";
    EXPECT_TRUE(game.ownBoardMode);
    EXPECT_NE(game.board, solution);
    EXPECT_TRUE(isConsistent());
    EXPECT_EQ(game.givens, game.board) << "the typed board stays all givens";
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(game.digitCount[static_cast<std::size_t>(d)], 9);
}

TEST_F(PlayLoop, CompletingATimedGameTakesTheFinalTime) {
    loadEasyPuzzle();
    game.board = solution;
    game.board(5, 5) = 0;
    game.givens(5, 5) = 0;
    game.clockRunning = true;
    game.startTime = currentTime() - 65.0;
    game.gameWon = false;
    game.finalTime = "X";
    left(cellX(5), cellY(5));
    rec.pushChar('0' + solution(5, 5));
    // A record asks for the name and shows the hall of fame.
    rec.pushFormEvent("champ", "champ_Close");
    rec.pushFormEvent("ruhm", "ruhm_Close");
    playLoop();
    EXPECT_EQ(game.statusText, "Brett gelöst!!!");
    EXPECT_NE(game.finalTime, "X");
    EXPECT_EQ(game.finalTime.substr(0, 6), "00:01:");
    EXPECT_FALSE(game.clockRunning);
    EXPECT_FALSE(game.gameWon);

    // The same completion without the clock takes no time.
    rec.ending = false;
    game.board(5, 5) = 0;
    game.finalTime = "X";
    left(cellX(5), cellY(5));
    rec.pushChar('0' + solution(5, 5));
    playLoop();
    EXPECT_EQ(game.statusText, "Brett gelöst!!!");
    EXPECT_EQ(game.finalTime, "X");
}

TEST_F(PlayLoop, KeysTypedIntoThePickerDoNotAlsoActOnRelease) {
    game.numbersMode = false;
    game.candidates(9, 9, 4) = true;
    left(cellX(2), cellY(2));
    rec.pushChar(27);
    keyUp(27);               // the release of the Escape that emptied the cell
    left(cellX(3), cellY(3));
    rec.pushChar('c');
    keyUp('C');              // the release of the "c" that entered 3
    left(cellX(4), cellY(4));
    rec.pushChar('d');
    keyUp('D');
    rec.pushStep([this] {
        EXPECT_EQ(pressed(abbruch), 0);
        EXPECT_EQ(pressed(drucken), 0);
        EXPECT_TRUE(game.candidates(9, 9, 4));
    });
    keyUp('C');              // pressed on its own it clears the notes
    playLoop();
    EXPECT_EQ(game.board(3, 3), 3);
    EXPECT_EQ(game.board(4, 4), 4);
    EXPECT_FALSE(game.candidates(9, 9, 4));
}

TEST_F(PlayLoop, MenuCommandsRunNestedAndTheLoopGoesOn) {
    int nested = 0;
    MainWindowHandlers handlers;
    handlers.mouseMove = [](int b, int s, double x, double y) { Win_0_MouseMove(b, s, x, y); };
    handlers.menuEvent = [&nested](int) {
        ++nested;
        playLoop();
    };
    rec.setMainWindowHandlers(handlers);
    rec.pushMenu(10);
    keyUp(27);  // ends the nested loop
    left(cellX(6), cellY(6));
    rec.pushChar('6');
    keyUp(27);  // ends the outer loop
    keyUp('N');
    playLoop();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(game.board(6, 6), 6);
    EXPECT_EQ(pressed(abbruch), 2);
    EXPECT_EQ(rec.script.size(), 1u);
}

}  // namespace
}  // namespace nonari::test
