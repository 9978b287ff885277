// The champions file: its 150-line layout, the end-of-file rule, damaged files, Windows-1252 and safe saving.
#include "fame/champions_file.h"
#include "tests/support/test_support.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace nonari {
namespace {

namespace fs = std::filesystem;

class ChampionsFileTest : public test::HeadlessGame {
protected:
    static std::vector<unsigned char> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

    // One entry per line triple, with CR LF or LF endings.
    static std::string entryLines(const std::string& name, const std::string& date, const std::string& time,
                                  const std::string& end = "\r\n") {
        return name + end + date + end + time + end;
    }

    static std::string emptyEntryLines() { return entryLines("", "", "9"); }

    // A whole block of one difficulty with distinct, sorted entries.
    static std::string blockLines(int d, const std::string& end = "\r\n") {
        std::string text;
        for (int p = 1; p <= 10; ++p)
            text += entryLines(nameFor(d, p), "1." + std::to_string(p) + ".2024", timeFor(d, p), end);
        return text;
    }
    static std::string nameFor(int d, int p) { return "Spieler " + std::to_string(d) + "-" + std::to_string(p); }
    static std::string timeFor(int d, int p) {
        return "0" + std::to_string(d) + ":" + (p < 10 ? "0" : "") + std::to_string(p) + ":00.0";
    }

    static void expectEmptyList(int d) {
        for (int p = 1; p <= 10; ++p) {
            EXPECT_EQ(game.championName[d][p], "") << d << "/" << p;
            EXPECT_EQ(game.championDate[d][p], "") << d << "/" << p;
            EXPECT_EQ(game.championTime[d][p], "9") << d << "/" << p;
        }
    }

    static void expectBlockLoaded(int d) {
        for (int p = 1; p <= 10; ++p) {
            EXPECT_EQ(game.championName[d][p], nameFor(d, p));
            EXPECT_EQ(game.championDate[d][p], "1." + std::to_string(p) + ".2024");
            EXPECT_EQ(game.championTime[d][p], timeFor(d, p));
        }
    }

    // Tables that no load may leave standing.
    static void fillWithLeftovers() {
        for (int d = 0; d < 5; ++d)
            for (int p = 0; p <= 10; ++p) {
                game.championName[d][p] = "alt";
                game.championDate[d][p] = "alt";
                game.championTime[d][p] = "00:00:00.1";
            }
    }

    static std::vector<unsigned char> fileBytes() { return test::readBytes(championsFile); }
};

TEST_F(ChampionsFileTest, FirstRecordWritesAllHundredFiftyLines) {
    fillWithLeftovers();
    loadChampions();  // no file: five empty lists, and the disk stays untouched
    for (int d = 0; d < 5; ++d) expectEmptyList(d);
    EXPECT_FALSE(fs::exists(championsFile));

    game.championName[1][1] = "Erika";
    game.championDate[1][1] = "3.4.2024";
    game.championTime[1][1] = "00:12:34.5";
    ASSERT_TRUE(saveChampions());

    std::string expected;
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p)
            expected += (d == 1 && p == 1) ? entryLines("Erika", "3.4.2024", "00:12:34.5") : emptyEntryLines();
    EXPECT_EQ(fileBytes(), bytesOf(expected));

    int lineEnds = 0;
    for (unsigned char b : fileBytes()) lineEnds += b == '\n';
    EXPECT_EQ(lineEnds, 150);
}

TEST_F(ChampionsFileTest, MissingBlocksAtTheEndBecomeEmptyLists) {
    // 90 lines: the end is reached exactly where the Extrem block would begin.
    test::writeBytes(championsFile, bytesOf(blockLines(0) + blockLines(1) + blockLines(2)));
    fillWithLeftovers();
    loadChampions();
    for (int d = 0; d < 3; ++d) expectBlockLoaded(d);
    expectEmptyList(3);
    expectEmptyList(4);

    // An empty file gives five empty lists.
    test::writeBytes(championsFile, {});
    fillWithLeftovers();
    loadChampions();
    for (int d = 0; d < 5; ++d) expectEmptyList(d);
}

