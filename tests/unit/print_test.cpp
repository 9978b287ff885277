// Board print and puzzle sheets read back from a printer that records every drawing call.
#include "files/board_record.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace nonari::test {
namespace {

struct Drawn {
    bool isText = false;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int lineWidth = 0;
    double points = 0;
    std::string text;
};

// Records what reaches the printer, with positions, line widths and font sizes; can break down mid-job.
class RecordingPrinter : public HeadlessPlatform {
public:
    std::vector<Drawn> drawn;
    std::vector<std::string> documents;
    std::string face;
    int resolutionX = 4960, resolutionY = 7016;
    int breakAfterDraws = -1;  // the printer fails once this many calls have been drawn
    int aborted = 0, ended = 0, windowTargets = 0;
    bool onPrinter = false;

    std::vector<Drawn> texts() const {
        std::vector<Drawn> result;
        for (const auto& d : drawn)
            if (d.isText) result.push_back(d);
        return result;
    }
    std::vector<Drawn> boxes(int width) const {
        std::vector<Drawn> result;
        for (const auto& d : drawn)
            if (!d.isText && d.lineWidth == width) result.push_back(d);
        return result;
    }

    bool selectPrinter() override { return onPrinter = HeadlessPlatform::selectPrinter(); }
    bool startDocument(const std::string& name) override {
        documents.push_back(name);
        return HeadlessPlatform::startDocument(name);
    }
    void setLineWidth(int width) override { lineWidth = width; }
    void setPrinterFont(const std::string& name, double size) override {
        face = name;
        points = size;
    }
    int targetResolutionX() override { return resolutionX; }
    int targetResolutionY() override { return resolutionY; }
    void drawBox(int x1, int y1, int x2, int y2) override { record(Drawn{false, x1, y1, x2, y2, lineWidth, 0, ""}); }
    void drawText(int x, int y, const std::string& text) override {
        HeadlessPlatform::drawText(x, y, text);
        record(Drawn{true, x, y, 0, 0, 0, points, text});
    }
    bool printerFailed() override { return broken() || HeadlessPlatform::printerFailed(); }
    bool endPage() override { return !broken() && HeadlessPlatform::endPage(); }
    bool endDocument() override {
        ++ended;
        return !broken() && HeadlessPlatform::endDocument();
    }
    void abortDocument() override { ++aborted; }
    void targetWindow() override {
        ++windowTargets;
        onPrinter = false;
        HeadlessPlatform::targetWindow();
    }

private:
    int lineWidth = 1;
    double points = 0;
    bool broken() const { return breakAfterDraws >= 0 && static_cast<int>(drawn.size()) >= breakAfterDraws; }
    void record(const Drawn& d) {
        if (onPrinter) drawn.push_back(d);
    }
};

class PrintTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        printer.printerAvailable = true;
        installPlatform(&printer);
    }
    RecordingPrinter printer;
};

constexpr const char* solution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// Gives the first `count` cells of the solution in reading order.
void setPuzzle(int count) {
    Grid full = gridFromText(solution);
    game.board.clear();
    game.givens.clear();
    for (int i = 0; i < count; ++i) {
        const int c = i % 9 + 1, r = i / 9 + 1;
        game.board(c, r) = game.givens(c, r) = full(c, r);
    }
}

TEST(PrintRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(nint(0.5), 0);
    EXPECT_EQ(nint(1.5), 2);
    EXPECT_EQ(nint(2.5), 2);
    EXPECT_EQ(nint(409.5), 410);
    EXPECT_EQ(nint(-0.5), 0);
    EXPECT_EQ(nint(-1.5), -2);
    EXPECT_EQ(nint(2.4999), 2);
    EXPECT_EQ(nint(2.5001), 3);
    EXPECT_EQ(nint(-2.6), -3);
}

