// Choosing the manual's format from the system version, opening its topics, and the messages when it cannot be shown.
#include "app/game_state.h"
#include "help/help_launch.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari::test {
namespace {

// A help viewer that, like a real one, can only open files that exist.
class FileCheckingHelp : public HeadlessPlatform {
public:
    std::vector<std::string> closed;
    bool showHtmlHelp(const std::string& file, const std::string& topic) override {
        HeadlessPlatform::showHtmlHelp(file, topic);
        return std::filesystem::is_regular_file(file);
    }
    void closeWinHelp(const std::string& file) override { closed.push_back(file); }
};

class HelpTest : public HeadlessGame {};

TEST(HelpDecision, OnlyTheNtFamilyFromMajorSixOnUsesTheHtmlManual) {
    EXPECT_TRUE(htmlHelpPlatformFor(0x0000000A));   // what this system reports: major 10
    EXPECT_TRUE(htmlHelpPlatformFor(0x17700006));   // NT 6.0 with a build number
    EXPECT_TRUE(htmlHelpPlatformFor(0x23F00206));   // NT 6.2
    EXPECT_FALSE(htmlHelpPlatformFor(0x0A280105));  // NT 5.1
    EXPECT_FALSE(htmlHelpPlatformFor(0x00000005));
    EXPECT_FALSE(htmlHelpPlatformFor(0xC0000A04));  // outside the NT family
    EXPECT_FALSE(htmlHelpPlatformFor(0x80000006));  // outside the NT family, even with major 6
    EXPECT_FALSE(htmlHelpPlatformFor(0x8000000A));
    EXPECT_TRUE(htmlHelpPlatformFor(0x7FFFFF06));   // only bit 31 and the low byte matter
}

TEST_F(HelpTest, DecisionReadsTheVersionThePlatformReports) {
    pf.version = 0x0000000A;
    EXPECT_TRUE(htmlHelpPlatform());
    pf.version = 0x0A280105;
    EXPECT_FALSE(htmlHelpPlatform());
    pf.version = 0x80000A06;
    EXPECT_FALSE(htmlHelpPlatform());
}

TEST_F(HelpTest, BothTopicsOpenInTheChosenFormat) {
    game.useHtmlHelp = true;
    showManualOverview();
    showRulesHelp();
    EXPECT_EQ(pf.helpShown, (std::vector<std::string>{"nonari.chm#übersicht.htm", "nonari.chm#erklärung.htm"}));

    pf.helpShown.clear();
    game.useHtmlHelp = false;
    showManualOverview();
    showRulesHelp();
    EXPECT_EQ(pf.helpShown, (std::vector<std::string>{"Nonari.hlp?Menupunkte", "Nonari.hlp?Erklärung"}));
    EXPECT_TRUE(pf.messages.empty());
}

TEST_F(HelpTest, ManualThatCannotBeShownIsReported) {
    pf.helpSucceeds = false;
    game.useHtmlHelp = true;
    showManualOverview();
    ASSERT_EQ(pf.messages.size(), 1u);
    EXPECT_EQ(pf.messages[0], "Error while trying to display a topic of nonari.chm");
    EXPECT_EQ(pf.helpShown.front(), "nonari.chm#übersicht.htm");

    pf.messages.clear();
    showHelpTopic("andere.chm", "x.htm");
    EXPECT_EQ(pf.messages, std::vector<std::string>{"Error while trying to display a topic of andere.chm"});

    // No viewer for the older format: a German message naming the file instead of silence.
    pf.messages.clear();
    game.useHtmlHelp = false;
    showRulesHelp();
    ASSERT_EQ(pf.messages.size(), 1u);
    EXPECT_NE(pf.messages[0].find("Nonari.hlp"), std::string::npos);
    EXPECT_NE(pf.messages[0].find("nicht angezeigt"), std::string::npos);
}

TEST_F(HelpTest, WorkingFolderCopyComesFirstAndTheShippedCopyStandsIn) {
    FileCheckingHelp viewer;
    installPlatform(&viewer);
    game.useHtmlHelp = true;

    // Without a copy in the working folder the one shipped in the data folder is opened.
    ASSERT_TRUE(std::filesystem::is_regular_file(sourceDir() / "data" / "nonari.chm"));
    showRulesHelp();
    ASSERT_EQ(viewer.helpShown.size(), 2u);
    EXPECT_EQ(viewer.helpShown[0], "nonari.chm#erklärung.htm");
    EXPECT_TRUE(viewer.helpShown[1].ends_with("/nonari.chm#erklärung.htm")) << viewer.helpShown[1];
    EXPECT_TRUE(viewer.messages.empty());

    viewer.helpShown.clear();
    writeBytes("nonari.chm", {'I', 'T', 'S', 'F'});
    showManualOverview();
    EXPECT_EQ(viewer.helpShown, std::vector<std::string>{"nonari.chm#übersicht.htm"});

    closeWinHelp();
    EXPECT_EQ(viewer.closed, std::vector<std::string>{"Nonari.hlp"});
    installPlatform(&pf);
}

}  // namespace
}  // namespace nonari::test
