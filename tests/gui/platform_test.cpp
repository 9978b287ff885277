// The Qt platform and the play screen drawn on it: window, events, pixels, high density, cursor, clashes, pause.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_keys.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "logic/rules.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "screen/board_view.h"
#include "screen/button_bar.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "tests/gui/platform_fixture.h"

#include <QAction>
#include <QIcon>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, grey = 0xC0C0C0, teal = 0x008080, black = 0x000000, red = 0xFF0000,
              darkGrey = 0x404040, background = 0xB4C9D0, cursorBlue = 0x0000BC, clashRed = 0xFF0000, hintMagenta = 0xFF00FF;

const FontRequest terminal{"Terminal", 12, 8, 400, true};

using DrawingTest = QtPlatformTest;

TEST_F(DrawingTest, CopyXorAndMergeModesAndSavedAreasComeBackPixelForPixel) {
    pf->setPenColour(teal), pf->setFillColour(grey);
    pf->drawFilledBox(10, 10, 300, 200);  // copy mode: both corners and the outline belong to the box
    EXPECT_EQ(inkBox(QRect(0, 0, 400, 300), white), QRect(QPoint(10, 10), QPoint(300, 200)));
    pf->selectFont(FontRequest{"ARIAL", 58, 32, 200});
    pf->drawText(20, 40, "8");
    const QImage before = image().copy();

    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(0x00FF80), pf->setFillColour(0x804020);
    for (int round = 0; round < 2; ++round) {  // XOR twice restores
        pf->drawLine(5, 5, 250, 190);
        pf->drawBox(20, 30, 280, 180);
        pf->drawFilledBox(100, 50, 200, 150);
        EXPECT_TRUE(round == 1 || std::make_tuple(pixel(20, 30), pixel(100, 50), pixel(150, 100)) ==
                                      std::make_tuple(grey ^ 0x00FF80, grey ^ 0x00FF80, grey ^ 0x804020))
            << "corners belong to two edges but change once";
    }
    EXPECT_EQ(image(), before);

    SavedAreaId area = pf->saveArea(13, 16, 103, 106);
    pf->drawFilledBox(0, 0, 110, 110);
    pf->restoreArea(area, 13, 16);  // still in XOR mode
    EXPECT_EQ(image().copy(13, 16, 91, 91), before.copy(13, 16, 91, 91));
    EXPECT_NE(pixel(12, 16), before.pixel(12, 16) & 0xFFFFFFu);  // outside the area the XOR stays
    pf->restoreArea(area, 800, 600);  // elsewhere, clipped at the canvas edge
    EXPECT_EQ(image().copy(800, 600, 62, 74), before.copy(13, 16, 62, 74));

    pf->setRasterMode(RasterMode::MergePen), pf->setPenColour(0x00FF00);
    pf->drawLine(15, 190, 290, 190);
    EXPECT_EQ(std::make_pair(pixel(100, 190), pixel(100, 191)), std::make_pair(grey | 0x00FF00, grey));
}

TEST_F(DrawingTest, OpaqueAndTransparentTextFixedFacesAdvanceEightPixelsAndUmlautsShow) {
    pf->selectFont(terminal), pf->setFillColour(grey), pf->setTextOpaque(true);
    pf->drawText(100, 50, " x ");
    EXPECT_EQ(inkBox(QRect(90, 40, 50, 40), white), QRect(100, 50, 24, 12));  // 3 cells of 8 x 12
    pf->setTextOpaque(false), pf->drawText(100, 100, " x ");
    const QRect ink = inkBox(QRect(90, 90, 50, 40), white);
    EXPECT_TRUE(!ink.isEmpty() && QRect(108, 100, 8, 12).contains(ink)) << "only the x is inked";

    for (const FontRequest& f : {terminal, FontRequest{"Fixedsys", 0, 0, 400, false, 9}}) {
        image().fill(Qt::white), pf->selectFont(f), pf->drawText(200, 200, "MMMM");
        const QImage first = image().copy(200, 190, 8, 40);
        EXPECT_FALSE(inkBox(QRect(200, 190, 8, 40), white).isEmpty()) << f.face;
        for (int i = 1; i < 4; ++i) EXPECT_EQ(image().copy(200 + 8 * i, 190, 8, 40), first) << f.face << " " << i;
    }

    auto render = [&](const char* text) {
        return image().fill(Qt::white), pf->drawText(50, 50, text), image().copy(40, 40, 60, 80);
    };
    for (const FontRequest& f : {terminal, FontRequest{"ARIAL", 26, 14, 200},
                               FontRequest{"System", 0, 0, 400, false, 9.75}}) {
        pf->selectFont(f);
        const QImage missing = render("\xF4\x8F\xBF\xBD");  // a code point no font has
        for (const auto& [umlaut, plain] : {std::pair{"ä", "a"}, std::pair{"ß", "B"}, std::pair{"Ü", "U"}})
            EXPECT_TRUE(render(umlaut) != missing && render(umlaut) != render(plain)) << umlaut << " in " << f.face;
    }
}

