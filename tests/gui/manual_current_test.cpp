// The committed manual data/nonari.chm holds exactly the sources in docs/, and their links lead somewhere.
#include "tests/support/test_support.h"

#include <chm_lib.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace nonari::test {
namespace {

std::string readText(const std::filesystem::path& file) {
    const auto bytes = readBytes(file);
    return {bytes.begin(), bytes.end()};
}

TEST(Manual, CompiledFileHoldsExactlyTheSourcesAndEveryLinkLeadsToAListedTopicAndAnchor) {
    const auto docs = sourceDir() / "docs", compiledFile = sourceDir() / "data" / "nonari.chm";
    std::unique_ptr<chmFile, void (*)(chmFile*)> chm(chm_open(compiledFile.c_str()), chm_close);
    ASSERT_NE(chm, nullptr) << "data/nonari.chm is missing or damaged";
    // The files the project lists (with its contents and index files) and their texts.
    std::map<std::string, std::string> texts;
    const std::regex listed(R"re((?:(?:Contents|Index) file=)?([^=\[]+\.\w+)\r?)re");
    std::istringstream project(readText(docs / "nonari.hhp"));
    for (std::string line; std::getline(project, line);)
        if (std::smatch m; std::regex_match(line, m, listed)) texts[m[1]];
    const std::regex anchor(R"re(<a name="([^"]+)")re"), href(R"re((?:href="|<param name="Local" value=")([^"]+)")re");
    std::map<std::string, std::set<std::string>> anchors;  // every listed file with the anchors it names
    for (auto& [name, text] : texts) {
        text = readText(docs / name);
        chmUnitInfo unit{};
        ASSERT_EQ(chm_resolve_object(chm.get(), ("/" + name).c_str(), &unit), CHM_RESOLVE_SUCCESS)
            << name << " is not in data/nonari.chm: rebuild it with tools/build_manual.sh";
        std::string compiled(static_cast<std::size_t>(unit.length), '\0');
        chm_retrieve_object(chm.get(), &unit, reinterpret_cast<unsigned char*>(compiled.data()), 0,
                            static_cast<LONGINT64>(unit.length));
        EXPECT_TRUE(compiled == text) << name << " changed since data/nonari.chm was built: run tools/build_manual.sh";
        auto& named = anchors[name];
        for (auto it = std::sregex_iterator(text.begin(), text.end(), anchor); it != std::sregex_iterator(); ++it)
            named.insert((*it)[1]);
    }
    // Nothing stale either: every page in the archive still has its source.
    chm_enumerate(chm.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, [](chmFile*, chmUnitInfo* unit, void* listed) {
        const std::string path = unit->path;
        if (path.ends_with(".htm") || path.ends_with(".css")) {
            EXPECT_TRUE(static_cast<decltype(texts)*>(listed)->count(path.substr(1))) << path << " has no source";
        }
        return CHM_ENUMERATOR_CONTINUE;
    }, &texts);
    int links = 0;
    for (const auto& [file, text] : texts)
        for (auto it = std::sregex_iterator(text.begin(), text.end(), href); it != std::sregex_iterator(); ++it) {
            ++links;
            const std::string target = (*it)[1];
            const auto hash = target.find('#');
            const std::string page = hash == 0 ? file : target.substr(0, hash);
            ASSERT_TRUE(anchors.count(page)) << file << " links to " << target << ", which is not listed";
            if (hash != std::string::npos) {
                EXPECT_TRUE(anchors[page].count(target.substr(hash + 1))) << file << " links to missing " << target;
            }
        }
    EXPECT_GT(links, 40);
}

}  // namespace
}  // namespace nonari::test
