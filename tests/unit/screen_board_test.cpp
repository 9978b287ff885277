// Cell painting and candidate marks: grounds, interiors, glyph positions, mark positions and the refresh.
#include "logic/candidate_marks.h"
#include "screen/board_view.h"
#include "tests/unit/screen_recorder.h"

#include <algorithm>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, lightGrey = 0xC0C0C0, black = 0x000000;

class ScreenBoard : public ScreenTest {
protected:
    static int interiorLeft(int column) { return 29 + (column - 1) * 60 + 1; }
    static int interiorTop(int row) { return 45 + (row - 1) * 60 + 1; }
    // The big glyphs (font 40) drawn, in order.
    std::vector<DrawOp> glyphs() const {
        std::vector<DrawOp> found;
        for (const auto& op : rec.of(DrawOp::Text))
            if (op.font.height == 58) found.push_back(op);
        return found;
    }
    std::vector<DrawOp> marks() const {
        std::vector<DrawOp> found;
        for (const auto& op : rec.of(DrawOp::Text))
            if (op.font.height == 21) found.push_back(op);
        return found;
    }
};

TEST_F(ScreenBoard, GivensFromGivensOnGreyEntriesOnWhite) {
    game.givens(1, 1) = 4;
    game.board(1, 1) = 9;  // a given is always shown from givens
    game.board(3, 3) = 6;
    drawBoard();

    EXPECT_TRUE(rec.hasFilledBox(interiorLeft(1), interiorTop(1), interiorLeft(1) + 58, interiorTop(1) + 58));
    // Column 3 and row 3 interiors stop one pixel short of the block line.
    EXPECT_TRUE(rec.hasFilledBox(interiorLeft(3), interiorTop(3), interiorLeft(3) + 57, interiorTop(3) + 57));
    EXPECT_TRUE(rec.hasFilledBox(interiorLeft(6), interiorTop(2), interiorLeft(6) + 57, interiorTop(2) + 58));
    int greyCells = 0, whiteCells = 0;
    for (const auto& box : rec.of(DrawOp::FilledBox)) {
        if (box.x2 - box.x1 < 57) continue;  // candidate mark erasers
        if (box.fill == lightGrey && box.pen == lightGrey) ++greyCells;
        if (box.fill == white && box.pen == white) ++whiteCells;
    }
    EXPECT_EQ(greyCells, 1);
    EXPECT_EQ(whiteCells, 80);

    auto drawn = glyphs();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, "4");
    EXPECT_EQ(drawn[0].x1, interiorLeft(1) + 10);
    EXPECT_EQ(drawn[0].y1, interiorTop(1) + 1);
    EXPECT_EQ(drawn[0].pen, black);
    EXPECT_EQ(drawn[0].raster, RasterMode::MergePen);
    EXPECT_FALSE(drawn[0].opaque);
    EXPECT_EQ(drawn[1].text, "6");
    EXPECT_EQ(game.givens(1, 1), 4);
    EXPECT_EQ(rec.raster, RasterMode::CopyPen);
    EXPECT_TRUE(rec.opaque);
    // The statistics count the board, not the givens.
    EXPECT_EQ(game.digitCount[9], 1);
    EXPECT_EQ(game.digitCount[4], 0);
}

TEST_F(ScreenBoard, LettersModeGlyphsAndTheNarrowI) {
    game.numbersMode = false;
    drawEntryCell(5, 5, 1);
    drawEntryCell(5, 6, 9);
    drawGivenCell(5, 7, 8);
    auto drawn = glyphs();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].text, "A");
    EXPECT_EQ(drawn[1].text, "I");
    EXPECT_EQ(drawn[2].text, "H");
    EXPECT_EQ(drawn[0].x1, interiorLeft(5) + 5);
    EXPECT_EQ(drawn[1].x1 - drawn[0].x1, 14);
    EXPECT_EQ(drawn[2].x1, interiorLeft(5) + 5);
    EXPECT_EQ(game.givens(5, 7), 8);
    EXPECT_EQ(game.board(5, 7), 0) << "a given cell changes only givens";

    // Back in numbers mode the same grids show digits.
    game.numbersMode = true;
    EXPECT_EQ(glyphText(1), "1");
    EXPECT_EQ(glyphText(9), "9");
    EXPECT_EQ(glyphText(0), "");
}

