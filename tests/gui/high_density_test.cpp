// The play screen on a high-density screen: drawn at the device resolution, matching the 1x screen, placed on the screen.
#include "platform/platform.h"
#include "screen/board_view.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"

#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace nonari::test {
namespace {

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

    // A screen with every kind of drawing: frames, shadow titles, cell and block lines, given and
    // entered digits, panel texts, drawn on a fresh image at the pixel ratio.
    QImage drawScreenAt(double scale) {
        qt_testing::canvas()->setScale(scale);
        resetGameState();
        image().fill(QColor(0xB4, 0xC9, 0xD0));
        const char* rows = "8.3......7..4..1..9.......2..5.6..4...........3.9.1...........6..2..8..4......5.7";
        for (int i = 0; i < 81; ++i)
            if (rows[i] != '.') {
                game.puzzle.board(i % 9 + 1, i / 9 + 1) = static_cast<std::uint8_t>(rows[i] - '0');
                if (i % 2 == 0) game.puzzle.givens(i % 9 + 1, i / 9 + 1) = game.puzzle.board(i % 9 + 1, i / 9 + 1);
            }
        game.screen.helpText = "Bitte Menupunkt auswählen!";
        drawBoardPanel();
        drawBoard();
        drawStatusPanel();
        drawHelpPanel();
        return image().copy();
    }

    // The device image averaged back onto logical pixels.
    static QImage downscaled(const QImage& device, double scale) {
        QImage logical(canvasWidth, canvasHeight, QImage::Format_RGB32);
        for (int y = 0; y < canvasHeight; ++y)
            for (int x = 0; x < canvasWidth; ++x) {
                const QRect block = toDevice(QRect(x, y, 1, 1), scale);
                int sum[3] = {0, 0, 0}, count = 0;
                for (int v = block.top(); v <= block.bottom(); ++v)
                    for (int u = block.left(); u <= block.right(); ++u) {
                        const QRgb p = device.pixel(u, v);
                        sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p), ++count;
                    }
                logical.setPixel(x, y, qRgb(sum[0] / count, sum[1] / count, sum[2] / count));
            }
        return logical;
    }

    static int channelDistance(QRgb a, QRgb b) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    }

    double ratio = 1.0;
};

TEST_F(HighDensity, TheBackingImageHasTheScreensPixelRatioAndLogicalPixelsTileIt) {
    const QImage& backing = image();
    EXPECT_EQ(backing.devicePixelRatio(), ratio);
    EXPECT_EQ(backing.size(), QSize(static_cast<int>(std::floor(canvasWidth * ratio)),
                                    static_cast<int>(std::floor(canvasHeight * ratio))));
    // Neighbouring logical pixels meet without a gap or an overlap, and each covers at least one device pixel.
    for (int x = 0; x < canvasWidth; ++x) {
        const QRect here = toDevice(QRect(x, 0, 1, 1), ratio), next = toDevice(QRect(x + 1, 0, 1, 1), ratio);
        ASSERT_GE(here.width(), 1) << x;
        ASSERT_EQ(here.right() + 1, next.left()) << x;
    }
    EXPECT_EQ(toDevice(QRect(0, 0, canvasWidth, canvasHeight), ratio), backing.rect());
}

TEST_F(HighDensity, TheScaledScreenMatchesTheOneTimesScreenButIsDrawnAtDeviceResolution) {
    const QImage one = drawScreenAt(1.0);
    const QImage device = drawScreenAt(ratio);
    ASSERT_EQ(device.devicePixelRatio(), ratio);

    // Averaged back onto logical pixels, the screen is the 1x screen but for the anti-aliased edges of text.
    const QImage back = downscaled(device, ratio);
    long total = 0, far = 0;
    for (int y = 0; y < canvasHeight; ++y)
        for (int x = 0; x < canvasWidth; ++x) {
            const int d = channelDistance(back.pixel(x, y), one.pixel(x, y));
            total += d;
            far += d > 128;
        }
    const double pixels = double(canvasWidth) * canvasHeight;
    EXPECT_LT(total / pixels, 2.0);
    EXPECT_LT(far / pixels, 0.005);

    // Lines and fills have no edges to smooth: the cell lines, the red block lines and the white field are exact.
    for (auto [x, y] : {std::pair{89, 100}, {208, 100}, {209, 100}, {100, 208}, {60, 60}, {300, 16}, {700, 530}})
        EXPECT_EQ(back.pixel(x, y), one.pixel(x, y)) << x << "," << y;

    // A digit of the board is rendered at the device resolution, not blown up from 1x pixels.
    const QRect cell = toDevice(QRect(30, 46, 58, 58), ratio);  // cell (1, 1) holds an 8
    const QImage blownUp = one.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0;
    for (int v = cell.top(); v <= cell.bottom(); ++v)
        for (int u = cell.left(); u <= cell.right(); ++u) differing += device.pixel(u, v) != blownUp.pixel(u, v);
    EXPECT_GT(differing, cell.width() * cell.height() / 50);
    if (ratio == 2.0) {
        int mixedBlocks = 0;
        for (int v = cell.top(); v < cell.bottom(); v += 2)
            for (int u = cell.left(); u < cell.right(); u += 2) {
                const QRgb p = device.pixel(u, v);
                mixedBlocks += device.pixel(u + 1, v) != p || device.pixel(u, v + 1) != p || device.pixel(u + 1, v + 1) != p;
            }
        EXPECT_GT(mixedBlocks, 20);
    }
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

TEST_F(HighDensity, TheWindowLiesFullyOnTheScreen) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect room = screen->availableGeometry();
    // The start-up position for a screen this size puts the top edge above the screen when scaled by 2.
    const int x = static_cast<int>(std::lround((room.width() - 862) / 2.0));
    const int y = static_cast<int>(std::lround((room.height() - 694) / 2.0)) - 32;
    pf->openMainWindow(x, y, 862, 723);
    QCoreApplication::processEvents();
    const QRect frame = qt_testing::mainWindow()->frameGeometry();
    ASSERT_LE(frame.height(), room.height()) << "the test screen is too small for the window";
    EXPECT_TRUE(room.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    pf->openMainWindow(20, 30, 862, 723);
}

}  // namespace
}  // namespace nonari::test
