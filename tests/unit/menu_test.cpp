// The menu table's reading rules, the recursive builder, the check marks, and the way out of the program.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "logic/puzzle_reserve.h"
#include "platform/safe_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari {
namespace {

using Entry = HeadlessPlatform::MenuEntry;
using Texts = std::vector<std::string>;

class MenuTest : public test::HeadlessGame {
protected:
    const std::vector<Entry>& bar() { return pf.menus.at(pf.menuBar); }
    const std::vector<Entry>& popup(std::size_t index) { return pf.menus.at(bar().at(index).popup); }
    static Texts captions(const std::vector<Entry>& entries) {
        Texts out;
        for (const auto& e : entries) out.push_back(e.kind == Entry::Separator ? "-" : e.caption);
        return out;
    }
};

TEST_F(MenuTest, ReadingRulesOfTheTable) {
    // Only the first ":" separates id and caption; ">" opens a nested popup;
    // a top-level command item swallows one extra entry.
    ASSERT_TRUE(buildMenuBar({"5:Oben", "wird ignoriert", "Datei", "7:Zeit: jetzt", ">Mehr", "9:Innen", "", "-", "", ""}));
    EXPECT_EQ(captions(bar()), (Texts{"Oben", "Datei"}));
    EXPECT_EQ(std::make_pair(bar()[0].kind, bar()[0].id), std::make_pair(Entry::Item, 5));
    EXPECT_EQ(captions(popup(1)), (Texts{"Zeit: jetzt", "Mehr", "-"}));
    EXPECT_EQ(std::make_pair(popup(1)[0].id, popup(1)[1].kind), std::make_pair(7, Entry::Popup));
    EXPECT_EQ(captions(pf.menus.at(popup(1)[1].popup)), Texts{"Innen"});

    ASSERT_TRUE(buildMenuBar({"Datei", "1:Eins"}));  // a table without its end marker still ends
    EXPECT_EQ(captions(popup(0)), Texts{"Eins"});
}

class FailingMenuPlatform : public HeadlessPlatform {
public:
    bool appendMenuItem(MenuId menu, int id, const std::string& caption) override {
        return id != 41 && HeadlessPlatform::appendMenuItem(menu, id, caption);
    }
};

TEST_F(MenuTest, AFailingItemDestroysThePartlyBuiltBarAndCheckMarksFollowTheSettings) {
    FailingMenuPlatform failing;
    installPlatform(&failing);
    EXPECT_FALSE(buildMenuBar());
    EXPECT_TRUE(failing.menus.empty() && failing.menuBar == 0);
    installPlatform(&pf);

    ASSERT_TRUE(buildMenuBar());
    const MenuId first = pf.menuBar;
    ASSERT_TRUE(buildMenuBar());
    EXPECT_EQ(pf.menus.count(first), 0u) << "a new bar replaces the old one";
    updateMenuChecks();  // after start: Leicht, Zahlen and Symmetrie
    EXPECT_EQ(std::vector({pf.checks[30], pf.checks[34], pf.checks[40], pf.checks[41], pf.checks[44], pf.checks[45]}),
              (std::vector<bool>{true, false, true, false, false, true}));
}

using StartupTest = test::HeadlessGame;

// With "Frische Rätsel" kept from an earlier run, the maker runs from the start and ends with the program.
TEST_F(StartupTest, EndingIsAskedFirstAndUnwindsANestedPlayLoop) {
    const std::string kept = "frische_raetsel=1\n";
    test::writeBytes(settingsFile, {kept.begin(), kept.end()});
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
    pf.pushMenu(menuId(MenuCommand::StartGame));  // a play loop ...
    pf.pushMenu(menuId(MenuCommand::Exit));  // ... inside which the player ends the program with JA
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !pf.windowOpen && !game.clock.clockRunning);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
    EXPECT_TRUE(game.settings.freshPuzzles && pf.checks[menuId(MenuCommand::FreshPuzzles)]);
    EXPECT_FALSE(takeFreshPuzzle(4)) << "the maker has ended";
}

TEST_F(StartupTest, TheBackgroundPictureIsHandedOnOnlyWhenItsHeaderClaimsABoundedPicture) {
    // SOI, an APP0 segment, then a frame header of 16 x 16 pixels, one component.
    const std::vector<unsigned char> small = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0, 16, 0, 16, 1, 1, 0x11, 0};
    auto wide = small, cut = small, png = small;
    wide[13] = wide[15] = 0xFF;  // 65296 x 65296: more pixels than the limit
    cut.resize(17);   // breaks off inside the frame header
    png.assign({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x10, 0, 0, 0, 0x10, 0,
                8, 2, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 5, 6, 7, 8});
    for (const auto& bytes : {small, wide, cut, png}) {
        test::writeBytes("muster.jpg", bytes);
        pf.backgroundPictures.clear();
        startNonari();
        EXPECT_EQ(pf.backgroundPictures, bytes == small || bytes == png ? std::vector{bytes.size()} : std::vector<std::size_t>{});
    }
}

TEST_F(StartupTest, ASignalToEndLetsTheSaveInProgressFinishThenEndsWithoutAsking) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(savedBoardFile);
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char c = 0;
            bool later = false;
            pf.pushStep([] { game.puzzle.board(6, 6) = 6; });
            pf.pushMenu(menuId(MenuCommand::SaveBoard));
            pf.pushFormEvent("frm1", "opt2_Click");  // waits for the other game's lock
            pf.pushStep([&later] { later = true; });  // the signal is taken first
            _exit(read(go[0], &c, 1) == 1 && runNonari() == 0 && !later && pf.messages.empty() ? 0 : 1);
        }
        {
            const SaveLock otherGame;
            ASSERT_EQ(write(go[1], "g", 1), 1);
            // The save is under way once the child has the lock file open.
            bool saving = false;
            for (int tries = 0; tries < 1000 && !saving; ++tries, usleep(5000)) {
                std::error_code error;
                for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(child) + "/fd", error))
                    saving = saving || std::filesystem::read_symlink(fd.path(), error).filename() == saveLockFile;
            }
            EXPECT_TRUE(saving);
            kill(child, signal);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        game.dialog.currentFile = savedBoardFile;
        EXPECT_TRUE(readBoardRecord(1) == FileResult::Ok && game.puzzle.board(6, 6) == 6);
        close(go[0]), close(go[1]);
    }
}

}  // namespace
}  // namespace nonari
