// Pixel checks of the Qt platform's drawing: inclusive corners, raster modes, text, saved areas.
#include "tests/gui/platform_fixture.h"

namespace nonari::test {
namespace {

constexpr Rgb black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, grey = 0xC0C0C0, teal = 0x008080;

FontRequest font(const char* face, int height, int width, int weight = 200, bool fixed = false, double points = 0) {
    FontRequest f;
    f.face = face, f.height = height, f.width = width, f.weight = weight, f.fixedPitch = fixed, f.points = points;
    return f;
}
const FontRequest terminal = font("Terminal", 12, 8, 400, true), arial58 = font("ARIAL", 58, 32);

using DrawingTest = QtPlatformTest;

TEST_F(DrawingTest, LinesAndBoxesIncludeBothCornersAndFilledBoxesTheirOutline) {
    pf->setPenColour(black);
    pf->drawBox(29, 45, 89, 105);
    EXPECT_EQ(inkBox(QRect(0, 0, 200, 200), white), QRect(QPoint(29, 45), QPoint(89, 105)));
    EXPECT_EQ(pixel(88, 70), white);  // only the outline

    // A line covers both end points whichever way it runs, with the same pixels either way.
    pf->drawLine(400, 40, 410, 30);
    const QImage forward = image().copy(395, 25, 20, 20);
    EXPECT_EQ(inkBox(QRect(395, 25, 20, 20), white), QRect(QPoint(400, 30), QPoint(410, 40)));
    pf->drawLine(510, 30, 500, 40);
    EXPECT_EQ(image().copy(495, 25, 20, 20), forward);

    pf->setFillColour(grey);
    pf->drawFilledBox(100, 100, 130, 130);
    EXPECT_EQ(inkBox(QRect(90, 90, 50, 50), white), QRect(QPoint(100, 100), QPoint(130, 130)));
    EXPECT_EQ(inkBox(QRect(101, 101, 29, 29), grey), QRect());
    for (int i = 100; i <= 130; ++i)  // the outline
        EXPECT_TRUE(pixel(i, 100) == 0 && pixel(i, 130) == 0 && pixel(100, i) == 0 && pixel(130, i) == 0) << i;
}

TEST_F(DrawingTest, XorTwiceRestoresSavedAreasComeBackWhateverTheRasterModeAndMergeOrs) {
    pf->setPenColour(teal);
    pf->setFillColour(grey);
    pf->drawFilledBox(10, 10, 300, 200);
    pf->selectFont(arial58);
    pf->drawText(20, 40, "8");
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
        if (round == 0) {  // corners belong to two edges but change once; wide pens start a pixel before
            EXPECT_EQ(std::make_tuple(pixel(19, 29), pixel(100, 50), pixel(150, 100)),
                      std::make_tuple(grey ^ 0x00FF80, grey ^ 0x00FF80, grey ^ 0x804020));
        }
    }
    EXPECT_EQ(image(), before);

    SavedAreaId area = pf->saveArea(13, 16, 103, 106);
    pf->setFillColour(0x0F0F0F);
    pf->drawFilledBox(0, 0, 110, 110);
    pf->restoreArea(area, 13, 16);  // still in XOR mode
    EXPECT_EQ(image().copy(13, 16, 91, 91), before.copy(13, 16, 91, 91));
    EXPECT_NE(pixel(12, 16), before.pixel(12, 16) & 0xFFFFFFu);  // outside the area the XOR stays
    pf->restoreArea(area, 800, 600);  // elsewhere, clipped at the canvas edge
    EXPECT_EQ(image().copy(800, 600, 62, 74), before.copy(13, 16, 62, 74));
    pf->discardArea(area);
    const QImage kept = image().copy();
    pf->restoreArea(area, 13, 16);
    EXPECT_EQ(image(), kept);
    // Text in XOR mode is inked plainly: the game draws its glyphs that way.
    pf->setPenColour(red);
    pf->drawText(300, 300, "8");
    EXPECT_GT(inkBox(QRect(300, 300, 50, 60), red, false).width(), 20);
    EXPECT_TRUE(inkBox(QRect(300, 300, 50, 60), white ^ red, false).isEmpty());

