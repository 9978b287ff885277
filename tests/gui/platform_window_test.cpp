// Window 0 on Qt: position and size, background, pointer, message boxes, labels, closing and program end.
#include "tests/gui/platform_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

namespace nonari::test {
namespace {

using WindowTest = QtPlatformTest;

// Acts on the message box as soon as it is open.
void onMessageBox(std::function<void(QMessageBox*)> act) {
    later([act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            onMessageBox(act);  // not open yet: look again
            return;
        }
        act(box);
    }, 5);
}

QAbstractButton* buttonCalled(QMessageBox* box, const char* text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == QString::fromUtf8(text)) return button;
    return nullptr;
}

TEST_F(WindowTest, WindowSitsWhereAskedWithAFixedClientArea) {
    pf->setTitle("Nonari QV V5.0 by Pelmo");
    pf->openMainWindow(81, 5, 862, 723);
    QCoreApplication::processEvents();
    EXPECT_EQ(pf->mainWindowLeft(), 81);
    EXPECT_EQ(pf->mainWindowTop(), 5);
    EXPECT_TRUE(pf->mainWindowExists());
    EXPECT_EQ(qt_testing::canvas()->size(), QSize(862, 674));
    EXPECT_EQ(qt_testing::mainWindow()->minimumSize(), qt_testing::mainWindow()->maximumSize());
}

TEST_F(WindowTest, BackgroundColourAndTiledPicture) {
    pf->setBackgroundColour(0xB4C9D0);
    EXPECT_EQ(pixel(0, 0), 0xB4C9D0u);
    EXPECT_EQ(pixel(861, 673), 0xB4C9D0u);

    QTemporaryDir dir;
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 32; ++y)
        for (int x = 32; x < 64; ++x) picture.setPixel(x, y, qRgb(0, 0, 255));
    const QString path = dir.filePath(QStringLiteral("muster.png"));
    ASSERT_TRUE(picture.save(path));
    EXPECT_TRUE(pf->setBackgroundPicture(path.toStdString()));
    // Each tile is the picture stretched to 128 x 128.
    for (int tileX : {0, 128, 640})
        for (int tileY : {0, 128, 512}) {
            EXPECT_EQ(pixel(tileX + 10, tileY + 10), 0xFF0000u) << tileX << "," << tileY;
            EXPECT_EQ(pixel(tileX + 100, tileY + 120), 0x0000FFu) << tileX << "," << tileY;
        }
    const QImage tiled = image().copy();
    EXPECT_FALSE(pf->setBackgroundPicture(dir.filePath(QStringLiteral("fehlt.jpg")).toStdString()));
    EXPECT_EQ(image(), tiled);
}

TEST_F(WindowTest, PointerHidesWhileTheCountIsBelowZero) {
    pf->showPointer(false);
    pf->showPointer(false);
    pf->showPointer(true);
    EXPECT_EQ(qt_testing::pointerHideCount(), -1);
    EXPECT_EQ(qt_testing::canvas()->cursor().shape(), Qt::BlankCursor);
    pf->showPointer(true);
    EXPECT_NE(qt_testing::canvas()->cursor().shape(), Qt::BlankCursor);
}

TEST_F(WindowTest, MessageBoxReturnsThePressedButtonsNumber) {
    pf->setTitle("Nonari QV V5.0 by Pelmo");
    onMessageBox([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Nonari QV V5.0 by Pelmo"));
        EXPECT_EQ(box->text(), QStringLiteral("Spiel beenden?"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->parentWidget(), qt_testing::mainWindow());
        EXPECT_EQ(box->buttons().size(), 2);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&NEIN"));
        QTest::mouseClick(buttonCalled(box, "&JA"), Qt::LeftButton);
    });
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 1);

    // Return takes the default, Escape the last button, a plain letter its button.
    onMessageBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    onMessageBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, 1, "&JA|&NEIN"), 1);
    onMessageBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, 1, "&JA|&NEIN"), 2);
    onMessageBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_J); });
    EXPECT_EQ(pf->messageBox("Frage", MessageIcon::Question, 2, "&JA|&NEIN"), 1);

    onMessageBox([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->buttons().size(), 1);
        box->close();
    });
    EXPECT_EQ(pf->messageBox("Druckerfehler!", MessageIcon::Exclamation, 1, "OK"), 1);

    // The Return that closed a box is released over the canvas: no key event for the game.
    later([] { QTest::keyRelease(qt_testing::canvas(), Qt::Key_Return); });
    EXPECT_EQ(nextInput(5).kind, EventKind::None);
}

TEST_F(WindowTest, LabelTextPostedFromAnotherThreadArrivesOnTheGuiThread) {
    LabelId clock = pf->createLabel("uhr", 646, 592, 160, 30, "Arial", 24, 0xFFFFFF);
    QLabel* label = qt_testing::label(clock);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->objectName(), QStringLiteral("uhr"));
    EXPECT_EQ(label->parentWidget(), qt_testing::canvas());
    EXPECT_EQ(label->font().family(), QStringLiteral("Liberation Sans"));

    pf->setLabelText(clock, " 99:99:99");
    EXPECT_EQ(pf->labelText(clock), " 99:99:99");

    std::thread ticking([&] { pf->setLabelText(clock, " 00:00:01"); });
    ticking.join();
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

TEST_F(WindowTest, CloseRequestRunsTheHandlerFromTheWaitAndIsRefusedUnlessEnding) {
    int closes = 0;
    MainWindowHandlers handlers;
    handlers.close = [&] { ++closes; };
    pf->setMainWindowHandlers(handlers);
    later([] { qt_testing::mainWindow()->close(); }, 0);
    while (closes == 0) pf->waitEvent();
    EXPECT_TRUE(qt_testing::mainWindow()->isVisible());
    EXPECT_TRUE(pf->mainWindowExists());
    EXPECT_FALSE(pf->appEnding());

    // While a dialog has the window disabled, the close button does nothing.
    pf->setMainWindowEnabled(false);
    later([] { qt_testing::mainWindow()->close(); }, 0);
    nextInput(5);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(qt_testing::mainWindow()->isVisible());
    pf->setMainWindowEnabled(true);
}

TEST_F(WindowTest, QuitDuringNestedLoopsEndsThemAll) {
    MainWindowHandlers handlers;
    int depth = 0, deepest = 0;
    handlers.menuEvent = [&](int) {
        // A command with its own loop, the way the play loops wait.
        ++depth;
        deepest = std::max(deepest, depth);
        while (!pf->appEnding()) pf->waitEvent();
        --depth;
    };
    handlers.close = [&] { pf->quit(); };
    pf->setMainWindowHandlers(handlers);
    MenuId bar = pf->createMenuBar();
    MenuId game = pf->createPopup();
    pf->appendMenuItem(game, 10, "&Spielstart");
    pf->appendMenuPopup(bar, game, "&Nonari");
    pf->setMenuBar(bar);

    later([] { qt_testing::menuAction(10)->trigger(); }, 0);
    later([] { qt_testing::menuAction(10)->trigger(); }, 10);
    later([] { qt_testing::mainWindow()->close(); }, 30);
    while (!pf->appEnding()) pf->waitEvent();
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(qt_testing::mainWindow()->isVisible());
    EXPECT_FALSE(pf->mainWindowExists());
    // Once ending, waits return at once and boxes answer with their default.
    EXPECT_EQ(pf->waitEvent().kind, EventKind::None);
    EXPECT_EQ(pf->messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"), 2);
    pf->destroyMenu(bar);
}

}  // namespace
}  // namespace nonari::test
