// The button bar and both play loops: click zones, keys, the K-then-O memory, own-board keys and the win.
#include "logic/rules.h"
#include "screen/play_loops.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, darkGrey = 0x404040, darkRed = 0x800000;
constexpr int laden = 30, sichern = 108, drucken = 202, neustart = 296, hilfe = 398, abbruch = 476;

class PlayLoop : public ScreenTest {
protected:
    // Times the button at this left edge was drawn pressed (dark top line) or raised (white top line).
    int drawnAs(int buttonLeft, Rgb topColour) const {
        return static_cast<int>(rec.select([&](const DrawOp& op) {
            return op.kind == DrawOp::Line && op.x1 == buttonLeft && op.y1 == 598 && op.y2 == 598 && op.pen == topColour;
        }).size());
    }
    int pressed(int buttonLeft) const { return drawnAs(buttonLeft, darkGrey); }
    int raised(int buttonLeft) const { return drawnAs(buttonLeft, white); }
    void keyUp(int key) { rec.pushKeyUp(key); }
    void closeSlotDialog() { rec.pushFormEvent("frm1", "frm1_Close"); }
    void enterCell(int c, int r, int typed) { left(cellX(c), cellY(r)), rec.pushChar(typed); }

    // Runs the loop on the script so far; true when it ended through Abbruch before reading a last key.
    bool endsThroughAbbruch(void (*loop)() = playLoop) {
        rec.ops.clear();
        keyUp('N');
        loop();
        const bool ended = pressed(abbruch) == 1 && rec.script.size() == 1;
        rec.script.clear();
        return ended;
    }
    // A puzzle that single-candidate logic completes: the solution with every fourth cell open.
    void loadEasyPuzzle() {
        solution = puzzle = gridFromText(solvedGrid);
        for (int i = 0; i < 81; i += 4) puzzle(i % 9 + 1, i / 9 + 1) = 0;
        game.board = game.givens = puzzle;
    }
    Grid solution, puzzle;
};

TEST_F(PlayLoop, ButtonWidthsAndHotLetters) {
    playLoop();
    for (auto [x, w] : {std::pair{laden, 76}, {sichern, 92}, {drucken, 92}, {neustart, 100}, {hilfe, 76}, {abbruch, 92}}) {
        auto frame = [x = x, w = w](const DrawOp& o) {
            return o.kind == DrawOp::Box && o.x1 == x - 1 && o.y1 == 597 && o.x2 == x + w && o.y2 == 624;
        };
        EXPECT_EQ(std::make_pair(raised(x), rec.select(frame).size()), std::make_pair(1, std::size_t{1})) << x;
    }
    // The label without its hot letter; the letter in dark red over a white one in the second cell.
    const DrawOp *label = rec.findText("  aden "), *hot = rec.findText("L");
    ASSERT_TRUE(label && hot);
    EXPECT_EQ(std::tie(label->x1, label->y1, hot->x1, hot->y1, hot->pen), std::make_tuple(40, 604, 48, 604, white));
    EXPECT_EQ(std::tie(hot[1].text, hot[1].x1, hot[1].y1, hot[1].pen, hot[1].opaque),
              std::make_tuple(std::string("L"), 47, 603, darkRed, false));
    EXPECT_TRUE(rec.now.opaque);
    // Large fonts move the label 8 left and 2 up (less the font-14 shift's correction).
    rec.ops.clear();
    game.largeFonts = true;
    drawButton(0, laden, 598, " _Laden ");
    EXPECT_EQ(std::tie(rec.findText("  aden ")->x1, rec.findText("  aden ")->y1, rec.findText("L")->x1),
              std::make_tuple(31, 602, 40));
}

TEST_F(PlayLoop, ClickZonesTileTheStripUpToX612AndKeysEndTheLoop) {
    left(28, 610);
    rec.pushStep([this] { EXPECT_EQ(pressed(laden), 0) << "x 28 lies left of every zone"; });
    for (int x : {29, 107, 108}) left(x, 610), closeSlotDialog();
    for (auto [x, y] : {std::pair{300, 596}, {300, 624}, {300, 597}, {475, 623}, {613, 610}}) left(x, y);
    left(612, 610);  // the zones' last pixel; 596, 624 and 613 lie outside
    game.clockRunning = true;
    EXPECT_TRUE(endsThroughAbbruch());
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(std::vector({pressed(laden), raised(laden), pressed(sichern), pressed(neustart), pressed(hilfe)}),
              std::vector({2, 3, 1, 1, 1}));
    EXPECT_EQ(std::make_pair(pressed(drucken), raised(abbruch)), std::make_pair(0, 1)) << "Abbruch stays pressed";
    left(600, 610);  // right of the drawn Abbruch button, still in its zone
    EXPECT_TRUE(endsThroughAbbruch());

    game.numbersMode = false;
    keyUp('A');
    rec.pushStep([this] { EXPECT_EQ(pressed(abbruch), 0) << "A is a digit key in letters mode"; });
    keyUp(27);
    EXPECT_TRUE(endsThroughAbbruch());
    game.numbersMode = true;
    keyUp('A');
    EXPECT_TRUE(endsThroughAbbruch());
    keyUp(27);
    EXPECT_TRUE(endsThroughAbbruch(ownBoardLoop));
}

