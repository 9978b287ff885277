// Windows beside the board on Qt (forms, slots, name, hall of fame, manual viewer) and printing read back from PDF.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "help/help_launch.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_printer.h"
#include "platform/system.h"
#include "print/board_print.h"
#include "print/puzzle_sheets.h"
#include "tests/gui/platform_fixture.h"

#include <chm_lib.h>

#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

#include <sys/stat.h>

namespace nonari::test {
namespace {

ControlLayout control(ControlKind kind, const std::string& name, const std::string& caption, int x, int y) {
    ControlLayout c;
    c.kind = kind, c.name = name, c.caption = caption;
    c.x = x, c.y = y, c.width = kind == ControlKind::TextBox ? 160 : 75, c.height = 24;
    return c;
}

TEST(Forms, ModalFormCallsHandlersByNameEnterAndEscapePressItsButtonsAndAHandlerMayCloseIt) {
    std::vector<std::string> calls;
    QWidget owner;
    owner.setGeometry(50, 40, 862, 694);
    auto* ownerButton = new QPushButton(QStringLiteral("main"), &owner);
    ownerButton->setGeometry(10, 10, 80, 30);
    QObject::connect(ownerButton, &QPushButton::clicked, [&] { calls.push_back("owner"); });
    owner.show();
    QtForms forms(&owner);

    FormLayout desc;
    desc.name = "frm1", desc.width = 180, desc.height = 200, desc.defaultButton = "cmd1", desc.cancelButton = "cmd2";
    desc.controls = {control(ControlKind::CommandButton, "cmd1", "&OK", 10, 130),
                     control(ControlKind::CommandButton, "cmd2", "&Abbruch", 95, 130),
                     control(ControlKind::TextBox, "ed1", "Jörg", 10, 170)};
    for (std::string handler : {"cmd1_Click", "frm1_Close"})
        desc.handlers[handler] = [&calls, handler](const FormEventArgs&) { calls.push_back(handler); };
    // Cancel closes its own form and opens the next one, which would run a loop of its own: the clicked
    // button must outlive its handler, and the close handler runs once.
    FormId id = 0, next = 0;
    QPointer<QWidget> cancel;
    bool cancelAliveInHandler = false;
    desc.handlers["cmd2_Click"] = [&](const FormEventArgs&) {
        forms.closeForm(id), next = forms.loadForm(desc, 710, 310);
        QCoreApplication::processEvents(), cancelAliveInHandler = !cancel.isNull();
    };

    owner.setEnabled(false);  // the game disables the main window before it loads a form
    id = forms.loadForm(desc, 700, 300);
    ASSERT_NE(forms.formWidget(id), nullptr);
    EXPECT_EQ(forms.formWidget(id)->frameGeometry().topLeft(), QPoint(700, 300));
    owner.setEnabled(true);
    // Through the window system, where modality applies.
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, ownerButton->geometry().center());
    EXPECT_TRUE(calls.empty()) << "the main window took a click while a form was open";

    // Key handlers of controls by name are run by the slot dialog test below.
    QWidget* edit = forms.controlWidget(id, "ed1");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(calls, (std::vector<std::string>{"cmd1_Click"}));
    cancel = forms.controlWidget(id, "cmd2");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(cancelAliveInHandler && !forms.formExists(id));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "frm1_Close"), 1);
    ASSERT_TRUE(forms.formExists(next));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cancel.isNull());
    forms.closeForm(next);
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, ownerButton->geometry().center());
    EXPECT_EQ(calls.back(), "owner");
}

class DialogsTest : public QtPlatformTest {
protected:
    void SetUp() override { QtPlatformTest::SetUp(), resetGameState(); }
    template <typename W>
    static W* part(QWidget* dialog, const char* name) { return dialog->findChild<W*>(QString::fromLatin1(name)); }
    static QTextBrowser* browser() { return qobject_cast<QTextBrowser*>(qt_testing::helpViewer().window()); }
    static std::string title() { return browser() ? browser()->documentTitle().toStdString() : "no viewer"; }

    TempWorkDir work;
};

