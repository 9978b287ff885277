// Printing through the Qt printer into a PDF read back with pdftotext -tsv: board, sheets, failing jobs, choice.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/board_record.h"
#include "platform/qt/qt_printer.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/gui/platform_fixture.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace nonari::test {
namespace {

// A word of the first page, in points from the page's top-left corner.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;
};
PdfPage readPdf(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-tsv", "-l", "1", pdf, "-"});
    EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0) << "pdftotext failed";
    PdfPage page;  // a line a box: level 1 the page, 5 a word
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        if (f.size() < 12) continue;
        const double x = f[6].toDouble(), y = f[7].toDouble(), w = f[8].toDouble(), h = f[9].toDouble();
        if (f[0] == "1") page.width = w, page.height = h;
        if (f[0] == "5") page.words.push_back({f[11].toStdString(), x, y, x + w, y + h});
    }
    return page;
}

const Grid solution =
    gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

// The words centred in the area: cell texts above captionTop, the rest joined into the caption.
struct Area {
    std::vector<PdfWord> cells;
    std::string caption;
};
Area wordsIn(const PdfPage& page, double left, double top, double width, double height, double captionTop) {
    Area found;
    for (const PdfWord& w : page.words) {  // pdftotext gives the caption's words from left to right
        const double cx = (w.xMin + w.xMax) / 2, cy = (w.yMin + w.yMax) / 2;
        if (cx < left || cx > left + width || cy < top || cy > top + height) continue;
        if (cy < captionTop) found.cells.push_back(w);
        else found.caption += (found.caption.empty() ? "" : " ") + w.text;
    }
    return found;
}

class PrintPdfTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        setenv("NONARI_PRINT_PDF", pdf.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("NONARI_PRINT_PDF");
        for (const auto& [name, value] : localeBefore) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        QtPlatformTest::TearDown();
    }
    // The player's region for the paper, as the C library takes it from the environment.
    void livesIn(const char* locale) { unsetenv("LC_ALL"), setenv("LC_PAPER", locale, 1); }
    // The page read back once all its ink is found at least 5 mm inside the paper's edge; sets the layout's
    // units: inside its 6 mm margins the page is 80 units wide and 70 high.
    PdfPage printed() {
        QProcess render;
        const QString png = QString::fromStdString((work.path() / "seite").string());
        render.start("pdftoppm", {"-r", "100", "-gray", "-png", "-singlefile", QString::fromStdString(pdf), png});
        EXPECT_TRUE(render.waitForFinished(30000) && render.exitCode() == 0);
        const QImage shot(png + ".png");
        QRect ink;
        for (int py = 0; py < shot.height(); ++py)
            for (int px = 0; px < shot.width(); ++px)
                if (qGray(shot.pixel(px, py)) < 200) ink = ink.united(QRect(px, py, 1, 1));
        const int edge = static_cast<int>(5 / 25.4 * 100);  // whole pixels within 5 mm of the edge
        EXPECT_TRUE(shot.rect().adjusted(edge, edge, -edge, -edge).contains(ink))
            << "ink " << ink.left() << "," << ink.top() << " to " << ink.right() << "," << ink.bottom();
        inkShare = double(ink.width()) / shot.width();
        const PdfPage page = readPdf(QString::fromStdString(pdf));
        ux = (page.width - 2 * margin) / 80, uy = (page.height - 2 * margin) / 70;
        return page;
    }
    // Points from the paper's corner of a position in units.
    double x(double units) const { return margin + units * ux; }
    double y(double units) const { return margin + units * uy; }

    TempWorkDir work;
    std::string pdf = (work.path() / "seite.pdf").string();
    static std::optional<std::string> env(const char* name) {
        return std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt;
    }
    const std::map<const char*, std::optional<std::string>> localeBefore{{"LC_ALL", env("LC_ALL")},
                                                                         {"LC_PAPER", env("LC_PAPER")}};
    double ux = 0, uy = 0, inkShare = 0;
    const double margin = 6 / 25.4 * 72;
};

TEST_F(PrintPdfTest, BoardDigitsAndLettersSitInsideTheirCellsAboveTheCaption) {
    game.settings.difficulty = 2;
    for (bool numbers : {true, false}) {
        SCOPED_TRACE(numbers ? "numbers" : "letters");
        std::map<std::pair<int, int>, std::string> found, expected;
        int givens = 0;
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r)
                if ((c * 7 + r * 3) % 5 != 0) {  // some cells stay empty; in letters mode 9 is the narrow "I"
                    game.puzzle.board(c, r) = solution(c, r);
                    expected[{c, r}] = char((numbers ? '0' : '@') + solution(c, r));
                    if ((c + r) % 2 == 0) game.puzzle.givens(c, r) = solution(c, r), ++givens;
                }
        game.settings.numbersMode = numbers;
        printBoard();
        const PdfPage page = printed();
        const Area all = wordsIn(page, 0, 0, page.width, page.height, y(58));
        for (const PdfWord& w : all.cells) {  // cells are 8 x 6 units from (5, 3); the whole glyph inside
            const int c = static_cast<int>((w.xMin - x(5)) / (8 * ux)) + 1;
            const int r = static_cast<int>((w.yMin - y(3)) / (6 * uy)) + 1;
            EXPECT_LT(w.xMax, x(5 + c * 8)) << w.text << " crosses the line right of column " << c;
            EXPECT_LT(w.yMax, y(3 + r * 6)) << w.text << " crosses the line below row " << r;
            found[{c, r}] += w.text;
        }
        EXPECT_EQ(found, expected);
        EXPECT_EQ(all.caption, "Schwierigkeitsgrad: Schwer mit " + std::to_string(givens) + " Zahlen");
    }
}

