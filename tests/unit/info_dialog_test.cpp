// The information dialog: the ways it closes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/info_dialog.h"
#include "tests/support/test_support.h"

namespace nonari::test {
namespace {

using InfoDialogTest = HeadlessGame;

TEST_F(InfoDialogTest, ClosesByButtonAndCloseBoxAlikeAndWhenTheProgramEnds) {
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