TEST_F(DrawingTest, FirstScreenFramesGridAndBlockLinesAndAFullRepaintShowsTheBackingImage) {
    resetGameState();
    image().fill(QColor(0xB4, 0xC9, 0xD0));
    drawBoardPanel();
    auto inkOf = [](const QRect& region, Rgb ink) { return inkBox(region, ink, false); };
    // Raised board frame: three light lines top and left, three dark lines bottom and right.
    EXPECT_EQ(inkOf(QRect(300, 15, 1, 5), white), QRect(300, 16, 1, 3));
    EXPECT_EQ(inkOf(QRect(19, 300, 5, 1), white), QRect(20, 300, 3, 1));
    EXPECT_EQ(inkOf(QRect(300, 631, 1, 5), darkGrey), QRect(300, 632, 1, 3));
    EXPECT_EQ(inkOf(QRect(574, 300, 5, 1), darkGrey), QRect(575, 300, 3, 1));

    // White field with black 1-pixel cell lines and 2-pixel red block lines over them.
    EXPECT_EQ(inkOf(QRect(30, 75, 178, 1), black), QRect(QPoint(89, 75), QPoint(149, 75)));  // cell lines 89, 149
    for (int x : {60, 88, 90, 207}) EXPECT_EQ(pixel(x, 75), white) << x;
    for (int at : {28, 29, 208, 209, 568, 569})  // block lines at x and, 16 lower, at y
        EXPECT_TRUE(pixel(at, 75) == red && pixel(75, at + 16) == red) << at;
    EXPECT_EQ(pixel(27, 75), background);

    // A window that was covered paints itself from the backing image alone.
    const QImage shown = qt_testing::canvas()->grab().toImage().convertToFormat(image().format());
    EXPECT_EQ(shown, image().copy(shown.rect()));
}

// These run in their own ctest entries, with QT_SCALE_FACTOR set.
class HighDensity : public QtPlatformTest {
protected:
    void SetUp() override {
        ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        if (ratio == 1.0) GTEST_SKIP() << "needs a scaled screen: run with QT_SCALE_FACTOR=2 or 1.5";
        QtPlatformTest::SetUp();
    }
    void TearDown() override {
        if (ratio == 1.0) return;
        qt_testing::canvas()->setScale(ratio);
        QtPlatformTest::TearDown();
    }

    // Frames, shadow titles, cell and block lines, given and entered digits and panel texts on a fresh image.
    QImage drawScreenAt(double scale) {
        qt_testing::canvas()->setScale(scale), resetGameState();
        image().fill(QColor(0xB4, 0xC9, 0xD0));
        const char* rows = "8.3......7..4..1..9.......2..5.6..4...........3.9.1...........6..2..8..4......5.7";
        for (int i = 0; i < 81; ++i) {
            const auto digit = static_cast<std::uint8_t>(rows[i] == '.' ? 0 : rows[i] - '0');
            game.puzzle.board(i % 9 + 1, i / 9 + 1) = digit;
            game.puzzle.givens(i % 9 + 1, i / 9 + 1) = i % 2 == 0 ? digit : 0;
        }
        game.screen.helpText = "Bitte Menupunkt auswählen!";
        drawBoardPanel(), drawBoard(), drawStatusPanel(), drawHelpPanel();
        return image().copy();
    }
    // The device pixels of a logical pixel, averaged.
    QRgb averaged(const QImage& device, int x, int y) const {
        const QRect block = toDevice(QRect(x, y, 1, 1), ratio);
        int sum[3] = {0, 0, 0};
        for (int v = block.top(); v <= block.bottom(); ++v)
            for (int u = block.left(); u <= block.right(); ++u)
                for (int i = 0; i < 3; ++i) sum[i] += (device.pixel(u, v) >> (16 - 8 * i)) & 0xFF;
        const int count = block.width() * block.height();
        return qRgb(sum[0] / count, sum[1] / count, sum[2] / count);
    }

