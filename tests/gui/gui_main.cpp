// Runs the GUI tests on the Qt platform, by default on Qt's offscreen platform.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt reads the platform's parameters as Latin-1 and misses a screen description in a checkout whose
    // path has other letters: NONARI_TEST_SCREEN names it, and Qt gets a copy under the temporary folder.
    fs::path screenCopy;
    if (const char* screen = std::getenv("NONARI_TEST_SCREEN")) {
        std::string folder = (fs::temp_directory_path() / "nonari-screen-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) return 1;
        screenCopy = fs::path(folder) / "screen.json";
        fs::copy_file(screen, screenCopy);
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenCopy.string()).c_str(), 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    auto platform = nonari::createQtPlatform(argc, argv);
    nonari::QtHelpViewer::usePageReader(NONARI_PAGE_READER);  // the tests do not sit beside the program
    nonari::installPlatform(platform.get());
    const int status = RUN_ALL_TESTS();
    nonari::installPlatform(nullptr);
    if (!screenCopy.empty()) fs::remove_all(screenCopy.parent_path());
    return status;
}
