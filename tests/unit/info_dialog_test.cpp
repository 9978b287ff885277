// The information dialog: its texts, its place, and the two ways of closing it.
#include "help/info_dialog.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <cctype>

namespace nonari::test {
namespace {

TEST(InfoDialogForm, NamesTheProgramAndVersionButNoAuthorOrAddress) {
    resetGameState();
    const FormLayout form = informationForm();
    std::string text = form.caption + "\n";
    for (const auto& control : form.controls) text += control.caption + "\n";
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(text.find("nonari") != std::string::npos && text.find("version 5.0") != std::string::npos) << text;
    for (const char* banned : {"http", "www", "@", "(c)", "©", "copyright", " by ", "straße", "str."})
        EXPECT_EQ(text.find(banned), std::string::npos) << banned;
}

using InfoDialogTest = HeadlessGame;

TEST_F(InfoDialogTest, ButtonAndCloseBoxEndTheDialogAlike) {
    pf.openMainWindow(81, 5, 862, 723);
    for (const std::string handler : {"cmd15_Click", "Inf_Close"}) {
        game.dialogClosed = false;
        HeadlessPlatform::Form open;
        bool enabledWhileOpen = true;
        pf.pushStep([&] {
            if (pf.findForm("Inf")) open = *pf.findForm("Inf");
            enabledWhileOpen = pf.windowEnabled;
        });
        pf.pushFormEvent("Inf", handler);
        pf.pushStep([] {});  // would run if the dialog kept waiting
        showInformation();
        EXPECT_EQ(std::make_tuple(open.x, open.y, enabledWhileOpen), std::make_tuple(230, 145, false)) << handler;
        EXPECT_TRUE(pf.windowEnabled && game.dialogClosed && !pf.findForm("Inf")) << handler;
        EXPECT_EQ(pf.script.size(), 1u) << handler << ": the dialog returned right after the close";
        pf.script.clear();
    }
    showInformation();  // no script: the program ends while the dialog waits
    EXPECT_TRUE(pf.ending && pf.windowEnabled && !pf.findForm("Inf"));
}

}  // namespace
}  // namespace nonari::test