    double ratio = 1.0;
};

TEST_F(HighDensity, TheScreenIsDrawnAtTheDevicePixelRatioAndMatchesTheOneTimesScreen) {
    const QImage one = drawScreenAt(1.0);
    const QImage device = drawScreenAt(ratio);
    EXPECT_EQ(device.devicePixelRatio(), ratio);
    // Neighbouring logical pixels meet without a gap or an overlap, and each covers at least one device pixel.
    for (int x = 0; x < canvasWidth; ++x) {
        const QRect here = toDevice(QRect(x, 0, 1, 1), ratio), next = toDevice(QRect(x + 1, 0, 1, 1), ratio);
        ASSERT_GE(here.width(), 1) << x;
        ASSERT_EQ(here.right() + 1, next.left()) << x;
    }
    EXPECT_EQ(toDevice(QRect(0, 0, canvasWidth, canvasHeight), ratio), device.rect());

    // Averaged back onto logical pixels, the screen is the 1x screen but for the anti-aliased edges of text.
    long total = 0, far = 0;
    for (int y = 0; y < canvasHeight; ++y)
        for (int x = 0; x < canvasWidth; ++x) {
            const QRgb a = averaged(device, x, y), b = one.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            total += d, far += d > 128;
        }
    const double pixels = double(canvasWidth) * canvasHeight;
    EXPECT_LT(total / pixels, 2.0);
    EXPECT_LT(far / pixels, 0.005);
    // Lines and fills have no edges to smooth: the cell line at 89, the red block line at 208 and 209, the
    // white field beside them and the panels are exact, so no line is wider by a device pixel.
    for (auto [x, y] : {std::pair{88, 100}, {89, 100}, {90, 100}, {207, 100}, {208, 100}, {209, 100}, {210, 100},
                        {100, 208}, {60, 60}, {300, 16}, {700, 530}})
        EXPECT_EQ(averaged(device, x, y), one.pixel(x, y)) << x << "," << y;

    // A digit of the board is rendered at the device resolution, not blown up from 1x pixels.
    const QRect cell = toDevice(QRect(30, 46, 58, 58), ratio);  // cell (1, 1) holds an 8
    const QImage blownUp = one.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0, mixedBlocks = 0;
    for (int v = cell.top(); v < cell.bottom(); ++v)
        for (int u = cell.left(); u < cell.right(); ++u) {
            const QRgb p = device.pixel(u, v);
            differing += p != blownUp.pixel(u, v);
            if (u % 2 == cell.left() % 2 && v % 2 == cell.top() % 2)  // an aligned 2x2 block not all one colour
                mixedBlocks +=
                    device.pixel(u + 1, v) != p || device.pixel(u, v + 1) != p || device.pixel(u + 1, v + 1) != p;
        }
    EXPECT_GT(differing, cell.width() * cell.height() / 50);
    EXPECT_TRUE(ratio != 2.0 || mixedBlocks > 20) << mixedBlocks;
}

TEST_F(HighDensity, XorTwiceAndARestoredAreaPutBackEveryDevicePixel) {
    drawScreenAt(ratio);
    const QImage before = image().copy();
    // Where the digit picker opens: over a cell, at an odd logical position.
    const SavedAreaId area = pf->saveArea(87, 103, 87 + 62, 103 + 62);
    pf->setRasterMode(RasterMode::XorPen), pf->setPenColour(0x00FF00), pf->setFillColour(0x123456);
    for (int pass = 0; pass < 2; ++pass) {
        pf->setLineWidth(2), pf->drawLine(31, 47, 400, 301), pf->drawBox(33, 49, 151, 151);
        pf->setLineWidth(1), pf->drawFilledBox(95, 111, 140, 160);
    }
    EXPECT_EQ(image(), before);
    pf->setRasterMode(RasterMode::CopyPen), pf->setFillColour(0x000000);
    pf->drawFilledBox(87, 103, 149, 165);  // the whole saved area, corners included
    pf->setPenColour(0xFFFFFF), pf->drawText(90, 110, "7");
    pf->restoreArea(area, 87, 103);
    EXPECT_EQ(image(), before);
    pf->discardArea(area);
}