TEST_F(PrintTest, BoardPageHasTheGridBoxesAndCellTextsWhereTheyBelong) {
    // 4960 x 7016 device pixels: unitX 62, unitY 100, cells 496 x 600 from (310, 300).
    setPuzzle(20);
    game.board(9, 9) = 9;  // a player's entry
    printBoard();

    ASSERT_EQ(printer.documents, std::vector<std::string>{"Brett drucken"});
    const auto cells = printer.boxes(2);
    ASSERT_EQ(cells.size(), 81u);
    EXPECT_EQ(cells.front().x1, 310);
    EXPECT_EQ(cells.front().y1, 300);
    EXPECT_EQ(cells.front().x2, 806);
    EXPECT_EQ(cells.front().y2, 900);
    EXPECT_EQ(cells[1].x1, 806);  // the second cell of the top row
    EXPECT_EQ(cells[9].y1, 900);  // the first cell of the second row
    EXPECT_EQ(cells.back().x2, 310 + 9 * 496);
    EXPECT_EQ(cells.back().y2, 300 + 9 * 600);
    const auto boxes = printer.boxes(10);
    ASSERT_EQ(boxes.size(), 9u);
    EXPECT_EQ(boxes.front().x2 - boxes.front().x1, 3 * 496);
    EXPECT_EQ(boxes.front().y2 - boxes.front().y1, 3 * 600);
    EXPECT_EQ(boxes.back().x2, cells.back().x2);
    EXPECT_EQ(boxes.back().y2, cells.back().y2);
    EXPECT_EQ(printer.face, "ARIAL");

    // Texts: column outer, row inner; 21 cells then the caption.
    const auto texts = printer.texts();
    ASSERT_EQ(texts.size(), 22u);
    EXPECT_EQ(texts[0].text, "5");  // (1, 1)
    EXPECT_EQ(texts[1].text, "6");  // (1, 2)
    EXPECT_EQ(texts[2].text, "1");  // (1, 3)
    EXPECT_EQ(texts[3].text, "3");  // (2, 1)
    // Cell (1, 1): origin nint(6.5*62) + nint(31) = 434, nint(400) + nint(-33.3) = 367, nudged 11 and 3.
    EXPECT_EQ(texts[0].x1, 445);
    EXPECT_EQ(texts[0].y1, 370);
    EXPECT_EQ(texts[1].x1, 445);
    EXPECT_EQ(texts[1].y1, 970);
    EXPECT_EQ(texts[2].y1, 1570);
    EXPECT_EQ(texts[3].x1, 941);
    EXPECT_EQ(texts[3].y1, 370);
    EXPECT_EQ(texts[0].points, 54);
    for (std::size_t i = 0; i + 1 < texts.size(); ++i) {
        // Every glyph starts inside its cell, in its upper part.
        const bool inside = std::any_of(cells.begin(), cells.end(), [&](const Drawn& cell) {
            return texts[i].x1 > cell.x1 && texts[i].x1 < cell.x2 && texts[i].y1 > cell.y1 &&
                   texts[i].y1 < cell.y1 + (cell.y2 - cell.y1) / 2;
        });
        EXPECT_TRUE(inside) << texts[i].text << " at " << texts[i].x1 << "," << texts[i].y1;
    }
    EXPECT_EQ(texts[20].text, "9");  // the entry is printed like a given
    EXPECT_EQ(texts[20].x1, 434 + 8 * 496 + 11);

    // Only the givens are counted.
    EXPECT_EQ(texts.back().text, "Schwierigkeitsgrad:   Leicht mit 20 Zahlen");
    EXPECT_EQ(texts.back().x1, 310);
    EXPECT_EQ(texts.back().y1, 5900);
    EXPECT_EQ(texts.back().points, 12);
    EXPECT_EQ(game.givenCount, 20);
    EXPECT_TRUE(printer.messages.empty());
    EXPECT_EQ(printer.ended, 1);
    EXPECT_FALSE(printer.onPrinter);
}

TEST_F(PrintTest, OddUnitsRoundHalvesToEven) {
    // unitX 63, unitY 99: nint(6.5*63) = 410 and nint(31.5) = 32; nint(-33) = -33.
    printer.resolutionX = 80 * 63 + 79;
    printer.resolutionY = 70 * 99 + 69;
    game.board(1, 1) = 4;
    game.board(2, 3) = 7;
    printBoard();
    const auto texts = printer.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x1, 410 + 32 + 11);
    EXPECT_EQ(texts[0].y1, 396 - 33 + 3);
    EXPECT_EQ(texts[1].x1, 410 + 504 + 32 + 11);
    EXPECT_EQ(texts[1].y1, 396 + 2 * 594 - 33 + 3);
    EXPECT_EQ(texts[2].x1, 315);
    EXPECT_EQ(texts[2].y1, 59 * 99);
    EXPECT_EQ(texts[2].text, "Schwierigkeitsgrad:   Leicht mit 0 Zahlen");
}

