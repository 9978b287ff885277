// The slot, name and hall-of-fame dialogs on the Qt platform: real buttons, keys, text box and close box.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    // A digit key saves into its record at once: four boards told apart by the digit in cell (1, 1).
    for (int n = 0; n < 4; ++n) {
        game.puzzle.board(1, 1) = static_cast<std::uint8_t>(n + 1);
        whenShown("Sichern unter ...", [n](QWidget* d) { QTest::keyClick(d->focusWidget(), char('1' + n)); });
        openSaveDialog();
    }
    game.dialog.selectedSlot = 1;
    auto key = [](Qt::Key key, const char* on = nullptr) {  // on the button with the focus, or on that one
        return [=](QWidget* d) { QTest::keyClick(on ? part<QWidget>(d, on) : d->focusWidget(), key); };
    };
    auto click = [](const char* button) {
        return [=](QWidget* d) { QTest::mouseClick(part<QWidget>(d, button), Qt::LeftButton, {}, {8, 10}); };
    };
    auto checkOpt = [](const char* option, std::function<void(QWidget*)> then) {
        return [=](QWidget* d) { part<QAbstractButton>(d, option)->setChecked(true), then(d); };
    };
    // Enter commits the button that has the key, any other key the checked one; OK the slot used last.
    const std::tuple<const char*, std::function<void(QWidget*)>, int> steps[] = {
        {"3 on the preselected opt2", key(Qt::Key_3), 3}, {"click opt4", click("opt4"), 4},
        {"Escape", key(Qt::Key_Escape), 0}, {"close box", [](QWidget* d) { d->close(); }, 0},
        {"Abbruch", click("cmd2"), 0}, {"Up on the preselected opt4", key(Qt::Key_Up), 3}, {"OK", click("cmd1"), 3},
        {"Enter on opt1, opt3 checked", key(Qt::Key_Return, "opt1"), 1},
        {"x on opt4, opt2 checked", checkOpt("opt2", key(Qt::Key_X, "opt4")), 2},
    };
    for (const auto& [what, act, loaded] : steps) {
        SCOPED_TRACE(what);
        game.puzzle.board.clear();
        whenShown("Welches Brett laden?", act);
        openLoadDialog();
        EXPECT_EQ(game.puzzle.board(1, 1), loaded);
        EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
    }
    // Cancelling a save touches no file, even with another slot checked.
    const auto before = readBytes(savedBoardFile);
    whenShown("Sichern unter ...", checkOpt("opt4", key(Qt::Key_Escape)));
    openSaveDialog();
    EXPECT_EQ(readBytes(savedBoardFile), before);
    EXPECT_EQ(game.dialog.selectedSlot, 1);
}

TEST_F(DialogsTest, RecordAsksTheNameThenShowsTheListWithEveryPlaceAndTimeInFull) {
    game.settings.difficulty = 1;
    for (int p = 1; p <= 9; ++p) {  // nine slower players, names too long for their column; the record makes ten
        game.fame.championName[1][p] = "Spieler mit einem Namen, der auch in der breitesten Spalte keinen Platz "
                                       "findet, " + std::to_string(p + 10);
        game.fame.championDate[1][p] = "28.12.2024";
        game.fame.championTime[1][p] = "08:58:5" + std::to_string(p) + ".8";
    }
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    game.clock.finalTime = "00:07:08.9";
    game.fame.lastChampionName = "Vorig";
    whenShown("Neuer Rekord", [](QWidget* dialog) {
        auto* name = part<QLineEdit>(dialog, "ed1");
        ASSERT_NE(name, nullptr);
        const auto* prompt = part<QLabel>(dialog, "lbl2");
        const QRect needed = prompt->fontMetrics().boundingRect(QRect(0, 0, prompt->width(), 1000),
                                                                prompt->wordWrap() ? Qt::TextWordWrap : 0, prompt->text());
        EXPECT_TRUE(prompt->text().endsWith(QStringLiteral("Namen ein:")) && needed.width() <= prompt->width() &&
                    needed.height() <= prompt->height()) << "the whole prompt is shown";
        EXPECT_EQ(dialog->focusWidget(), name);
        name->selectAll();
        for (QChar c : QStringLiteral("Jörg Ähre"))  // typed key by key, umlauts included
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        whenShown("Ruhmeshalle", [](QWidget* hall) {
            auto* list = part<QTreeWidget>(hall, "lv2");
            const QAbstractItemView* view = list;
            EXPECT_EQ(part<QTabWidget>(hall, "tbs1")->currentIndex(), 1);
            ASSERT_EQ(list->topLevelItemCount(), 10);
            EXPECT_EQ(list->topLevelItem(0)->text(1) + list->topLevelItem(9)->text(0), QStringLiteral("Jörg Ähre10."));
            for (int column : {0, 2, 3})  // places, dates and times; a long name may be cut
                EXPECT_GE(list->columnWidth(column), view->sizeHintForColumn(column)) << "column " << column;
            int total = 0;
            for (int column = 0; column < 4; ++column) total += list->columnWidth(column);
            EXPECT_LE(total, list->viewport()->width()) << "the list needs no sideways scrolling";
            EXPECT_EQ(list->topLevelItem(1)->toolTip(1), list->topLevelItem(1)->text(1)) << "a cut name in full";
            part<QPushButton>(hall, "cmd3")->click();
        });
        part<QPushButton>(dialog, "cmd5")->click();
    });
    checkForRecord();
    EXPECT_EQ(game.fame.lastChampionName, "Jörg Ähre");
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr && qt_testing::mainWindow()->isEnabled());
}

}  // namespace
}  // namespace nonari::test
