// The menu table, the recursive builder and the check marks.
#include "app/menu.h"
#include "tests/support/test_support.h"

#include <cctype>
#include <set>

namespace nonari {
namespace {

using Entry = HeadlessPlatform::MenuEntry;

class MenuTest : public test::HeadlessGame {
protected:
    const std::vector<Entry>& bar() { return pf.menus.at(pf.menuBar); }
    const std::vector<Entry>& popup(std::size_t index) { return pf.menus.at(bar().at(index).popup); }
    static std::vector<std::string> captions(const std::vector<Entry>& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries) out.push_back(e.kind == Entry::Separator ? "-" : e.caption);
        return out;
    }
};

TEST_F(MenuTest, TableBuildsFourPopupsInTableOrder) {
    ASSERT_TRUE(buildMenuBar());
    EXPECT_EQ(captions(bar()), (std::vector<std::string>{"&Nonari", "&Optionen", "Sch&wierigkeit", "&Hilfe"}));
    EXPECT_EQ(captions(popup(0)), (std::vector<std::string>{"&Neues Spiel", "-", "&Spielstart", "N&eustart", "-",
                                                            "Spieledruck", "-", "&Beenden"}));
    EXPECT_EQ(captions(popup(3)), (std::vector<std::string>{"&Anleitung", "-", "über &Nonari..."}));

    // Ids in table order, not sorted: Neustart (25) stands between 10 and 12.
    std::vector<int> ids;
    for (const auto& e : popup(0))
        if (e.kind == Entry::Item) ids.push_back(e.id);
    EXPECT_EQ(ids, (std::vector<int>{8, 10, 25, 12, 99}));

    std::vector<int> difficultyIds;
    for (const auto& e : popup(2))
        if (e.kind == Entry::Item) difficultyIds.push_back(e.id);
    EXPECT_EQ(difficultyIds, (std::vector<int>{30, 31, 32, 33, 34, 40, 41, 44, 45, 50}));
}

TEST_F(MenuTest, EveryCaptionHasDistinctAcceleratorsWithinItsMenu) {
    ASSERT_TRUE(buildMenuBar());
    std::vector<const std::vector<Entry>*> menus = {&bar()};
    for (std::size_t i = 0; i < bar().size(); ++i) menus.push_back(&popup(i));
    for (const auto* menu : menus) {
        std::set<char> letters;
        for (const auto& e : *menu) {
            auto amp = e.caption.find('&');
            if (e.kind == Entry::Separator || amp == std::string::npos) continue;
            char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(e.caption[amp + 1])));
            EXPECT_TRUE(letters.insert(letter).second) << "accelerator used twice: " << e.caption;
        }
    }
}

TEST_F(MenuTest, ReadingRulesOfTheTable) {
    // Only the first ":" separates id and caption; ">" opens a nested popup;
    // a top-level command item swallows one extra entry.
    std::vector<std::string> table = {"5:Oben", "wird ignoriert", "Datei", "7:Zeit: jetzt", ">Mehr", "9:Innen", "",
                                      "-", "", ""};
    ASSERT_TRUE(buildMenuBar(table));
    ASSERT_EQ(bar().size(), 2u);
    EXPECT_EQ(bar()[0].kind, Entry::Item);
    EXPECT_EQ(bar()[0].id, 5);
    EXPECT_EQ(bar()[0].caption, "Oben");
    EXPECT_EQ(bar()[1].caption, "Datei");
    const auto& file = popup(1);
    ASSERT_EQ(file.size(), 3u);
    EXPECT_EQ(file[0].id, 7);
    EXPECT_EQ(file[0].caption, "Zeit: jetzt");
    EXPECT_EQ(file[1].kind, Entry::Popup);
    EXPECT_EQ(file[1].caption, "Mehr");
    EXPECT_EQ(pf.menus.at(file[1].popup).at(0).caption, "Innen");
    EXPECT_EQ(file[2].kind, Entry::Separator);
}

TEST_F(MenuTest, TableWithoutEndMarkerStillEnds) {
    std::vector<std::string> table = {"Datei", "1:Eins"};
    ASSERT_TRUE(buildMenuBar(table));
    EXPECT_EQ(popup(0).size(), 1u);
}

TEST_F(MenuTest, InstallingReplacesAndDestroysTheOldBar) {
    ASSERT_TRUE(buildMenuBar());
    MenuId first = pf.menuBar;
    std::size_t menusOfOneBar = pf.menus.size();
    ASSERT_TRUE(buildMenuBar());
    EXPECT_NE(pf.menuBar, first);
    EXPECT_EQ(pf.menus.count(first), 0u);
    EXPECT_EQ(pf.menus.size(), menusOfOneBar);
}

class FailingMenuPlatform : public HeadlessPlatform {
public:
    int failOnId = -1;
    bool appendMenuItem(MenuId menu, int id, const std::string& caption) override {
        if (id == failOnId) return false;
        return HeadlessPlatform::appendMenuItem(menu, id, caption);
    }
};

TEST_F(MenuTest, AFailingItemDestroysThePartlyBuiltBar) {
    FailingMenuPlatform failing;
    failing.failOnId = 41;
    installPlatform(&failing);
    EXPECT_FALSE(buildMenuBar());
    EXPECT_TRUE(failing.menus.empty());
    EXPECT_EQ(failing.menuBar, 0);
    installPlatform(&pf);
}

TEST_F(MenuTest, CheckMarksFollowTheSettings) {
    ASSERT_TRUE(buildMenuBar());
    updateMenuChecks();
    EXPECT_TRUE(pf.checks[30]);
    EXPECT_TRUE(pf.checks[40]);
    EXPECT_TRUE(pf.checks[45]);
    EXPECT_FALSE(pf.checks[44]);
    EXPECT_FALSE(pf.checks[41]);

    game.difficulty = 4;
    game.numbersMode = false;
    game.showCandidates = true;
    game.symmetryOn = false;
    updateMenuChecks();
    for (int id = 30; id <= 33; ++id) EXPECT_FALSE(pf.checks[id]) << id;
    EXPECT_TRUE(pf.checks[34]);
    EXPECT_FALSE(pf.checks[40]);
    EXPECT_TRUE(pf.checks[41]);
    EXPECT_TRUE(pf.checks[44]);
    EXPECT_FALSE(pf.checks[45]);
}

}  // namespace
}  // namespace nonari