TEST_F(ChampionsFileTest, FileCutOffInsideABlockKeepsWhatItHolds) {
    // Leicht complete, Mittel with two whole places and the name line of a third, no final line end.
    std::string text = blockLines(0) + entryLines(nameFor(1, 1), "1.1.2024", timeFor(1, 1)) +
                       entryLines(nameFor(1, 2), "1.2.2024", timeFor(1, 2)) + "Halber Eintrag";
    test::writeBytes(championsFile, bytesOf(text));
    fillWithLeftovers();
    loadChampions();
    expectBlockLoaded(0);
    EXPECT_EQ(game.championName[1][1], nameFor(1, 1));
    EXPECT_EQ(game.championTime[1][2], timeFor(1, 2));
    for (int p = 3; p <= 10; ++p) {
        EXPECT_EQ(game.championName[1][p], "") << p;
        EXPECT_EQ(game.championDate[1][p], "") << p;
        EXPECT_EQ(game.championTime[1][p], "9") << p;
    }
    for (int d = 2; d < 5; ++d) expectEmptyList(d);

    // A last line without its line end still counts whole.
    std::string lastWithoutEnd = blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3) + blockLines(4);
    lastWithoutEnd.resize(lastWithoutEnd.size() - 2);
    test::writeBytes(championsFile, bytesOf(lastWithoutEnd));
    loadChampions();
    for (int d = 0; d < 5; ++d) expectBlockLoaded(d);
}

TEST_F(ChampionsFileTest, LineEndsOfEitherKindAndEmptyFieldsLoad) {
    // The Mittel block: an empty name first, then nine entries with LF endings.
    std::string mittel = entryLines("", "", "00:00:09.9", "\n");
    for (int p = 2; p <= 10; ++p) mittel += entryLines(nameFor(1, p), "1." + std::to_string(p) + ".2024", timeFor(1, p), "\n");
    test::writeBytes(championsFile, bytesOf(blockLines(0, "\n") + mittel + blockLines(2, "\r\n") + blockLines(3, "\r") +
                                            blockLines(4, "\n")));
    loadChampions();
    expectBlockLoaded(0);
    EXPECT_EQ(game.championName[1][1], "");
    EXPECT_EQ(game.championDate[1][1], "");
    EXPECT_EQ(game.championTime[1][1], "00:00:09.9");
    EXPECT_EQ(game.championName[1][10], nameFor(1, 10));
    expectBlockLoaded(2);
    expectBlockLoaded(3);
    expectBlockLoaded(4);
}

TEST_F(ChampionsFileTest, SaveThenLoadGivesTheTablesBack) {
    resetChampions();
    const std::vector<std::string> names = {"Jürgen Öztürk", "Straße € 5", "", "A, \"B\"", "  Leerzeichen  ",
                                            "Ÿvonne ‰ Œuvre", "Zoë"};
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 7; ++p) {
            game.championName[d][p] = names[static_cast<std::size_t>(p - 1)];
            game.championDate[d][p] = std::to_string(p) + ".1" + std::to_string(d) + ".2024";
            game.championTime[d][p] = timeFor(d, p);
        }
    auto names0 = game.championName, dates0 = game.championDate, times0 = game.championTime;
    ASSERT_TRUE(saveChampions());
    fillWithLeftovers();
    loadChampions();
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= 10; ++p) {
            EXPECT_EQ(game.championName[d][p], names0[d][p]);
            EXPECT_EQ(game.championDate[d][p], dates0[d][p]);
            EXPECT_EQ(game.championTime[d][p], times0[d][p]);
        }

    // The file holds the names in Windows-1252: one byte per umlaut, 0x80 for the euro sign.
    std::vector<unsigned char> bytes = fileBytes();
    std::string asText(bytes.begin(), bytes.end());
    EXPECT_NE(asText.find("J\xFCrgen \xD6zt\xFCrk\r\n"), std::string::npos);
    EXPECT_NE(asText.find("Stra\xDF" "e \x80 5\r\n"), std::string::npos);
    EXPECT_EQ(asText.find("\xC3"), std::string::npos);  // no UTF-8 lead bytes
}

