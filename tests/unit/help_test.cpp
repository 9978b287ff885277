// Choosing the manual's format from the system version, opening its topics, the messages when it cannot be shown, and
// the information dialog.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commands.h"
#include "help/help_launch.h"
#include "help/info_dialog.h"
#include "platform/folders.h"
#include "tests/support/test_support.h"

namespace nonari::test {
namespace {

using HelpTest = HeadlessGame;

TEST_F(HelpTest, OnlyTheNtFamilyFromMajorSixOnUsesTheHtmlManual) {
    // Bit 31 set marks a system outside the NT family; the low byte is the major version, the rest is ignored.
    for (auto [version, html] : {std::pair<std::uint32_t, bool>{0x0000000A, true}, {0x23F00206, true},
                                 {0x0A280105, false}, {0xC0000A04, false}, {0x80000006, false}}) {
        pf.version = version;
        EXPECT_EQ(htmlHelpPlatform(), html) << std::hex << version;
    }
}

TEST_F(HelpTest, BothTopicsOpenInTheChosenFormatAndAFailureIsReported) {
    for (bool html : {true, false}) {
        game.dialog.useHtmlHelp = html;
        showManualOverview();
        runPlayCommand(PlayCommand::Help, PlayMode::Game);  // the Hilfe button
    }
    // The manual is the shipped one, found beside the program.
    const std::string manual = shippedFile("nonari.chm").string();
    ASSERT_FALSE(manual.empty());
    EXPECT_EQ(pf.helpShown, (std::vector<std::string>{manual + "#übersicht.htm", manual + "#erklärung.htm",
                                                      "Nonari.hlp?Menupunkte", "Nonari.hlp?Erklärung"}));
    pf.helpSucceeds = false;  // no viewer for the older format: a German message naming the file, not silence
    showRulesHelp();
    ASSERT_EQ(pf.messages.size(), 1u);
    EXPECT_TRUE(pf.messages[0].find("Nonari.hlp") != std::string::npos &&
                pf.messages[0].find("nicht angezeigt") != std::string::npos) << pf.messages[0];
}

TEST_F(HelpTest, InformationDialogClosesByButtonAndCloseBoxAlikeAndWhenTheProgramEnds) {
    pf.openMainWindow(81, 5, 862, 723);
    for (const std::string handler : {"cmd15_Click", "Inf_Close"}) {
        game.dialog.dialogClosed = false;
        bool openAndModal = false;
        pf.pushStep([&] { openAndModal = pf.findForm("Inf") && !pf.windowEnabled; });
        pf.pushFormEvent("Inf", handler);
        pf.pushStep([] {});  // would run if the dialog kept waiting
        showInformation();
        EXPECT_TRUE(openAndModal && pf.windowEnabled && game.dialog.dialogClosed && !pf.findForm("Inf")) << handler;
        EXPECT_EQ(pf.script.size(), 1u) << handler << ": the dialog returned right after the close";
        pf.script.clear();
    }
    showInformation();  // no script: the program ends while the dialog waits
    EXPECT_TRUE(pf.ending && pf.windowEnabled && !pf.findForm("Inf"));
}

}  // namespace
}  // namespace nonari::test
