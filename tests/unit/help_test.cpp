// Choosing the manual's format from the system version, opening its topics, and the messages when it cannot be shown.
#include "help/help_launch.h"
#include "tests/support/test_support.h"

namespace nonari::test {
namespace {

using HelpTest = HeadlessGame;

TEST_F(HelpTest, OnlyTheNtFamilyFromMajorSixOnUsesTheHtmlManual) {
    // Bit 31 set marks a system outside the NT family; the low byte is the major version, the rest is ignored.
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x0000000A, true},  {0x17700006, true},  {0x23F00206, true},  {0x7FFFFF06, true},  {0x0A280105, false},
        {0x00000005, false}, {0xC0000A04, false}, {0x80000006, false}, {0x8000000A, false}, {0x80000A06, false}};
    for (auto [version, html] : cases) {
        EXPECT_EQ(htmlHelpPlatformFor(version), html) << std::hex << version;
        pf.version = version;
        EXPECT_EQ(htmlHelpPlatform(), html) << "as the platform reports it: " << std::hex << version;
    }
}

TEST_F(HelpTest, BothTopicsOpenInTheChosenFormatAndAFailureIsReported) {
    for (bool html : {true, false}) {
        game.useHtmlHelp = html;
        showManualOverview();
        showRulesHelp();
    }
    EXPECT_EQ(pf.helpShown, (std::vector<std::string>{"nonari.chm#übersicht.htm", "nonari.chm#erklärung.htm",
                                                      "Nonari.hlp?Menupunkte", "Nonari.hlp?Erklärung"}));
    EXPECT_TRUE(pf.messages.empty());

    pf.helpSucceeds = false;
    pf.helpShown.clear();
    game.useHtmlHelp = true;
    showManualOverview();
    showHelpTopic("andere.chm", "x.htm");
    game.useHtmlHelp = false;  // no viewer for the older format: a German message naming the file, not silence
    showRulesHelp();
    ASSERT_EQ(pf.messages.size(), 3u);
    EXPECT_EQ(pf.messages[0] + "|" + pf.messages[1], "Error while trying to display a topic of nonari.chm|"
                                                      "Error while trying to display a topic of andere.chm");
    EXPECT_TRUE(pf.messages[2].find("Nonari.hlp") != std::string::npos &&
                pf.messages[2].find("nicht angezeigt") != std::string::npos) << pf.messages[2];
    EXPECT_EQ(pf.helpShown.front(), "nonari.chm#übersicht.htm") << "the working folder's copy is tried first";
}

}  // namespace
}  // namespace nonari::test