TEST_F(PrintTest, CaptionsNameEveryDifficultyWithOneBlankBeforeMit) {
    // An empty board prints the grid and a count of 0.
    printBoard();
    EXPECT_EQ(printer.boxes(2).size(), 81u);
    EXPECT_EQ(printer.boxes(10).size(), 9u);
    EXPECT_EQ(printer.printedTexts, std::vector<std::string>{"Schwierigkeitsgrad:   Leicht mit 0 Zahlen"});

    const std::vector<std::string> expected = {
        "Schwierigkeitsgrad:   Leicht mit 7 Zahlen", "Schwierigkeitsgrad:   Mittel mit 7 Zahlen",
        "Schwierigkeitsgrad:  Schwer mit 7 Zahlen", "Schwierigkeitsgrad:  Extrem mit 7 Zahlen",
        "Schwierigkeitsgrad: Teuflisch mit 7 Zahlen"};
    setPuzzle(7);
    for (std::int16_t d = 0; d <= 4; ++d) {
        game.difficulty = d;
        printer.drawn.clear();
        printBoard();
        ASSERT_FALSE(printer.texts().empty());
        EXPECT_EQ(printer.texts().back().text, expected[static_cast<std::size_t>(d)]);
    }
}

TEST_F(PrintTest, LettersModePrintsLettersWithTheirOwnNudges) {
    game.numbersMode = false;
    game.board(1, 1) = 1;
    game.board(1, 2) = 9;
    game.givens(1, 2) = 9;
    game.board(1, 3) = 8;
    printBoard();
    const auto texts = printer.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "A");
    EXPECT_EQ(texts[1].text, "I");
    EXPECT_EQ(texts[2].text, "H");
    EXPECT_EQ(texts[0].x1, 434 + 8);
    EXPECT_EQ(texts[1].x1, 434 + 5);
    EXPECT_EQ(texts[2].x1, 434 + 8);
    EXPECT_EQ(texts[3].text, "Schwierigkeitsgrad:   Leicht mit 1 Zahlen");
}

TEST_F(PrintTest, DamagedCellValuesStillGiveValidText) {
    game.numbersMode = false;
    game.board(5, 5) = 200;  // records are not validated
    printBoard();
    const auto texts = printer.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "\xC4\x88");  // U+0108, the character with code 264
}

TEST_F(PrintTest, FailingPrinterShowsAnErrorAndChangesNothing) {
    setPuzzle(30);
    game.board(9, 9) = 9;
    game.candidates(9, 8, 3) = true;
    game.difficulty = 3;
    game.givenCount = 17;
    const GameState before = game;

    for (int breakAt : {-2, 0, 50, 95, 120}) {
        SCOPED_TRACE(breakAt);
        printer.messages.clear();
        printer.drawn.clear();
        printer.windowTargets = 0;
        printer.printerAvailable = breakAt != -2;  // -2: no printer at all
        printer.breakAfterDraws = breakAt;
        printBoard();
        EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
        EXPECT_EQ(game.board, before.board);
        EXPECT_EQ(game.givens, before.givens);
        EXPECT_EQ(game.candidates, before.candidates);
        EXPECT_EQ(game.difficulty, before.difficulty);
        EXPECT_EQ(game.givenCount, 17);
        EXPECT_FALSE(printer.onPrinter);
        EXPECT_GE(printer.windowTargets, 1);
    }
}

// --- Puzzle sheets -----------------------------------------------------------

// Collection files whose records differ in their number of givens: difficulty k, record r
// gives 40 - 6k - r cells, so a caption tells which puzzle was printed.
void writeCollections() {
    for (int k = 0; k <= 4; ++k) {
        std::vector<unsigned char> bytes;
        for (int r = 0; r <= 3; ++r) {
            setPuzzle(40 - 6 * k - r);
            std::vector<unsigned char> record(2200, 0);
            std::copy(game.board.cell.begin(), game.board.cell.end(), record.begin());
            std::copy(game.givens.cell.begin(), game.givens.cell.end(), record.begin() + 100);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        writeBytes(collectionFile(k), bytes);
    }
    game.board.clear();
    game.givens.clear();
}

int captionCount(const std::string& caption) {
    const auto end = caption.rfind(" Zahlen");
    const auto start = caption.rfind(' ', end - 1);
    return std::stoi(caption.substr(start + 1, end - start - 1));
}

int countGivens() {
    int n = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) n += game.givens(c, r) != 0;
    return n;
}

