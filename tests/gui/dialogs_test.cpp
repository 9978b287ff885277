// The slot, name and hall-of-fame dialogs on the Qt platform: real buttons, keys, text box and close box.
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace nonari::test {
namespace {

class DialogsTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
    }
    template <typename W>
    static W* part(QWidget* dialog, const char* name) { return dialog->findChild<W*>(QString::fromLatin1(name)); }

    TempWorkDir work;
};

TEST_F(DialogsTest, SlotDialogCommitsOnKeysAndClicksAndCancelsOnEscapeAndItsCloseBox) {
    game.dialog.currentFile = savedBoardFile;
    for (std::int16_t n = 0; n < 4; ++n) {  // four boards told apart by the digit in cell (1, 1)
        game.puzzle.board(1, 1) = static_cast<std::uint8_t>(n + 1);
        ASSERT_EQ(writeBoardRecord(n), FileResult::Ok);
    }
    game.dialog.selectedSlot = 1;
    const struct { const char* what; std::function<void(QWidget*)> act; int loaded; } steps[] = {
        {"3 on the preselected opt2", [](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_3); }, 3},
        {"click on opt4", [](QWidget* d) {
             QTest::mouseClick(part<QRadioButton>(d, "opt4"), Qt::LeftButton, {}, QPoint(8, 10));
         }, 4},
        {"Escape", [](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }, 0},
        {"close box", [](QWidget* d) { d->close(); }, 0},
        {"Up on the preselected opt4", [](QWidget* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Up); }, 3},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        game.puzzle.board.clear();
        whenShown("Welches Brett laden?", step.act);
        openLoadDialog();
        EXPECT_EQ(game.puzzle.board(1, 1), step.loaded);
        EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
    }
}

TEST_F(DialogsTest, RecordAsksTheNameThenShowsTheList) {
    ASSERT_EQ(loadChampions(), FileResult::Missing);  // empty lists
    game.settings.difficulty = 1;
    game.clock.finalTime = "00:07:08.9";
    game.fame.lastChampionName = "Vorig";
    whenShown("Neuer Rekord", [](QWidget* dialog) {
        auto* name = part<QLineEdit>(dialog, "ed1");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(dialog->focusWidget(), name);
        name->selectAll();
        for (QChar c : QStringLiteral("Jörg Ähre"))  // typed key by key, umlauts included
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        whenShown("Ruhmeshalle", [](QWidget* hall) {
            auto* list = part<QTreeWidget>(hall, "lv2");
            EXPECT_EQ(part<QTabWidget>(hall, "tbs1")->currentIndex(), 1);
            ASSERT_EQ(list->topLevelItemCount(), 1);
            EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Jörg Ähre"));
            part<QPushButton>(hall, "cmd3")->click();
        });
        part<QPushButton>(dialog, "cmd5")->click();
    });
    checkForRecord();
    EXPECT_EQ(game.fame.lastChampionName, "Jörg Ähre");
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
}

TEST_F(DialogsTest, HallOfFameShowsEveryPlaceAndTimeInFull) {
    for (int p = 1; p <= 10; ++p) {
        game.fame.championName[4][p] = "Spieler mit langem Namen " + std::to_string(p);
        game.fame.championDate[4][p] = "28.12.2024";
        game.fame.championTime[4][p] = "08:58:5" + std::to_string(p % 10) + ".8";
    }
    game.settings.difficulty = 4;
    whenShown("Ruhmeshalle", [](QWidget* hall) {
        auto* list = part<QTreeWidget>(hall, "lv5");
        ASSERT_EQ(list->topLevelItemCount(), 10);
        EXPECT_EQ(list->topLevelItem(9)->text(0), QStringLiteral("10."));
        for (int column : {0, 2, 3})  // places, dates and times; a long name may be cut
            EXPECT_GE(list->columnWidth(column), static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column))
                << "column " << column << " cut";
        int total = 0;
        for (int column = 0; column < 4; ++column) total += list->columnWidth(column);
        EXPECT_LE(total, list->viewport()->width()) << "the list needs no sideways scrolling";
        part<QPushButton>(hall, "cmd3")->click();
    });
    showHallOfFame();
}

}  // namespace
}  // namespace nonari::test