TEST_F(HighDensity, TheWindowLiesFullyOnTheScreenWhereverItIsAskedFor) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    // Scaled by 2 the centred start-up position puts the top edge above the screen; these lie further out.
    for (const QPoint asked : {QPoint(-40, -40), room.bottomRight()}) {
        pf->openMainWindow(asked.x(), asked.y(), 862, 723);
        QCoreApplication::processEvents();
        const QRect frame = qt_testing::mainWindow()->frameGeometry();
        ASSERT_LE(frame.height(), room.height()) << "the test screen is too small for the window";
        EXPECT_TRUE(room.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height();
    }
    pf->openMainWindow(20, 30, 862, 723);
}

using WindowTest = QtPlatformTest;

TEST_F(WindowTest, TheWindowCarriesTheGamesIconForTheDesktop) {  // its names: the package test
    const QIcon icon = qt_testing::mainWindow()->windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(48, 48), QSize(256, 256)}));
    const QImage small = icon.pixmap(QSize(48, 48)).toImage();
    int red = 0;  // drawn, not blank: the red block lines of the board are in it
    for (int i = 0; i < 48 * 48; ++i)
        red += qRed(small.pixel(i % 48, i / 48)) > 180 && qGreen(small.pixel(i % 48, i / 48)) < 80;
    EXPECT_GT(red, 40);
}

TEST_F(WindowTest, MessageBoxReturnsThePressedButtonsNumber) {
    whenShown({}, [](QWidget* box) { QTest::keyClick(box, Qt::Key_J); });  // a plain letter presses its button
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 1);
    whenShown({}, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });  // the default button
    EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    // The Return that closed a box is released over the canvas: a release whose press went elsewhere is no event.
    later([] { QTest::keyRelease(qt_testing::canvas(), Qt::Key_Return); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
}

TEST_F(WindowTest, LabelTextPostedFromAnotherThreadArrivesOnTheGuiThread) {
    const LabelId clock = pf->createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    QLabel* label = qt_testing::label(clock);
    ASSERT_NE(label, nullptr);
    pf->setLabelText(clock, " 99:99:99");
    std::thread([&] { pf->setLabelText(clock, " 00:00:01"); }).join();
    EXPECT_EQ(label->text(), QStringLiteral(" 99:99:99"));  // posted, not yet shown
    pf->waitEvent();
    EXPECT_EQ(label->text(), QStringLiteral(" 00:00:01"));
    // A text set on the GUI thread after another was posted is the newer one: the posted one is stale.
    std::thread([&] { pf->setLabelText(clock, " 00:00:02"); }).join();
    pf->setLabelText(clock, " 99:99:99"), QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), QStringLiteral(" 99:99:99"));
    delete label;
}

TEST_F(WindowTest, MenuCommandsRunFromTheEventWaitCloseIsRefusedUnlessTheHandlerQuitsAndQuitEndsNestedLoops) {
    std::vector<int> run;
    int closes = 0, depth = 0, deepest = 0;
    MainWindowHandlers handlers;
    handlers.close = [&] { if (++closes == 2) pf->quit(); };
    handlers.menuEvent = [&](int id) {
        run.push_back(id);
        if (id != 10) return;
        deepest = std::max(deepest, ++depth);  // a command with its own loop, the way the play loops wait
        while (!pf->appEnding()) pf->waitEvent();
        --depth;
    };
    pf->setMainWindowHandlers(handlers);
    MenuId bar = pf->createMenuBar(), game = pf->createPopup();
    EXPECT_TRUE(pf->appendMenuItem(game, 30, "&Leicht") && pf->appendMenuItem(game, 10, "&Spielstart") &&
                pf->appendMenuPopup(bar, game, "&Nonari"));
    EXPECT_EQ(pf->setMenuBar(bar), 0);
    // A command runs from the wait, not from inside the menu's own handling, and leaves its check mark to the game.
    pf->checkMenuItem(30, true), qt_testing::menuAction(30)->trigger();
    EXPECT_TRUE(run.empty());
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_TRUE(run == std::vector<int>{30} && qt_testing::menuAction(30)->isChecked());
    pf->checkMenuItem(30, false);
    EXPECT_FALSE(qt_testing::menuAction(30)->isChecked());

    later([] { qt_testing::mainWindow()->close(); });
    while (closes == 0) pf->waitEvent();
    EXPECT_TRUE(qt_testing::mainWindow()->isVisible() && !pf->appEnding());
    later([] { qt_testing::menuAction(10)->trigger(); }, 0);
    later([] { qt_testing::menuAction(10)->trigger(); }, 10);
    later([] { qt_testing::mainWindow()->close(); }, 30);  // from inside the inner loop
    while (!pf->appEnding()) pf->waitEvent();
    EXPECT_EQ(std::make_pair(deepest, depth), std::make_pair(2, 0));
    EXPECT_FALSE(qt_testing::mainWindow()->isVisible() || pf->mainWindowExists());
    // Once ending, waits return at once and boxes answer with their default.
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    pf->destroyMenu(bar);
}

