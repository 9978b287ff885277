// The champions file: its 150-line layout, files of any line end, and Windows-1252 names.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"
#include "tests/support/test_support.h"

#include <filesystem>

namespace nonari {
namespace {

namespace fs = std::filesystem;

// Ten entries of difficulty d whose names tell difficulty and place apart.
std::string placeName(int d, int p) { return "S" + std::to_string(d * 100 + p); }
std::string blockLines(int d, const std::string& end = "\r\n") {
    std::string text;
    for (int p = 1; p <= 10; ++p)
        text += placeName(d, p) + end + "1.2.2024" + end + "00:00:0" + std::to_string(p - 1) + end;
    return text;
}

using ChampionsFileTest = test::HeadlessGame;

TEST_F(ChampionsFileTest, FirstRecordWritesAllLinesInWindows1252AndLoadsBack) {
    EXPECT_EQ(loadChampions(), FileResult::Missing);  // empty lists, and nothing is created
    EXPECT_FALSE(fs::exists(championsFile));
    game.fame.championName[1][1] = "Jürgen €\r\nStraße\n日🙂";  // a line break would shift every later entry
    game.fame.championTime[1][1] = "00:12:34.5";
    game.fame.championDate[1][1] = "3.4.2024";
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    std::string expected;
    for (int place = 0; place < 50; ++place) expected += "\r\n\r\n9\r\n";  // 150 lines, empty places
    expected.replace(10 * 7, 7, "J\xFCrgen \x80  Stra\xDF" "e ??\r\n3.4.2024\r\n00:12:34.5\r\n");
    const auto bytes = test::readBytes(championsFile);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);

    auto names = game.fame.championName, dates = game.fame.championDate, times = game.fame.championTime;
    names[1][1] = "Jürgen €  Straße ??";
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    const FameState& fame = game.fame;
    EXPECT_EQ(std::tie(fame.championName, fame.championDate, fame.championTime), std::tie(names, dates, times));

    std::string all;  // every byte survives both ways; broken sequences, overlong forms and surrogates do not
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("x\xC3(\xFF\xE2\x82y\xC0\xAF\xED\xA0\x80"), "x?(???y?????");
}

TEST_F(ChampionsFileTest, LoadTakesWhatTheFileHoldsInAnyLineEndAndEmptiesTheRestASaveKeepsItInCrLf) {
    // 120 lines; CR CR LF is CR LF converted twice on its way between systems.
    std::string text = blockLines(0, "\n") + blockLines(1, "\r") + blockLines(2) + blockLines(3, "\r\r\n");
    test::writeBytes(championsFile, {text.begin(), text.end()});
    for (auto& list : game.fame.championTime) list.fill("alt");
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p)
            EXPECT_EQ(game.fame.championName[d][p] + "|" + game.fame.championTime[d][p],
                      d < 4 ? placeName(d, p) + "|00:00:0" + std::to_string(p - 1) : "|9");
    ASSERT_EQ(saveChampions(), FileResult::Ok);
    text = blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3);
    for (int p = 1; p <= 10; ++p) text += "\r\n\r\n9\r\n";
    EXPECT_EQ(test::readBytes(championsFile), std::vector<unsigned char>(text.begin(), text.end()));
    text = "\r\n1.2.2024\r\n00:00:01.0\r\n";  // an empty name
    test::writeBytes(championsFile, {text.begin(), text.end()});
    EXPECT_EQ(loadChampions(), FileResult::Ok);
    EXPECT_EQ(game.fame.championName[0][1] + "|" + game.fame.championTime[0][1], "|00:00:01.0");
}

}  // namespace
}  // namespace nonari
