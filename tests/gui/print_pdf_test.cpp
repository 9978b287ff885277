// Board print and puzzle sheets through the Qt printer into a PDF, read back with pdftotext -bbox.
#include "app/game_state.h"
#include "files/board_record.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace nonari::test {
namespace {

struct Word {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::string text;
    double cx() const { return (xMin + xMax) / 2; }
    double cy() const { return (yMin + yMax) / 2; }
};

struct Page {
    double width = 0, height = 0;
    std::vector<Word> words;
};

bool havePdfToText() { return std::system("command -v pdftotext > /dev/null 2>&1") == 0; }

Page readPdf(const std::filesystem::path& pdf) {
    const auto html = pdf.parent_path() / "words.html";
    const std::string command = "pdftotext -bbox '" + pdf.string() + "' '" + html.string() + "'";
    Page page;
    if (std::system(command.c_str()) != 0) return page;
    std::ifstream in(html);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::smatch m;
    if (std::regex_search(text, m, std::regex(R"re(<page width="([0-9.]+)" height="([0-9.]+)")re"))) {
        page.width = std::stod(m[1]);
        page.height = std::stod(m[2]);
    }
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it)
        page.words.push_back(Word{std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                                  std::stod((*it)[4]), (*it)[5]});
    return page;
}

bool isCellText(const Word& w) { return w.text.size() == 1 && w.text[0] >= '1' && w.text[0] <= '9'; }

class PrintPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        pf = &qt_testing::qtPlatform();
        installPlatform(pf);
        qt_testing::revive();
        if (!pf->mainWindowExists()) pf->openMainWindow(20, 30, 862, 694);
        resetGameState();
        seedRandom(4711);
        work = std::make_unique<TempWorkDir>();
        pdf = work->path() / "seite.pdf";
        setenv("NONARI_PRINT_PDF", pdf.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("NONARI_PRINT_PDF");
        work.reset();
        qt_testing::revive();
    }

    Platform* pf = nullptr;
    std::unique_ptr<TempWorkDir> work;
    std::filesystem::path pdf;
};

constexpr const char* solution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