using EventsTest = QtPlatformTest;

QtCanvas* canvas() { return qt_testing::canvas(); }

TEST_F(EventsTest, PressesAndKeysCarryKindPositionCharacterAndVirtualKeyAndADisabledWindowTakesNone) {
    pf->setMainWindowEnabled(false);
    later([] { QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(100, 100)); });
    later([] { QTest::keyClick(canvas(), Qt::Key_A); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
    pf->setMainWindowEnabled(true);
    for (const auto& [button, kind, x, y] : {std::tuple{Qt::RightButton, EventKind::RightPress, 500, 40},
                                             std::tuple{Qt::LeftButton, EventKind::LeftPress, 100, 120}}) {
        const Qt::MouseButton pressed = button;  // clang 14 cannot capture a structured binding
        const QPoint at(x, y);
        later([=] { QTest::mouseClick(canvas(), pressed, {}, at); });
        const InputEvent press = nextInput();
        EXPECT_EQ(std::make_tuple(press.kind, press.x, press.y), std::make_tuple(kind, double(x), double(y)));
    }
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; int character; std::vector<int> released; } cases[] = {
        {Qt::Key_A, {}, 'a', {65}}, {Qt::Key_Escape, {}, 27, {27}}, {Qt::Key_Enter, Qt::KeypadModifier, 13, {13}},
        {Qt::Key_A, Qt::ShiftModifier, 'A', {65, 16}},  // the letter's virtual key, then Shift's
    };
    for (const auto& c : cases) {
        later([&c] {  // a typed capital comes with its text, the way a keyboard sends it
            c.modifiers & Qt::ShiftModifier ? QTest::keyClick(canvas(), 'A', c.modifiers)
                                            : QTest::keyClick(canvas(), c.key, c.modifiers);
        });
        InputEvent event = nextInput();
        EXPECT_EQ(std::make_pair(event.kind, event.code), std::make_pair(EventKind::Char, c.character));
        for (int virtualKey : c.released) {
            event = nextInput();
            EXPECT_EQ(std::make_pair(event.kind, event.code), std::make_pair(EventKind::KeyUp, virtualKey));
        }
    }
    // A shifted key of the digit row is its digit, with the modifiers held when it went down; a held
    // arrow repeats.
    later([] {
        QKeyEvent events[] = {{QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, 0, 0, "!"},
                              {QEvent::KeyRelease, Qt::Key_Exclam, Qt::NoModifier, 10, 0, 0, "!"},
                              {QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier},
                              {QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, {}, true},
                              {QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier}};
        for (QKeyEvent& event : events) QCoreApplication::sendEvent(canvas(), &event);
    });
    EXPECT_EQ(nextInput().code, '!');
    for (auto [code, modifiers] : {std::pair{'1', shiftHeld}, {KeyArrowRight, 0}, {KeyArrowRight, 0}}) {
        const InputEvent event = nextInput();
        EXPECT_EQ(std::make_tuple(event.kind, event.code, event.modifiers),
                  std::make_tuple(EventKind::KeyUp, int(code), modifiers));
    }
}

// The strip under the board, and the band of every panel between its outer frame and its well, where its title is.
const std::pair<const char*, QRect> bands[] = {
    {"button strip", QRect(QPoint(28, 595), QPoint(570, 626))}, {"SPIELBRETT:", QRect(QPoint(23, 19), QPoint(574, 43))},
    {"STATISTIK:", QRect(QPoint(606, 203), QPoint(834, 221))},
    {"STATUSMELDUNG:", QRect(QPoint(606, 295), QPoint(834, 313))},
    {"SCHWIERIGKEITSGRAD:", QRect(QPoint(606, 387), QPoint(834, 405))},
    {"HILFEFENSTER:", QRect(QPoint(606, 479), QPoint(834, 497))},
    {"ZEITMESSUNG:", QRect(QPoint(626, 565), QPoint(812, 583))},
};

const std::pair<const char*, int> buttonLabels[] = {{" _Laden ", 30},    {" _Sichern ", 108}, {" _Drucken ", 202},
                                                    {" _Neustart ", 296}, {" _Hilfe ", 398},  {" _Abbruch ", 476}};

