// Where the player's files and the program's own data live on this machine.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace nonari {

// The player's folder: $NONARI_HOME, else $XDG_DATA_HOME/nonari, else ~/.local/share/nonari.
// Empty when none of them can be named.
std::filesystem::path playerFolder();

// Creates the folder if needed and makes it the working folder; false when it cannot be created,
// read or entered, and the working folder is then unchanged. A read-only folder is entered.
bool enterFolder(const std::filesystem::path& folder);

// Folders holding the shipped collections and the manual, in the order they are searched:
// $NONARI_DATA_DIR, the installed data folder beside the program, and in a build tree the
// checkout's data folder named by the marker file next to the program.
std::vector<std::filesystem::path> programDataFolders();

// The first copy of the file in the program's data folders; empty when there is none.
std::filesystem::path shippedFile(const std::string& name);

// The name of the marker file a build tree keeps next to its programs.
inline constexpr const char* buildDataMarker = "nonari-data-folder";

}  // namespace nonari