TEST_F(PrintTest, SheetPrintsFourPuzzlesInTheirPlacesWithTheirOwnCounts) {
    writeCollections();
    printSheets();

    ASSERT_EQ(printer.documents, std::vector<std::string>{"Spiele drucken"});
    EXPECT_TRUE(printer.messages.empty());
    EXPECT_EQ(printer.boxes(2).size(), 4u * 81u);
    EXPECT_EQ(printer.boxes(8).size(), 4u * 9u);

    // unitX 62, unitY 100: cells 248 x 300; grid origins at (186 + 2480 (k mod 2), 300 + 3200 (k div 2)).
    const std::vector<std::string> names = {"  Leicht ", "  Mittel ", " Schwer ", " Extrem "};
    const auto texts = printer.texts();
    std::size_t next = 0;
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(k);
        const int ox = (k % 2) * 2480, oy = (k / 2) * 3200;
        std::size_t digits = 0;
        while (next < texts.size() && texts[next].text.find("Schwierigkeitsgrad") == std::string::npos) {
            const Drawn& t = texts[next++];
            ++digits;
            EXPECT_EQ(t.points, 20);
            EXPECT_EQ(t.text.size(), 1u);
            // Inside the grid of puzzle k, nudged 11 right of a cell origin one unit into the cell.
            EXPECT_EQ((t.x1 - 11 - 248 - ox) % 248, 0) << t.x1;
            EXPECT_EQ((t.y1 - 3 - 350 - oy) % 300, 0) << t.y1;
            EXPECT_GE(t.x1, 186 + ox);
            EXPECT_LT(t.x1, 186 + ox + 9 * 248);
            EXPECT_GE(t.y1, 300 + oy);
            EXPECT_LT(t.y1, 300 + oy + 9 * 300);
        }
        ASSERT_LT(next, texts.size());
        const Drawn& caption = texts[next++];
        EXPECT_EQ(caption.text.rfind("Schwierigkeitsgrad: " + names[static_cast<std::size_t>(k)] + "mit ", 0), 0u)
            << caption.text;
        const int count = captionCount(caption.text);
        EXPECT_EQ(static_cast<std::size_t>(count), digits);
        EXPECT_LE(count, 40 - 6 * k);
        EXPECT_GE(count, 37 - 6 * k);
        EXPECT_EQ(caption.x1, 186 + ox);
        EXPECT_EQ(caption.y1, 3050 + oy);
        EXPECT_EQ(caption.points, 10);
        if (k == 3) {
            // The game now holds the Extrem puzzle just printed, givens only.
            EXPECT_EQ(countGivens(), count);
            EXPECT_EQ(game.givenCount, count);
        }
    }
    EXPECT_EQ(next, texts.size());
    EXPECT_EQ(game.currentFile, "extrem.nnr");
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) EXPECT_EQ(game.board(c, r), game.givens(c, r));
    EXPECT_FALSE(game.clockRunning);
    EXPECT_FALSE(printer.onPrinter);
}

TEST_F(PrintTest, SheetsDrawNewPuzzlesEveryTimeAndFollowLettersMode) {
    writeCollections();
    printSheets();
    const auto first = printer.printedTexts;
    printer.printedTexts.clear();
    printSheets();
    EXPECT_NE(first, printer.printedTexts);

    std::set<int> extremCounts;
    for (int i = 0; i < 30; ++i) {
        printer.printedTexts.clear();
        printSheets();
        extremCounts.insert(captionCount(printer.printedTexts.back()));
    }
    EXPECT_EQ(extremCounts, (std::set<int>{19, 20, 21, 22}));  // all four records are drawn

    game.numbersMode = false;
    printer.printedTexts.clear();
    printSheets();
    for (const auto& text : printer.printedTexts)
        if (text.find("Schwierigkeitsgrad") == std::string::npos) {
            ASSERT_EQ(text.size(), 1u);
            EXPECT_TRUE(text[0] >= 'A' && text[0] <= 'I') << text;
        }
}

TEST_F(PrintTest, SheetFailureKeepsThePuzzlesLoadedSoFar) {
    writeCollections();
    // Each puzzle draws 90 outlines and its texts; break while the third grid is drawn.
    printer.breakAfterDraws = 0;
    printSheets();
    EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
    EXPECT_EQ(countGivens(), 0);  // nothing was loaded
    EXPECT_FALSE(printer.onPrinter);

    printer.messages.clear();
    printer.drawn.clear();
    printer.breakAfterDraws = -1;
    printSheets();
    const auto full = printer.drawn;
    std::size_t secondCaption = 0, seen = 0;
    for (std::size_t i = 0; i < full.size(); ++i)
        if (full[i].isText && full[i].text.find("Schwierigkeitsgrad") != std::string::npos && ++seen == 2)
            secondCaption = i;
    ASSERT_GT(secondCaption, 0u);

    game.board.clear();
    game.givens.clear();
    printer.drawn.clear();
    printer.breakAfterDraws = static_cast<int>(secondCaption) + 1 + 40;
    printSheets();
    EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
    EXPECT_EQ(game.currentFile, "mittel.nnr");
    EXPECT_GE(countGivens(), 31);
    EXPECT_LE(countGivens(), 34);
    EXPECT_FALSE(printer.onPrinter);
}

}  // namespace
}  // namespace nonari::test
