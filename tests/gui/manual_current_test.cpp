// The committed manual data/nonari.chm holds exactly the current sources in docs/, and no page without one.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_support.h"

#include <chm_lib.h>

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace nonari::test {
namespace {

TEST(Manual, CompiledFileHoldsExactlyTheListedSources) {
    const auto docs = sourceDir() / "docs", compiledFile = sourceDir() / "data" / "nonari.chm";
    std::unique_ptr<chmFile, void (*)(chmFile*)> chm(chm_open(compiledFile.c_str()), chm_close);
    ASSERT_NE(chm, nullptr) << "data/nonari.chm is missing or damaged";
    std::set<std::string> listed;  // the project's files, with its contents and index files
    const auto project = readBytes(docs / "nonari.hhp");
    std::istringstream lines(std::string(project.begin(), project.end()));
    const std::regex file(R"re((?:(?:Contents|Index) file=)?([^=\[]+\.\w+)\r?)re");
    for (std::string line; std::getline(lines, line);)
        if (std::smatch m; std::regex_match(line, m, file)) listed.insert(m[1]);
    for (const std::string& name : listed) {
        chmUnitInfo unit{};
        ASSERT_EQ(chm_resolve_object(chm.get(), ("/" + name).c_str(), &unit), CHM_RESOLVE_SUCCESS)
            << name << " is not in data/nonari.chm: rebuild it with tools/build_manual.sh";
        std::vector<unsigned char> compiled(static_cast<std::size_t>(unit.length));
        chm_retrieve_object(chm.get(), &unit, compiled.data(), 0, static_cast<LONGINT64>(unit.length));
        EXPECT_TRUE(compiled == readBytes(docs / name)) << name << " changed: run tools/build_manual.sh";
    }
    chm_enumerate(chm.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, [](chmFile*, chmUnitInfo* unit, void* set) {
        const std::string path = unit->path;
        if (path.ends_with(".htm") || path.ends_with(".css")) {
            EXPECT_TRUE(static_cast<std::set<std::string>*>(set)->count(path.substr(1))) << path << " has no source";
        }
        return CHM_ENUMERATOR_CONTINUE;
    }, &listed);
    EXPECT_GE(listed.size(), 2u);
}

TEST(Manual, DescribesTheSlotKeysTheShuffleTheSheetAndKeyFAsTheGameHasThem) {
    const auto count = [](const char* page, const std::string& phrase) {
        const auto bytes = readBytes(sourceDir() / "docs" / page);
        const std::string text(bytes.begin(), bytes.end());
        int found = 0;
        for (auto at = text.find(phrase); at != std::string::npos; at = text.find(phrase, at + 1)) ++found;
        return found;
    };
    for (const char* page : {"übersicht.htm", "erklärung.htm"}) {  // the slot dialog, on both pages
        EXPECT_EQ(count(page, "Pfeiltaste"), 1) << page;
        EXPECT_EQ(count(page, "jede andere Taste"), 1) << page;
    }
    EXPECT_EQ(count("übersicht.htm", "oder die Escape-Taste schließt das Fenster"), 1);
    EXPECT_EQ(count("erklärung.htm", "oder die Escape-Taste lässt die Datei unberührt"), 1);
    EXPECT_EQ(count("übersicht.htm", "im Augenblick des Mischens"), 1);
    EXPECT_EQ(count("übersicht.htm", "Unter jedem Gitter stehen"), 1);
    EXPECT_EQ(count("erklärung.htm", "in allen leeren Feldern alle Notizen"), 2) << "F, in the text and the key table";
}

}  // namespace
}  // namespace nonari::test