class PlayScreen : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        startNonari();
        const Grid solution = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r)
                if ((c + r) % 3 != 0) game.puzzle.board(c, r) = game.puzzle.givens(c, r) = solution(c, r);
        drawBoard(), showDifficultyLine(), startHistory();
    }
    void TearDown() override { game.clock.clockRunning = false, joinClockThread(), QtPlatformTest::TearDown(); }
    static void startTimedGame(double elapsed) {
        game.clock.clockRunning = true, game.clock.gameWon = false;
        game.clock.startTime = currentTime() - elapsed, game.clock.lastClockSecond = -1.0;
    }
    static void key(int code, int modifiers = 0) {
        handlePlayKey(InputEvent{EventKind::KeyUp, code, 0, 0, modifiers}, PlayMode::Game), recordStep();
    }
    static QRect cell(int c, int r) { return QRect(29 + (c - 1) * 60 + 1, 45 + (r - 1) * 60 + 1, 58, 58); }
    static int count(const QRect& area, Rgb colour, const QImage& in = image()) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += (in.pixel(x, y) & 0xFFFFFFu) == colour;
        return n;
    }
    static QImage board() { return image().copy(QRect(28, 44, 542, 542)); }
    TempWorkDir work;
};

TEST_F(PlayScreen, CursorFrameAndClashMarksSurviveRedrawsFollowTheBoardAndLeaveNoTrace) {
    const QImage before = board();
    key(KeyArrowLeft);  // the first arrow shows it where it stands
    const int frame = count(cell(1, 1), cursorBlue);
    EXPECT_GT(frame, 4 * 50);
    key(KeyArrowLeft), key(KeyArrowUp);  // wraps round to the other edge
    EXPECT_EQ(std::tie(game.picker.cursorColumn, game.picker.cursorRow), std::make_tuple(9, 9));
    key(KeyHome), key(KeyArrowUp), key(KeyArrowUp), key(KeyArrowRight);  // (2, 7): an empty cell
    EXPECT_EQ(count(cell(1, 1), cursorBlue) + count(cell(9, 9), cursorBlue), 0);
    runPlayCommand(PlayCommand::Hint, PlayMode::Game);  // its frame stays under the cursor's moves and a note
    const auto [hintColumn, hintRow] = game.hint.targetCells.front();
    const int hinted = count(cell(hintColumn, hintRow), hintMagenta);
    placeCursor(hintColumn, hintRow), placeCursor(2, 7), key('4', shiftHeld), key('4', shiftHeld);
    EXPECT_TRUE(hinted > 100 && count(cell(hintColumn, hintRow), hintMagenta) == hinted) << hinted;
    const std::function<void()> redraws[] = {
        [] { drawBoard(); }, [] { runPlayCommand(PlayCommand::FillNotes, PlayMode::Game); },
        [] { drawDigitPicker(2, 7), restorePickerBackground(), closePicker(); }, [] { key('4', shiftHeld); },
        [] { drawStatisticsPanel(); }, [] { runPlayCommand(PlayCommand::Solve, PlayMode::Game); },
    };
    for (const auto& redraw : redraws) {
        redraw();
        EXPECT_EQ(count(cell(2, 7), cursorBlue), frame);
    }
    restartBoard(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates), hideCursor(), drawBoard();
    EXPECT_TRUE(board() == before) << "without the cursor the board is as it was";

    game.clock.clockRunning = true, placeCursor(2, 1);  // 4 is in the row already, at (3, 1)
    key('4');
    EXPECT_EQ(game.screen.statusText, "Falsche Zahl! ");
    EXPECT_GT(count(cell(2, 1), clashRed), 100);
    EXPECT_GT(count(cell(3, 1), clashRed), 100) << "the given it repeats is marked too";
    EXPECT_EQ(count(cell(5, 5), clashRed), 0);
    Win_0_MenuEvent(menuId(MenuCommand::MarkClashes));
    EXPECT_EQ(count(cell(2, 1), clashRed) + count(cell(3, 1), clashRed), 0);
    Win_0_MenuEvent(menuId(MenuCommand::MarkClashes));
    EXPECT_TRUE(count(cell(3, 1), clashRed) > 100 && game.clock.clockRunning) << "marks back, the clock runs on";
    key(KeyDelete), hideCursor();
    EXPECT_TRUE(board() == before) << "no mark is left once the clash is gone";
}

