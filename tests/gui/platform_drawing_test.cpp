// Pixel checks of the Qt platform's drawing: raster modes, saved areas, text cells and umlauts, the first play screen;
// on a high-density screen drawn at the device resolution, matching the 1x screen, the window placed on the screen.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"

#include <QScreen>

#include <algorithm>
#include <cstdlib>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF, grey = 0xC0C0C0, teal = 0x008080, black = 0x000000, red = 0xFF0000,
              darkGrey = 0x404040, background = 0xB4C9D0;

const FontRequest terminal{"Terminal", 12, 8, 400, true};

using DrawingTest = QtPlatformTest;

TEST_F(DrawingTest, CopyXorAndMergeModesAndSavedAreasComeBackPixelForPixel) {
    pf->setPenColour(teal);
    pf->setFillColour(grey);
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
        if (round == 0) {  // corners belong to two edges but change once
            EXPECT_EQ(std::make_tuple(pixel(20, 30), pixel(100, 50), pixel(150, 100)),
                      std::make_tuple(grey ^ 0x00FF80, grey ^ 0x00FF80, grey ^ 0x804020));
        }
    }
    EXPECT_EQ(image(), before);

    SavedAreaId area = pf->saveArea(13, 16, 103, 106);
    pf->drawFilledBox(0, 0, 110, 110);
    pf->restoreArea(area, 13, 16);  // still in XOR mode
    EXPECT_EQ(image().copy(13, 16, 91, 91), before.copy(13, 16, 91, 91));
    EXPECT_NE(pixel(12, 16), before.pixel(12, 16) & 0xFFFFFFu);  // outside the area the XOR stays
    pf->restoreArea(area, 800, 600);  // elsewhere, clipped at the canvas edge
    EXPECT_EQ(image().copy(800, 600, 62, 74), before.copy(13, 16, 62, 74));

    pf->setRasterMode(RasterMode::MergePen);
    pf->setPenColour(0x00FF00);
    pf->drawLine(15, 190, 290, 190);
    EXPECT_EQ(std::make_pair(pixel(100, 190), pixel(100, 191)), std::make_pair(grey | 0x00FF00, grey));
}

TEST_F(DrawingTest, OpaqueAndTransparentTextFixedFacesAdvanceEightPixelsAndUmlautsShow) {
    pf->selectFont(terminal);
    pf->setFillColour(grey);
    pf->setTextOpaque(true);
    pf->drawText(100, 50, " x ");
    EXPECT_EQ(inkBox(QRect(90, 40, 50, 40), white), QRect(100, 50, 24, 12));  // 3 cells of 8 x 12
    pf->setTextOpaque(false);
    pf->drawText(100, 100, " x ");
    const QRect ink = inkBox(QRect(90, 90, 50, 40), white);
    EXPECT_TRUE(!ink.isEmpty() && QRect(108, 100, 8, 12).contains(ink)) << "only the x is inked";

    for (const FontRequest& f : {terminal, FontRequest{"Fixedsys", 0, 0, 400, false, 9}}) {
        image().fill(Qt::white);
        pf->selectFont(f);
        pf->drawText(200, 200, "MMMM");
        const QImage first = image().copy(200, 190, 8, 40);
        EXPECT_FALSE(inkBox(QRect(200, 190, 8, 40), white).isEmpty()) << f.face;
        for (int i = 1; i < 4; ++i) EXPECT_EQ(image().copy(200 + 8 * i, 190, 8, 40), first) << f.face << " " << i;
    }

    auto render = [&](const char* text) {
        image().fill(Qt::white);
        pf->drawText(50, 50, text);
        return image().copy(40, 40, 60, 80);
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
    for (int at : {28, 29, 208, 209, 568, 569}) {  // block lines at x and, 16 lower, at y
        EXPECT_EQ(pixel(at, 75), red) << at;
        EXPECT_EQ(pixel(75, at + 16), red) << at;
    }
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
        qt_testing::canvas()->setScale(scale);
        resetGameState();
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
            total += d;
            far += d > 128;
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
    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(0x00FF00);
    pf->setFillColour(0x123456);
    for (int pass = 0; pass < 2; ++pass) {
        pf->setLineWidth(2);
        pf->drawLine(31, 47, 400, 301);
        pf->drawBox(33, 49, 151, 151);
        pf->setLineWidth(1);
        pf->drawFilledBox(95, 111, 140, 160);
    }
    EXPECT_EQ(image(), before);
    pf->setRasterMode(RasterMode::CopyPen);
    pf->setFillColour(0x000000);
    pf->drawFilledBox(87, 103, 149, 165);  // the whole saved area, corners included
    pf->setPenColour(0xFFFFFF);
    pf->drawText(90, 110, "7");
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
        EXPECT_TRUE(room.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    }
    pf->openMainWindow(20, 30, 862, 723);
}

}  // namespace
}  // namespace nonari::test
