// Keyboard play on the Qt screen: the cursor through redraws, clash marks, taking back to the pixel, the pause.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/play_keys.h"
#include "app/play_loops.h"
#include "app/startup.h"
#include "platform/system.h"
#include "logic/rules.h"
#include "screen/board_view.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/side_panels.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QLabel>

namespace nonari::test {
namespace {

constexpr Rgb cursorBlue = 0x0000BC, clashRed = 0xFF0000;

class KeyboardPlay : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        startNonari();
        const Grid solution = gridFromText("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
        for (int c = 1; c <= 9; ++c)
            for (int r = 1; r <= 9; ++r)
                if ((c + r) % 3 != 0) game.puzzle.board(c, r) = game.puzzle.givens(c, r) = solution(c, r);
        drawBoard();
        showDifficultyLine();
        startHistory();
    }
    void TearDown() override {
        game.clock.clockRunning = false;
        joinClockThread();
        QtPlatformTest::TearDown();
    }
    static void key(int code, int modifiers = 0) {
        handlePlayKey(InputEvent{EventKind::KeyUp, code, 0, 0, modifiers}, PlayMode::Game);
        recordStep();
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

TEST_F(KeyboardPlay, CursorFrameAndClashMarksSurviveRedrawsFollowTheBoardAndLeaveNoTrace) {
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
    restartBoard(game.puzzle.board, game.puzzle.givens, game.puzzle.candidates);
    hideCursor();
    drawBoard();
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

TEST_F(KeyboardPlay, TakingBackAndRedoingRestoreStateAndScreenExactly) {
    using Shot = std::tuple<PuzzleState, std::string, QImage>;
    auto shot = [] {  // the cursor's moves are no steps: the screen without it
        const int column = game.picker.cursorColumn, row = game.picker.cursorRow;
        hideCursor();
        Shot taken{game.puzzle, game.screen.statusText, image().copy()};
        placeCursor(column, row);
        return taken;
    };
    auto same = [](const Shot& a, const Shot& b) { return a == b; };
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
        EXPECT_TRUE(same(shot(), shots[i])) << "back to step " << i;
    }
    key('Z', ctrlHeld);  // nothing before the start
    EXPECT_TRUE(same(shot(), shots[0]));
    for (std::size_t i = 1; i < shots.size(); ++i) {
        key(i % 2 ? 'Y' : 'Z', ctrlHeld | (i % 2 ? 0 : shiftHeld));
        EXPECT_TRUE(same(shot(), shots[i])) << "forward to step " << i;
    }
    key('Z', ctrlHeld), key('Z', ctrlHeld), key('3');  // a new step drops what was taken back
    key('Y', ctrlHeld);
    EXPECT_EQ(game.puzzle.board(5, 1), 3);
    Win_0_MenuEvent(menuId(MenuCommand::ClearBoard));  // a new history
    key('Z', ctrlHeld);
    EXPECT_EQ(game.puzzle.givens, Grid{});
}

TEST_F(KeyboardPlay, APauseCoversTheBoardAndItsSecondsAreNotCounted) {
    QLabel* clock = qt_testing::label(game.screen.uhr);
    const QImage before = board();
    game.clock.clockRunning = true;
    game.clock.startTime = currentTime() - 5.5;
    game.clock.lastClockSecond = -1.0;
    auto press = [](Qt::Key k) { QTest::keyClick(qt_testing::canvas(), k); };
    QImage covered;
    std::string shown;
    later([&] { press(Qt::Key_P); });
    later([&] {
        covered = board();
        shown = clock->text().toStdString();
        qt_testing::mainWindow()->showMinimized();  // hiding during the pause: any key goes on
    }, 1300);
    later([&] {
        EXPECT_EQ(clock->text().toStdString(), shown) << "the clock stands still";
        qt_testing::mainWindow()->showNormal();
        press(Qt::Key_N);
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

}  // namespace
}  // namespace nonari::test
