// Window 0 on Qt: position and size, background, pointer, message boxes, labels, closing and program end.
#include "tests/gui/platform_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

namespace nonari::test {
namespace {

using WindowTest = QtPlatformTest;

TEST_F(WindowTest, WindowSitsWhereAskedWithAFixedClientAreaItsBackgroundAndPointer) {
    pf->openMainWindow(81, 5, 862, 723);
    QCoreApplication::processEvents();
    EXPECT_EQ(std::make_pair(pf->mainWindowLeft(), pf->mainWindowTop()), std::make_pair(81, 5));
    EXPECT_EQ(qt_testing::canvas()->size(), QSize(862, 674));
    EXPECT_EQ(qt_testing::mainWindow()->minimumSize(), qt_testing::mainWindow()->maximumSize());
    pf->setBackgroundColour(0xB4C9D0);
    EXPECT_EQ(pixel(861, 673), 0xB4C9D0u);
    // A picture, left half red and right half blue, is stretched to 128 x 128 tiles; a missing one is refused.
    QTemporaryDir dir;
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    ASSERT_TRUE(picture.save(dir.filePath("muster.png")));
    EXPECT_TRUE(pf->setBackgroundPicture(dir.filePath("muster.png").toStdString()));
    EXPECT_EQ(std::make_pair(pixel(512 + 10, 512 + 120), pixel(512 + 100, 512)), std::make_pair(0xFF0000u, 0x0000FFu));
    EXPECT_FALSE(pf->setBackgroundPicture(dir.filePath("fehlt.jpg").toStdString()));
    // The pointer hides while the hides outnumber the shows.
    for (bool show : {false, false, true}) pf->showPointer(show);
    EXPECT_EQ(qt_testing::canvas()->cursor().shape(), Qt::BlankCursor);
    pf->showPointer(true);
    EXPECT_NE(qt_testing::canvas()->cursor().shape(), Qt::BlankCursor);
}

TEST_F(WindowTest, MessageBoxReturnsThePressedButtonsNumber) {
    pf->setTitle("Nonari QV V5.0 by Pelmo");
    onMessageBox([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Nonari QV V5.0 by Pelmo"));
        EXPECT_EQ(box->text(), QStringLiteral("Spiel beenden?"));
        EXPECT_EQ(box->parentWidget(), qt_testing::mainWindow());
        EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&NEIN"));
        QTest::keyClick(box, Qt::Key_J);  // a plain letter presses its button
    });
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 1);
    // Return takes the default, Escape the last button.
    for (const auto& [defaultButton, key, result] : {std::tuple{2, Qt::Key_Return, 2}, std::tuple{1, Qt::Key_Return, 1},
                                                     std::tuple{1, Qt::Key_Escape, 2}}) {
        onMessageBox([key = key](QMessageBox* box) { QTest::keyClick(box, key); });
        EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, defaultButton, "&JA|&NEIN"), result) << key;
    }
    // The Return that closed a box is released over the canvas: no key event for the game.
    later([] { QTest::keyRelease(qt_testing::canvas(), Qt::Key_Return); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
}

TEST_F(WindowTest, LabelTextPostedFromAnotherThreadArrivesOnTheGuiThread) {
    const LabelId clock = pf->createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    QLabel* label = qt_testing::label(clock);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), qt_testing::canvas());
    pf->setLabelText(clock, " 99:99:99");
    std::thread([&] { pf->setLabelText(clock, " 00:00:01"); }).join();
    EXPECT_EQ(pf->labelText(clock), " 99:99:99");  // posted, not yet shown
    pf->waitEvent();
    EXPECT_EQ(pf->labelText(clock), " 00:00:01");
    // A post made while the GUI thread already waits wakes it.
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pf->setLabelText(clock, " 00:00:02");
    });
    while (pf->labelText(clock) != " 00:00:02") pf->waitEvent();
    poster.join();
    // A disabled window (a dialog is open) does not grey the clock.
    pf->setMainWindowEnabled(false);
    EXPECT_EQ(label->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(Qt::black));
    pf->setMainWindowEnabled(true);
    delete label;
}

TEST_F(WindowTest, CloseIsRefusedUnlessTheHandlerQuitsAndQuitEndsNestedLoops) {
    int closes = 0, depth = 0, deepest = 0;
    MainWindowHandlers handlers;
    handlers.close = [&] {
        if (++closes == 2) pf->quit();
    };
    handlers.menuEvent = [&](int) {  // a command with its own loop, the way the play loops wait
        deepest = std::max(deepest, ++depth);
        while (!pf->appEnding()) pf->waitEvent();
        --depth;
    };
    pf->setMainWindowHandlers(handlers);
    later([] { qt_testing::mainWindow()->close(); });
    while (closes == 0) pf->waitEvent();
    EXPECT_TRUE(qt_testing::mainWindow()->isVisible() && !pf->appEnding());
    // While a dialog has the window disabled, the close button does nothing.
    pf->setMainWindowEnabled(false);
    later([] { qt_testing::mainWindow()->close(); });
    nextInput(5);
    EXPECT_EQ(closes, 1);
    pf->setMainWindowEnabled(true);

    MenuId bar = pf->createMenuBar(), game = pf->createPopup();
    pf->appendMenuItem(game, 10, "&Spielstart");
    pf->appendMenuPopup(bar, game, "&Nonari");
    pf->setMenuBar(bar);
    later([] { qt_testing::menuAction(10)->trigger(); }, 0);
    later([] { qt_testing::menuAction(10)->trigger(); }, 10);
    later([] { qt_testing::mainWindow()->close(); }, 30);
    while (!pf->appEnding()) pf->waitEvent();
    EXPECT_EQ(std::make_pair(deepest, depth), std::make_pair(2, 0));
    EXPECT_FALSE(qt_testing::mainWindow()->isVisible() || pf->mainWindowExists());
    // Once ending, waits return at once and boxes answer with their default.
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    pf->destroyMenu(bar);
}

}  // namespace
}  // namespace nonari::test
