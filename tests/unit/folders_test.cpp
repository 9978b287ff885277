// The player's folder from the environment, entering it, where collections and the manual are found, the manual's
// format and topics, the information dialog, and the helper program that reads the manual: one that misbehaves
// (crashes, hangs, spins, floods its output or grabs memory) gives the caller no output, and the game goes on.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "app/startup.h"
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "platform/child_process.h"
#include "platform/folders.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace nonari::test {
namespace {

namespace fs = std::filesystem;

// Runs a test's body in a child, whose changes to the environment end with it; true when every check held.
bool ownEnvironment(const std::function<void()>& body) {
    return inChildProcess([&] { return body(), !::testing::Test::HasFailure(); });
}

using FoldersTest = HeadlessGame;

TEST_F(FoldersTest, ThePlayersFolderIsNonariHomeElseXdgDataHomeElseTheHomesLocalShare) {
    EXPECT_TRUE(ownEnvironment([] {
        setenv("NONARI_HOME", "/spiele/nonari", 1), setenv("XDG_DATA_HOME", "/daten", 1), setenv("HOME", "/home/sp", 1);
        EXPECT_EQ(playerFolder(), fs::path("/spiele/nonari"));
        setenv("NONARI_HOME", "", 1);  // set but empty counts as not set
        EXPECT_EQ(playerFolder(), fs::path("/daten/nonari"));
        setenv("XDG_DATA_HOME", "relativ/daten", 1);  // a relative base folder is ignored
        EXPECT_EQ(playerFolder(), fs::path("/home/sp/.local/share/nonari"));
        unsetenv("XDG_DATA_HOME"), unsetenv("HOME");  // no login environment: the user database knows the home
        EXPECT_TRUE(playerFolder().is_absolute() && playerFolder().filename() == "nonari") << playerFolder();
    }));
}

TEST_F(FoldersTest, TheFolderIsCreatedAndEnteredAndAnUnusableOneLeavesTheWorkingFolderWithAMessage) {
    const fs::path start = fs::current_path();
    EXPECT_TRUE(ownEnvironment([&] {
        setenv("NONARI_HOME", (start / "neu" / "tief" / "nonari").c_str(), 1);
        EXPECT_EQ(enterPlayerFolder(), "");
        EXPECT_EQ(fs::current_path(), start / "neu" / "tief" / "nonari");
        EXPECT_EQ(enterPlayerFolder(), "");  // a second start finds it in place
        fs::current_path(start);
        writeBytes(start / "datei", {'x'});
        for (const fs::path& unusable : {start / "datei", start / "datei" / "nonari"}) {
            setenv("NONARI_HOME", unusable.c_str(), 1);
            const std::string message = enterPlayerFolder();
            EXPECT_NE(message.find("Der Spielordner " + unusable.string() + " kann nicht"), std::string::npos) << message;
            EXPECT_NE(message.find("im Ordner " + start.string() + "."), std::string::npos) << message;
            EXPECT_EQ(fs::current_path(), start);
        }
        EXPECT_EQ(readBytes(start / "datei"), std::vector<unsigned char>{'x'});
        // The player reads the message once the window is open, and the game goes on.
        const std::string message = enterPlayerFolder();
        EXPECT_EQ(runNonari(message), 0);
        EXPECT_EQ(pf.messages, std::vector<std::string>{message});
    }));

    // A folder the player may only read is the player's folder all the same: boards and records are read from it.
    fs::permissions(start, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    fs::create_directory(start / "fremd");
    fs::current_path(start / "fremd");
    game.puzzle.board(2, 3) = 4;
    game.dialog.currentFile = savedBoardFile;
    game.fame.championName[1][1] = "Alt";
    ASSERT_TRUE(writeBoardRecord(0) == FileResult::Ok && saveChampions() == FileResult::Ok);
    fs::current_path(start);
    fs::permissions(start / "fremd", static_cast<fs::perms>(0555));
    resetGameState();
    EXPECT_TRUE(inChildProcess([&] {
        setenv("NONARI_HOME", (start / "fremd").c_str(), 1);
        if (!actAsOrdinaryUser() || !enterPlayerFolder().empty() || fs::current_path() != start / "fremd") return false;
        game.dialog.currentFile = savedBoardFile;
        return readBoardRecord(0) == FileResult::Ok && game.puzzle.board(2, 3) == 4 &&
               loadChampions() == FileResult::Ok && game.fame.championName[1][1] == "Alt" &&
               !enterFolder(start / "fremd" / "nonari");
    }));
}

TEST_F(FoldersTest, CollectionsComeFromThePlayersFolderFirstAndTheManualOnlyFromTheProgramsData) {
    EXPECT_TRUE(ownEnvironment([this] {
        // Nothing here yet: the shipped copy, found beside the program.
        const fs::path shipped = locateBoardFile("leicht.nnr");
        EXPECT_TRUE(fs::equivalent(shipped, sourceDir() / "data" / "leicht.nnr")) << shipped;
        writeBytes("leicht.nnr", readBytes(shipped));
        EXPECT_EQ(locateBoardFile("leicht.nnr"), "leicht.nnr");
        // A data folder named in the environment comes before the others; saved boards are never looked up there.
        fs::create_directory("daten");
        writeBytes("daten/mittel.nnr", {1, 2, 3});
        writeBytes("daten/brett.nnr", {1, 2, 3});
        writeBytes("daten/nonari.chm", {4, 5, 6});
        setenv("NONARI_DATA_DIR", (fs::current_path() / "daten").c_str(), 1);
        EXPECT_EQ(fs::path(locateBoardFile("mittel.nnr")), fs::current_path() / "daten" / "mittel.nnr");
        EXPECT_EQ(locateBoardFile("brett.nnr"), "brett.nnr");
        EXPECT_EQ(locateBoardFile("../daten/brett.nnr"), "../daten/brett.nnr");

        // A manual in the player's folder is never opened; without a data folder named, the shipped one beside the
        // program is. Both topics in both formats; no viewer for the older format gives a message naming the file.
        writeBytes("nonari.chm", {'k', 'a', 'p', 'u', 't', 't'});
        game.dialog.useHtmlHelp = true;
        showManualOverview();
        unsetenv("NONARI_DATA_DIR");
        runPlayCommand(PlayCommand::Help, PlayMode::Game);  // the Hilfe button
        game.dialog.useHtmlHelp = false;
        showManualOverview();
        showRulesHelp();
        const std::string manual = shippedFile("nonari.chm").string();
        EXPECT_TRUE(fs::equivalent(manual, sourceDir() / "data" / "nonari.chm")) << manual;
        EXPECT_EQ(pf.helpShown, (std::vector<std::string>{(fs::current_path() / "daten" / "nonari.chm").string() +
                                 "#übersicht.htm", manual + "#erklärung.htm", "Nonari.hlp?Menupunkte", "Nonari.hlp?Erklärung"}));
        pf.helpSucceeds = false;
        showRulesHelp();
        ASSERT_EQ(pf.messages.size(), 1u);
        EXPECT_TRUE(pf.messages[0].find("Nonari.hlp") != std::string::npos &&
                    pf.messages[0].find("nicht angezeigt") != std::string::npos) << pf.messages[0];
    }));
}

TEST(Help, OnlyTheNtFamilyFromMajorSixOnUsesTheHtmlManual) {
    // Bit 31 set marks a system outside the NT family; the low byte is the major version, the rest is ignored.
    for (auto [version, html] : {std::pair<std::uint32_t, bool>{0x0000000A, true}, {0x23F00206, true},
                                 {0x0A280105, false}, {0xC0000A04, false}, {0x80000006, false}})
        EXPECT_EQ(htmlHelpPlatformFor(version), html) << std::hex << version;
}

TEST_F(FoldersTest, InformationDialogClosesByButtonAndCloseBoxAlikeAndWhenTheProgramEnds) {
    pf.openMainWindow(81, 5, 862, 723);
    for (const std::string handler : {"cmd15_Click", "Inf_Close"}) {
        game.dialog.dialogClosed = false;
        bool openAndModal = false;
        pf.pushStep([&] { openAndModal = pf.findForm("Inf") && !pf.windowEnabled; });
        pf.pushFormEvent("Inf", handler);
        pf.pushStep([] {});  // would run if the dialog kept waiting
        showInformation();
        EXPECT_TRUE(openAndModal && pf.windowEnabled && game.dialog.dialogClosed && !pf.findForm("Inf")) << handler;
        EXPECT_EQ(std::exchange(pf.script, {}).size(), 1u) << handler << ": the dialog returned right after the close";
    }
    showInformation();  // no script: the program ends while the dialog waits
    EXPECT_TRUE(pf.ending && pf.windowEnabled && !pf.findForm("Inf"));
}

ChildOutput shell(const std::string& script, ChildLimits limits = {}) {
    return runLimitedChild("/bin/sh", {"-c", script}, limits);
}

std::string text(const ChildOutput& out) { return {out.output.begin(), out.output.end()}; }

TEST(ChildProcess, AWellBehavedChildHandsOverItsOutputAMisbehavingOneNothingAndNoneIsLeftOver) {
    const int ours = open("/dev/null", O_RDONLY);  // not closed on exec: the child must not get it anyway
    ASSERT_GE(ours, 3);
    // Standard input and error are /dev/null; no other descriptor is open in the child.
    ChildOutput out = shell("read line; echo \"[$line]\"; echo fehler >&2; ls /proc/$$/fd; exit 3");
    close(ours);
    EXPECT_TRUE(out.exitCode == 3 && text(out) == "[]\n0\n1\n2\n") << text(out);
    out = shell("head -c 100000 /dev/zero");  // more than one pipe's worth
    EXPECT_TRUE(out.exitCode == 0 && out.output.size() == 100000u);

    const ChildLimits quick{.cpuSeconds = 1, .wallMilliseconds = 300, .outputBytes = 4096};
    const std::pair<const char*, ChildLimits> misbehaving[] = {
        {"echo halb; kill -SEGV $$", quick},                   // killed by a signal
        {"echo halb; exec sleep 60", quick},                   // never ends
        {"exec >&-; exec sleep 60", quick},                    // ends its output but not itself
        {"head -c 5000 /dev/zero", quick},                     // ends, but wrote more than it may
        // Spins for many processor seconds, well within its wall time, then would end by itself.
        {"i=0; while [ $i -lt 10000000 ]; do i=$((i+1)); done; echo fertig",
         {.cpuSeconds = 1, .wallMilliseconds = 60000}},
    };
    for (const auto& [script, limits] : misbehaving) {
        out = shell(script, limits);
        EXPECT_TRUE(!out.exitCode && out.output.empty()) << script;
    }
    // A program that is not there cannot be started: status 127 from the child, no output.
    EXPECT_EQ(runLimitedChild("/nonexistent/nonari-manual-page", {}, quick).exitCode, std::optional<int>(127));
    EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child left as a zombie or running";
}

TEST(ChildProcess, AChildDoesNotGetMoreMemoryThanItsLimit) {
    const std::string grab = "dd if=/dev/zero bs=200M count=1 of=/dev/null status=none && echo ok";  // a 200 MB buffer
    EXPECT_NE(text(shell(grab, {.memoryBytes = 64u << 20})), "ok\n");
    // Ample time: on a busy machine the copy may take seconds, and a child stopped for time gives no output either.
    EXPECT_EQ(text(shell(grab, {.wallMilliseconds = 60000, .memoryBytes = 1u << 30})), "ok\n");
}

}  // namespace
}  // namespace nonari::test
