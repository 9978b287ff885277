// Board print and puzzle sheets through the Qt printer into a PDF, read back with pdftotext -bbox.
#include "app/game_state.h"
#include "files/board_record.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <cmath>
#include <map>

namespace nonari::test {
namespace {

constexpr const char* solution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

bool isCellText(const PdfWord& w) { return w.text.size() == 1 && w.text[0] >= '1' && w.text[0] <= '9'; }

// Sorts the caption's words from left to right and joins them by blanks.
std::string line(std::vector<PdfWord>& words) {
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    std::string text;
    for (const PdfWord& w : words) text += (text.empty() ? "" : " ") + w.text;
    return text;
}

class PrintPdfTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        seedRandom(4711);
        setenv("NONARI_PRINT_PDF", pdf().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("NONARI_PRINT_PDF");
        QtPlatformTest::TearDown();
    }
    std::string pdf() const { return (work.path() / "seite.pdf").string(); }

    TempWorkDir work;
};

// The print layout's units: the page is 80 units wide and 70 high.
TEST_F(PrintPdfTest, BoardDigitsSitInsideTheirCellsAboveTheCaption) {
    const Grid full = gridFromText(solution);
    std::map<std::pair<int, int>, std::string> expected, found;
    int givens = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            if ((c * 7 + r * 3) % 5 == 0) continue;  // some cells stay empty
            game.board(c, r) = full(c, r);
            expected[std::make_pair(c, r)] = std::to_string(full(c, r));
            if ((c + r) % 2 == 0) {
                game.givens(c, r) = full(c, r);
                ++givens;
            }
        }
    game.difficulty = 2;
    printBoard();
    EXPECT_EQ(pf->targetResolutionX(), image().width());  // the window is the target again

    const PdfPage page = readPdf(QString::fromStdString(pdf()));
    const double ux = page.width / 80, uy = page.height / 70;
    std::vector<PdfWord> caption;
    for (const PdfWord& w : page.words) {
        if (!isCellText(w) || w.cy() > 58 * uy) {
            caption.push_back(w);
            continue;
        }
        // Cells are 8 x 6 units from (5, 3); the whole glyph lies inside its cell.
        const int c = static_cast<int>((w.xMin - 5 * ux) / (8 * ux)) + 1;
        const int r = static_cast<int>((w.yMin - 3 * uy) / (6 * uy)) + 1;
        EXPECT_LT(w.xMax, 5 * ux + c * 8 * ux) << w.text << " crosses the line right of column " << c;
        EXPECT_LT(w.yMax, 3 * uy + r * 6 * uy) << w.text << " crosses the line below row " << r;
        found[std::make_pair(c, r)] += w.text;
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(line(caption), "Schwierigkeitsgrad: Schwer mit " + std::to_string(givens) + " Zahlen");
    ASSERT_FALSE(caption.empty());
    EXPECT_NEAR(caption.front().xMin, 5 * ux, 2.0);
    EXPECT_NEAR(caption.front().yMin, 59 * uy, 3.0);
}

TEST_F(PrintPdfTest, SheetHasFourPuzzlesInTheirQuadrantsWithTheirOwnCounts) {
    // Four records per collection with 40 - 6k - r givens, so every caption tells its puzzle apart.
    const Grid full = gridFromText(solution);
    for (int k = 0; k <= 4; ++k) {
        std::vector<unsigned char> bytes(4 * boardRecordSize, 0);
        for (int r = 0; r <= 3; ++r)
            for (int i = 0; i < 40 - 6 * k - r; ++i) {
                const int c = i % 9 + 1, row = i / 9 + 1;
                bytes[static_cast<std::size_t>(r * boardRecordSize + c + 10 * row)] = full(c, row);
                bytes[static_cast<std::size_t>(r * boardRecordSize + 100 + c + 10 * row)] = full(c, row);
            }
        writeBytes(collectionFile(k), bytes);
    }
    printSheets();
    const PdfPage page = readPdf(QString::fromStdString(pdf()));
    const double ux = page.width / 80, uy = page.height / 70;

    const char* names[] = {"Leicht", "Mittel", "Schwer", "Extrem"};
    int digits = 0;
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(names[k]);
        const double left = 3 * ux + (k % 2) * 40 * ux, top = 3 * uy + (k / 2) * 32 * uy;
        digits = 0;
        std::vector<PdfWord> caption;
        for (const PdfWord& w : page.words) {
            if (w.cx() < left || w.cx() > left + 36 * ux || w.cy() < top || w.cy() > top + 29 * uy) continue;
            if (!isCellText(w) || w.cy() > top + 27 * uy) {
                caption.push_back(w);
                continue;
            }
            ++digits;  // each digit well inside one of the 4 x 3 unit cells
            const double col = (w.cx() - left) / (4 * ux), row = (w.cy() - top) / (3 * uy);
            EXPECT_NEAR(col - std::floor(col), 0.5, 0.3) << w.text;
            EXPECT_NEAR(row - std::floor(row), 0.5, 0.3) << w.text;
        }
        EXPECT_EQ(line(caption),
                  "Schwierigkeitsgrad: " + std::string(names[k]) + " mit " + std::to_string(digits) + " Zahlen");
        EXPECT_LE(digits, 40 - 6 * k);
        EXPECT_GE(digits, 37 - 6 * k);
        ASSERT_FALSE(caption.empty());
        EXPECT_NEAR(caption.front().yMin, top + 27.5 * uy, 3.0);
    }
    int held = 0;  // the game holds the last puzzle printed
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) held += game.givens(c, r) != 0;
    EXPECT_EQ(held, digits);
}

TEST_F(PrintPdfTest, UnwritableTargetGivesThePrinterErrorAndKeepsTheGame) {
    setenv("NONARI_PRINT_PDF", (work.path() / "fehlt" / "seite.pdf").c_str(), 1);
    game.board(3, 4) = 7;
    game.givens(3, 4) = 7;
    game.candidates(1, 1, 2) = true;
    const GameState before = game;
    EXPECT_EQ(messageDuring([] { printBoard(); }), "Druckerfehler!");
    EXPECT_EQ(game.board, before.board);
    EXPECT_EQ(game.givens, before.givens);
    EXPECT_EQ(game.candidates, before.candidates);
    EXPECT_EQ(game.givenCount, before.givenCount);
    EXPECT_EQ(pf->targetResolutionX(), image().width());
    EXPECT_FALSE(std::filesystem::exists(work.path() / "fehlt"));
}

}  // namespace
}  // namespace nonari::test
