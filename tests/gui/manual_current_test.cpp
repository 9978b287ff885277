// The committed manual data/nonari.chm holds exactly the sources in docs/, and their links lead somewhere.
#include "tests/support/test_support.h"

#include <chm_lib.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace nonari::test {
namespace {

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

struct ChmClose {
    void operator()(chmFile* file) const { chm_close(file); }
};

std::string chmEntry(chmFile* chm, const std::string& path, bool& found) {
    chmUnitInfo unit{};
    found = chm_resolve_object(chm, path.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
    if (!found) return {};
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const auto length = static_cast<LONGINT64>(unit.length);
    if (length > 0 &&
        chm_retrieve_object(chm, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, length) != length)
        found = false;
    return bytes;
}

int collectTopic(chmFile*, chmUnitInfo* unit, void* context) {
    static_cast<std::set<std::string>*>(context)->insert(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
}

// The project file: its options and the files it lists.
struct Project {
    std::map<std::string, std::string> options;
    std::vector<std::string> files;
};

Project readProject(const std::filesystem::path& hhp) {
    Project project;
    std::istringstream in(readText(hhp));
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line;
        } else if (section == "[OPTIONS]" && line.find('=') != std::string::npos) {
            project.options[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        } else if (section == "[FILES]") {
            project.files.push_back(line);
        }
    }
    return project;
}

TEST(Manual, CompiledFileMatchesItsSources) {
    const auto docs = sourceDir() / "docs";
    const Project project = readProject(docs / "nonari.hhp");
    ASSERT_FALSE(project.files.empty());
    std::unique_ptr<chmFile, ChmClose> chm(chm_open((sourceDir() / "data" / "nonari.chm").c_str()));
    ASSERT_NE(chm, nullptr) << "data/nonari.chm is missing or damaged";

    std::vector<std::string> sources = project.files;
    sources.push_back(project.options.at("Contents file"));
    sources.push_back(project.options.at("Index file"));
    for (const auto& name : sources) {
        bool found = false;
        const std::string compiled = chmEntry(chm.get(), "/" + name, found);
        ASSERT_TRUE(found) << name << " is not in data/nonari.chm: rebuild it with tools/build_manual.sh";
        EXPECT_TRUE(compiled == readText(docs / name))
            << name << " changed since data/nonari.chm was built: rebuild it with tools/build_manual.sh";
    }

    // Nothing stale either: every page in the archive still has its source.
    std::set<std::string> entries;
    chm_enumerate(chm.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectTopic, &entries);
    for (const auto& entry : entries)
        if (entry.ends_with(".htm") || entry.ends_with(".css")) {
            EXPECT_TRUE(std::filesystem::exists(docs / entry.substr(1))) << entry << " has no source";
        }

    for (const char* topic : {"übersicht.htm", "erklärung.htm"})
        EXPECT_NE(std::find(project.files.begin(), project.files.end(), topic), project.files.end()) << topic;
    EXPECT_EQ(project.options.at("Default topic"), "übersicht.htm");
}

TEST(Manual, EveryLinkLeadsToAListedTopicAndAnchor) {
    const auto docs = sourceDir() / "docs";
    const Project project = readProject(docs / "nonari.hhp");
    std::map<std::string, std::set<std::string>> anchors;
    const std::regex anchor(R"re(<a name="([^"]+)")re");
    for (const auto& file : project.files) {
        const std::string text = readText(docs / file);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), anchor); it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(anchors[file].insert((*it)[1]).second) << file << " names " << (*it)[1] << " twice";
        anchors[file];
    }

    const std::regex href(R"re((?:href="|<param name="Local" value=")([^"]+)")re");
    std::vector<std::string> linking = project.files;
    linking.push_back(project.options.at("Contents file"));
    linking.push_back(project.options.at("Index file"));
    int links = 0;
    for (const auto& file : linking) {
        const std::string text = readText(docs / file);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), href); it != std::sregex_iterator(); ++it) {
            std::string target = (*it)[1];
            ++links;
            const auto hash = target.find('#');
            std::string page = hash == std::string::npos ? target : target.substr(0, hash);
            const std::string name = hash == std::string::npos ? "" : target.substr(hash + 1);
            if (page.empty()) page = file;
            ASSERT_TRUE(anchors.count(page)) << file << " links to " << target << ", which is not listed";
            if (!name.empty()) {
                EXPECT_TRUE(anchors[page].count(name)) << file << " links to missing " << target;
            }
        }
    }
    EXPECT_GT(links, 40);
}

}  // namespace
}  // namespace nonari::test
