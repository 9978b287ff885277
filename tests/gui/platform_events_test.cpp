// The Qt platform's event wait: clicks, keys, mouse moves, menu commands and a disabled window.
#include "tests/gui/platform_fixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <tuple>
#include <vector>

namespace nonari::test {
namespace {

using EventsTest = QtPlatformTest;

QtCanvas* canvas() { return qt_testing::canvas(); }

TEST_F(EventsTest, PressesArriveWithThePointerMovedToThemFirst) {
    std::vector<std::tuple<int, double, double>> moves;
    MainWindowHandlers handlers;
    handlers.mouseMove = [&](int button, int, double x, double y) { moves.emplace_back(button, x, y); };
    pf->setMainWindowHandlers(handlers);

    later([] { QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(100, 120)); });
    InputEvent press = nextInput();
    EXPECT_EQ(press.kind, EventKind::LeftPress);
    EXPECT_EQ(press.x, 100);
    EXPECT_EQ(press.y, 120);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), std::make_tuple(1, 100.0, 120.0));
    EXPECT_EQ(pf->currentEvent().kind, EventKind::LeftPress);
    EXPECT_FALSE(pf->mouseButtonHeld());

    later([] { QTest::mouseClick(canvas(), Qt::RightButton, {}, QPoint(500, 40)); });
    press = nextInput();
    EXPECT_EQ(press.kind, EventKind::RightPress);
    EXPECT_EQ(moves.back(), std::make_tuple(2, 500.0, 40.0));

    // A move reaches the handler at once and queues nothing.
    moves.clear();
    later([] { QTest::mouseMove(canvas(), QPoint(300, 200)); });
    while (moves.empty()) EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(std::get<1>(moves.back()), 300);
    EXPECT_EQ(std::get<2>(moves.back()), 200);
    EXPECT_EQ(qt_testing::queuedEntries(), 0u);
}

TEST_F(EventsTest, ReleasingTheButtonWakesAWaitForRelease) {
    later([] { QTest::mousePress(canvas(), Qt::LeftButton, {}, QPoint(60, 60)); });
    EXPECT_EQ(nextInput().kind, EventKind::LeftPress);
    EXPECT_TRUE(pf->mouseButtonHeld());
    later([] { QTest::mouseRelease(canvas(), Qt::LeftButton, {}, QPoint(61, 60)); }, 20);
    // Without a ticker: only the release itself can end this loop.
    while (pf->mouseButtonHeld()) pf->waitEvent();
    EXPECT_FALSE(pf->mouseButtonHeld());
    EXPECT_EQ(qt_testing::queuedEntries(), 0u);
}

