// The champions file: its 150-line layout, damaged files, Windows-1252 names and saves that cannot fail halfway.
#include "fame/champions_file.h"
#include "tests/support/test_support.h"

#include <array>
#include <filesystem>

namespace nonari {
namespace {

namespace fs = std::filesystem;

std::string entryLines(const std::string& name, const std::string& time, const std::string& end = "\r\n") {
    return name + end + "1.2.2024" + end + time + end;
}

// A block of ten sorted entries whose names tell difficulty and place apart.
std::string placeName(int d, int p) { return "S" + std::to_string(d * 100 + p); }
std::string placeTime(int p) { return "00:0" + std::to_string(p - 1) + ":00.0"; }
std::string blockLines(int d, const std::string& end = "\r\n") {
    std::string text;
    for (int p = 1; p <= 10; ++p) text += entryLines(placeName(d, p), placeTime(p), end);
    return text;
}
std::string allBlocks() { return blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3) + blockLines(4); }

// How many places of a difficulty hold the entry blockLines wrote, and how many are empty.
std::pair<int, int> loadedAndEmpty(int d) {
    int loaded = 0, empty = 0;
    for (int p = 1; p <= 10; ++p) {
        const auto entry = std::tie(game.championName[d][p], game.championDate[d][p], game.championTime[d][p]);
        loaded += entry == std::tuple(placeName(d, p), "1.2.2024", placeTime(p));
        empty += entry == std::tuple("", "", "9");
    }
    return {loaded, empty};
}

std::string fileText() {
    auto bytes = test::readBytes(championsFile);
    return {bytes.begin(), bytes.end()};
}

using ChampionsFileTest = test::HeadlessGame;

TEST_F(ChampionsFileTest, SaveWritesAllLinesInWindows1252) {
    loadChampions();  // no file: empty lists, and nothing is created
    EXPECT_EQ(loadedAndEmpty(3), std::make_pair(0, 10));
    EXPECT_FALSE(fs::exists(championsFile));

    game.championName[1][1] = "Jürgen € Straße";
    game.championTime[1][1] = "00:12:34.5";
    game.championDate[1][1] = "3.4.2024";
    game.championName[1][2] = "Zwei\r\nZeilen\n";  // would shift every later entry
    game.championTime[1][2] = "00:13:00.0";
    game.championName[1][3] = "Ωμέγα 日本 🙂";
    game.championTime[1][3] = "00:14:00.0";
    ASSERT_TRUE(saveChampions());
    std::string expected;
    for (int place = 0; place < 50; ++place) expected += "\r\n\r\n9\r\n";  // 150 lines, empty places
    expected.replace(10 * 7, 3 * 7,
                     "J\xFCrgen \x80 Stra\xDF" "e\r\n3.4.2024\r\n00:12:34.5\r\n"
                     "Zwei  Zeilen \r\n\r\n00:13:00.0\r\n"
                     "????? ?? ?\r\n\r\n00:14:00.0\r\n");
    EXPECT_EQ(fileText(), expected);

    auto names = game.championName, dates = game.championDate, times = game.championTime;
    loadChampions();
    EXPECT_EQ(game.championName[1][1] + "|" + game.championName[1][2], names[1][1] + "|Zwei  Zeilen ");
    EXPECT_EQ(std::tie(game.championDate, game.championTime), std::tie(dates, times));
}

TEST_F(ChampionsFileTest, LoadTakesWhatTheFileHoldsAndEmptiesTheRest) {
    const std::string all = allBlocks(), mittel = blockLines(1);
    const std::pair<std::string, std::array<int, 5>> cases[] = {
        {blockLines(0) + mittel + blockLines(2), {10, 10, 10, 0, 0}},  // 90 lines
        {blockLines(0) + mittel.substr(0, mittel.find("S104")) + "S104\r\n1.2.2024", {10, 3, 0, 0, 0}},  // no time line
        {"", {0, 0, 0, 0, 0}},
        {all.substr(0, all.size() - 2), {10, 10, 10, 10, 10}},  // no final line end
        {blockLines(0, "\n") + blockLines(1, "\r") + blockLines(2) + blockLines(3, "\n") + blockLines(4), {10, 10, 10, 10, 10}},
    };
    for (const auto& [text, loaded] : cases) {
        SCOPED_TRACE(text.size());
        test::writeBytes(championsFile, {text.begin(), text.end()});
        for (auto* table : {&game.championName, &game.championDate, &game.championTime})
            for (auto& list : *table) list.fill("alt");
        loadChampions();
        for (int d = 0; d < 5; ++d) EXPECT_EQ(loadedAndEmpty(d), std::make_pair(loaded[d], 10 - loaded[d])) << d;
    }

    // Empty names stay empty; bytes outside ASCII come back as their characters.
    std::string odd = entryLines("", "00:00:01.0") + entryLines("Zo\xEB \x80\x9F\x81", "00:00:02.0");
    test::writeBytes(championsFile, {odd.begin(), odd.end()});
    loadChampions();
    EXPECT_EQ(game.championName[0][1] + "|" + game.championTime[0][1] + "|" + game.championName[0][2],
              "|00:00:01.0|Zoë €Ÿ\u0081");
    ASSERT_TRUE(saveChampions());
    EXPECT_EQ(fileText().substr(0, odd.size()), odd);  // even an unassigned byte survives
}

TEST(Windows1252, EveryByteSurvivesBothWaysAndOtherCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(windows1252ToUtf8("\x80\x8A\x99\x84\x9F\xE4\xDF\xA0"), "€Š™„Ÿäß\u00A0");
    EXPECT_EQ(utf8ToWindows1252("a\u0100b\U0001F600c"), "a?b?c");
    EXPECT_EQ(utf8ToWindows1252("x\xC3(\xFF\xE2\x82y"), "x?(???y");  // broken sequences
    EXPECT_EQ(utf8ToWindows1252("\xC0\xAF\xED\xA0\x80"), "?????");  // overlong form, surrogate
}

// A save that cannot be completed leaves the old file byte for byte, and nothing beside it.
TEST_F(ChampionsFileTest, FailedSaveOrUnreadableFileLeavesTheOldFile) {
    const std::string all = allBlocks();
    test::writeBytes(championsFile, {all.begin(), all.end()});
    loadChampions();
    game.championName[2][1] = "Neu";
    auto expectOldFileOnly = [&] {
        EXPECT_EQ(fileText(), all);
        EXPECT_EQ(std::distance(fs::directory_iterator(work->path()), fs::directory_iterator()), 1);
    };
    // A full disk, played by a file-size limit.
    EXPECT_TRUE(test::inChildProcess([] {
        test::limitFileSize(100);
        return !saveChampions();
    }));
    expectOldFileOnly();
    // A file the player may not read: the lists come up empty, and a save must not replace it even
    // though the folder would allow it.
    fs::permissions(work->path(), fs::perms::all);
    fs::permissions(championsFile, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(test::inChildProcess([] {
        if (!test::actAsOrdinaryUser()) return false;
        loadChampions();
        const bool emptied = game.championTime[2][1] == "9";
        game.championName[2][1] = "Neu";
        game.championTime[2][1] = "00:01:00.0";
        return emptied && !saveChampions();
    }));
    expectOldFileOnly();
}

}  // namespace
}  // namespace nonari
