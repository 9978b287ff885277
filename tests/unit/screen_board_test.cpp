// Cell painting and candidate marks: grounds, interiors, glyph and mark positions, and the refresh.
#include "logic/candidate_marks.h"
#include "screen/board_view.h"
#include "tests/unit/screen_recorder.h"

namespace nonari::test {
namespace {

class ScreenBoard : public ScreenTest {
protected:
    static int interiorLeft(int column) { return 30 + (column - 1) * 60; }
    static int interiorTop(int row) { return 46 + (row - 1) * 60; }
    // Texts drawn in the font of the given height (58: cell glyphs, 21: candidate marks), in order.
    std::vector<DrawOp> textsOfHeight(int height) const {
        return rec.select([=](const DrawOp& op) { return op.kind == DrawOp::Text && op.font.height == height; });
    }
    std::size_t markErasers() const {
        return rec.select([](const DrawOp& o) { return o.kind == DrawOp::FilledBox && o.x2 - o.x1 == 15; }).size();
    }
};

TEST_F(ScreenBoard, GivensFromGivensOnGreyEntriesOnWhiteInLettersToo) {
    game.givens(1, 1) = 4;
    game.board(1, 1) = 9;  // a given is always shown from givens
    game.board(3, 3) = 6;
    drawBoard();
    int grey = 0, white = 0;
    for (const auto& box : rec.of(DrawOp::FilledBox)) {
        if (box.x2 - box.x1 < 57) continue;  // mark erasers
        // Interiors in columns and rows 3, 6, 9 stop one pixel short of the block line.
        const int c = (box.x1 - 30) / 60 + 1, r = (box.y1 - 46) / 60 + 1;
        EXPECT_EQ(std::make_tuple(box.x1, box.y1, box.x2 - box.x1, box.y2 - box.y1),
                  std::make_tuple(interiorLeft(c), interiorTop(r), c % 3 ? 58 : 57, r % 3 ? 58 : 57));
        grey += box.fill == 0xC0C0C0 && box.pen == 0xC0C0C0 && c == 1 && r == 1;
        white += box.fill == 0xFFFFFF && box.pen == 0xFFFFFF;
    }
    EXPECT_EQ(std::make_pair(grey, white), std::make_pair(1, 80));
    auto glyphs = textsOfHeight(58);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(std::tie(glyphs[0].text, glyphs[0].x1, glyphs[0].y1, glyphs[0].raster, glyphs[0].opaque, glyphs[1].text),
              std::make_tuple(std::string("4"), interiorLeft(1) + 10, interiorTop(1) + 1, RasterMode::MergePen, false,
                              std::string("6")));
    EXPECT_EQ(std::make_pair(rec.now.raster, rec.now.opaque), std::make_pair(RasterMode::CopyPen, true));

    // Letters; painting a given changes only givens; cells off the board are neither painted nor stored.
    rec.ops.clear();
    game.numbersMode = false;
    drawGivenCell(10, 1, 3);
    EXPECT_TRUE(rec.ops.empty());
    drawEntryCell(5, 5, 1);
    drawGivenCell(5, 7, 8);
    glyphs = textsOfHeight(58);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(std::tie(glyphs[0].text, glyphs[0].x1, glyphs[1].text),
              std::make_tuple(std::string("A"), interiorLeft(5) + 5, std::string("H")));
    EXPECT_EQ(std::make_tuple(game.givens(5, 7), game.board(5, 7), game.givens(10, 1)), std::make_tuple(8, 0, 0));
}

TEST_F(ScreenBoard, MarkPositionsWithTheLiftAboveBlockLines) {
    for (int d = 1; d <= 9; ++d) game.candidates(2, 2, d) = game.candidates(2, 3, d) = true;
    drawCandidateMarks();
    auto marks = textsOfHeight(21);
    ASSERT_EQ(marks.size(), 18u);
    for (const auto& mark : marks) {
        const int d = mark.text[0] - '0', row = mark.y1 < 45 + 120 ? 2 : 3;
        const int lift = row == 3 && d >= 7 ? 1 : 0;
        EXPECT_EQ(mark.x1, 29 + 60 + 5 + 19 * ((d - 1) % 3)) << d;
        EXPECT_EQ(mark.y1, 45 + 60 * (row - 1) + 1 + 19 * ((d - 1) / 3) - lift) << "digit " << d << " row " << row;
        EXPECT_EQ(std::make_pair(mark.raster, mark.opaque), std::make_pair(RasterMode::MergePen, false));
    }
    // Every mark place of every empty cell is erased, 16 x 17 pixels.
    EXPECT_EQ(markErasers(), 81u * 9u);
    EXPECT_EQ(rec.of(DrawOp::FilledBox)[0].y2 - rec.of(DrawOp::FilledBox)[0].y1, 16);

    // Letter marks nudge the "I"; filled cells get none.
    rec.ops.clear();
    game.candidates.clear();
    game.numbersMode = false;
    game.candidates(7, 7, 9) = game.candidates(7, 7, 8) = game.candidates(8, 8, 1) = true;
    game.board(8, 8) = 5;
    drawCandidateMarks();
    marks = textsOfHeight(21);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(std::tie(marks[0].text, marks[0].x1), std::make_tuple(std::string("H"), candidateMarkLeft(7, 8)));
    EXPECT_EQ(std::tie(marks[1].text, marks[1].x1), std::make_tuple(std::string("I"), candidateMarkLeft(7, 9) + 4));
    EXPECT_EQ(markErasers(), 80u * 9u);

    // Emptying a cell paints over the whole mark area.
    rec.ops.clear();
    drawEntryCell(7, 7, 0);
    auto boxes = rec.of(DrawOp::FilledBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].x1 <= candidateMarkLeft(7, 1) && boxes[0].x2 >= candidateMarkLeft(7, 9) + 15);
    EXPECT_TRUE(boxes[0].y2 >= candidateMarkTop(7, 9) + 16 && rec.of(DrawOp::Text).empty());
}

TEST_F(ScreenBoard, AutomaticCandidatesStopTheClockAndFollowTheBoard) {
    game.clockRunning = true;
    game.candidates(1, 1, 5) = true;
    drawBoard();
    EXPECT_TRUE(game.clockRunning && textsOfHeight(21).size() == 1) << "own notes keep the clock";
    rec.ops.clear();
    game.showCandidates = true;
    game.board(1, 1) = 3;
    drawBoard();
    EXPECT_FALSE(game.clockRunning);
    EXPECT_EQ(textsOfHeight(21).size(), 80u * 9u - 20u) << "3 is out in the 20 cells that see (1, 1)";
    rec.ops.clear();
    game.board(9, 1) = 3;  // while a conflict stands nothing fits anywhere
    showAllCandidates();
    EXPECT_TRUE(textsOfHeight(21).empty());
}

}  // namespace
}  // namespace nonari::test
