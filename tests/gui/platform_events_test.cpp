// The Qt platform's event wait: clicks, keys, menu commands with check marks and a disabled window.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/gui/platform_fixture.h"

#include <QAction>

#include <tuple>
#include <vector>

namespace nonari::test {
namespace {

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
    // A release whose press went elsewhere (a menu, a dialog) is not reported.
    later([] { QTest::keyRelease(canvas(), Qt::Key_L); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
}

TEST_F(EventsTest, MenuCommandsRunFromTheEventWaitAndLeaveTheirCheckMarksToTheGame) {
    std::vector<int> run;
    MainWindowHandlers handlers;
    handlers.menuEvent = [&](int id) { run.push_back(id); };
    pf->setMainWindowHandlers(handlers);
    MenuId bar = pf->createMenuBar(), game = pf->createPopup();
    EXPECT_TRUE(pf->appendMenuItem(game, 30, "&Leicht") && pf->appendMenuPopup(bar, game, "&Nonari"));
    EXPECT_EQ(pf->setMenuBar(bar), 0);
    pf->checkMenuItem(30, true);
    qt_testing::menuAction(30)->trigger();
    EXPECT_TRUE(run.empty());  // not from inside the menu's own handling
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(run, std::vector<int>{30});
    EXPECT_TRUE(qt_testing::menuAction(30)->isChecked());
    pf->checkMenuItem(30, false);
    EXPECT_FALSE(qt_testing::menuAction(30)->isChecked());
    pf->destroyMenu(bar);
}

}  // namespace
}  // namespace nonari::test