TEST_F(ScreenBoard, EmptyingACellBlanksItsMarksToo) {
    game.candidates(4, 4, 2) = true;
    drawCandidateMarks();
    ASSERT_EQ(marks().size(), 1u);
    rec.clearOps();
    drawEntryCell(4, 4, 0);
    EXPECT_TRUE(rec.of(DrawOp::Text).empty());
    auto boxes = rec.of(DrawOp::FilledBox);
    ASSERT_EQ(boxes.size(), 1u);
    // The interior covers the whole mark area.
    int markLeft = candidateMarkLeft(4, 9), markTop = candidateMarkTop(4, 9);
    EXPECT_LE(boxes[0].x1, candidateMarkLeft(4, 1));
    EXPECT_GE(boxes[0].x2, markLeft + 15);
    EXPECT_GE(boxes[0].y2, markTop + 16);
    // Cells off the board are not painted.
    rec.clearOps();
    drawEntryCell(0, 4, 3);
    drawGivenCell(10, 1, 3);
    EXPECT_TRUE(rec.ops.empty());
    EXPECT_EQ(game.givens(10, 1), 0);
}

TEST_F(ScreenBoard, MarkPositionsWithTheLiftAboveBlockLines) {
    for (int d = 1; d <= 9; ++d) {
        game.candidates(2, 2, d) = true;
        game.candidates(2, 3, d) = true;
    }
    drawCandidateMarks();
    auto drawn = marks();
    ASSERT_EQ(drawn.size(), 18u);
    for (const auto& mark : drawn) {
        int d = mark.text[0] - '0';
        int row = mark.y1 < 45 + 120 ? 2 : 3;
        int expectedTop = 45 + 60 * (row - 1) + 1 + 19 * ((d - 1) / 3) - ((row == 3 && d >= 7) ? 1 : 0);
        EXPECT_EQ(mark.x1, 29 + 60 + 5 + 19 * ((d - 1) % 3)) << d;
        EXPECT_EQ(mark.y1, expectedTop) << "digit " << d << " row " << row;
        EXPECT_EQ(mark.raster, RasterMode::MergePen);
        EXPECT_FALSE(mark.opaque);
        EXPECT_EQ(mark.pen, black);
    }
    EXPECT_EQ(candidateMarkTop(3, 7), candidateMarkTop(2, 7) + 60 - 1);
    EXPECT_EQ(candidateMarkTop(9, 9), 45 + 480 + 1 + 38 - 1);
    EXPECT_EQ(candidateMarkTop(9, 6), 45 + 480 + 1 + 19);
    // Every mark place of every empty cell is erased, 16 x 17 pixels.
    auto erasers = rec.of(DrawOp::FilledBox);
    EXPECT_EQ(erasers.size(), 81u * 9u);
    EXPECT_TRUE(std::all_of(erasers.begin(), erasers.end(), [](const DrawOp& b) {
        return b.x2 - b.x1 == 15 && b.y2 - b.y1 == 16 && b.fill == 0xFFFFFFu;
    }));
    EXPECT_EQ(rec.raster, RasterMode::CopyPen);
    EXPECT_TRUE(rec.opaque);
}

TEST_F(ScreenBoard, LetterMarksNudgeTheIAndFilledCellsGetNone) {
    game.numbersMode = false;
    game.candidates(7, 7, 9) = true;
    game.candidates(7, 7, 8) = true;
    game.candidates(8, 8, 1) = true;
    game.board(8, 8) = 5;
    drawCandidateMarks();
    auto drawn = marks();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, "H");
    EXPECT_EQ(drawn[0].x1, candidateMarkLeft(7, 8));
    EXPECT_EQ(drawn[1].text, "I");
    EXPECT_EQ(drawn[1].x1, candidateMarkLeft(7, 9) + 4);
    EXPECT_EQ(drawn[1].y1, candidateMarkTop(7, 9));
    EXPECT_EQ(rec.of(DrawOp::FilledBox).size(), 80u * 9u);
}

TEST_F(ScreenBoard, AutomaticCandidatesStopTheClockAndFollowTheBoard) {
    game.clockRunning = true;
    game.candidates(1, 1, 5) = true;  // a note that the automatic marks replace
    drawBoard();
    EXPECT_TRUE(game.clockRunning) << "notes alone do not stop the clock";
    EXPECT_EQ(marks().size(), 1u);

    rec.clearOps();
    game.showCandidates = true;
    drawBoard();
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(marks().size(), 81u * 9u) << "an empty board fits every digit everywhere";

    game.board(1, 1) = 3;
    game.board(2, 1) = 7;
    rec.clearOps();
    showAllCandidates();
    EXPECT_FALSE(game.candidates(1, 1, 3));
    EXPECT_FALSE(game.candidates(3, 1, 3));
    EXPECT_TRUE(game.candidates(3, 1, 1));
    EXPECT_FALSE(game.candidates(1, 9, 3));
    EXPECT_TRUE(game.candidates(9, 9, 3));

    // While a conflict stands nothing fits anywhere.
    game.board(9, 1) = 3;
    rec.clearOps();
    showAllCandidates();
    EXPECT_TRUE(marks().empty());
}

}  // namespace
}  // namespace nonari::test
