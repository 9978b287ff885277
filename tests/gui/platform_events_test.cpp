// The Qt platform's event wait: clicks, keys, mouse moves, menu commands and a disabled window.
#include "tests/gui/platform_fixture.h"

#include <QAction>
#include <QMenuBar>

#include <tuple>
#include <vector>

namespace nonari::test {
namespace {

using EventsTest = QtPlatformTest;

QtCanvas* canvas() { return qt_testing::canvas(); }

TEST_F(EventsTest, PressesArriveAfterThePointerMovedToThemAndADisabledWindowTakesNoInput) {
    std::vector<std::tuple<int, double, double>> moves;
    MainWindowHandlers handlers;
    handlers.mouseMove = [&](int button, int, double x, double y) { moves.emplace_back(button, x, y); };
    pf->setMainWindowHandlers(handlers);
    pf->setMainWindowEnabled(false);
    later([] { QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(100, 100)); });
    later([] { QTest::keyClick(canvas(), Qt::Key_A); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
    pf->setMainWindowEnabled(true);

    later([] { QTest::mouseClick(canvas(), Qt::RightButton, {}, QPoint(500, 40)); });
    EXPECT_EQ(nextInput().kind, EventKind::RightPress);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), std::make_tuple(2, 500.0, 40.0));
    later([] { QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(100, 120)); });
    const InputEvent press = nextInput();
    EXPECT_EQ(std::make_tuple(press.kind, press.x, press.y), std::make_tuple(EventKind::LeftPress, 100.0, 120.0));
    EXPECT_EQ(moves.back(), std::make_tuple(1, 100.0, 120.0));
    EXPECT_TRUE(pf->mouseButtonHeld());
    later([] { QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(101, 120)); }, 20);
    while (pf->mouseButtonHeld()) pf->waitEvent();  // no ticker: only the release can end this loop
    // A move reaches the handler at once and queues nothing.
    moves.clear();
    later([] { QTest::mouseMove(canvas(), QPoint(300, 200)); });
    while (moves.empty()) EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(moves.back(), std::make_tuple(0, 300.0, 200.0));
    EXPECT_EQ(qt_testing::queuedEntries(), 0u);
}

TEST_F(EventsTest, KeysGiveTheirCharacterOnPressAndVirtualKeyOnRelease) {
    const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; int character; std::vector<int> released; } cases[] = {
        {Qt::Key_A, {}, 'a', {65}}, {Qt::Key_7, {}, '7', {55}}, {Qt::Key_Escape, {}, 27, {27}},
        {Qt::Key_Return, {}, 13, {13}}, {Qt::Key_Enter, Qt::KeypadModifier, 13, {13}},
        {Qt::Key_unknown, Qt::ShiftModifier, 'A', {65, 16}},  // typed 'A': the letter's virtual key, then Shift's
    };
    for (const auto& c : cases) {
        later([&c] {
            if (c.key == Qt::Key_unknown) return QTest::keyClick(canvas(), 'A', c.modifiers);
            QTest::keyClick(canvas(), c.key, c.modifiers);
        });
        InputEvent event = nextInput();
        EXPECT_EQ(std::make_pair(event.kind, event.code), std::make_pair(EventKind::Char, c.character));
        for (int virtualKey : c.released) {
            event = nextInput();
            EXPECT_EQ(std::make_pair(event.kind, event.code), std::make_pair(EventKind::KeyUp, virtualKey))
                << c.character;
        }
    }
    // A release whose press went elsewhere (a menu, a dialog) is not reported.
    later([] { QTest::keyRelease(canvas(), Qt::Key_L); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
    EXPECT_EQ(qt_testing::queuedEntries(), 0u);
}

TEST_F(EventsTest, MenusHaveCheckMarksAndTheirCommandsRunFromTheEventWaitAndMayNest) {
    std::vector<std::string> trace;
    MainWindowHandlers handlers;
    handlers.menuEvent = [&](int id) {
        trace.push_back("begin " + std::to_string(id));
        if (id == 10) {  // a play loop: waits for events until the next command has run inside it
            later([] { qt_testing::menuAction(99)->trigger(); });
            while (trace.back() != "end 99" && !pf->appEnding()) pf->waitEvent();
        }
        trace.push_back("end " + std::to_string(id));
    };
    pf->setMainWindowHandlers(handlers);
    MenuId bar = pf->createMenuBar(), game = pf->createPopup();
    for (const auto& [id, text] : {std::pair{10, "&Spielstart"}, std::pair{30, "&Leicht"}, std::pair{99, "&Beenden"}})
        EXPECT_TRUE(pf->appendMenuItem(game, id, text));
    EXPECT_TRUE(pf->appendMenuPopup(bar, game, "&Nonari"));
    EXPECT_EQ(pf->setMenuBar(bar), 0);
    QCoreApplication::processEvents();  // the canvas sits below the bar and keeps its size
    EXPECT_EQ(canvas()->geometry(), QRect(0, qt_testing::installedMenuBar()->height(), 862, 674));

    pf->checkMenuItem(30, true);
    EXPECT_FALSE(qt_testing::menuAction(10)->isCheckable());
    qt_testing::menuAction(30)->trigger();
    EXPECT_TRUE(trace.empty());  // not from inside the menu's own handling
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_TRUE(qt_testing::menuAction(30)->isChecked());  // choosing an item leaves its check mark to the game
    pf->checkMenuItem(30, false);
    EXPECT_FALSE(qt_testing::menuAction(30)->isChecked());
    qt_testing::menuAction(10)->trigger();
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(trace, (std::vector<std::string>{"begin 30", "end 30", "begin 10", "begin 99", "end 99", "end 10"}));
    pf->destroyMenu(bar);
    EXPECT_EQ(qt_testing::installedMenuBar(), nullptr);
}

}  // namespace
}  // namespace nonari::test
