// Pixel checks of the Qt platform's drawing: inclusive corners, wide pens, raster modes, text, saved areas.
#include "tests/gui/platform_fixture.h"

#include <QEvent>
#include <QObject>

#include <chrono>
#include <thread>

namespace nonari::test {
namespace {

constexpr Rgb black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, grey = 0xC0C0C0, teal = 0x008080;

// Bounding box of the pixels in the region that differ from the ground.
QRect inkBox(const QRect& region, Rgb ground) {
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if ((qt_testing::backingImage().pixel(x, y) & 0xFFFFFFu) != ground) box = box.united(QRect(x, y, 1, 1));
    return box;
}

FontSpec arial(int height, int width, int weight = 200) {
    FontSpec font;
    font.face = "ARIAL";
    font.height = height;
    font.width = width;
    font.weight = weight;
    return font;
}

FontSpec terminal() {
    FontSpec font;
    font.face = "Terminal";
    font.height = 12;
    font.width = 8;
    font.fixedPitch = true;
    return font;
}

FontSpec pointFont(const char* face, double points) {
    FontSpec font;
    font.face = face;
    font.points = points;
    return font;
}

using DrawingTest = QtPlatformTest;

TEST_F(DrawingTest, OnePixelLinesAndBoxesIncludeBothCorners) {
    pf->setPenColour(black);
    pf->drawBox(29, 45, 89, 105);
    for (int y : {45, 70, 105}) {
        EXPECT_EQ(pixel(29, y), black) << y;
        EXPECT_EQ(pixel(89, y), black) << y;
    }
    EXPECT_EQ(pixel(28, 70), white);
    EXPECT_EQ(pixel(90, 70), white);
    EXPECT_EQ(pixel(30, 70), white);
    EXPECT_EQ(pixel(88, 70), white);
    EXPECT_EQ(pixel(60, 44), white);
    EXPECT_EQ(pixel(60, 106), white);
    EXPECT_EQ(inkBox(QRect(0, 0, 200, 200), white), QRect(QPoint(29, 45), QPoint(89, 105)));

    // A line covers both end points whichever way it runs; the same pixels either way.
    pf->drawLine(300, 10, 310, 10);
    EXPECT_EQ(inkBox(QRect(290, 0, 40, 20), white), QRect(QPoint(300, 10), QPoint(310, 10)));
    pf->drawLine(400, 40, 410, 30);
    QImage forward = image().copy(395, 25, 20, 20);
    pf->setPenColour(white);
    pf->drawLine(400, 40, 410, 30);
    EXPECT_EQ(inkBox(QRect(395, 25, 20, 20), white), QRect());
    pf->setPenColour(black);
    pf->drawLine(410, 30, 400, 40);
    EXPECT_EQ(image().copy(395, 25, 20, 20), forward);
    EXPECT_EQ(pixel(400, 40), black);
    EXPECT_EQ(pixel(410, 30), black);
}

TEST_F(DrawingTest, TwoPixelPensCoverThePixelBeforeThePath) {
    // The board: white field, black cell lines, red block lines of width 2 over them.
    pf->setPenColour(black);
    pf->setFillColour(white);
    pf->drawFilledBox(28, 44, 569, 585);
    for (int j = 0; j < 9; ++j)
        for (int i = 0; i < 9; ++i) pf->drawBox(29 + i * 60, 45 + j * 60, 89 + i * 60, 105 + j * 60);
    pf->setLineWidth(2);
    pf->setPenColour(red);
    for (int p = 0; p < 3; ++p)
        for (int q = 0; q < 3; ++q) pf->drawBox(29 + q * 180, 45 + p * 180, 209 + q * 180, 225 + p * 180);
    pf->setLineWidth(1);

    const int y = 130;  // inside the second cell row
    EXPECT_EQ(pixel(28, y), red);
    EXPECT_EQ(pixel(29, y), red);
    EXPECT_EQ(pixel(30, y), white);
    EXPECT_EQ(pixel(207, y), white);  // interior of a column-3 cell ends at 207
    EXPECT_EQ(pixel(208, y), red);
    EXPECT_EQ(pixel(209, y), red);
    EXPECT_EQ(pixel(210, y), white);  // interior of a column-4 cell starts at 210
    EXPECT_EQ(pixel(149, y), black);  // an ordinary cell line stays black and 1 pixel wide
    EXPECT_EQ(pixel(148, y), white);
    EXPECT_EQ(pixel(150, y), white);
    EXPECT_EQ(pixel(568, y), red);
    EXPECT_EQ(pixel(569, y), red);
    // Rows behave the same: the block line at y 225 covers 224 and 225.
    EXPECT_EQ(pixel(100, 223), white);
    EXPECT_EQ(pixel(100, 224), red);
    EXPECT_EQ(pixel(100, 225), red);
    EXPECT_EQ(pixel(100, 226), white);
    EXPECT_EQ(pixel(100, 44), red);
    EXPECT_EQ(pixel(100, 43), white);

    // A wide line's end points grow the same way.
    pf->setLineWidth(2);
    pf->setPenColour(teal);
    pf->drawLine(700, 100, 700, 110);
    EXPECT_EQ(inkBox(QRect(690, 90, 20, 30), white), QRect(QPoint(699, 99), QPoint(700, 110)));
}

TEST_F(DrawingTest, XorRestoresBitForBitAndMergeOrs) {
    // A ground with many different pixels: filled boxes and text.
    pf->setPenColour(teal);
    pf->setFillColour(grey);
    pf->drawFilledBox(10, 10, 300, 200);
    pf->selectFont(arial(58, 32));
    pf->setPenColour(0x123456);
    pf->drawText(40, 40, "8");
    const QImage before = image().copy();

    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(0x00FF80);
    pf->setFillColour(0x804020);
    for (int round = 0; round < 2; ++round) {
        pf->drawLine(5, 5, 250, 190);
        pf->setLineWidth(2);
        pf->drawBox(20, 30, 280, 180);
        pf->setLineWidth(1);
        pf->drawFilledBox(100, 50, 200, 150);
        if (round == 0) {
            // Corners are part of two edges but change only once.
            EXPECT_EQ(pixel(20, 30), (grey ^ 0x00FF80));
            EXPECT_EQ(pixel(19, 29), (grey ^ 0x00FF80));
            EXPECT_EQ(pixel(150, 100), (grey ^ 0x804020));
            EXPECT_EQ(pixel(100, 50), (grey ^ 0x00FF80));
        }
    }
    EXPECT_EQ(image(), before);

    pf->setRasterMode(RasterMode::MergePen);
    pf->setPenColour(0x00FF00);
    pf->drawLine(15, 190, 290, 190);
    EXPECT_EQ(pixel(100, 190), (grey | 0x00FF00));
    EXPECT_EQ(pixel(100, 191), grey);
    pf->setRasterMode(RasterMode::CopyPen);
}

TEST_F(DrawingTest, FilledBoxIsOutlinedInPenAndFilledInFill) {
    pf->setPenColour(black);
    pf->setFillColour(grey);
    pf->drawFilledBox(100, 100, 130, 130);
    EXPECT_EQ(inkBox(QRect(90, 90, 50, 50), white), QRect(QPoint(100, 100), QPoint(130, 130)));
    EXPECT_EQ(pixel(100, 115), black);
    EXPECT_EQ(pixel(130, 115), black);
    EXPECT_EQ(pixel(115, 100), black);
    EXPECT_EQ(pixel(115, 130), black);
    EXPECT_EQ(pixel(101, 101), grey);
    EXPECT_EQ(pixel(129, 129), grey);

    // Pen and fill the same: a solid square, as the cell painting uses it.
    pf->setPenColour(white);
    pf->setFillColour(white);
    pf->drawFilledBox(100, 100, 130, 130);
    EXPECT_EQ(inkBox(QRect(90, 90, 50, 50), white), QRect());
}

TEST_F(DrawingTest, OpaqueTextFillsItsCellAndTextAlwaysUsesThePen) {
    pf->selectFont(terminal());
    pf->setPenColour(black);
    pf->setFillColour(grey);
    pf->setTextOpaque(true);
    pf->drawText(100, 50, " x ");
    // The cell box: 3 characters of 8 pixels, 12 pixels high, top-left at the given point.
    EXPECT_EQ(inkBox(QRect(90, 40, 50, 40), white), QRect(100, 50, 24, 12));
    EXPECT_EQ(pixel(100, 50), grey);
    EXPECT_EQ(pixel(123, 61), grey);

    pf->setTextOpaque(false);
    pf->drawText(100, 100, " x ");
    QRect ink = inkBox(QRect(90, 90, 50, 40), white);
    EXPECT_TRUE(QRect(108, 100, 8, 12).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_FALSE(ink.isEmpty());

    // XOR mode does not change how text is painted.
    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(red);
    pf->selectFont(arial(58, 32));
    pf->drawText(300, 300, "8");
    pf->setRasterMode(RasterMode::CopyPen);
    int pure = 0, xored = 0;
    for (int y = 300; y < 360; ++y)
        for (int x = 300; x < 350; ++x) {
            if (pixel(x, y) == red) ++pure;
            if (pixel(x, y) == (white ^ red)) ++xored;
        }
    EXPECT_GT(pure, 100);
    EXPECT_EQ(xored, 0);
}

TEST_F(DrawingTest, FixedFacesAdvanceEightPixelsPerCharacter) {
    pf->setPenColour(black);
    pf->setTextOpaque(false);
    for (const FontSpec& font : {terminal(), pointFont("Fixedsys", 9)}) {
        image().fill(Qt::white);
        pf->selectFont(font);
        pf->drawText(200, 100, "ABCD");
        for (int i = 0; i < 4; ++i) {
            QRect cell(200 + 8 * i, 90, 8, 40);
            EXPECT_FALSE(inkBox(cell, white).isEmpty()) << font.face << " cell " << i;
        }
        EXPECT_TRUE(inkBox(QRect(232, 80, 20, 60), white).isEmpty()) << font.face;
        EXPECT_TRUE(inkBox(QRect(180, 80, 20, 60), white).isEmpty()) << font.face;

        // The same letter four times: four identical cells, 8 pixels apart.
        pf->drawText(200, 200, "MMMM");
        const QImage first = image().copy(200, 190, 8, 40);
        for (int i = 1; i < 4; ++i) EXPECT_EQ(image().copy(200 + 8 * i, 190, 8, 40), first) << font.face << " " << i;
    }
}

TEST_F(DrawingTest, FontTableSizesCellsAsTheLayoutExpects) {
    pf->setFillColour(grey);
    pf->setTextOpaque(true);
    struct Case {
        FontSpec font;
        int height;
        int eightWidth;  // advance of "8": its Arial width scaled by the wanted average width
    };
    const Case cases[] = {
        {arial(58, 32), 58, 40}, {arial(30, 16), 30, 20}, {arial(26, 14), 26, 18},
        {arial(21, 10, 400), 21, 13}, {arial(12, 6), 12, 8},
    };
    for (const Case& c : cases) {
        image().fill(Qt::white);
        pf->selectFont(c.font);
        pf->drawText(100, 100, "8");
        QRect box = inkBox(QRect(90, 90, 100, 100), white);
        EXPECT_EQ(box.top(), 100) << c.height;
        EXPECT_EQ(box.left(), 100) << c.height;
        EXPECT_EQ(box.height(), c.height);
        EXPECT_NEAR(box.width(), c.eightWidth, 1) << c.height;
    }
    // The big board digit: black ink well inside its 58-pixel cell.
    image().fill(Qt::white);
    pf->setTextOpaque(false);
    pf->selectFont(arial(58, 32));
    pf->drawText(100, 100, "8");
    QRect digit = inkBox(QRect(90, 90, 100, 100), white);
    EXPECT_GT(digit.height(), 35);
    EXPECT_LT(digit.bottom(), 158);
    EXPECT_GT(digit.width(), 30);

}

TEST_F(DrawingTest, UmlautsRenderAsTheirOwnGlyphs) {
    pf->setPenColour(black);
    pf->setTextOpaque(false);
    auto render = [&](const std::string& text, const FontSpec& font) {
        image().fill(Qt::white);
        pf->selectFont(font);
        pf->drawText(50, 50, text);
        return image().copy(40, 40, 60, 80);
    };
    for (const FontSpec& font : {terminal(), arial(26, 14), pointFont("System", 9.75)}) {
        const QImage missing = render("\xF4\x8F\xBF\xBD", font);  // a code point no font has
        for (const auto& [umlaut, plain] : {std::pair{"ä", "a"}, std::pair{"ö", "o"}, std::pair{"ü", "u"},
                                            std::pair{"ß", "B"}, std::pair{"Ä", "A"}}) {
            const QImage shown = render(umlaut, font);
            EXPECT_NE(shown, missing) << umlaut << " in " << font.face;
            EXPECT_NE(shown, render(plain, font)) << umlaut << " in " << font.face;
            EXPECT_FALSE(inkBox(QRect(40, 40, 60, 80), white).isEmpty());
        }
    }
}

TEST_F(DrawingTest, SavedAreasComeBackPixelForPixel) {
    pf->setPenColour(teal);
    pf->setFillColour(grey);
    pf->drawFilledBox(10, 10, 120, 120);
    pf->selectFont(arial(30, 16));
    pf->drawText(20, 20, "5");
    const QImage before = image().copy();

    SavedAreaId area = pf->saveArea(13, 16, 103, 106);
    pf->setRasterMode(RasterMode::XorPen);
    pf->setPenColour(0xFFFFFF);
    pf->setFillColour(0x0F0F0F);
    pf->drawFilledBox(0, 0, 110, 110);
    // The restore ignores the raster mode that is still set.
    pf->restoreArea(area, 13, 16);
    pf->setRasterMode(RasterMode::CopyPen);
    EXPECT_EQ(image().copy(13, 16, 91, 91), before.copy(13, 16, 91, 91));
    EXPECT_NE(pixel(12, 16), before.pixel(12, 16) & 0xFFFFFFu);  // outside the area the XOR stays

    // Put back elsewhere, and clipped at the canvas edge.
    pf->restoreArea(area, 800, 600);
    EXPECT_EQ(image().copy(800, 600, 62, 74), before.copy(13, 16, 62, 74));
    pf->discardArea(area);
    image().fill(Qt::white);
    pf->restoreArea(area, 13, 16);
    EXPECT_EQ(inkBox(QRect(0, 0, 200, 200), white), QRect());
}

// Counts the paint events the canvas receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(DrawingTest, CanvasShowsTheBackingImageAndFollowsLongDrawing) {
    pf->setPenColour(red);
    pf->drawLine(10, 10, 400, 10);
    QCoreApplication::processEvents();
    const QImage shown = qt_testing::canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(200, 10) & 0xFFFFFFu, red);

    // Without event processing, a drawing call after a quiet frame presents at once.
    PaintCounter counter;
    qt_testing::canvas()->installEventFilter(&counter);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pf->drawLine(10, 20, 400, 20);
    EXPECT_GE(counter.paints, 1);
    qt_testing::canvas()->removeEventFilter(&counter);
}

}  // namespace
}  // namespace nonari::test
