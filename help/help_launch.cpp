// Opening the manual: the HTML or the WinHelp form, chosen once at start-up.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_launch.h"

#include "platform/folders.h"
#include "platform/platform.h"
#include "state/game_state.h"

#include <filesystem>

namespace nonari {

namespace {

constexpr const char* htmlHelpFile = "nonari.chm";
constexpr const char* winHelpFile = "Nonari.hlp";

}  // namespace

bool htmlHelpPlatformFor(std::uint32_t version) {
    const bool ntFamily = (version & 0x80000000u) == 0;
    const std::uint32_t major = version & 0xFFu;
    return ntFamily && major > 5;
}

bool htmlHelpPlatform() { return htmlHelpPlatformFor(platform().systemVersion()); }

void showHelpTopic(const std::string& file, const std::string& topic) {
    Platform& pf = platform();
    // The manual is program data: a file of that name in the player's folder is never shown.
    const std::filesystem::path shipped = shippedFile(file);
    if (!shipped.empty() && pf.showHtmlHelp(shipped.string(), topic)) return;
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
    if (game.dialog.useHtmlHelp)
        showHelpTopic(htmlHelpFile, "übersicht.htm");
    else
        showHelpKeyword(winHelpFile, "Menupunkte");
}

void showRulesHelp() {
    if (game.dialog.useHtmlHelp)
        showHelpTopic(htmlHelpFile, "erklärung.htm");
    else
        showHelpKeyword(winHelpFile, "Erklärung");
}

}  // namespace nonari
