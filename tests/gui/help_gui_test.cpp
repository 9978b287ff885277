// The shipped manual opened through the Qt platform: both topics, the links between them, and the messages.
#include "app/game_state.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace nonari::test {
namespace {

class HelpGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        pf = &qt_testing::qtPlatform();
        installPlatform(pf);
        qt_testing::revive();
        if (!pf->mainWindowExists()) pf->openMainWindow(20, 30, 862, 694);
        resetGameState();
        game.useHtmlHelp = htmlHelpPlatform();
        work = std::make_unique<TempWorkDir>();
    }
    void TearDown() override {
        if (QWidget* viewer = qt_testing::helpViewer().window()) viewer->close();
        QCoreApplication::processEvents();
        work.reset();
        qt_testing::revive();
    }

    static QTextBrowser* browser() { return qobject_cast<QTextBrowser*>(qt_testing::helpViewer().window()); }

    // Answers the next message box with its first button and returns its text.
    std::string answerMessageDuring(const std::function<void()>& action) {
        std::string shown;
        std::function<void()> answer = [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text().toStdString();
                box->buttons().front()->click();
            } else {
                QTimer::singleShot(20, qApp, answer);
            }
        };
        QTimer::singleShot(0, qApp, answer);
        action();
        return shown;
    }

    Platform* pf = nullptr;
    std::unique_ptr<TempWorkDir> work;
};

TEST_F(HelpGuiTest, ManualOpensAtBothTopicsAndFollowsItsLinks) {
    ASSERT_TRUE(game.useHtmlHelp);  // this system reports an NT-family major version above 5
    std::filesystem::copy_file(sourceDir() / "data" / "nonari.chm", "nonari.chm");

    showManualOverview();
    ASSERT_NE(browser(), nullptr);
    EXPECT_TRUE(browser()->isVisible());
    EXPECT_EQ(browser()->documentTitle().toStdString(), "Nonari – die Menüpunkte");
    // Every menu of the game is explained on the overview.
    const QString overview = browser()->toPlainText();
    for (const char* item : {"Neues Spiel", "Spielstart", "Neustart", "Spieledruck", "Beenden", "lade Brett",
                             "sichere Brett", "Brett lösen", "Brett löschen", "Brett drucken", "Brett mischen",
                             "Eigenes Brett", "Leicht", "Teuflisch", "Zahlen", "Buchstaben", "Zeige Kandidaten",
                             "Rätsel-Symmetrie", "Ruhmeshalle", "Anleitung", "über Nonari..."})
        EXPECT_TRUE(overview.contains(QString::fromUtf8(item))) << item;

    // A click on the link to the rules page opens it in the same viewer.
    QTextCursor link = browser()->document()->find(QStringLiteral("Spielregel und Bedienung"));
    ASSERT_FALSE(link.isNull());
    QTextCursor inside(browser()->document());
    inside.setPosition(link.selectionStart() + 3);
    browser()->setTextCursor(inside);
    browser()->ensureCursorVisible();
    const QRect where = browser()->cursorRect(inside);
    QTest::mouseClick(browser()->viewport(), Qt::LeftButton, {}, where.center());
    QTRY_COMPARE(browser()->documentTitle().toStdString(), std::string("Nonari – Spielregel und Bedienung"));

    showManualOverview();
    EXPECT_EQ(browser()->documentTitle().toStdString(), "Nonari – die Menüpunkte");
    showRulesHelp();
    EXPECT_EQ(browser()->documentTitle().toStdString(), "Nonari – Spielregel und Bedienung");
    const QString rules = browser()->toPlainText();
    for (const char* topic : {"Zahlenauswahl", "Zeige Kandidaten", "Escape", "K, danach O", "Die Uhr",
                              "Ruhmeshalle", "Eigene Bretter", "Sichern und Laden", "Drucken"})
        EXPECT_TRUE(rules.contains(QString::fromUtf8(topic))) << topic;
}

TEST_F(HelpGuiTest, UnreadableManualIsReportedOrReplacedByTheShippedOne) {
    // Without any copy in reach the game names the file it could not show.
    const std::string shown = answerMessageDuring([] { showHelpTopic("fehlt.chm", "übersicht.htm"); });
    EXPECT_EQ(shown, "Error while trying to display a topic of fehlt.chm");

    // A damaged manual in the working folder: the shipped one is shown instead.
    writeBytes("nonari.chm", {'k', 'a', 'p', 'u', 't', 't'});
    showManualOverview();
    ASSERT_NE(browser(), nullptr);
    EXPECT_EQ(browser()->documentTitle().toStdString(), "Nonari – die Menüpunkte");
}

}  // namespace
}  // namespace nonari::test

namespace nonari::test {
namespace {

class InfoDialogGuiTest : public HelpGuiTest {};

TEST_F(InfoDialogGuiTest, ButtonAndCloseBoxBothReturnToAnEnabledMainWindow) {
    QWidget* main = qt_testing::mainWindow();
    QWidget* board = qt_testing::canvas();  // the part of the window that takes the player's input
    ASSERT_NE(main, nullptr);
    ASSERT_NE(board, nullptr);
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "button" : "close box");
        bool mainDisabled = false;
        int labelsCut = -1;
        QPoint offset;
        std::function<void()> poll;
        poll = [&] {
            QWidget* form = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->windowTitle() == QStringLiteral("Über Nonari")) form = top;
            if (!form) return QTimer::singleShot(20, qApp, poll);
            mainDisabled = !board->isEnabled();
            offset = form->geometry().topLeft() - main->geometry().topLeft();
            labelsCut = 0;
            for (QLabel* label : form->findChildren<QLabel*>())
                labelsCut += label->sizeHint().width() > label->width();
            if (byButton) {
                for (QPushButton* button : form->findChildren<QPushButton*>()) button->click();
            } else {
                form->close();
            }
        };
        QTimer::singleShot(0, qApp, poll);
        showInformation();
        EXPECT_TRUE(mainDisabled);
        EXPECT_EQ(labelsCut, 0);  // every line fits its label
        EXPECT_EQ(offset, QPoint(149, 140));
        EXPECT_TRUE(board->isEnabled());
        EXPECT_TRUE(game.dialogClosed);
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_FALSE(top->isVisible() && top->windowTitle() == QStringLiteral("Über Nonari"));
    }
}

}  // namespace
}  // namespace nonari::test
