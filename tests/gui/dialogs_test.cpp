// The slot, name and hall-of-fame dialogs on the Qt platform: real buttons, keys, text box and close box.
#include "app/game_state.h"
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace nonari::test {
namespace {

class DialogsTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        // A dialog that a broken step leaves open would hang the test: take it down and fail instead.
        watchdog.callOnTimeout([] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "dialog left open: " << open->windowTitle().toStdString();
                open->close();
            }
        });
        watchdog.start(5000);
    }

    template <typename W>
    static W* part(QWidget* dialog, const char* name) { return dialog->findChild<W*>(QString::fromLatin1(name)); }
    static void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    TempWorkDir work;
    QTimer watchdog;
};

TEST_F(DialogsTest, SlotDialogCommitsOnKeysAndClicksAndCancelsOnEscapeAndItsCloseBox) {
    game.currentFile = savedBoardFile;
    for (std::int16_t n = 0; n < 4; ++n) {  // four boards told apart by the digit in cell (1, 1)
        game.board(1, 1) = static_cast<std::uint8_t>(n + 1);
        writeBoardRecord(n);
    }
    game.selectedSlot = 1;
    const struct { const char* what; std::function<void(QWidget*)> act; int loaded; } steps[] = {
        {"3 on the preselected opt2", [](QWidget* d) {
             EXPECT_EQ(d->focusWidget(), part<QRadioButton>(d, "opt2"));
             QTest::keyClick(d->focusWidget(), Qt::Key_3);
         }, 3},
        {"Enter on opt2", [](QWidget* d) { QTest::keyClick(part<QRadioButton>(d, "opt2"), Qt::Key_Return); }, 2},
        {"click on opt4", [](QWidget* d) { click(part<QRadioButton>(d, "opt4")); }, 4},
        {"Abbruch", [](QWidget* d) { click(part<QPushButton>(d, "cmd2")); }, 0},
        {"Escape", [](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }, 0},
        {"close box", [](QWidget* d) { d->close(); }, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        game.board.clear();
        whenShown("Welches Brett laden?", step.act);
        openLoadDialog();
        EXPECT_EQ(game.board(1, 1), step.loaded);
        EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
    }
    EXPECT_EQ(game.selectedSlot, 3);
}

TEST_F(DialogsTest, RecordAsksTheNameThenShowsTheList) {
    loadChampions();
    game.difficulty = 1;
    game.finalTime = "00:07:08.9";
    game.lastChampionName = "Vorig";
    whenShown("Neuer Rekord", [](QWidget* dialog) {
        auto* name = part<QLineEdit>(dialog, "ed1");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Vorig"));
        EXPECT_EQ(dialog->focusWidget(), name);
        name->selectAll();
        for (QChar c : QStringLiteral("Jörg Ähre"))  // typed key by key, umlauts included
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        whenShown("Ruhmeshalle", [](QWidget* hall) {
            auto* tabs = part<QTabWidget>(hall, "tbs1");
            auto* list = part<QTreeWidget>(hall, "lv2");
            EXPECT_EQ(tabs->currentIndex(), 1);
            EXPECT_TRUE(list->isVisible() && tabs->widget(1)->isAncestorOf(list));
            EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
            ASSERT_EQ(list->topLevelItemCount(), 1);
            EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Jörg Ähre"));
            EXPECT_EQ(list->topLevelItem(0)->text(3), QStringLiteral("00:07:08.9"));
            click(part<QPushButton>(hall, "cmd3"));
        });
        click(part<QPushButton>(dialog, "cmd5"));
    });
    checkForRecord();
    EXPECT_TRUE(game.nameConfirmed);
    EXPECT_EQ(game.lastChampionName, "Jörg Ähre");
    const auto file = readBytes(championsFile);
    EXPECT_NE(std::string(file.begin(), file.end()).find("J\xF6rg \xC4hre\r\n"), std::string::npos);
}

TEST_F(DialogsTest, DeleteAsksAndReopensOnTheCurrentTab) {
    resetChampions();
    for (int d : {2, 3}) game.championName[d][1] = "Erste", game.championTime[d][1] = "00:00:10.0";
    ASSERT_TRUE(saveChampions());
    int reopened = 0;
    whenShown("Ruhmeshalle", [&](QWidget* hall) {  // "&JA" on tab "Schwer"
        QTabBar* tabs = part<QTabWidget>(hall, "tbs1")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        EXPECT_EQ(part<QTreeWidget>(hall, "lv3")->topLevelItemCount(), 1);
        whenShown("Ruhmeshalle", [&](QWidget* again) {
            ++reopened;
            EXPECT_EQ(part<QTabWidget>(again, "tbs1")->currentIndex(), 0);
            EXPECT_EQ(part<QTreeWidget>(again, "lv3")->topLevelItemCount(), 0);
            again->close();  // the close box ends the nested and the outer dialog
        }, hall);
        onMessageBox([](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons())
                if (button->text() == "&JA") button->click();
        });
        click(part<QPushButton>(hall, "cmd4"));
    });
    showHallOfFame();
    EXPECT_TRUE(reopened == 1 && QApplication::activeModalWidget() == nullptr);
    loadChampions();
    EXPECT_EQ(game.championName[2][1] + "|" + game.championName[3][1], "|Erste");
}

}  // namespace
}  // namespace nonari::test
