// The player's folder from the environment, entering it, and where collections and the manual are found.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "help/help_launch.h"
#include "platform/folders.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <cstdlib>
#include <map>
#include <optional>

namespace nonari::test {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test (none: unset) and puts the old values back.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : saved) apply(name, value);
    }
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        if (!saved.count(name)) saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        apply(name, value);
    }

private:
    static void apply(const std::string& name, const std::optional<std::string>& value) {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved;
};

class FoldersTest : public HeadlessGame {
protected:
    Environment env;
};

TEST_F(FoldersTest, ThePlayersFolderIsNonariHomeElseXdgDataHomeElseTheHomesLocalShare) {
    env.set("NONARI_HOME", "/spiele/nonari");
    env.set("XDG_DATA_HOME", "/daten");
    env.set("HOME", "/home/spieler");
    EXPECT_EQ(playerFolder(), fs::path("/spiele/nonari"));
    env.set("NONARI_HOME", "");  // set but empty counts as not set
    EXPECT_EQ(playerFolder(), fs::path("/daten/nonari"));
    env.set("XDG_DATA_HOME", "relativ/daten");  // a relative base folder is ignored
    EXPECT_EQ(playerFolder(), fs::path("/home/spieler/.local/share/nonari"));
    env.set("XDG_DATA_HOME", std::nullopt);
    env.set("HOME", std::nullopt);  // no login environment: the user database knows the home
    const fs::path fromDatabase = playerFolder();
    EXPECT_TRUE(fromDatabase.is_absolute() && fromDatabase.filename() == "nonari") << fromDatabase;
}

TEST_F(FoldersTest, TheFolderIsCreatedAndEnteredAndAnUnusableOneLeavesTheWorkingFolderWithAMessage) {
    const fs::path start = fs::current_path();
    env.set("NONARI_HOME", (start / "neu" / "tief" / "nonari").string());
    EXPECT_EQ(enterPlayerFolder(), "");
    EXPECT_EQ(fs::current_path(), start / "neu" / "tief" / "nonari");
    EXPECT_EQ(enterPlayerFolder(), "");  // a second start finds it in place
    fs::current_path(start);

    writeBytes(start / "datei", {'x'});
    for (const fs::path& unusable : {start / "datei", start / "datei" / "nonari"}) {
        env.set("NONARI_HOME", unusable.string());
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
    env.set("NONARI_HOME", (start / "fremd").string());
    EXPECT_TRUE(inChildProcess([&] {
        if (!actAsOrdinaryUser() || !enterPlayerFolder().empty() || fs::current_path() != start / "fremd") return false;
        game.dialog.currentFile = savedBoardFile;
        return readBoardRecord(0) == FileResult::Ok && game.puzzle.board(2, 3) == 4 &&
               loadChampions() == FileResult::Ok && game.fame.championName[1][1] == "Alt" &&
               !enterFolder(start / "fremd" / "nonari");
    }));
}

TEST_F(FoldersTest, CollectionsComeFromThePlayersFolderFirstAndTheManualOnlyFromTheProgramsData) {
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
    env.set("NONARI_DATA_DIR", (fs::current_path() / "daten").string());
    EXPECT_EQ(fs::path(locateBoardFile("mittel.nnr")), fs::current_path() / "daten" / "mittel.nnr");
    EXPECT_EQ(locateBoardFile("brett.nnr"), "brett.nnr");
    EXPECT_EQ(locateBoardFile("../daten/brett.nnr"), "../daten/brett.nnr");

    // A manual in the player's folder is never opened.
    writeBytes("nonari.chm", {'k', 'a', 'p', 'u', 't', 't'});
    game.dialog.useHtmlHelp = true;
    showManualOverview();
    env.set("NONARI_DATA_DIR", std::nullopt);
    showRulesHelp();
    ASSERT_EQ(pf.helpShown.size(), 2u);
    EXPECT_EQ(pf.helpShown[0], (fs::current_path() / "daten" / "nonari.chm").string() + "#übersicht.htm");
    const std::string second = pf.helpShown[1].substr(0, pf.helpShown[1].find('#'));
    EXPECT_TRUE(fs::equivalent(second, sourceDir() / "data" / "nonari.chm")) << pf.helpShown[1];
}

}  // namespace
}  // namespace nonari::test