TEST_F(DialogsTest, SlotDialogCommitsOnKeysAndClicksAndCancelsOnEscapeAndItsCloseBox) {
    // A digit key saves into its record at once: four boards told apart by the digit in cell (1, 1).
    for (int n = 0; n < 4; ++n) {
        game.puzzle.board(1, 1) = static_cast<std::uint8_t>(n + 1);
        whenShown("Sichern unter ...", [n](QWidget* d) { QTest::keyClick(d->focusWidget(), char('1' + n)); });
        openSaveDialog();
    }
    game.dialog.selectedSlot = 1;
    auto key = [](Qt::Key key, const char* on = nullptr) {  // on the button with the focus, or on that one
        return [=](QWidget* d) { QTest::keyClick(on ? part<QWidget>(d, on) : d->focusWidget(), key); };
    };
    auto click = [](const char* button) {
        return [=](QWidget* d) { QTest::mouseClick(part<QWidget>(d, button), Qt::LeftButton, {}, {8, 10}); };
    };
    auto checkOpt = [](const char* option, std::function<void(QWidget*)> then) {
        return [=](QWidget* d) { part<QAbstractButton>(d, option)->setChecked(true), then(d); };
    };
    // Enter commits the button that has the key, any other key the checked one; OK the slot used last.
    const std::tuple<const char*, std::function<void(QWidget*)>, int> steps[] = {
        {"3 on the preselected opt2", key(Qt::Key_3), 3}, {"click opt4", click("opt4"), 4},
        {"Escape", key(Qt::Key_Escape), 0}, {"close box", [](QWidget* d) { d->close(); }, 0},
        {"Abbruch", click("cmd2"), 0}, {"Up on the preselected opt4", key(Qt::Key_Up), 3}, {"OK", click("cmd1"), 3},
        {"Enter on opt1, opt3 checked", key(Qt::Key_Return, "opt1"), 1},
        {"x on opt4, opt2 checked", checkOpt("opt2", key(Qt::Key_X, "opt4")), 2},
    };
    for (const auto& [what, act, loaded] : steps) {
        SCOPED_TRACE(what);
        game.puzzle.board.clear();
        whenShown("Welches Brett laden?", act);
        openLoadDialog();
        EXPECT_EQ(game.puzzle.board(1, 1), loaded);
        EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
    }
    // Cancelling a save touches no file, even with another slot checked.
    const auto before = readBytes(savedBoardFile);
    whenShown("Sichern unter ...", checkOpt("opt4", key(Qt::Key_Escape)));
    openSaveDialog();
    EXPECT_TRUE(readBytes(savedBoardFile) == before && game.dialog.selectedSlot == 1);
}

TEST_F(DialogsTest, RecordAsksTheNameThenShowsTheListWithEveryPlaceAndTimeInFull) {
    game.settings.difficulty = 1;
    for (int p = 1; p <= 9; ++p) {  // nine slower players, names too long for their column; the record makes ten
        game.fame.championName[1][p] = "Spieler mit einem Namen, der auch in der breitesten Spalte keinen Platz "
                                       "findet, " + std::to_string(p + 10);
        game.fame.championDate[1][p] = "28.12.2024";
        game.fame.championTime[1][p] = "08:58:5" + std::to_string(p) + ".8";
    }
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    game.clock.finalTime = "00:07:08.9", game.fame.lastChampionName = "Vorig";
    whenShown("Neuer Rekord", [](QWidget* dialog) {
        auto* name = part<QLineEdit>(dialog, "ed1");
        ASSERT_NE(name, nullptr);
        const auto* prompt = part<QLabel>(dialog, "lbl2");
        const QRect needed = prompt->fontMetrics().boundingRect(QRect(0, 0, prompt->width(), 1000),
                                                                prompt->wordWrap() ? Qt::TextWordWrap : 0, prompt->text());
        EXPECT_TRUE(prompt->text().endsWith(QStringLiteral("Namen ein:")) && needed.width() <= prompt->width() &&
                    needed.height() <= prompt->height()) << "the whole prompt is shown";
        EXPECT_EQ(dialog->focusWidget(), name);
        name->selectAll();
        for (QChar c : QStringLiteral("Jörg Ähre"))  // typed key by key, umlauts included
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        whenShown("Ruhmeshalle", [](QWidget* hall) {
            auto* list = part<QTreeWidget>(hall, "lv2");
            const QAbstractItemView* view = list;
            EXPECT_EQ(part<QTabWidget>(hall, "tbs1")->currentIndex(), 1);
            ASSERT_EQ(list->topLevelItemCount(), 10);
            EXPECT_EQ(list->topLevelItem(0)->text(1) + list->topLevelItem(9)->text(0), QStringLiteral("Jörg Ähre10."));
            for (int column : {0, 2, 3})  // places, dates and times; a long name may be cut
                EXPECT_GE(list->columnWidth(column), view->sizeHintForColumn(column)) << "column " << column;
            int total = 0;
            for (int column = 0; column < 4; ++column) total += list->columnWidth(column);
            EXPECT_LE(total, list->viewport()->width()) << "the list needs no sideways scrolling";
            EXPECT_EQ(list->topLevelItem(1)->toolTip(1), list->topLevelItem(1)->text(1)) << "a cut name in full";
            part<QPushButton>(hall, "cmd3")->click();
        });
        part<QPushButton>(dialog, "cmd5")->click();
    });
    checkForRecord();
    EXPECT_EQ(game.fame.lastChampionName, "Jörg Ähre");
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
}

