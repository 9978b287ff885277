// The information dialog: its texts, its place, and the two ways of closing it.
#include "app/game_state.h"
#include "help/info_dialog.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <cctype>

namespace nonari::test {
namespace {

class InfoDialogTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        pf.openMainWindow(81, 5, 862, 723);
    }
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(InfoDialogForm, NamesTheProgramAndVersionOnly) {
    resetGameState();
    const FormSpec form = informationForm();
    EXPECT_EQ(form.name, "Inf");
    std::vector<std::string> names;
    std::string allText = form.caption + "\n";
    for (const auto& control : form.controls) {
        names.push_back(control.name);
        allText += control.caption + "\n";
        // Every control lies inside the form.
        EXPECT_GE(control.x, 0) << control.name;
        EXPECT_GE(control.y, 0) << control.name;
        EXPECT_LE(control.x + control.width, form.width) << control.name;
        EXPECT_LE(control.y + control.height, form.height) << control.name;
        for (const auto& other : form.controls) {
            if (&other == &control) continue;
            const bool apart = control.y + control.height <= other.y || other.y + other.height <= control.y ||
                               control.x + control.width <= other.x || other.x + other.width <= control.x;
            EXPECT_TRUE(apart) << control.name << " overlaps " << other.name;
        }
    }
    std::vector<std::string> expected = {"lbl1"};
    for (int i = 20; i <= 29; ++i) expected.push_back("lbl" + std::to_string(i));
    expected.push_back("cmd15");
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    EXPECT_NE(allText.find("Nonari"), std::string::npos);
    EXPECT_NE(allText.find("5.0"), std::string::npos);
    for (const char* banned : {"http", "www", "@", "(c)", "©", "copyright", " by ", "straße", "str."})
        EXPECT_EQ(lower(allText).find(banned), std::string::npos) << banned;
    EXPECT_TRUE(form.handlers.count("cmd15_Click"));
    EXPECT_TRUE(form.handlers.count("Inf_Close"));
}

TEST_F(InfoDialogTest, ButtonAndCloseBoxEndTheDialogAlike) {
    for (const std::string handler : {"cmd15_Click", "Inf_Close"}) {
        SCOPED_TRACE(handler);
        int formX = 0, formY = 0;
        bool enabledWhileOpen = true;
        pf.ending = false;
        pf.pushStep([&] {
            const auto* form = pf.findForm("Inf");
            ASSERT_NE(form, nullptr);
            formX = form->x;
            formY = form->y;
            enabledWhileOpen = pf.windowEnabled;
        });
        pf.pushFormEvent("Inf", handler);
        pf.pushStep([] {});  // would run if the dialog kept waiting

        showInformation();
        EXPECT_EQ(formX, 81 + 149);
        EXPECT_EQ(formY, 5 + 140);
        EXPECT_FALSE(enabledWhileOpen);
        EXPECT_TRUE(pf.windowEnabled);
        EXPECT_TRUE(game.dialogClosed);
        EXPECT_EQ(pf.findForm("Inf"), nullptr);
        EXPECT_EQ(pf.script.size(), 1u);  // the dialog returned right after the close
        EXPECT_FALSE(pf.ending);
        pf.script.clear();
    }
}

TEST_F(InfoDialogTest, EndingProgramClosesTheOpenDialog) {
    showInformation();  // no script: the program ends while the dialog waits
    EXPECT_TRUE(pf.ending);
    EXPECT_EQ(pf.findForm("Inf"), nullptr);
    EXPECT_TRUE(pf.windowEnabled);
}

}  // namespace
}  // namespace nonari::test
