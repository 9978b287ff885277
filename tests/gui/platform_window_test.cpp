// Window 0 on Qt: its name and icon, message boxes, labels written from another thread, menu commands and check
// marks, closing and the program's end; the event wait with clicks and keys.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/gui/platform_fixture.h"

#include <QAction>
#include <QIcon>
#include <QLabel>

#include <thread>
#include <tuple>
#include <vector>

namespace nonari::test {
namespace {

using WindowTest = QtPlatformTest;

TEST_F(WindowTest, TheWindowCarriesTheGamesNameAndIconForTheDesktop) {
    // The desktop matches the window to its menu entry by these names.
    EXPECT_EQ(QCoreApplication::applicationName(), "nonari");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "nonari");
    const QIcon icon = qt_testing::mainWindow()->windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(48, 48), QSize(256, 256)}));
    // Drawn, not blank: the red block lines of the board are in it.
    const QImage small = icon.pixmap(QSize(48, 48)).toImage();
    int red = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) red += qRed(small.pixel(x, y)) > 180 && qGreen(small.pixel(x, y)) < 80;
    EXPECT_GT(red, 40);
}

TEST_F(WindowTest, MessageBoxReturnsThePressedButtonsNumber) {
    whenShown({}, [](QWidget* box) { QTest::keyClick(box, Qt::Key_J); });  // a plain letter presses its button
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 1);
    whenShown({}, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });  // the default button
    EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    // The Return that closed a box is released over the canvas: no key event for the game.
    later([] { QTest::keyRelease(qt_testing::canvas(), Qt::Key_Return); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
}

TEST_F(WindowTest, LabelTextPostedFromAnotherThreadArrivesOnTheGuiThread) {
    const LabelId clock = pf->createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    QLabel* label = qt_testing::label(clock);
    ASSERT_NE(label, nullptr);
    pf->setLabelText(clock, " 99:99:99");
    std::thread([&] { pf->setLabelText(clock, " 00:00:01"); }).join();
    EXPECT_EQ(label->text(), QStringLiteral(" 99:99:99"));  // posted, not yet shown
    pf->waitEvent();
    EXPECT_EQ(label->text(), QStringLiteral(" 00:00:01"));
    // A text set on the GUI thread after another was posted is the newer one: the posted one is stale.
    std::thread([&] { pf->setLabelText(clock, " 00:00:02"); }).join();
    pf->setLabelText(clock, " 99:99:99");
    QCoreApplication::processEvents();
    EXPECT_EQ(label->text(), QStringLiteral(" 99:99:99"));
    delete label;
}

TEST_F(WindowTest, MenuCommandsRunFromTheEventWaitCloseIsRefusedUnlessTheHandlerQuitsAndQuitEndsNestedLoops) {
    std::vector<int> run;
    int closes = 0, depth = 0, deepest = 0;
    MainWindowHandlers handlers;
    handlers.close = [&] {
        if (++closes == 2) pf->quit();
    };
    handlers.menuEvent = [&](int id) {
        run.push_back(id);
        if (id != 10) return;
        deepest = std::max(deepest, ++depth);  // a command with its own loop, the way the play loops wait
        while (!pf->appEnding()) pf->waitEvent();
        --depth;
    };
    pf->setMainWindowHandlers(handlers);
    MenuId bar = pf->createMenuBar(), game = pf->createPopup();
    EXPECT_TRUE(pf->appendMenuItem(game, 30, "&Leicht") && pf->appendMenuItem(game, 10, "&Spielstart") &&
                pf->appendMenuPopup(bar, game, "&Nonari"));
    EXPECT_EQ(pf->setMenuBar(bar), 0);
    // A command runs from the wait, not from inside the menu's own handling, and leaves its check mark to the game.
    pf->checkMenuItem(30, true);
    qt_testing::menuAction(30)->trigger();
    EXPECT_TRUE(run.empty());
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(run, std::vector<int>{30});
    EXPECT_TRUE(qt_testing::menuAction(30)->isChecked());
    pf->checkMenuItem(30, false);
    EXPECT_FALSE(qt_testing::menuAction(30)->isChecked());

    later([] { qt_testing::mainWindow()->close(); });
    while (closes == 0) pf->waitEvent();
    EXPECT_TRUE(qt_testing::mainWindow()->isVisible() && !pf->appEnding());
    later([] { qt_testing::menuAction(10)->trigger(); }, 0);
    later([] { qt_testing::menuAction(10)->trigger(); }, 10);
    later([] { qt_testing::mainWindow()->close(); }, 30);  // from inside the inner loop
    while (!pf->appEnding()) pf->waitEvent();
    EXPECT_EQ(std::make_pair(deepest, depth), std::make_pair(2, 0));
    EXPECT_FALSE(qt_testing::mainWindow()->isVisible() || pf->mainWindowExists());
    // Once ending, waits return at once and boxes answer with their default.
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    pf->destroyMenu(bar);
}

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

}  // namespace
}  // namespace nonari::test