TEST_F(DialogsTest, ManualOpensAtBothTopicsFollowsItsLinksAndReportsWhatItCannotShow) {
    game.dialog.useHtmlHelp = htmlHelpPlatform();
    ASSERT_TRUE(game.dialog.useHtmlHelp);  // this system reports an NT-family major version above 5
    EXPECT_EQ(messageDuring([] { showHelpTopic("fehlt.chm", "übersicht.htm"); }),
              "Error while trying to display a topic of fehlt.chm");
    const auto damaged = sourceDir() / "tests" / "fuzz" / "manual";
    // A damaged copy here, one that crashes the archive library: the shipped one is shown.
    std::filesystem::copy_file(damaged / "divides-by-zero.chm", "nonari.chm");
    showManualOverview();
    ASSERT_EQ(title(), "Nonari – die Menüpunkte");
    // A click on the link to the rules page opens it in the same viewer.
    QTextCursor link(browser()->document());
    link.setPosition(browser()->document()->find(QStringLiteral("Spielregel und Bedienung")).selectionStart() + 3);
    browser()->setTextCursor(link), browser()->ensureCursorVisible();
    QTest::mouseClick(browser()->viewport(), Qt::LeftButton, {}, browser()->cursorRect(link).center());
    QTRY_COMPARE(title(), std::string("Nonari – Spielregel und Bedienung"));
    showManualOverview(), showRulesHelp();  // the second topic by its own command
    EXPECT_EQ(title(), "Nonari – Spielregel und Bedienung");

    // Closed by the player, the viewer is gone; damaged files and missing topics are refused without a window.
    QPointer<QWidget> closed = browser();
    browser()->close(), QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull() && browser() == nullptr);
    const auto whole = readBytes(sourceDir() / "data" / "nonari.chm");
    writeBytes("halb.chm", {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 3)});
    const std::string garbage = std::string(1000, 'x').replace(0, 4, "ITSF");
    writeBytes("kaputt.chm", {garbage.begin(), garbage.end()});
    writeBytes("leer.chm", {});
    std::filesystem::create_directory("ordner.chm");
    ASSERT_EQ(mkfifo("rohr.chm", 0600), 0);  // would block a reader that opened it
    std::vector<std::filesystem::path> refused{"halb.chm", "kaputt.chm", "leer.chm", "ordner.chm", "rohr.chm"};
    for (const char* crash : {"divides-by-zero.chm", "reads-out-of-bounds.chm", "asks-for-4-gib.chm"})
        refused.push_back(damaged / crash);
    for (const auto& file : refused) EXPECT_FALSE(qt_testing::helpViewer().show(file, "/übersicht.htm")) << file;
    EXPECT_FALSE(qt_testing::helpViewer().show((sourceDir() / "data" / "nonari.chm").string(), "/fehlt.htm"));
    EXPECT_EQ(browser(), nullptr);
}