TEST_F(PlayScreen, TakingBackAndRedoingRestoreStateAndScreenExactly) {
    using Shot = std::tuple<PuzzleState, std::string, QImage>;
    auto shot = [] {  // the cursor's moves are no steps: the screen without it
        const int column = game.picker.cursorColumn, row = game.picker.cursorRow;
        hideCursor();
        Shot taken{game.puzzle, game.screen.statusText, image().copy()};
        placeCursor(column, row);
        return taken;
    };
    key(KeyHome), key(KeyArrowRight);  // (2, 1): empty
    std::vector<Shot> shots{shot()};
    const std::function<void()> steps[] = {
        [] { key('6', shiftHeld); },  // a note
        [] { key('7'); },             // a digit, clashing with the given 7 below
        [] { key(KeyArrowRight), key(KeyArrowRight), key(KeyArrowRight), key(KeyPad0 + 7); },  // from the keypad
        [] { key(KeyBackspace); }, [] { runPlayCommand(PlayCommand::FillNotes, PlayMode::Game), recordStep(); },
        [] { runPlayCommand(PlayCommand::ClearNotes, PlayMode::Game), recordStep(); },
        [] { runPlayCommand(PlayCommand::Restart, PlayMode::Game), recordStep(); },
    };
    for (const auto& step : steps) {
        step();
        shots.push_back(shot());
    }
    for (std::size_t i = shots.size() - 1; i-- > 0;) {
        key('Z', ctrlHeld);
        EXPECT_TRUE(shot() == shots[i]) << "back to step " << i;
    }
    key('Z', ctrlHeld);  // nothing before the start
    EXPECT_TRUE(shot() == shots[0]);
    for (std::size_t i = 1; i < shots.size(); ++i) {
        key(i % 2 ? 'Y' : 'Z', ctrlHeld | (i % 2 ? 0 : shiftHeld));
        EXPECT_TRUE(shot() == shots[i]) << "forward to step " << i;
    }
    key('Z', ctrlHeld), key('Z', ctrlHeld), key('3');  // a new step drops what was taken back
    key('Y', ctrlHeld);
    EXPECT_EQ(game.puzzle.board(5, 1), 3);
    Win_0_MenuEvent(menuId(MenuCommand::ClearBoard));  // a new history
    key('Z', ctrlHeld);
    EXPECT_EQ(game.puzzle.givens, Grid{});
}

TEST_F(PlayScreen, APauseCoversTheBoardAndItsSecondsAreNotCounted) {
    QLabel* clock = qt_testing::label(game.screen.uhr);
    const QImage before = board();
    startTimedGame(5.5);
    auto press = [](Qt::Key k) { QTest::keyClick(qt_testing::canvas(), k); };
    QImage covered;
    std::string shown;
    later([&] { press(Qt::Key_P); });
    later([&] {
        covered = board(), shown = clock->text().toStdString();
        qt_testing::mainWindow()->showMinimized();  // hiding during the pause: any key goes on
    }, 1300);
    later([&] {
        EXPECT_EQ(clock->text().toStdString(), shown) << "the clock stands still";
        qt_testing::mainWindow()->showNormal(), press(Qt::Key_N);
    }, 1500);
    later([&] {
        EXPECT_TRUE(board() == before);
        qt_testing::mainWindow()->showMinimized();  // a hidden window pauses by itself
    }, 1700);
    later([&] { qt_testing::mainWindow()->showNormal(), press(Qt::Key_X); }, 2700);
    later([&] { press(Qt::Key_Escape); }, 2900);
    const double start = currentTime();
    playLoop();
    const double wall = currentTime() - start;
    EXPECT_TRUE(shown == " 00:00:05" || shown == " 00:00:06") << shown;
    EXPECT_EQ(count(covered.rect(), 0xC0C0C0, covered) + count(covered.rect(), 0xFFFFFF, covered), 0)
        << "no given or entry to be seen";
    EXPECT_LT(currentTime() - game.clock.startTime, 5.5 + wall - 2.0) << "two paused seconds at least not counted";
}