TEST_F(PlayLoop, OSolvesOnlyRightAfterKWhateverCameBetweenAndDoesNotWin) {
    loadEasyPuzzle();
    game.clockRunning = true;
    game.startTime = currentTime();
    game.finalTime = "X";
    keyUp('O');
    rec.pushStep([this] { EXPECT_EQ(game.board, puzzle) << "O alone does nothing"; });
    keyUp('K');
    keyUp('L');
    closeSlotDialog();
    keyUp('O');
    rec.pushStep([this] {
        EXPECT_EQ(game.board, solution);
        EXPECT_EQ(game.statusText + game.finalTime, "Brett gelöst!!!X") << "a solved board does not win";
        EXPECT_FALSE(game.clockRunning);
        game.board = puzzle;
    });
    keyUp('O');  // the K is used up
    playLoop();
    EXPECT_EQ(game.board, puzzle);
}

TEST_F(PlayLoop, CandidateKeysInAGameAndInOwnBoardEntry) {
    game.clockRunning = true;
    game.board(1, 1) = 5;
    keyUp('F');
    rec.pushStep([] { EXPECT_TRUE(game.candidates(2, 2, 9) && game.clockRunning) << "own notes keep the clock"; });
    keyUp('C');
    rec.pushStep([] { EXPECT_FALSE(game.candidates(2, 2, 9)); });
    keyUp('M');
    playLoop();
    EXPECT_TRUE(game.showCandidates && !game.clockRunning && game.candidates(2, 2, 9));
    EXPECT_FALSE(game.candidates(2, 1, 5)) << "automatic candidates follow the board";

    // Own-board entry: F and C leave the notes alone, X shuffles, K O does not touch the clock.
    rec.ending = false;
    loadEasyPuzzle();
    game.board = game.givens = solution;  // a full board shuffles to a different full board
    game.candidates.clear();
    game.candidates(3, 3, 3) = true;
    game.showCandidates = false;
    for (int key : {'F', 'C', 'X', 'K', 'O'}) keyUp(key);
    game.clockRunning = true;
    ownBoardLoop();
    EXPECT_TRUE(game.candidates(3, 3, 3) && game.clockRunning && game.ownBoardMode);
    EXPECT_NE(game.board, solution);
    EXPECT_TRUE(isConsistent());
    EXPECT_EQ(game.givens, game.board) << "the typed board stays all givens";
    for (int d = 1; d <= 9; ++d) EXPECT_EQ(game.digitCount[static_cast<std::size_t>(d)], 9);
}

TEST_F(PlayLoop, CompletingATimedGameTakesTheFinalTime) {
    loadEasyPuzzle();
    game.board = solution;
    game.board(5, 5) = game.givens(5, 5) = 0;
    game.clockRunning = true;
    game.startTime = currentTime() - 65.0;
    game.finalTime = "X";
    enterCell(5, 5, '0' + solution(5, 5));
    rec.pushFormEvent("champ", "champ_Close");  // a record asks for the name and shows the hall of fame
    rec.pushFormEvent("ruhm", "ruhm_Close");
    playLoop();
    EXPECT_EQ(game.statusText + game.finalTime.substr(0, 6), "Brett gelöst!!!00:01:");
    EXPECT_FALSE(game.clockRunning || game.gameWon);
    // The same completion without the clock takes no time.
    rec.ending = false;
    game.board(5, 5) = 0;
    game.finalTime = "X";
    enterCell(5, 5, '0' + solution(5, 5));
    playLoop();
    EXPECT_EQ(game.statusText + game.finalTime, "Brett gelöst!!!X");
}

TEST_F(PlayLoop, KeysTypedIntoThePickerDoNotAlsoActOnRelease) {
    game.numbersMode = false;
    game.candidates(9, 9, 4) = true;
    for (auto [cell, typed, released] : {std::tuple{2, 27, 27}, {3, 'c', 'C'}, {4, 'd', 'D'}})
        enterCell(cell, cell, typed), keyUp(released);  // Escape would end the loop, C clear the notes, D print
    rec.pushStep([this] { EXPECT_TRUE(pressed(abbruch) + pressed(drucken) == 0 && game.candidates(9, 9, 4)); });
    keyUp('C');  // pressed on its own it clears the notes
    playLoop();
    EXPECT_EQ(std::tie(game.board(3, 3), game.board(4, 4)), std::make_tuple(3, 4));
    EXPECT_FALSE(game.candidates(9, 9, 4));
}

}  // namespace
}  // namespace nonari::test