TEST(Manual, CompiledFileHoldsExactlyTheListedSources) {
    const auto docs = sourceDir() / "docs", compiledFile = sourceDir() / "data" / "nonari.chm";
    std::unique_ptr<chmFile, void (*)(chmFile*)> chm(chm_open(compiledFile.c_str()), chm_close);
    ASSERT_NE(chm, nullptr) << "data/nonari.chm is missing or damaged";
    std::set<std::string> listed;  // the project's files, with its contents and index files
    const auto project = readBytes(docs / "nonari.hhp");
    std::istringstream lines(std::string(project.begin(), project.end()));
    const std::regex file(R"re((?:(?:Contents|Index) file=)?([^=\[]+\.\w+)\r?)re");
    for (std::string line; std::getline(lines, line);)
        if (std::smatch m; std::regex_match(line, m, file)) listed.insert(m[1]);
    for (const std::string& name : listed) {
        chmUnitInfo unit{};
        ASSERT_EQ(chm_resolve_object(chm.get(), ("/" + name).c_str(), &unit), CHM_RESOLVE_SUCCESS)
            << name << " is not in data/nonari.chm: rebuild it with tools/build_manual.sh";
        std::vector<unsigned char> compiled(static_cast<std::size_t>(unit.length));
        chm_retrieve_object(chm.get(), &unit, compiled.data(), 0, static_cast<LONGINT64>(unit.length));
        EXPECT_TRUE(compiled == readBytes(docs / name)) << name << " changed: run tools/build_manual.sh";
    }
    chm_enumerate(chm.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, [](chmFile*, chmUnitInfo* unit, void* set) {
        const std::string path = unit->path;
        const bool page = path.ends_with(".htm") || path.ends_with(".css");
        EXPECT_TRUE(!page || static_cast<std::set<std::string>*>(set)->count(path.substr(1))) << path << ": no source";
        return CHM_ENUMERATOR_CONTINUE;
    }, &listed);
    EXPECT_GE(listed.size(), 2u);
}

TEST(Manual, DescribesTheSlotKeysTheShuffleTheSheetAndKeyFAsTheGameHasThem) {
    const std::tuple<const char*, const char*, int> phrases[] = {  // the slot dialog's keys on both pages first
        {"übersicht.htm", "Pfeiltaste", 1}, {"erklärung.htm", "Pfeiltaste", 1},
        {"übersicht.htm", "jede andere Taste", 1}, {"erklärung.htm", "jede andere Taste", 1},
        {"übersicht.htm", "oder die Escape-Taste schließt das Fenster", 1},
        {"erklärung.htm", "oder die Escape-Taste lässt die Datei unberührt", 1},
        {"übersicht.htm", "im Augenblick des Mischens", 1}, {"übersicht.htm", "Unter jedem Gitter stehen", 1},
        {"erklärung.htm", "in allen leeren Feldern alle Notizen", 2},  // F, in the text and the key table
    };
    for (const auto& [page, phrase, times] : phrases) {
        const auto bytes = readBytes(sourceDir() / "docs" / page);
        const std::string text(bytes.begin(), bytes.end());
        int found = 0;
        for (auto at = text.find(phrase); at != std::string::npos; at = text.find(phrase, at + 1)) ++found;
        EXPECT_EQ(found, times) << phrase << " in " << page;
    }
}

// A word of the first page, in points from the page's top-left corner.
struct PdfWord { std::string text; double xMin = 0, yMin = 0, xMax = 0, yMax = 0; };
struct PdfPage { double width = 0, height = 0; std::vector<PdfWord> words; };
PdfPage readPdf(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-tsv", "-l", "1", pdf, "-"});
    EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0) << "pdftotext failed";
    PdfPage page;  // a line a box: level 1 the page, 5 a word
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const QStringList f = line.split('\t');
        if (f.size() < 12) continue;
        const double x = f[6].toDouble(), y = f[7].toDouble(), w = f[8].toDouble(), h = f[9].toDouble();
        if (f[0] == "1") std::tie(page.width, page.height) = std::pair(w, h);
        if (f[0] == "5") page.words.push_back({f[11].toStdString(), x, y, x + w, y + h});
    }
    return page;
}

const Grid solution =
    gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");

// The words centred in the area: cell texts above captionTop, the rest joined into the caption.
struct Area { std::vector<PdfWord> cells; std::string caption; };
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

class PrintPdfTest : public DialogsTest {
protected:
    void SetUp() override { DialogsTest::SetUp(), setenv("NONARI_PRINT_PDF", pdf.c_str(), 1); }
    void TearDown() override {
        unsetenv("NONARI_PRINT_PDF");
        for (const auto& [name, value] : localeBefore) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        DialogsTest::TearDown();
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
                    if ((c + r) % 2 != 0) continue;
                    game.puzzle.givens(c, r) = solution(c, r);
                    ++givens;
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
