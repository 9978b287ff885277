// The play screen on Qt: the keyboard's cursor through redraws, clash marks, taking back to the pixel, the pause, the
// clock; button labels and panel titles after redraws, a picker dropped by a menu command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_keys.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "logic/rules.h"
#include "platform/system.h"
#include "screen/board_view.h"
#include "screen/button_bar.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "tests/gui/platform_fixture.h"

#include <set>

namespace nonari::test {
namespace {

constexpr Rgb cursorBlue = 0x0000BC, clashRed = 0xFF0000, white = 0xFFFFFF;

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
    const std::function<void()> redraws[] = {
        [] { drawBoard(); },
        [] { runPlayCommand(PlayCommand::FillNotes, PlayMode::Game); },
        [] { drawDigitPicker(2, 7), restorePickerBackground(), closePicker(); },
        [] { key('4', shiftHeld); },
        [] { drawStatisticsPanel(); },
        [] { runPlayCommand(PlayCommand::Solve, PlayMode::Game); },
    };
    for (const auto& redraw : redraws) {
        redraw();
        EXPECT_EQ(count(cell(2, 7), cursorBlue), frame);
    }
    restartBoard(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates), hideCursor(), drawBoard();
    EXPECT_TRUE(board() == before) << "without the cursor the board is as it was";

    game.clock.clockRunning = true;
    placeCursor(2, 1);  // 4 is in the row already, at (3, 1)
    key('4');
    EXPECT_EQ(game.screen.statusText, "Falsche Zahl! ");
    EXPECT_GT(count(cell(2, 1), clashRed), 100);
    EXPECT_GT(count(cell(3, 1), clashRed), 100) << "the given it repeats is marked too";
    EXPECT_EQ(count(cell(5, 5), clashRed), 0);
    Win_0_MenuEvent(menuId(MenuCommand::MarkClashes));
    EXPECT_EQ(count(cell(2, 1), clashRed) + count(cell(3, 1), clashRed), 0);
    Win_0_MenuEvent(menuId(MenuCommand::MarkClashes));
    EXPECT_GT(count(cell(3, 1), clashRed), 100);
    EXPECT_TRUE(game.clock.clockRunning);
    key(KeyDelete);
    hideCursor();
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
        [] { key(KeyBackspace); },
        [] { runPlayCommand(PlayCommand::FillNotes, PlayMode::Game), recordStep(); },
        [] { runPlayCommand(PlayCommand::ClearNotes, PlayMode::Game), recordStep(); },
        [] { runPlayCommand(PlayCommand::Restart, PlayMode::Game), recordStep(); },
    };
    for (const auto& step : steps) step(), shots.push_back(shot());
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
    startTimedGame(0.8);
    startClockThread();
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
