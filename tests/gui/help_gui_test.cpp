// The shipped manual through the Qt platform: both topics, a link between them, files and topics it cannot show,
// and damaged files that crash the archive library, which must not take the game with them. The committed manual
// data/nonari.chm holds exactly the current sources in docs/, and no page without one.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_launch.h"
#include "platform/qt/qt_help_viewer.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <chm_lib.h>

#include <QPointer>
#include <QTextBrowser>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include <sys/stat.h>

namespace nonari::test {
namespace {

class HelpGuiTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        game.dialog.useHtmlHelp = htmlHelpPlatform();
    }
    static QTextBrowser* browser() { return qobject_cast<QTextBrowser*>(qt_testing::helpViewer().window()); }
    static std::string title() { return browser() ? browser()->documentTitle().toStdString() : "no viewer"; }

    TempWorkDir work;
};

TEST_F(HelpGuiTest, ManualOpensAtBothTopicsFollowsItsLinksAndReportsWhatItCannotShow) {
    ASSERT_TRUE(game.dialog.useHtmlHelp);  // this system reports an NT-family major version above 5
    EXPECT_EQ(messageDuring([] { showHelpTopic("fehlt.chm", "übersicht.htm"); }),
              "Error while trying to display a topic of fehlt.chm");
    const auto damaged = sourceDir() / "tests" / "fuzz" / "manual";
    // A damaged copy here, one that crashes the archive library: the shipped one is shown.
    std::filesystem::copy_file(damaged / "divides-by-zero.chm", "nonari.chm");
    showManualOverview();
    ASSERT_EQ(title(), "Nonari – die Menüpunkte");
    // A click on the link to the rules page opens it in the same viewer.
    QTextCursor link(browser()->document());
    link.setPosition(browser()->document()->find(QStringLiteral("Spielregel und Bedienung")).selectionStart() + 3);
    browser()->setTextCursor(link);
    browser()->ensureCursorVisible();
    QTest::mouseClick(browser()->viewport(), Qt::LeftButton, {}, browser()->cursorRect(link).center());
    QTRY_COMPARE(title(), std::string("Nonari – Spielregel und Bedienung"));
    showManualOverview();
    showRulesHelp();  // the second topic by its own command
    EXPECT_EQ(title(), "Nonari – Spielregel und Bedienung");

    // Closed by the player, the viewer is gone; damaged files and missing topics are refused without a window.
    QPointer<QWidget> closed = browser();
    browser()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull() && browser() == nullptr);
    const auto whole = readBytes(sourceDir() / "data" / "nonari.chm");
    writeBytes("halb.chm", {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 3)});
    const std::string garbage = std::string(1000, 'x').replace(0, 4, "ITSF");
    writeBytes("kaputt.chm", {garbage.begin(), garbage.end()});
    writeBytes("leer.chm", {});
    std::filesystem::create_directory("ordner.chm");
    ASSERT_EQ(mkfifo("rohr.chm", 0600), 0);  // would block a reader that opened it
    std::vector<std::filesystem::path> refused{"halb.chm", "kaputt.chm", "leer.chm", "ordner.chm", "rohr.chm"};
    for (const char* crash : {"divides-by-zero.chm", "reads-out-of-bounds.chm", "asks-for-4-gib.chm"})
        refused.push_back(damaged / crash);
    for (const auto& file : refused) EXPECT_FALSE(qt_testing::helpViewer().show(file, "/übersicht.htm")) << file;
    EXPECT_FALSE(qt_testing::helpViewer().show((sourceDir() / "data" / "nonari.chm").string(), "/fehlt.htm"));
    EXPECT_EQ(browser(), nullptr);
}

TEST(Manual, CompiledFileHoldsExactlyTheListedSources) {
    const auto docs = sourceDir() / "docs", compiledFile = sourceDir() / "data" / "nonari.chm";
    std::unique_ptr<chmFile, void (*)(chmFile*)> chm(chm_open(compiledFile.c_str()), chm_close);
    ASSERT_NE(chm, nullptr) << "data/nonari.chm is missing or damaged";
    std::set<std::string> listed;  // the project's files, with its contents and index files
    const auto project = readBytes(docs / "nonari.hhp");
    std::istringstream lines(std::string(project.begin(), project.end()));
    const std::regex file(R"re((?:(?:Contents|Index) file=)?([^=\[]+\.\w+)\r?)re");
    for (std::string line; std::getline(lines, line);)
        if (std::smatch m; std::regex_match(line, m, file)) listed.insert(m[1]);
    for (const std::string& name : listed) {
        chmUnitInfo unit{};
        ASSERT_EQ(chm_resolve_object(chm.get(), ("/" + name).c_str(), &unit), CHM_RESOLVE_SUCCESS)
            << name << " is not in data/nonari.chm: rebuild it with tools/build_manual.sh";
        std::vector<unsigned char> compiled(static_cast<std::size_t>(unit.length));
        chm_retrieve_object(chm.get(), &unit, compiled.data(), 0, static_cast<LONGINT64>(unit.length));
        EXPECT_TRUE(compiled == readBytes(docs / name)) << name << " changed: run tools/build_manual.sh";
    }
    chm_enumerate(chm.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, [](chmFile*, chmUnitInfo* unit, void* set) {
        const std::string path = unit->path;
        if (path.ends_with(".htm") || path.ends_with(".css")) {
            EXPECT_TRUE(static_cast<std::set<std::string>*>(set)->count(path.substr(1))) << path << " has no source";
        }
        return CHM_ENUMERATOR_CONTINUE;
    }, &listed);
    EXPECT_GE(listed.size(), 2u);
}

TEST(Manual, DescribesTheSlotKeysTheShuffleTheSheetAndKeyFAsTheGameHasThem) {
    const std::tuple<const char*, const char*, int> phrases[] = {  // the slot dialog's keys on both pages first
        {"übersicht.htm", "Pfeiltaste", 1}, {"erklärung.htm", "Pfeiltaste", 1},
        {"übersicht.htm", "jede andere Taste", 1}, {"erklärung.htm", "jede andere Taste", 1},
        {"übersicht.htm", "oder die Escape-Taste schließt das Fenster", 1},
        {"erklärung.htm", "oder die Escape-Taste lässt die Datei unberührt", 1},
        {"übersicht.htm", "im Augenblick des Mischens", 1}, {"übersicht.htm", "Unter jedem Gitter stehen", 1},
        {"erklärung.htm", "in allen leeren Feldern alle Notizen", 2},  // F, in the text and the key table
    };
    for (const auto& [page, phrase, times] : phrases) {
        const auto bytes = readBytes(sourceDir() / "docs" / page);
        const std::string text(bytes.begin(), bytes.end());
        int found = 0;
        for (auto at = text.find(phrase); at != std::string::npos; at = text.find(phrase, at + 1)) ++found;
        EXPECT_EQ(found, times) << phrase << " in " << page;
    }
}

}  // namespace
}  // namespace nonari::test
