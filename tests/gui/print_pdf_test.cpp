// Board print and puzzle sheets through the Qt printer into a PDF, read back with pdftotext -bbox.
#include "app/game_state.h"
#include "files/board_record.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace nonari::test {
namespace {

const Grid solution =
    gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

// The words whose centres lie in the area: single digits above captionTop, the rest joined into the caption.
struct Area {
    std::vector<PdfWord> digits, caption;
    std::string text;
};
Area wordsIn(const PdfPage& page, const QRectF& area, double captionTop) {
    Area found;
    for (const PdfWord& w : page.words) {
        if (!area.contains(w.cx(), w.cy())) continue;
        const bool digit = w.text.size() == 1 && w.text[0] >= '1' && w.text[0] <= '9' && w.cy() < captionTop;
        (digit ? found.digits : found.caption).push_back(w);
    }
    std::sort(found.caption.begin(), found.caption.end(), [](auto& a, auto& b) { return a.xMin < b.xMin; });
    for (const PdfWord& w : found.caption) found.text += (found.text.empty() ? "" : " ") + w.text;
    return found;
}

class PrintPdfTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        seedRandom(4711);
        setenv("NONARI_PRINT_PDF", (work.path() / "seite.pdf").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("NONARI_PRINT_PDF");
        QtPlatformTest::TearDown();
    }
    // The page read back; the print layout's units: the page is 80 units wide and 70 high.
    PdfPage printed() {
        const PdfPage page = readPdf(QString::fromStdString((work.path() / "seite.pdf").string()));
        ux = page.width / 80, uy = page.height / 70;
        return page;
    }

    TempWorkDir work;
    double ux = 0, uy = 0;
};

TEST_F(PrintPdfTest, BoardDigitsSitInsideTheirCellsAboveTheCaption) {
    std::map<std::pair<int, int>, std::string> expected, found;
    int givens = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            if ((c * 7 + r * 3) % 5 == 0) continue;  // some cells stay empty
            game.board(c, r) = solution(c, r);
            expected[{c, r}] = std::to_string(solution(c, r));
            if ((c + r) % 2 == 0) game.givens(c, r) = solution(c, r), ++givens;
        }
    game.difficulty = 2;
    printBoard();
    EXPECT_EQ(pf->targetResolutionX(), image().width());  // the window is the target again

    const PdfPage page = printed();
    const Area all = wordsIn(page, QRectF(0, 0, page.width, page.height), 58 * uy);
    for (const PdfWord& w : all.digits) {
        // Cells are 8 x 6 units from (5, 3); the whole glyph lies inside its cell.
        const int c = static_cast<int>((w.xMin - 5 * ux) / (8 * ux)) + 1;
        const int r = static_cast<int>((w.yMin - 3 * uy) / (6 * uy)) + 1;
        EXPECT_LT(w.xMax, 5 * ux + c * 8 * ux) << w.text << " crosses the line right of column " << c;
        EXPECT_LT(w.yMax, 3 * uy + r * 6 * uy) << w.text << " crosses the line below row " << r;
        found[{c, r}] += w.text;
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(all.text, "Schwierigkeitsgrad: Schwer mit " + std::to_string(givens) + " Zahlen");
    ASSERT_FALSE(all.caption.empty());
    EXPECT_NEAR(all.caption.front().xMin, 5 * ux, 2.0);
    EXPECT_NEAR(all.caption.front().yMin, 59 * uy, 3.0);
}

TEST_F(PrintPdfTest, SheetHasFourPuzzlesInTheirQuadrantsWithTheirOwnCounts) {
    // Four records per collection with 40 - 6k - r givens, so every caption tells its puzzle apart.
    for (int k = 0; k <= 4; ++k) {
        std::vector<unsigned char> bytes(4 * boardRecordSize, 0);
        for (int r = 0; r <= 3; ++r)
            for (int i = 0; i < 40 - 6 * k - r; ++i) {
                const int c = i % 9 + 1, row = i / 9 + 1, at = r * boardRecordSize + c + 10 * row;
                bytes[static_cast<std::size_t>(at)] = bytes[static_cast<std::size_t>(at + 100)] = solution(c, row);
            }
        writeBytes(collectionFile(k), bytes);
    }
    printSheets();
    const PdfPage page = printed();
    const char* names[] = {"Leicht", "Mittel", "Schwer", "Extrem"};
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(names[k]);
        const double left = 3 * ux + (k % 2) * 40 * ux, top = 3 * uy + (k / 2) * 32 * uy;
        const Area quadrant = wordsIn(page, QRectF(left, top, 36 * ux, 29 * uy), top + 27 * uy);
        for (const PdfWord& w : quadrant.digits) {  // each digit well inside one of the 4 x 3 unit cells
            const double col = (w.cx() - left) / (4 * ux), row = (w.cy() - top) / (3 * uy);
            EXPECT_NEAR(col - std::floor(col), 0.5, 0.3) << w.text;
            EXPECT_NEAR(row - std::floor(row), 0.5, 0.3) << w.text;
        }
        const std::size_t digits = quadrant.digits.size();
        EXPECT_EQ(quadrant.text,
                  "Schwierigkeitsgrad: " + std::string(names[k]) + " mit " + std::to_string(digits) + " Zahlen");
        EXPECT_TRUE(digits <= 40u - 6 * k && digits >= 37u - 6 * k) << digits;
        ASSERT_FALSE(quadrant.caption.empty());
        EXPECT_NEAR(quadrant.caption.front().yMin, top + 27.5 * uy, 3.0);
    }
}

TEST_F(PrintPdfTest, UnwritableTargetGivesThePrinterErrorAndKeepsTheGame) {
    setenv("NONARI_PRINT_PDF", (work.path() / "fehlt" / "seite.pdf").c_str(), 1);
    game.board(3, 4) = game.givens(3, 4) = 7;
    game.candidates(1, 1, 2) = true;
    const GameState before = game;
    EXPECT_EQ(messageDuring([] { printBoard(); }), "Druckerfehler!");
    EXPECT_EQ(std::tie(game.board, game.givens, game.candidates, game.givenCount),
              std::tie(before.board, before.givens, before.candidates, before.givenCount));
    EXPECT_EQ(pf->targetResolutionX(), image().width());
    EXPECT_FALSE(std::filesystem::exists(work.path() / "fehlt"));
}

}  // namespace
}  // namespace nonari::test
