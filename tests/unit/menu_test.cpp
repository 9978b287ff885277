// The menu table, the recursive builder and the check marks.
#include "app/menu.h"
#include "tests/support/test_support.h"

#include <cctype>
#include <set>

namespace nonari {
namespace {

using Entry = HeadlessPlatform::MenuEntry;
using Texts = std::vector<std::string>;

class MenuTest : public test::HeadlessGame {
protected:
    const std::vector<Entry>& bar() { return pf.menus.at(pf.menuBar); }
    const std::vector<Entry>& popup(std::size_t index) { return pf.menus.at(bar().at(index).popup); }
    static Texts captions(const std::vector<Entry>& entries) {
        Texts out;
        for (const auto& e : entries) out.push_back(e.kind == Entry::Separator ? "-" : e.caption);
        return out;
    }
    static std::vector<int> itemIds(const std::vector<Entry>& entries) {
        std::vector<int> ids;
        for (const auto& e : entries)
            if (e.kind == Entry::Item) ids.push_back(e.id);
        return ids;
    }
    std::vector<bool> checks(std::initializer_list<int> ids) {
        std::vector<bool> out;
        for (int id : ids) out.push_back(pf.checks[id]);
        return out;
    }
};

TEST_F(MenuTest, TableBuildsFourPopupsInTableOrderWithDistinctAccelerators) {
    ASSERT_TRUE(buildMenuBar());
    EXPECT_EQ(captions(bar()), (Texts{"&Nonari", "&Optionen", "Sch&wierigkeit", "&Hilfe"}));
    EXPECT_EQ(captions(popup(0)),
              (Texts{"&Neues Spiel", "-", "&Spielstart", "N&eustart", "-", "Spieledruck", "-", "&Beenden"}));
    EXPECT_EQ(captions(popup(3)), (Texts{"&Anleitung", "-", "über &Nonari..."}));
    // Ids in table order, not sorted: Neustart (25) stands between 10 and 12.
    EXPECT_EQ(itemIds(popup(0)), (std::vector<int>{8, 10, 25, 12, 99}));
    EXPECT_EQ(itemIds(popup(2)), (std::vector<int>{30, 31, 32, 33, 34, 40, 41, 44, 45, 50}));

    for (std::size_t i = 0; i <= bar().size(); ++i) {
        std::set<char> letters;
        for (const auto& e : i == 0 ? bar() : popup(i - 1)) {
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
    ASSERT_TRUE(buildMenuBar({"5:Oben", "wird ignoriert", "Datei", "7:Zeit: jetzt", ">Mehr", "9:Innen", "", "-", "", ""}));
    EXPECT_EQ(captions(bar()), (Texts{"Oben", "Datei"}));
    EXPECT_EQ(std::make_pair(bar()[0].kind, bar()[0].id), std::make_pair(Entry::Item, 5));
    EXPECT_EQ(captions(popup(1)), (Texts{"Zeit: jetzt", "Mehr", "-"}));
    EXPECT_EQ(std::make_pair(popup(1)[0].id, popup(1)[1].kind), std::make_pair(7, Entry::Popup));
    EXPECT_EQ(captions(pf.menus.at(popup(1)[1].popup)), Texts{"Innen"});

    ASSERT_TRUE(buildMenuBar({"Datei", "1:Eins"}));  // a table without its end marker still ends
    EXPECT_EQ(captions(popup(0)), Texts{"Eins"});
}

class FailingMenuPlatform : public HeadlessPlatform {
public:
    bool appendMenuItem(MenuId menu, int id, const std::string& caption) override {
        return id != 41 && HeadlessPlatform::appendMenuItem(menu, id, caption);
    }
};

TEST_F(MenuTest, InstallingReplacesTheOldBarAndAFailingItemDestroysThePartlyBuiltOne) {
    ASSERT_TRUE(buildMenuBar());
    const MenuId first = pf.menuBar;
    const std::size_t menusOfOneBar = pf.menus.size();
    ASSERT_TRUE(buildMenuBar());
    EXPECT_NE(pf.menuBar, first);
    EXPECT_EQ(std::make_pair(pf.menus.count(first), pf.menus.size()), std::make_pair(std::size_t{0}, menusOfOneBar));

    FailingMenuPlatform failing;
    installPlatform(&failing);
    EXPECT_FALSE(buildMenuBar());
    EXPECT_TRUE(failing.menus.empty() && failing.menuBar == 0);
    installPlatform(&pf);
}

TEST_F(MenuTest, CheckMarksFollowTheSettings) {
    ASSERT_TRUE(buildMenuBar());
    updateMenuChecks();  // after start: Leicht, Zahlen and Symmetrie
    EXPECT_EQ(checks({30, 34, 40, 41, 44, 45}), (std::vector<bool>{true, false, true, false, false, true}));
    game.difficulty = 4;
    game.numbersMode = false;
    game.showCandidates = true;
    game.symmetryOn = false;
    updateMenuChecks();
    EXPECT_EQ(checks({30, 31, 32, 33, 34, 40, 41, 44, 45}),
              (std::vector<bool>{false, false, false, false, true, false, true, true, false}));
}

}  // namespace
}  // namespace nonari
