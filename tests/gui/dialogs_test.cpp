// The slot, name and hall-of-fame dialogs on the Qt platform: real buttons, keys, text box and close box.
#include "app/game_state.h"
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "fame/record_check.h"
#include "files/board_record.h"
#include "files/slot_dialog.h"
#include "platform/qt/qt_forms.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

namespace nonari::test {
namespace {

class DialogsTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        work = std::make_unique<TempWorkDir>();
        // A dialog that a broken step leaves open would hang the test: take it down and fail instead.
        watchdog.setInterval(5000);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "dialog left open: " << open->windowTitle().toStdString();
                open->close();
            }
        });
        watchdog.start();
    }

    void TearDown() override {
        watchdog.stop();
        work.reset();
        QtPlatformTest::TearDown();
    }

    // The dialog form in front, as the player sees it.
    static QWidget* openDialog(const char* title) {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isVisible() || dialog->windowTitle() != QString::fromUtf8(title)) return nullptr;
        return dialog;
    }

    // Runs the action from the event loop once a dialog with that title, other than the one
    // given, is in front; dialogs open and close inside callbacks, so a step may come early.
    static void whenShown(const char* title, std::function<void(QWidget*)> action, QPointer<QWidget> other = nullptr,
                          int tries = 300) {
        later([=] {
            QWidget* dialog = openDialog(title);
            if (dialog != nullptr && (other.isNull() || dialog != other.data())) action(dialog);
            else if (tries > 0) whenShown(title, action, other, tries - 1);
            else ADD_FAILURE() << "no dialog " << title;
        }, tries == 300 ? 0 : 10);
    }

    // Presses the button of the message box in front once it is there.
    static void answerBox(const char* button, int tries = 300) {
        later([=] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                if (tries > 0) answerBox(button, tries - 1);
                else ADD_FAILURE() << "no message box";
                return;
            }
            EXPECT_EQ(box->text(), QStringLiteral("Wirklich löschen?"));
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(button)) b->click();
        }, tries == 300 ? 0 : 10);
    }

    template <typename W>
    static W* part(QWidget* dialog, const char* name) {
        return dialog ? dialog->findChild<W*>(QString::fromLatin1(name)) : nullptr;
    }

    static void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    // Types text key by key, umlauts included.
    static void type(QWidget* widget, const QString& text) {
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    static QPoint expectedCorner(int dx, int dy) {
        return {qt_testing::qtPlatform().mainWindowLeft() + dx, qt_testing::qtPlatform().mainWindowTop() + dy};
    }

    // Four boards in "brett.nnr" told apart by the digit in cell (1, 1).
    static void saveFourBoards() {
        game.currentFile = savedBoardFile;
        for (std::int16_t n = 0; n < 4; ++n) {
            game.board.clear();
            game.board(1, 1) = static_cast<std::uint8_t>(n + 1);
            writeBoardRecord(n);
        }
        game.board.clear();
    }

    std::unique_ptr<TempWorkDir> work;
    QTimer watchdog;
};