TEST_F(PrintPdfTest, BoardDigitsSitInsideTheirCellsAboveTheCaption) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const Grid full = gridFromText(solution);
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if ((c * 7 + r * 3) % 5 != 0) game.board(c, r) = full(c, r);
    int givens = 0;
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
            if (game.board(c, r) != 0 && (c + r) % 2 == 0) {
                game.givens(c, r) = game.board(c, r);
                ++givens;
            }
    game.difficulty = 2;

    printBoard();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(pf->targetResolutionX(), qt_testing::backingImage().width());  // the window is the target again

    const Page page = readPdf(pdf);
    ASSERT_GT(page.width, 0);
    const double ux = page.width / 80, uy = page.height / 70;
    std::map<std::pair<int, int>, std::string> found;
    std::vector<Word> caption;
    for (const Word& w : page.words) {
        if (!isCellText(w) || w.cy() > 58 * uy) {
            caption.push_back(w);
            continue;
        }
        const int c = static_cast<int>((w.cx() - 5 * ux) / (8 * ux)) + 1;
        const int r = static_cast<int>((w.cy() - 3 * uy) / (6 * uy)) + 1;
        ASSERT_TRUE(c >= 1 && c <= 9 && r >= 1 && r <= 9) << w.text << " at " << w.cx() << "," << w.cy();
        EXPECT_TRUE(found.emplace(std::make_pair(c, r), w.text).second) << "two texts in cell " << c << "," << r;
        // Whole glyph inside the cell, not touching its lines.
        EXPECT_GT(w.xMin, 5 * ux + (c - 1) * 8 * ux);
        EXPECT_LT(w.xMax, 5 * ux + c * 8 * ux);
        EXPECT_GT(w.yMin, 3 * uy + (r - 1) * 6 * uy);
        EXPECT_LT(w.yMax, 3 * uy + r * 6 * uy);
    }
    for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r) {
            const auto it = found.find({c, r});
            if (game.board(c, r) == 0)
                EXPECT_EQ(it, found.end()) << c << "," << r;
            else if (it == found.end())
                ADD_FAILURE() << "no digit in cell " << c << "," << r;
            else
                EXPECT_EQ(it->second, std::to_string(game.board(c, r)));
        }

    std::sort(caption.begin(), caption.end(), [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
    std::string line;
    for (const Word& w : caption) line += (line.empty() ? "" : " ") + w.text;
    EXPECT_EQ(line, "Schwierigkeitsgrad: Schwer mit " + std::to_string(givens) + " Zahlen");
    ASSERT_FALSE(caption.empty());
    EXPECT_NEAR(caption.front().xMin, 5 * ux, 2.0);
    EXPECT_NEAR(caption.front().yMin, 59 * uy, 3.0);
}

// Four records per collection with 40 - 6k - r givens, so every caption tells its puzzle apart.
void writeCollections() {
    const Grid full = gridFromText(solution);
    for (int k = 0; k <= 4; ++k) {
        std::vector<unsigned char> bytes;
        for (int r = 0; r <= 3; ++r) {
            std::vector<unsigned char> record(2200, 0);
            for (int i = 0; i < 40 - 6 * k - r; ++i) {
                const int c = i % 9 + 1, row = i / 9 + 1;
                record[static_cast<std::size_t>(c + 10 * row)] = full(c, row);
                record[static_cast<std::size_t>(100 + c + 10 * row)] = full(c, row);
            }
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        writeBytes(collectionFile(k), bytes);
    }
}

TEST_F(PrintPdfTest, SheetHasFourPuzzlesInTheirFixedPlaces) {
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    writeCollections();
    printSheets();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const Page page = readPdf(pdf);
    ASSERT_GT(page.width, 0);
    const double ux = page.width / 80, uy = page.height / 70;

    const std::vector<std::string> names = {"Leicht", "Mittel", "Schwer", "Extrem"};
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(names[static_cast<std::size_t>(k)]);
        const double left = 3 * ux + (k % 2) * 40 * ux, top = 3 * uy + (k / 2) * 32 * uy;
        int digits = 0;
        std::vector<Word> caption;
        for (const Word& w : page.words) {
            const bool inBlock = w.cx() > left && w.cx() < left + 36 * ux && w.cy() > top && w.cy() < top + 29 * uy;
            if (!inBlock) continue;
            if (isCellText(w) && w.cy() < top + 27 * uy) {
                ++digits;
                const double col = (w.cx() - left) / (4 * ux), row = (w.cy() - top) / (3 * uy);
                // Each digit well inside one cell.
                EXPECT_GT(col - std::floor(col), 0.2) << w.text;
                EXPECT_LT(col - std::floor(col), 0.8) << w.text;
                EXPECT_GT(row - std::floor(row), 0.2) << w.text;
                EXPECT_LT(row - std::floor(row), 0.8) << w.text;
            } else {
                caption.push_back(w);
            }
        }
        std::sort(caption.begin(), caption.end(), [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
        ASSERT_EQ(caption.size(), 5u);
        EXPECT_EQ(caption[0].text, "Schwierigkeitsgrad:");
        EXPECT_EQ(caption[1].text, names[static_cast<std::size_t>(k)]);
        EXPECT_EQ(caption[2].text, "mit");
        EXPECT_EQ(caption[4].text, "Zahlen");
        const int count = std::stoi(caption[3].text);
        EXPECT_EQ(count, digits);
        EXPECT_LE(count, 40 - 6 * k);
        EXPECT_GE(count, 37 - 6 * k);
        EXPECT_NEAR(caption[0].yMin, top + 27.5 * uy, 3.0);
        if (k == 3) {
            int held = 0;
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) held += game.givens(c, r) != 0;
            EXPECT_EQ(held, count);
        }
    }
}

TEST_F(PrintPdfTest, UnwritableTargetGivesThePrinterErrorAndKeepsTheGame) {
    setenv("NONARI_PRINT_PDF", (work->path() / "fehlt" / "seite.pdf").c_str(), 1);
    game.board(3, 4) = 7;
    game.givens(3, 4) = 7;
    game.candidates(1, 1, 2) = true;
    const GameState before = game;

    std::string shown;
    std::function<void()> answer = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text().toStdString();
            box->buttons().front()->click();
        } else {
            QTimer::singleShot(20, qApp, answer);
        }
    };
    QTimer::singleShot(0, qApp, answer);
    printBoard();
    EXPECT_EQ(shown, "Druckerfehler!");
    EXPECT_EQ(game.board, before.board);
    EXPECT_EQ(game.givens, before.givens);
    EXPECT_EQ(game.candidates, before.candidates);
    EXPECT_EQ(game.givenCount, before.givenCount);
    EXPECT_EQ(pf->targetResolutionX(), qt_testing::backingImage().width());
    EXPECT_FALSE(std::filesystem::exists(work->path() / "fehlt" / "seite.pdf"));
}

}  // namespace
}  // namespace nonari::test
