// The shipped manual through the Qt platform: both topics, a link between them, a file it cannot show.
#include "app/game_state.h"
#include "help/help_launch.h"
#include "platform/qt/qt_help_viewer.h"
#include "tests/gui/platform_fixture.h"
#include "tests/support/test_support.h"

#include <QTextBrowser>

namespace nonari::test {
namespace {

class HelpGuiTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        resetGameState();
        game.useHtmlHelp = htmlHelpPlatform();
    }
    static QTextBrowser* browser() { return qobject_cast<QTextBrowser*>(qt_testing::helpViewer().window()); }
    static std::string title() { return browser() ? browser()->documentTitle().toStdString() : "no viewer"; }

    TempWorkDir work;
};

TEST_F(HelpGuiTest, ManualOpensAtBothTopicsFollowsItsLinksAndReportsWhatItCannotShow) {
    ASSERT_TRUE(game.useHtmlHelp);  // this system reports an NT-family major version above 5
    EXPECT_EQ(messageDuring([] { showHelpTopic("fehlt.chm", "übersicht.htm"); }),
              "Error while trying to display a topic of fehlt.chm");
    writeBytes("nonari.chm", {'k', 'a', 'p', 'u', 't', 't'});  // a damaged copy here: the shipped one is shown
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
}

}  // namespace
}  // namespace nonari::test