TEST_F(DialogsTest, SlotDialogCommitsOnKeysAndClicks) {
    game.board(4, 4) = 6;
    game.selectedSlot = 1;
    bool seen = false;
    whenShown("Sichern unter ...", [&](QWidget* dialog) {
        seen = true;
        EXPECT_EQ(dialog->frameGeometry().topLeft(), expectedCorner(595, 235));
        auto* opt2 = part<QRadioButton>(dialog, "opt2");
        ASSERT_NE(opt2, nullptr);
        EXPECT_TRUE(opt2->isChecked());
        EXPECT_EQ(dialog->focusWidget(), opt2);
        EXPECT_EQ(part<QRadioButton>(dialog, "opt3")->text(), QStringLiteral("Nr. &3"));
        QTest::keyClick(opt2, Qt::Key_3);
    });
    openSaveDialog();
    EXPECT_TRUE(seen);
    EXPECT_EQ(game.selectedSlot, 2);
    auto file = readBytes(savedBoardFile);
    ASSERT_EQ(file.size(), 8800u);
    EXPECT_EQ(file[2 * boardRecordSize + 44], 6);
    EXPECT_TRUE(qt_testing::mainWindow()->isEnabled());

    saveFourBoards();
    auto before = readBytes(savedBoardFile);
    struct Step {
        const char* what;
        std::function<void(QWidget*)> act;
        int loaded;  // digit in cell (1, 1) afterwards, 0: nothing loaded
    };
    const Step steps[] = {
        {"Enter on opt2", [](QWidget* d) {
             auto* opt2 = part<QRadioButton>(d, "opt2");
             opt2->setFocus();
             QTest::keyClick(opt2, Qt::Key_Return);
         }, 2},
        {"click on opt4", [](QWidget* d) { click(part<QRadioButton>(d, "opt4")); }, 4},
        {"OK", [](QWidget* d) { click(part<QPushButton>(d, "cmd1")); }, 4},
        {"Abbruch", [](QWidget* d) { click(part<QPushButton>(d, "cmd2")); }, 0},
        {"close box", [](QWidget* d) { d->close(); }, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        game.board.clear();
        game.currentFile = savedBoardFile;
        bool acted = false;
        whenShown("Welches Brett laden?", [&](QWidget* dialog) {
            acted = true;
            step.act(dialog);
        });
        openLoadDialog();
        EXPECT_TRUE(acted);
        EXPECT_EQ(game.board(1, 1), step.loaded);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(qt_testing::mainWindow()->isEnabled());
    }
    EXPECT_EQ(readBytes(savedBoardFile), before);
    EXPECT_EQ(game.selectedSlot, 3);
}

TEST_F(DialogsTest, RecordAsksTheNameThenShowsTheList) {
    loadChampions();
    game.difficulty = 1;
    game.finalTime = "00:07:08.9";
    game.lastChampionName = "Vorig";
    bool named = false, listed = false;
    whenShown("Neuer Rekord", [&](QWidget* dialog) {
        auto* name = part<QLineEdit>(dialog, "ed1");
        ASSERT_NE(name, nullptr);
        named = true;
        EXPECT_EQ(dialog->frameGeometry().topLeft(), expectedCorner(177, 234));
        EXPECT_EQ(name->text(), QStringLiteral("Vorig"));
        EXPECT_EQ(dialog->focusWidget(), name);
        name->selectAll();
        type(name, QStringLiteral("Jörg Ähre"));
        whenShown("Ruhmeshalle", [&](QWidget* hall) {
            listed = true;
            auto* tabs = part<QTabWidget>(hall, "tbs1");
            ASSERT_NE(tabs, nullptr);
            EXPECT_EQ(tabs->currentIndex(), 1);
            auto* list = part<QTreeWidget>(hall, "lv2");
            ASSERT_NE(list, nullptr);
            EXPECT_TRUE(list->isVisible());
            ASSERT_EQ(list->topLevelItemCount(), 1);
            EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral(" 1."));
            EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Jörg Ähre"));
            EXPECT_EQ(list->topLevelItem(0)->text(3), QStringLiteral("00:07:08.9"));
            click(part<QPushButton>(hall, "cmd3"));
        });
        click(part<QPushButton>(dialog, "cmd5"));
    });
    checkForRecord();
    EXPECT_TRUE(named);
    EXPECT_TRUE(listed);
    EXPECT_TRUE(game.nameConfirmed);
    EXPECT_EQ(game.lastChampionName, "Jörg Ähre");
    auto file = readBytes(championsFile);
    std::string text(file.begin(), file.end());
    EXPECT_EQ(text.rfind("\r\n\r\n9\r\n", 0), 0u);  // Leicht place 1 still empty
    EXPECT_NE(text.find("J\xF6rg \xC4hre\r\n"), std::string::npos);
}

TEST_F(DialogsTest, DeleteAsksAndReopensOnTheCurrentTab) {
    resetChampions();
    for (int d = 0; d < 5; ++d) {
        game.championName[d][1] = "Erste " + std::to_string(d);
        game.championTime[d][1] = "00:00:1" + std::to_string(d) + ".0";
    }
    ASSERT_TRUE(saveChampions());
    game.difficulty = 0;

    // "&NEIN" first, then "&JA" on tab "Schwer".
    int reopened = 0;
    whenShown("Ruhmeshalle", [&](QWidget* hall) {
        EXPECT_EQ(hall->frameGeometry().topLeft(), expectedCorner(68, 136));
        auto* tabs = part<QTabWidget>(hall, "tbs1");
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->currentIndex(), 0);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
        answerBox("&NEIN");
        click(part<QPushButton>(hall, "cmd4"));
        EXPECT_EQ(openDialog("Ruhmeshalle"), hall);  // still open after NEIN
        EXPECT_EQ(part<QTreeWidget>(hall, "lv3")->topLevelItemCount(), 1);
        whenShown("Ruhmeshalle", [&](QWidget* again) {
            ++reopened;
            EXPECT_EQ(part<QTabWidget>(again, "tbs1")->currentIndex(), 0);
            EXPECT_EQ(part<QTreeWidget>(again, "lv3")->topLevelItemCount(), 0);
            EXPECT_EQ(part<QTreeWidget>(again, "lv1")->topLevelItemCount(), 1);
            again->close();  // the close box ends the nested and the outer dialog
        }, hall);
        answerBox("&JA");
        click(part<QPushButton>(hall, "cmd4"));
    });
    showHallOfFame();
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(qt_testing::mainWindow()->isEnabled());

    loadChampions();
    EXPECT_EQ(game.championTime[2][1], "9");
    EXPECT_EQ(game.championName[2][1], "");
    EXPECT_EQ(game.championName[1][1], "Erste 1");
    EXPECT_EQ(game.championName[3][1], "Erste 3");
}

}  // namespace
}  // namespace nonari::test
