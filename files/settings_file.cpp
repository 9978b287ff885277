// The one setting kept between runs ("Frische Rätsel"), in a small text file in the player's folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/settings_file.h"

#include "state/game_state.h"

#include <sstream>
#include <string>

namespace nonari {

namespace {

constexpr const char* header = "# Nonari: Einstellungen";
constexpr const char* freshKey = "frische_raetsel=";
constexpr std::size_t largestFile = 4096;

}  // namespace

FileResult loadSettings() {
    const FileRead read = readRegularFile(settingsFile, largestFile);
    if (read.result != FileResult::Ok) return read.result;
    if (read.size > largestFile) return FileResult::Damaged;
    std::istringstream lines(std::string(read.bytes.begin(), read.bytes.end()));
    bool fresh = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with(freshKey)) fresh = line.substr(std::string(freshKey).size()) == "1";
    }
    game.settings.freshPuzzles = fresh;
    return FileResult::Ok;
}

FileResult saveSettings() {
    // A file of that name may hold more than this setting: every other line stays as it is.
    const FileRead read = readRegularFile(settingsFile, largestFile);
    if (read.result == FileResult::Damaged || read.size > largestFile) return FileResult::Damaged;
    std::string text = std::string(header) + "\n";
    std::istringstream lines(std::string(read.bytes.begin(), read.bytes.end()));
    for (std::string line; std::getline(lines, line);)
        if (line != header && !line.starts_with(freshKey)) text += line + "\n";
    text += std::string(freshKey) + (game.settings.freshPuzzles ? "1" : "0") + "\n";
    return replaceFileContents(settingsFile, std::vector<unsigned char>(text.begin(), text.end()));
}

}  // namespace nonari
