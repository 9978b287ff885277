// Runs the GUI tests on the Qt platform, by default on Qt's offscreen platform.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    auto platform = nonari::createQtPlatform(argc, argv);
    nonari::QtHelpViewer::usePageReader(NONARI_PAGE_READER);  // the tests do not sit beside the program
    nonari::installPlatform(platform.get());
    int status = RUN_ALL_TESTS();
    nonari::installPlatform(nullptr);
    return status;
}