TEST_F(ChampionsFileTest, NamesTheFileCannotHoldAsTheyAre) {
    resetChampions();
    game.championName[0][1] = "Zeile eins\r\nZeile zwei\nDrei";
    game.championTime[0][1] = "00:00:01.0";
    game.championName[0][2] = "Ωμέγα 日本 🙂";
    game.championTime[0][2] = "00:00:02.0";
    ASSERT_TRUE(saveChampions());

    int lineEnds = 0;
    for (unsigned char b : fileBytes()) lineEnds += b == '\n';
    EXPECT_EQ(lineEnds, 150);  // a line break inside a name shifts nothing

    loadChampions();
    EXPECT_EQ(game.championName[0][1], "Zeile eins  Zeile zwei Drei");
    EXPECT_EQ(game.championTime[0][1], "00:00:01.0");
    EXPECT_EQ(game.championName[0][2], "????? ?? ?");
    EXPECT_EQ(game.championTime[0][2], "00:00:02.0");
    EXPECT_EQ(game.championTime[0][3], "9");
}

TEST(Windows1252, EveryByteSurvivesBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);

    EXPECT_EQ(windows1252ToUtf8("\x80"), "€");
    EXPECT_EQ(windows1252ToUtf8("\x9F\x8A\x99\x84\x93"), "ŸŠ™„“");
    EXPECT_EQ(windows1252ToUtf8("\xE4\xF6\xFC\xDF\xC4\xA0"), "äöüßÄ\u00A0");
    EXPECT_EQ(utf8ToWindows1252("€ ä – … ‹›"), "\x80 \xE4 \x96 \x85 \x8B\x9B");
    // Outside the code page, and broken UTF-8: one "?" per character or stray byte.
    EXPECT_EQ(utf8ToWindows1252("a\u0100b\u20ACc\U0001F600d"), "a?b\x80" "c?d");
    EXPECT_EQ(utf8ToWindows1252("x\xC3(\xFF\xE2\x82y"), "x?(???y");
    EXPECT_EQ(utf8ToWindows1252("\xC0\xAF\xED\xA0\x80"), "?????");  // overlong and surrogate forms
    EXPECT_EQ(utf8ToWindows1252(""), "");
}

class FailedSaveTest : public ChampionsFileTest {
protected:
    void SetUp() override {
        ChampionsFileTest::SetUp();
        test::writeBytes(championsFile, bytesOf(blockLines(0) + blockLines(1) + blockLines(2) + blockLines(3) +
                                                blockLines(4)));
        loadChampions();
        old = fileBytes();
        game.championName[2][1] = "Neuer Name, der nicht ankommt";
        for (int p = 1; p <= 10; ++p) game.championTime[4][p] = "9";
    }
    void expectOldFileOnly() {
        EXPECT_EQ(fileBytes(), old);
        int files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(work->path())) ++files;
        EXPECT_EQ(files, 1);  // no half-written file left beside it
    }
    std::vector<unsigned char> old;
};

TEST_F(FailedSaveTest, ReadOnlyFolderLeavesTheOldFile) {
    using fs::perms;
    fs::permissions(work->path(), perms::owner_read | perms::owner_exec | perms::group_read | perms::group_exec |
                                      perms::others_read | perms::others_exec);
    // Folder permissions do not bind root: save as an ordinary user for the moment.
    bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    bool saved = saveChampions();
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
    }
    fs::permissions(work->path(), perms::owner_all);
    EXPECT_FALSE(saved);
    expectOldFileOnly();
}

TEST_F(FailedSaveTest, FullDiskLeavesTheOldFile) {
    // A file-size limit stands in for a full disk: writing past it fails with EFBIG.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limited);
    bool saved = saveChampions();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    expectOldFileOnly();
}

}  // namespace
}  // namespace nonari
