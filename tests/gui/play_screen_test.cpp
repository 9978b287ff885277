// The play screen on Qt after redraws: button labels and panel titles drawn again, a picker dropped by a menu command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "platform/platform.h"
#include "screen/button_bar.h"
#include "screen/layout.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <set>

namespace nonari::test {
namespace {

constexpr Rgb white = 0xFFFFFF;

// The strip under the board, and the band of every panel between its outer frame and its well, where its title is.
const std::pair<const char*, QRect> bands[] = {
    {"button strip", QRect(QPoint(28, 595), QPoint(570, 626))},
    {"SPIELBRETT:", QRect(QPoint(23, 19), QPoint(574, 43))},
    {"STATISTIK:", QRect(QPoint(606, 203), QPoint(834, 221))},
    {"STATUSMELDUNG:", QRect(QPoint(606, 295), QPoint(834, 313))},
    {"SCHWIERIGKEITSGRAD:", QRect(QPoint(606, 387), QPoint(834, 405))},
    {"HILFEFENSTER:", QRect(QPoint(606, 479), QPoint(834, 497))},
    {"ZEITMESSUNG:", QRect(QPoint(626, 565), QPoint(812, 583))},
};

const std::pair<const char*, int> buttonLabels[] = {{" _Laden ", 30},    {" _Sichern ", 108}, {" _Drucken ", 202},
                                                    {" _Neustart ", 296}, {" _Hilfe ", 398},  {" _Abbruch ", 476}};

// Runs the step from the event loop once the condition holds; gives up after five seconds.
void once(std::function<bool()> holds, std::function<void()> step, int tries = 500) {
    later([=] {
        if (holds()) step();
        else if (tries > 0) once(holds, step, tries - 1);
        else ADD_FAILURE() << "the awaited state did not come";
    }, 10);
}

class PlayScreen : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        startNonari();
        for (const auto& [label, left] : buttonLabels) drawButton(0, left, 598, label);
        for (const auto& [what, area] : bands) first.push_back(image().copy(area));
    }
    TempWorkDir work;
    std::vector<QImage> first;
};

TEST_F(PlayScreen, TenPressesOfEachButtonAndTwentyBoardCommandsLeaveStripAndTitlesAsFirstDrawn) {
    for (const auto& [label, left] : buttonLabels) {
        for (int press = 0; press < 10; ++press) drawButton(1, left, 598, label), drawButton(0, left, 598, label);
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
    pf->restoreArea(game.screen.savedStrip, strip.left(), strip.top());
    drawButtonBar();
    const QImage buttons = image().copy(strip);
    game.puzzle.givens.clear();
    QImage after;
    QRect hintTail;
    const QPoint cell(29 + 4 * 60 + 30, 45 + 8 * 60 + 30);  // column 5, row 9
    auto click = [cell] { QTest::mouseClick(qt_testing::canvas(), Qt::LeftButton, {}, cell); };
    auto escape = [] {
        QTest::keyPress(qt_testing::canvas(), Qt::Key_Escape);
        QTest::keyRelease(qt_testing::canvas(), Qt::Key_Escape);
    };
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