    pf->setRasterMode(RasterMode::MergePen);
    pf->setPenColour(0x00FF00);
    pf->drawLine(15, 190, 290, 190);
    EXPECT_EQ(std::make_pair(pixel(100, 190), pixel(100, 191)), std::make_pair(grey | 0x00FF00, grey));
}

TEST_F(DrawingTest, TextCellsOpaqueOrTransparentFixedFacesAdvanceEightPixelsAndUmlautsShow) {
    pf->selectFont(terminal);
    pf->setPenColour(black);
    pf->setFillColour(grey);
    pf->setTextOpaque(true);
    pf->drawText(100, 50, " x ");
    EXPECT_EQ(inkBox(QRect(90, 40, 50, 40), white), QRect(100, 50, 24, 12));  // 3 cells of 8 x 12
    EXPECT_EQ(pixel(123, 61), grey);
    pf->setTextOpaque(false);
    pf->drawText(100, 100, " x ");
    const QRect ink = inkBox(QRect(90, 90, 50, 40), white);
    EXPECT_TRUE(!ink.isEmpty() && QRect(108, 100, 8, 12).contains(ink)) << "only the x is inked";

    // Opaque cells: fixed faces advance 8 pixels; the layout's "8" is as high as asked, its advance scaled.
    pf->setTextOpaque(true);
    for (const FontRequest& f : {terminal, font("Fixedsys", 0, 0, 400, false, 9)}) {
        image().fill(Qt::white);
        pf->selectFont(f);
        pf->drawText(200, 200, "MMMM");
        const QImage first = image().copy(200, 190, 8, 40);
        EXPECT_FALSE(inkBox(QRect(200, 190, 8, 40), white).isEmpty()) << f.face;
        for (int i = 1; i < 4; ++i) EXPECT_EQ(image().copy(200 + 8 * i, 190, 8, 40), first) << f.face << " " << i;
        EXPECT_TRUE(inkBox(QRect(232, 180, 20, 60), white).isEmpty()) << f.face;
    }
    const struct { FontRequest font; int eightWidth; } cases[] = {{arial58, 40}, {font("ARIAL", 30, 16), 20},
        {font("ARIAL", 26, 14), 18}, {font("ARIAL", 21, 10, 400), 13}, {font("ARIAL", 12, 6), 8}};
    for (const auto& c : cases) {
        image().fill(Qt::white);
        pf->selectFont(c.font);
        pf->drawText(100, 100, "8");
        const QRect box = inkBox(QRect(90, 90, 100, 100), white);
        EXPECT_EQ(box, QRect(100, 100, box.width(), c.font.height)) << c.font.height;
        EXPECT_NEAR(box.width(), c.eightWidth, 1) << c.font.height;
    }

    pf->setTextOpaque(false);
    auto render = [&](const char* text, const FontRequest& f) {
        image().fill(Qt::white);
        pf->selectFont(f);
        pf->drawText(50, 50, text);
        return image().copy(40, 40, 60, 80);
    };
    for (const FontRequest& f : {terminal, font("ARIAL", 26, 14), font("System", 0, 0, 400, false, 9.75)}) {
        const QImage missing = render("\xF4\x8F\xBF\xBD", f);  // a code point no font has
        for (const auto& [umlaut, plain] : {std::pair{"ä", "a"}, std::pair{"ö", "o"}, std::pair{"ü", "u"},
                                            std::pair{"ß", "B"}, std::pair{"Ä", "A"}}) {
            const QImage shown = render(umlaut, f);
            EXPECT_TRUE(shown != missing && shown != render(plain, f)) << umlaut << " in " << f.face;
        }
    }
}

}  // namespace
}  // namespace nonari::test
