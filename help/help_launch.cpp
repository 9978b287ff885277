// Opening the manual: the HTML or the WinHelp form, chosen once at start-up.
#include "help/help_launch.h"

#include "app/game_state.h"

#include <filesystem>
#include <vector>

namespace nonari {

namespace {

constexpr const char* htmlHelpFile = "nonari.chm";
constexpr const char* winHelpFile = "Nonari.hlp";

// Copies of a help file shipped with the program, for a working folder that lacks it.
std::vector<std::string> shippedCopies(const std::string& file) {
    std::vector<std::string> folders;
#ifdef NONARI_INSTALLED_DATA_DIR
    folders.emplace_back(NONARI_INSTALLED_DATA_DIR);
#endif
#ifdef NONARI_SOURCE_DATA_DIR
    folders.emplace_back(NONARI_SOURCE_DATA_DIR);
#endif
    std::vector<std::string> copies;
    for (const auto& folder : folders) {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::path(folder) / file;
        if (std::filesystem::is_regular_file(path, error)) copies.push_back(path.string());
    }
    return copies;
}

}  // namespace

bool htmlHelpPlatformFor(std::uint32_t version) {
    const bool ntFamily = (version & 0x80000000u) == 0;
    const std::uint32_t major = version & 0xFFu;
    return ntFamily && major > 5;
}

bool htmlHelpPlatform() { return htmlHelpPlatformFor(platform().systemVersion()); }

void showHelpTopic(const std::string& file, const std::string& topic) {
    Platform& pf = platform();
    if (pf.showHtmlHelp(file, topic)) return;
    for (const auto& copy : shippedCopies(file))
        if (copy != file && pf.showHtmlHelp(copy, topic)) return;
    pf.messageBox("Error while trying to display a topic of " + file, MessageIcon::Exclamation, 1, "OK");
}

void showHelpKeyword(const std::string& file, const std::string& keyword) {
    Platform& pf = platform();
    if (pf.showWinHelp(file, keyword)) return;
    // No viewer for this older format exists here, so say so instead of staying silent.
    pf.messageBox("Die Hilfedatei " + file + " kann auf diesem System nicht angezeigt werden.",
                  MessageIcon::Exclamation, 1, "OK");
}

void closeWinHelp() { platform().closeWinHelp(winHelpFile); }

void showManualOverview() {
    if (game.useHtmlHelp)
        showHelpTopic(htmlHelpFile, "übersicht.htm");
    else
        showHelpKeyword(winHelpFile, "Menupunkte");
}

void showRulesHelp() {
    if (game.useHtmlHelp)
        showHelpTopic(htmlHelpFile, "erklärung.htm");
    else
        showHelpKeyword(winHelpFile, "Erklärung");
}

}  // namespace nonari