TEST_F(PrintPdfTest, BoardAndSheetFillA4AndLetterInsideTheirMarginsAndTheSheetsPuzzlesKeepToTheirQuadrants) {
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
    const struct { const char* locale; double width, height; } papers[] = {{"de_DE.UTF-8", 595.3, 841.9},
                                                                            {"en_US.UTF-8", 612, 792}};
    const char* names[] = {"Leicht", "Mittel", "Schwer", "Extrem"};
    for (const auto& paper : papers) {
        livesIn(paper.locale);
        for (auto print : {printBoard, printSheets}) {
            SCOPED_TRACE(std::string(paper.locale) + (print == printBoard ? " board" : " sheet"));
            for (int c = 1; c <= 9; ++c)
                for (int r = 1; r <= 9; ++r) game.puzzle.board(c, r) = static_cast<std::uint8_t>(solution(c, r));
            print();
            const PdfPage page = printed();  // the margins are checked there
            EXPECT_NEAR(page.width, paper.width, 0.5);
            EXPECT_NEAR(page.height, paper.height, 0.5);
            EXPECT_GT(inkShare, 0.8) << "the layout fills the printable width";
            for (int k = 0; k <= 3 && print == printSheets; ++k) {
                SCOPED_TRACE(names[k]);
                const double left = x(3 + (k % 2) * 40), top = y(3 + (k / 2) * 32);
                const Area quadrant = wordsIn(page, left, top, 36 * ux, 29 * uy, top + 27 * uy);
                const std::size_t digits = quadrant.cells.size();
                EXPECT_TRUE(digits <= 40u - 6 * k && digits >= 37u - 6 * k) << digits;
                EXPECT_EQ(quadrant.caption, "Schwierigkeitsgrad: " + std::string(names[k]) + " mit " +
                                                std::to_string(digits) + " Zahlen");
            }
        }
    }
}

// Which paper, without a printer: the printer's default first, then its queue's media, then the region.
TEST(Paper, ThePrintersDefaultThenItsQueuesMediaThenThePlayersRegionThenA4) {
    using P = QPageSize;
    const QPageSize legal(P::Legal), none;
    const struct { QPageSize printer; const char* media; const char* locale; P::PageSizeId paper; } cases[] = {
        {legal, "iso_a4_210x297mm", "en_US.UTF-8", P::Legal}, {none, "na_letter_8.5x11in", "de_DE.UTF-8", P::Letter},
        {none, "iso_a4_210x297mm", "en_US", P::A4}, {none, "Legal,Upper", "de_DE", P::Legal}, {none, "", "", P::A4},
        {none, "a4", "en_US", P::A4}, {none, "iso_a5_148x210mm", "", P::A5}, {none, "", "de_AT.UTF-8", P::A4},
        {none, "", "C", P::A4}, {none, "Unbekannt", "en_CA@euro", P::Letter},  // unusable media: the region decides
        {none, "kaputt_x_0x0mm", "fr_CA.UTF-8", P::Letter}, {none, "kaputt_x_.x.in", "en_US", P::Letter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.media) + " / " + c.locale);
        EXPECT_EQ(choosePaper(c.printer, c.media, c.locale).id(), c.paper);
    }
    const QPageSize postcard = choosePaper(none, "custom_karte_100x150mm", "en_US");  // a size of its own
    EXPECT_EQ(postcard.size(QPageSize::Millimeter).toSize(), QSize(100, 150));
}

TEST_F(PrintPdfTest, AnUnwritableTargetGivesThePrinterErrorAndAnAbortedJobLeavesNoFile) {
    setenv("NONARI_PRINT_PDF", (work.path() / "fehlt" / "seite.pdf").c_str(), 1);
    game.screen.givenCount = 17;  // a finished board print would count its own givens
    EXPECT_EQ(messageDuring([] { printBoard(); }), "Druckerfehler!");
    EXPECT_EQ(game.screen.givenCount, 17);
    EXPECT_EQ(pf->targetResolutionX(), image().width());  // the window is the drawing target again
    EXPECT_FALSE(std::filesystem::exists(work.path() / "fehlt"));

    setenv("NONARI_PRINT_PDF", pdf.c_str(), 1);
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter() && printer.startDocument("Spiele drucken"));
    printer.painter()->drawRect(100, 100, 500, 500);
    printer.abortDocument();
    EXPECT_EQ(printer.painter(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintPdfTest, WithoutAPrinterThePlayerChoosesOneOrCancels) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    unsetenv("NONARI_PRINT_PDF");
    QtPrinter printer(qt_testing::mainWindow());
    for (bool choose : {false, true}) {  // cancels the first time, then chooses to print into a file
        later([&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the printer dialog did not open";
            auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (!choose || file == nullptr) return dialog->reject();
            file->setText(QString::fromStdString(pdf)), dialog->accept();
        });
        EXPECT_EQ(printer.selectPrinter(), choose);
        EXPECT_EQ(printer.startDocument("Brett drucken"), choose);
    }
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 20);
    printer.painter()->drawText(QPoint(600, 900), QStringLiteral("Gewählt"));
    EXPECT_TRUE(printer.endPage() && printer.endDocument());
    const std::vector<PdfWord> words = printed().words;
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "Gewählt"; }));
}

}  // namespace
}  // namespace nonari::test
