// The player's folder from the environment, and the program's data folders found from the executable.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

#ifndef NONARI_DATA_FROM_BINDIR
#define NONARI_DATA_FROM_BINDIR "../share/nonari"
#endif

namespace nonari {

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

fs::path homeFolder() {
    std::string home = environment("HOME");
    if (!home.empty()) return home;
    // Started without a login environment: ask the user database.
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
    return {};
}

fs::path executableFolder() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

}  // namespace

fs::path playerFolder() {
    if (std::string own = environment("NONARI_HOME"); !own.empty()) return own;
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    if (fs::path data = environment("XDG_DATA_HOME"); data.is_absolute()) return data / "nonari";
    fs::path home = homeFolder();
    if (home.empty()) return {};
    return home / ".local" / "share" / "nonari";
}

bool enterFolder(const fs::path& folder) {
    if (folder.empty()) return false;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!isFolder(folder)) return false;
    // A folder the player may only read still holds the player's boards and records: they are read from
    // it, and only a save is refused, with a message naming the folder.
    if (access(folder.c_str(), R_OK | X_OK) != 0) return false;
    return chdir(folder.c_str()) == 0;
}

std::vector<fs::path> programDataFolders() {
    std::vector<fs::path> folders;
    if (std::string chosen = environment("NONARI_DATA_DIR"); !chosen.empty() && isFolder(chosen))
        folders.emplace_back(chosen);
    const fs::path here = executableFolder();
    if (here.empty()) return folders;
    if (fs::path installed = (here / NONARI_DATA_FROM_BINDIR).lexically_normal(); isFolder(installed))
        folders.push_back(installed);
    // Only a build tree has the marker; an installed program never does.
    std::ifstream marker(here / buildDataMarker);
    std::string line;
    if (marker && std::getline(marker, line) && !line.empty() && isFolder(line)) folders.emplace_back(line);
    return folders;
}

fs::path shippedFile(const std::string& name) {
    for (const fs::path& folder : programDataFolders()) {
        std::error_code error;
        const fs::path candidate = folder / name;
        if (fs::is_regular_file(candidate, error)) return candidate;
    }
    return {};
}

}  // namespace nonari
