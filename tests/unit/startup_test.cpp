// Running the program: the way out, also from inside a play loop.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/menu.h"
#include "app/startup.h"
#include "files/board_record.h"
#include "platform/safe_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace nonari {
namespace {

using StartupTest = test::HeadlessGame;

TEST_F(StartupTest, EndingIsAskedFirstAndUnwindsANestedPlayLoop) {
    pf.endWhenScriptEmpty = false;
    pf.messageBoxAnswers = {2, 1};
    pf.pushStep([] { Win_0_Close(); });  // NEIN: the game goes on
    pf.pushStep([this] { EXPECT_FALSE(pf.appEnding()); });
    pf.pushMenu(menuId(MenuCommand::StartGame));  // a play loop ...
    pf.pushMenu(menuId(MenuCommand::Exit));  // ... inside which the player ends the program with JA
    EXPECT_EQ(runNonari(), 0);
    EXPECT_TRUE(pf.appEnding() && !pf.windowOpen && !game.clock.clockRunning);
    EXPECT_EQ(pf.messages, (std::vector<std::string>{"Spiel beenden?", "Spiel beenden?"}));
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
    namespace fs = std::filesystem;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        fs::remove(savedBoardFile);
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char c = 0;
            if (read(go[0], &c, 1) != 1) _exit(3);
            bool later = false;
            pf.pushStep([] { game.puzzle.board(6, 6) = 6; });
            pf.pushMenu(menuId(MenuCommand::SaveBoard));
            pf.pushFormEvent("frm1", "opt2_Click");  // waits for the other game's lock
            pf.pushStep([&later] { later = true; });  // the signal is taken first
            _exit(runNonari() == 0 && !later && pf.messages.empty() ? 0 : 1);
        }
        {
            const SaveLock otherGame;
            ASSERT_EQ(write(go[1], "g", 1), 1);
            // The save is under way once the child has the lock file open.
            bool saving = false;
            for (int tries = 0; tries < 1000 && !saving; ++tries, usleep(5000)) {
                std::error_code error;
                for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(child) + "/fd", error))
                    saving = saving || fs::read_symlink(fd.path(), error).filename() == saveLockFile;
            }
            EXPECT_TRUE(saving);
            kill(child, signal);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        game.dialog.currentFile = savedBoardFile;
        game.puzzle.board.clear();
        EXPECT_EQ(readBoardRecord(1), FileResult::Ok);
        EXPECT_EQ(game.puzzle.board(6, 6), 6);
        close(go[0]), close(go[1]);
    }
}

}  // namespace
}  // namespace nonari