TEST_F(PlayScreen, RunningTimeReachesTheClockAndAbbruchLeavesTheIdleTextWhateverTheThreadRefreshedBefore) {
    auto label = [] { return qt_testing::label(game.screen.uhr)->text().toStdString(); };
    startTimedGame(0.8), startClockThread();
    QTRY_COMPARE_WITH_TIMEOUT(label(), std::string(" 00:00:01"), 2000);
    // Games aborted at different moments of their second, the thread due to refresh at once.
    for (double elapsed : {0.999, 0.97, 0.6, 0.2}) {
        SCOPED_TRACE(elapsed);
        startTimedGame(elapsed);
        QTest::keyClick(qt_testing::canvas(), Qt::Key_Escape);  // read by the play loop as Abbruch
        playLoop();
        EXPECT_EQ(game.clock.clockThreadId, 0) << "the stop ends the thread for certain";
        QTest::qWait(60);  // everything posted before the stop arrives
        EXPECT_EQ(label(), idleClockText);
    }
}

TEST_F(PlayScreen, TenPressesOfEachButtonAndTwentyBoardCommandsLeaveStripAndTitlesAsFirstDrawn) {
    std::vector<QImage> first;
    for (const auto& [label, left] : buttonLabels) drawButton(0, left, 598, label);
    for (const auto& [what, area] : bands) first.push_back(image().copy(area));
    for (const auto& [label, left] : buttonLabels) {
        for (int press = 0; press < 10; ++press) {
            drawButton(1, left, 598, label);
            drawButton(0, left, 598, label);
        }
        EXPECT_TRUE(image().copy(bands[0].second) == first[0]) << label << " left a mark beside it";
    }
    // Commands that lead to the board redraw the help panel, the display commands the statistics and status.
    using C = MenuCommand;
    for (int round = 0; round < 2; ++round)
        for (C command : {C::ShuffleBoard, C::Numbers, C::Letters, C::SolveBoard, C::ClearBoard, C::ShuffleBoard,
                          C::ShowCandidates, C::Mittel, C::Symmetry, C::Leicht}) {
            Win_0_MenuEvent(menuId(command));
            for (const auto& [label, left] : buttonLabels) drawButton(0, left, 598, label);
        }
    drawShadowText(18, Black, 229, 37, "SPIELBRETT:");  // a smooth face, drawn again over itself
    for (std::size_t i = 0; i < std::size(bands); ++i)
        EXPECT_TRUE(image().copy(bands[i].second) == first[i]) << bands[i].first << " changed";

    // The faces that were bitmaps draw whole pixels: the strip holds its frame and text colours only.
    std::set<Rgb> colours;
    const QRect strip = bands[0].second;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
        for (int x = strip.left(); x <= strip.right(); ++x) colours.insert(pixel(x, y));
    EXPECT_EQ(colours, (std::set<Rgb>{0x000000, 0x800000, 0x404040, 0xB4C9D0, 0xFFFFFF}));
}

TEST_F(PlayScreen, AMenuCommandInsideAPickerOverTheLastRowLeavesTheButtonsAndTheNextHintStandsAlone) {
    const QRect strip(30, 597, 539, 28);  // where the commands put back the strip saved at start-up
    pf->restoreArea(game.screen.savedStrip, strip.left(), strip.top()), drawButtonBar();
    const QImage buttons = image().copy(strip);
    game.puzzle.givens.clear();
    QImage after;  // the strip after the command, and the ink right of the picker's hint
    QRect hintTail;
    const QPoint cell(29 + 4 * 60 + 30, 45 + 8 * 60 + 30);  // column 5, row 9
    auto click = [cell] { QTest::mouseClick(qt_testing::canvas(), Qt::LeftButton, {}, cell); };
    auto escape = [] { QTest::keyClick(qt_testing::canvas(), Qt::Key_Escape); };
    auto picking = [] { return game.picker.pickerActive; };
    later(click);
    // Each step waits for the one before, however slowly a loaded machine takes them.
    once(picking, [&] {
        qt_testing::menuAction(menuId(MenuCommand::Numbers))->trigger();
        once([] { return !game.picker.pickerActive && game.screen.helpText == helpTextChooseMenu; }, [&] {
            after = image().copy(strip);
            click();
            once(picking, [&] {
                hintTail = inkBox(QRect(616 + 25 * 8, 515, 8, 12), white);
                escape();
                once([] { return !game.picker.pickerActive; }, escape);
            });
        });
    });
    playLoop();
    EXPECT_FALSE(game.picker.pickerActive);
    EXPECT_TRUE(after == buttons) << "the game goes on, so its buttons stay; nothing of the picker came back";
    EXPECT_TRUE(hintTail.isEmpty()) << "the picker's hint kept the tail of the longer one before";
}

}  // namespace
}  // namespace nonari::test