TEST_F(EventsTest, KeysGiveTheirCharacterOnPressAndVirtualKeyOnRelease) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int character;
        int virtualKey;
    };
    const Case cases[] = {
        {Qt::Key_K, Qt::NoModifier, 'k', 75},     {Qt::Key_7, Qt::NoModifier, '7', 55},
        {Qt::Key_Escape, Qt::NoModifier, 27, 27}, {Qt::Key_Return, Qt::NoModifier, 13, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13, 13},
    };
    for (const Case& c : cases) {
        later([c] { QTest::keyClick(canvas(), c.key, c.modifiers); });
        InputEvent typed = nextInput();
        EXPECT_EQ(typed.kind, EventKind::Char) << c.key;
        EXPECT_EQ(typed.code, c.character) << c.key;
        InputEvent released = nextInput();
        EXPECT_EQ(released.kind, EventKind::KeyUp) << c.key;
        EXPECT_EQ(released.code, c.virtualKey) << c.key;
        EXPECT_EQ(pf->currentEvent().code, c.virtualKey);
    }

    // An upper-case letter has the same virtual key; the Shift key reports its own release.
    later([] { QTest::keyClick(canvas(), 'K', Qt::ShiftModifier); });
    InputEvent typed = nextInput();
    EXPECT_EQ(typed.kind, EventKind::Char);
    EXPECT_EQ(typed.code, 'K');
    InputEvent letter = nextInput();
    EXPECT_EQ(letter.kind, EventKind::KeyUp);
    EXPECT_EQ(letter.code, 75);
    InputEvent shift = nextInput();
    EXPECT_EQ(shift.kind, EventKind::KeyUp);
    EXPECT_EQ(shift.code, 16);

    // A release whose press went elsewhere (a menu, a dialog) is not reported.
    later([] { QTest::keyRelease(canvas(), Qt::Key_L); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
    EXPECT_EQ(qt_testing::queuedEntries(), 0u);
}

class MenuTest : public QtPlatformTest {
protected:
    void TearDown() override {
        for (MenuId menu : created) pf->destroyMenu(menu);
        QtPlatformTest::TearDown();
    }
    MenuId track(MenuId menu) {
        created.push_back(menu);
        return menu;
    }
    std::vector<MenuId> created;
};

TEST_F(MenuTest, MenusAreBuiltInOrderWithCheckMarksAndReplaced) {
    MenuId bar = track(pf->createMenuBar());
    MenuId game = pf->createPopup();
    MenuId more = pf->createPopup();
    ASSERT_NE(bar, 0);
    ASSERT_NE(game, more);
    EXPECT_TRUE(pf->appendMenuItem(game, 8, "&Neues Spiel"));
    EXPECT_TRUE(pf->appendMenuSeparator(game));
    EXPECT_TRUE(pf->appendMenuItem(game, 30, "&Leicht"));
    EXPECT_TRUE(pf->appendMenuItem(more, 1, "über &Nonari..."));
    EXPECT_TRUE(pf->appendMenuPopup(game, more, "&Mehr"));
    EXPECT_TRUE(pf->appendMenuPopup(bar, game, "&Nonari"));
    EXPECT_FALSE(pf->appendMenuItem(9999, 5, "nirgends"));
    EXPECT_EQ(pf->setMenuBar(bar), 0);

    QMenuBar* shown = qt_testing::installedMenuBar();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->isNativeMenuBar());
    ASSERT_EQ(shown->actions().size(), 1);
    EXPECT_EQ(shown->actions()[0]->text(), QStringLiteral("&Nonari"));
    QList<QAction*> items = qt_testing::popupMenu(game)->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Neues Spiel"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QStringLiteral("&Leicht"));
    EXPECT_EQ(items[3]->menu(), qt_testing::popupMenu(more));
    EXPECT_EQ(qt_testing::popupMenu(more)->actions()[0]->text(), QStringLiteral("über &Nonari..."));
    // The canvas sits below the bar and keeps its size.
    QCoreApplication::processEvents();
    EXPECT_EQ(canvas()->y(), shown->height());
    EXPECT_EQ(canvas()->size(), QSize(862, 674));

    pf->checkMenuItem(30, true);
    EXPECT_TRUE(qt_testing::menuAction(30)->isCheckable());
    EXPECT_TRUE(qt_testing::menuAction(30)->isChecked());
    EXPECT_FALSE(qt_testing::menuAction(8)->isCheckable());
    pf->checkMenuItem(30, false);
    EXPECT_FALSE(qt_testing::menuAction(30)->isChecked());
    // Choosing an item leaves its check mark to the game.
    pf->checkMenuItem(30, true);
    qt_testing::menuAction(30)->trigger();
    EXPECT_TRUE(qt_testing::menuAction(30)->isChecked());
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);

    // A new bar replaces the old one, which its owner then destroys with its popups.
    MenuId second = track(pf->createMenuBar());
    EXPECT_EQ(pf->setMenuBar(second), bar);
    EXPECT_FALSE(shown->isVisible());
    pf->destroyMenu(bar);
    EXPECT_EQ(qt_testing::popupMenu(game), nullptr);
    EXPECT_EQ(qt_testing::popupMenu(more), nullptr);
    EXPECT_EQ(qt_testing::menuAction(30), nullptr);
    pf->destroyMenu(second);
    EXPECT_EQ(qt_testing::installedMenuBar(), nullptr);
}

TEST_F(MenuTest, CommandsRunFromTheEventWaitAndMayNest) {
    MenuId bar = track(pf->createMenuBar());
    MenuId game = pf->createPopup();
    pf->appendMenuItem(game, 10, "&Spielstart");
    pf->appendMenuItem(game, 99, "&Beenden");
    pf->appendMenuPopup(bar, game, "&Nonari");
    pf->setMenuBar(bar);

    std::vector<std::string> trace;
    MainWindowHandlers handlers;
    handlers.menuEvent = [&](int id) {
        trace.push_back("begin " + std::to_string(id));
        if (id == 10) {
            // A play loop: waits for events until the next command has run inside it.
            later([] { qt_testing::menuAction(99)->trigger(); });
            while (trace.back() != "end 99" && !pf->appEnding()) pf->waitEvent();
        }
        trace.push_back("end " + std::to_string(id));
    };
    pf->setMainWindowHandlers(handlers);

    qt_testing::menuAction(10)->trigger();
    EXPECT_TRUE(trace.empty());  // not from inside the menu's own handling
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(trace, (std::vector<std::string>{"begin 10", "begin 99", "end 99", "end 10"}));
}

TEST_F(MenuTest, AltAndTheUnderlinedLetterOpensThePopup) {
    MenuId bar = track(pf->createMenuBar());
    MenuId game = pf->createPopup();
    pf->appendMenuItem(game, 8, "&Neues Spiel");
    pf->appendMenuPopup(bar, game, "&Nonari");
    pf->setMenuBar(bar);
    qt_testing::mainWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(qt_testing::mainWindow()));
    QTest::keyClick(qt_testing::mainWindow(), Qt::Key_N, Qt::AltModifier);
    QMenu* popup = qt_testing::popupMenu(game);
    EXPECT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 1000));
    popup->close();
}

TEST_F(EventsTest, ADisabledWindowTakesNoInput) {
    pf->setMainWindowEnabled(false);
    later([] { QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(100, 100)); });
    later([] { QTest::keyClick(canvas(), Qt::Key_A); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
    pf->setMainWindowEnabled(true);
    EXPECT_TRUE(canvas()->hasFocus() || !qt_testing::mainWindow()->isActiveWindow());
    later([] { QTest::mouseClick(canvas(), Qt::LeftButton, {}, QPoint(100, 100)); });
    EXPECT_EQ(nextInput().kind, EventKind::LeftPress);
}

}  // namespace
}  // namespace nonari::test
