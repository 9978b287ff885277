// Board print and puzzle sheets read back from a printer that records every drawing call.
#include "files/board_record.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <map>
#include <set>

namespace nonari::test {
namespace {

struct Drawn { int x1 = 0, y1 = 0, x2 = 0, y2 = 0; double points = 0; std::string text; };

// Records what reaches the printer, with positions, line widths and font sizes; can break down mid-job.
class RecordingPrinter : public HeadlessPlatform {
public:
    std::vector<Drawn> texts;
    std::map<int, std::vector<Drawn>> boxes;  // by line width
    int draws = 0, resolutionX = 4960, resolutionY = 7016;
    int breakAfterDraws = -1;  // the printer fails once this many calls have been drawn
    bool onPrinter = false;
    int lineWidth = 1;
    double points = 0;

    RecordingPrinter() { printerAvailable = true; }
    void clear() { texts.clear(), boxes.clear(), messages.clear(), draws = 0; }
    bool selectPrinter() override { return onPrinter = HeadlessPlatform::selectPrinter(); }
    void setLineWidth(int width) override { lineWidth = width; }
    void setPrinterFont(const std::string&, double size) override { points = size; }
    int targetResolutionX() override { return resolutionX; }
    int targetResolutionY() override { return resolutionY; }
    void drawBox(int x1, int y1, int x2, int y2) override {
        if (onPrinter) boxes[lineWidth].push_back({x1, y1, x2, y2, 0, ""}), ++draws;
    }
    void drawText(int x, int y, const std::string& text) override {
        if (onPrinter) texts.push_back({x, y, 0, 0, points, text}), ++draws;
    }
    bool printerFailed() override {
        return (breakAfterDraws >= 0 && draws >= breakAfterDraws) || HeadlessPlatform::printerFailed();
    }
    void targetWindow() override { onPrinter = false; }
};

class PrintTest : public HeadlessGame {
protected:
    void SetUp() override { HeadlessGame::SetUp(), installPlatform(&printer); }
    RecordingPrinter printer;
};

// Gives the first `count` cells of a solution in reading order.
void setPuzzle(int count) {
    Grid full = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    game.board.clear();
    game.givens.clear();
    for (int i = 0; i < count; ++i) {
        const int c = i % 9 + 1, r = i / 9 + 1;
        game.board(c, r) = game.givens(c, r) = full(c, r);
    }
}

int countGivens() {
    return static_cast<int>(std::count_if(game.givens.cell.begin(), game.givens.cell.end(), [](auto v) { return v; }));
}

// What a caption shows between "Schwierigkeitsgrad:" and "mit", blanks included.
const std::vector<std::string> captionNames = {"   Leicht ", "   Mittel ", "  Schwer ", "  Extrem ", " Teuflisch "};

TEST(PrintRounding, HalvesGoToTheEvenNeighbour) {
    for (auto [value, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.5001, 3}})
        EXPECT_EQ(nint(value), rounded) << value;
}

TEST_F(PrintTest, BoardPageHasTheGridBoxesAndCellTextsWhereTheyBelong) {
    // 4960 x 7016 device pixels: unitX 62, unitY 100, cells 496 x 600 from (310, 300).
    setPuzzle(20);
    game.board(9, 9) = 9;  // a player's entry: printed, but not counted
    printBoard();
    const auto &cells = printer.boxes[2], &blocks = printer.boxes[10], &texts = printer.texts;
    ASSERT_EQ(std::make_pair(cells.size(), blocks.size()), std::make_pair(std::size_t{81}, std::size_t{9}));
    EXPECT_EQ(std::tie(cells[0].x1, cells[0].y1, cells[0].x2, cells[0].y2), std::make_tuple(310, 300, 806, 900));
    EXPECT_EQ(std::tie(cells[1].x1, cells[9].y1), std::make_tuple(806, 900));  // reading order
    EXPECT_EQ(std::tie(blocks[0].x2, blocks[0].y2, blocks[8].x2, blocks[8].y2),
              std::make_tuple(310 + 3 * 496, 300 + 3 * 600, 310 + 9 * 496, 300 + 9 * 600));
    // Texts: column outer, row inner; cell (1, 1) at nint(6.5*62) + 31 = 434, 400 - 33, nudged 11 and 3.
    ASSERT_EQ(texts.size(), 22u);
    EXPECT_EQ(texts[0].text + texts[1].text + texts[2].text + texts[3].text, "5613");
    EXPECT_EQ(std::tie(texts[0].x1, texts[0].y1, texts[0].points), std::make_tuple(445, 370, 54.0));
    EXPECT_EQ(std::tie(texts[3].x1, texts[3].y1), std::make_tuple(941, 370));
    EXPECT_EQ(std::tie(texts[20].text, texts[20].x1, texts[20].y1),
              std::make_tuple(std::string("9"), 445 + 8 * 496, 370 + 8 * 600));
    EXPECT_EQ(texts[21].text, "Schwierigkeitsgrad:   Leicht mit 20 Zahlen");
    EXPECT_EQ(std::tie(texts[21].x1, texts[21].y1, texts[21].points), std::make_tuple(310, 5900, 12.0));
    EXPECT_TRUE(printer.messages.empty());
    EXPECT_FALSE(printer.onPrinter) << "the window is the target again";

    // Units are whole pixels (63, 99) and halves round to even: nint(6.5*63) = 410, nint(63/2) = 32.
    printer.resolutionX = 80 * 63 + 79;
    printer.resolutionY = 70 * 99 + 69;
    setPuzzle(0);
    game.board(2, 3) = 7;
    printer.clear();
    printBoard();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(std::tie(texts[0].x1, texts[0].y1), std::make_tuple(410 + 504 + 32 + 11, 396 + 2 * 594 - 33 + 3));
    EXPECT_EQ(std::tie(texts[1].x1, texts[1].y1), std::make_tuple(5 * 63, 59 * 99));
}

TEST_F(PrintTest, CaptionsNameEveryDifficultyAndLettersModeHasItsOwnNudges) {
    setPuzzle(7);
    for (std::int16_t d = 0; d <= 4; ++d) {
        game.difficulty = d;
        printer.clear();
        printBoard();
        EXPECT_EQ(printer.texts.back().text, "Schwierigkeitsgrad:" + captionNames[std::size_t(d)] + "mit 7 Zahlen");
    }
    game.difficulty = 0;
    game.numbersMode = false;
    setPuzzle(0);
    game.board(1, 1) = 1;
    game.board(1, 2) = game.givens(1, 2) = 9;
    game.board(1, 3) = 200;  // records are not validated: code 264 still makes valid text
    printer.clear();
    printBoard();
    const auto& texts = printer.texts;
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(std::tie(texts[0].text, texts[0].x1), std::make_tuple(std::string("A"), 434 + 8));
    EXPECT_EQ(std::tie(texts[1].text, texts[1].x1), std::make_tuple(std::string("I"), 434 + 5));
    EXPECT_EQ(texts[2].text, "\xC4\x88");
    EXPECT_EQ(texts[3].text, "Schwierigkeitsgrad:   Leicht mit 1 Zahlen");
}

// Puzzle sheets: record r of difficulty k gives 40 - 6k - r cells, so a count tells which puzzle was drawn.
void writeCollections() {
    for (int k = 0; k <= 4; ++k) {
        game.currentFile = collectionFile(k);
        for (std::int16_t r = 0; r <= 3; ++r) setPuzzle(40 - 6 * k - r), writeBoardRecord(r);
    }
    setPuzzle(0);
}

TEST_F(PrintTest, FailingPrinterShowsAnErrorAndChangesNothingLoadedSoFar) {
    setPuzzle(30);
    game.candidates(9, 8, 3) = true;
    game.givenCount = 17;
    const GameState before = game;
    for (int breakAt : {-2, 0, 50, 95, 120}) {  // -2: no printer at all
        SCOPED_TRACE(breakAt);
        printer.clear();
        printer.printerAvailable = breakAt != -2;
        printer.breakAfterDraws = breakAt;
        printBoard();
        EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
        EXPECT_EQ(std::tie(game.board, game.givens, game.candidates, game.givenCount),
                  std::tie(before.board, before.givens, before.candidates, before.givenCount));
        EXPECT_FALSE(printer.onPrinter);
    }
    // A sheet keeps the puzzles loaded before the failure: 90 outlines, 31..40 givens and a caption each,
    // so call 300 lies inside the third grid.
    printer.printerAvailable = true;
    writeCollections();
    for (int breakAt : {0, 300}) {
        printer.clear();
        printer.breakAfterDraws = breakAt;
        printSheets();
        EXPECT_EQ(printer.messages, std::vector<std::string>{"Druckerfehler!"});
        EXPECT_FALSE(printer.onPrinter);
        if (breakAt == 0) {
            EXPECT_EQ(countGivens(), 0) << "nothing was loaded";
        }
    }
    EXPECT_EQ(game.currentFile, "mittel.nnr");
    EXPECT_TRUE(countGivens() >= 31 && countGivens() <= 34) << countGivens();
}

TEST_F(PrintTest, SheetPrintsFourPuzzlesInTheirPlacesWithTheirOwnCounts) {
    writeCollections();
    printSheets();
    EXPECT_TRUE(printer.messages.empty());
    EXPECT_EQ(printer.boxes[2].size(), 4 * 81u);
    EXPECT_EQ(printer.boxes[8].size(), 4 * 9u);
    // Cells 248 x 300; grid k has its origin at (186 + 2480 (k mod 2), 300 + 3200 (k div 2)), and a digit
    // starts 11 right of a cell's origin (248 + 248 (column - 1)) and 3 below it (350 + 300 (row - 1)).
    const auto& texts = printer.texts;
    std::size_t next = 0;
    int digits = 0;
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(k);
        const int ox = (k % 2) * 2480, oy = (k / 2) * 3200;
        for (digits = 0; next < texts.size() && texts[next].text.size() == 1; ++next, ++digits) {
            const Drawn& t = texts[next];
            const int column = (t.x1 - 259 - ox) / 248, row = (t.y1 - 353 - oy) / 300;
            EXPECT_TRUE(column >= 0 && column < 9 && row >= 0 && row < 9) << t.x1 << "," << t.y1;
            EXPECT_EQ(std::tie(t.x1, t.y1, t.points), std::tuple(259 + ox + 248 * column, 353 + oy + 300 * row, 20.0));
        }
        ASSERT_LT(next, texts.size());
        const Drawn& caption = texts[next++];
        EXPECT_EQ(caption.text,
                  "Schwierigkeitsgrad:" + captionNames[std::size_t(k)] + "mit " + std::to_string(digits) + " Zahlen");
        EXPECT_TRUE(digits <= 40 - 6 * k && digits >= 37 - 6 * k) << digits;
        EXPECT_EQ(std::tie(caption.x1, caption.y1, caption.points), std::make_tuple(186 + ox, 3050 + oy, 10.0));
    }
    EXPECT_EQ(next, texts.size());
    // The game holds the Extrem puzzle, givens only, shuffled.
    EXPECT_EQ(std::make_tuple(game.currentFile, countGivens(), int{game.givenCount}),
              std::make_tuple(std::string("extrem.nnr"), digits, digits));
    EXPECT_EQ(game.board, game.givens);
    EXPECT_FALSE(game.clockRunning || printer.onPrinter);
    const Grid printed = game.givens;
    setPuzzle(countGivens());
    EXPECT_NE(printed, game.givens) << "the stored puzzle is printed shuffled";

    std::set<int> extremCounts;  // every record of a collection gets drawn
    for (int i = 0; i < 30; ++i) printSheets(), extremCounts.insert(countGivens());
    EXPECT_EQ(extremCounts, (std::set<int>{19, 20, 21, 22}));
}

}  // namespace
}  // namespace nonari::test
