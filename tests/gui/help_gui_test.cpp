// The shipped manual through the Qt platform: both topics, a link between them, files and topics it cannot show,
// and damaged files that crash the archive library, which must not take the game with them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_launch.h"
#include "platform/qt/qt_help_viewer.h"
#include "state/game_state.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QPointer>
#include <QTextBrowser>

#include <filesystem>

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
    for (const char* crash : {"divides-by-zero.chm", "reads-out-of-bounds.chm", "asks-for-4-gib.chm"})
        std::filesystem::copy_file(damaged / crash, crash);
    for (const char* file : {"halb.chm", "kaputt.chm", "leer.chm", "ordner.chm", "rohr.chm", "divides-by-zero.chm",
                             "reads-out-of-bounds.chm", "asks-for-4-gib.chm"})
        EXPECT_FALSE(qt_testing::helpViewer().show(file, "/übersicht.htm")) << file;
    EXPECT_FALSE(qt_testing::helpViewer().show((sourceDir() / "data" / "nonari.chm").string(), "/fehlt.htm"));
    EXPECT_EQ(browser(), nullptr);
}

}  // namespace
}  // namespace nonari::test
