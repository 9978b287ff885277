// Cell painting and candidate marks: grounds, interiors, glyph and mark positions, and the refresh.
#include "logic/candidate_marks.h"
#include "screen/board_view.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

class ScreenBoard : public ScreenTest {
protected:
    static int interiorLeft(int column) { return 29 + (column - 1) * 60 + 1; }
    static int interiorTop(int row) { return 45 + (row - 1) * 60 + 1; }
    // Texts drawn in the font of the given height, in order.
    std::vector<DrawOp> textsOfHeight(int height) const {
        std::vector<DrawOp> found;
        for (const auto& op : rec.of(DrawOp::Text))
            if (op.font.height == height) found.push_back(op);
        return found;
    }
};

TEST_F(ScreenBoard, GivensFromGivensOnGreyEntriesOnWhite) {
    game.givens(1, 1) = 4;
    game.board(1, 1) = 9;  // a given is always shown from givens
    game.board(3, 3) = 6;
    drawBoard();

    // Interiors in columns and rows 3, 6, 9 stop one pixel short of the block line.
    EXPECT_TRUE(rec.hasFilledBox(interiorLeft(1), interiorTop(1), interiorLeft(1) + 58, interiorTop(1) + 58));
    EXPECT_TRUE(rec.hasFilledBox(interiorLeft(3), interiorTop(3), interiorLeft(3) + 57, interiorTop(3) + 57));
    int grey = 0, white = 0;
    for (const auto& box : rec.of(DrawOp::FilledBox)) {
        if (box.x2 - box.x1 < 57) continue;  // mark erasers
        grey += box.fill == 0xC0C0C0 && box.pen == 0xC0C0C0;
        white += box.fill == 0xFFFFFF && box.pen == 0xFFFFFF;
    }
    EXPECT_EQ(grey, 1);
    EXPECT_EQ(white, 80);

    auto glyphs = textsOfHeight(58);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].text, "4");
    EXPECT_EQ(std::tie(glyphs[0].x1, glyphs[0].y1), std::make_tuple(interiorLeft(1) + 10, interiorTop(1) + 1));
    EXPECT_EQ(glyphs[0].raster, RasterMode::MergePen);
    EXPECT_FALSE(glyphs[0].opaque);
    EXPECT_EQ(glyphs[1].text, "6");
    EXPECT_EQ(game.digitCount[9], 1) << "the statistics count the board";
    EXPECT_EQ(rec.raster, RasterMode::CopyPen);
    EXPECT_TRUE(rec.opaque);
}

TEST_F(ScreenBoard, LettersModeGlyphsAndTheNarrowI) {
    game.numbersMode = false;
    drawEntryCell(5, 5, 1);
    drawEntryCell(5, 6, 9);
    drawGivenCell(5, 7, 8);
    auto glyphs = textsOfHeight(58);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0].text + glyphs[1].text + glyphs[2].text, "AIH");
    EXPECT_EQ(glyphs[0].x1, interiorLeft(5) + 5);
    EXPECT_EQ(glyphs[1].x1 - glyphs[0].x1, 14);
    EXPECT_EQ(game.givens(5, 7), 8);
    EXPECT_EQ(game.board(5, 7), 0) << "painting a given changes only givens";
    // Cells off the board are neither painted nor stored.
    rec.clearOps();
    drawGivenCell(10, 1, 3);
    EXPECT_TRUE(rec.ops.empty());
    EXPECT_EQ(game.givens(10, 1), 0);
}

TEST_F(ScreenBoard, MarkPositionsWithTheLiftAboveBlockLines) {
    for (int d = 1; d <= 9; ++d) game.candidates(2, 2, d) = game.candidates(2, 3, d) = true;
    drawCandidateMarks();
    auto marks = textsOfHeight(21);
    ASSERT_EQ(marks.size(), 18u);
    for (const auto& mark : marks) {
        int d = mark.text[0] - '0';
        int row = mark.y1 < 45 + 120 ? 2 : 3;
        int lift = row == 3 && d >= 7 ? 1 : 0;
        EXPECT_EQ(mark.x1, 29 + 60 + 5 + 19 * ((d - 1) % 3)) << d;
        EXPECT_EQ(mark.y1, 45 + 60 * (row - 1) + 1 + 19 * ((d - 1) / 3) - lift) << "digit " << d << " row " << row;
        EXPECT_EQ(mark.raster, RasterMode::MergePen);
        EXPECT_FALSE(mark.opaque);
    }
    // Every mark place of every empty cell is erased, 16 x 17 pixels.
    auto erasers = rec.of(DrawOp::FilledBox);
    EXPECT_EQ(erasers.size(), 81u * 9u);
    EXPECT_EQ(erasers[0].x2 - erasers[0].x1, 15);
    EXPECT_EQ(erasers[0].y2 - erasers[0].y1, 16);
}

TEST_F(ScreenBoard, LetterMarksNudgeTheIAndFilledCellsGetNone) {
    game.numbersMode = false;
    game.candidates(7, 7, 9) = game.candidates(7, 7, 8) = true;
    game.candidates(8, 8, 1) = true;
    game.board(8, 8) = 5;
    drawCandidateMarks();
    auto marks = textsOfHeight(21);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].text, "H");
    EXPECT_EQ(marks[0].x1, candidateMarkLeft(7, 8));
    EXPECT_EQ(marks[1].text, "I");
    EXPECT_EQ(marks[1].x1, candidateMarkLeft(7, 9) + 4);
    EXPECT_EQ(rec.of(DrawOp::FilledBox).size(), 80u * 9u);

    // Emptying a cell paints over the whole mark area.
    rec.clearOps();
    drawEntryCell(7, 7, 0);
    auto boxes = rec.of(DrawOp::FilledBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_LE(boxes[0].x1, candidateMarkLeft(7, 1));
    EXPECT_GE(boxes[0].x2, candidateMarkLeft(7, 9) + 15);
    EXPECT_GE(boxes[0].y2, candidateMarkTop(7, 9) + 16);
    EXPECT_TRUE(rec.of(DrawOp::Text).empty());
}

TEST_F(ScreenBoard, AutomaticCandidatesStopTheClockAndFollowTheBoard) {
    game.clockRunning = true;
    game.candidates(1, 1, 5) = true;
    drawBoard();
    EXPECT_TRUE(game.clockRunning) << "own notes keep the clock";
    EXPECT_EQ(textsOfHeight(21).size(), 1u);

    rec.clearOps();
    game.showCandidates = true;
    drawBoard();
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(textsOfHeight(21).size(), 81u * 9u) << "an empty board fits every digit everywhere";

    game.board(1, 1) = 3;
    showAllCandidates();
    EXPECT_FALSE(game.candidates(3, 1, 3));
    EXPECT_TRUE(game.candidates(3, 1, 1));
    EXPECT_TRUE(game.candidates(9, 9, 3));

    // While a conflict stands nothing fits anywhere.
    game.board(9, 1) = 3;
    rec.clearOps();
    showAllCandidates();
    EXPECT_TRUE(textsOfHeight(21).empty());
}

}  // namespace
}  // namespace nonari::test
