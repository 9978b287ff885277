// Fuzz target: any bytes as the manual file, opened at both topics in the game's help viewer.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_help_viewer.h"
#include "tests/fuzz/fuzz_support.h"

#include <QApplication>

#include <cstdint>

using namespace nonari;

static std::vector<unsigned char> shippedManual;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the process: Qt's objects must not be torn down among the exit handlers.
    static auto* application = new QApplication(*argc, *argv);
    static_cast<void>(application);
    QtHelpViewer::usePageReader(NONARI_PAGE_READER);
    shippedManual = fuzz::readFile(NONARI_SOURCE_DIR "/data/nonari.chm");
    fuzz::enterOwnFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto& viewer = *new QtHelpViewer;
    fuzz::writeFile("nonari.chm", data, size);
    // Whatever the file holds, the viewer either shows the topic or says it cannot; the game goes on.
    for (const char* topic : {"übersicht.htm", "erklärung.htm"}) {
        const bool shown = viewer.show("nonari.chm", topic);
        FUZZ_CHECK(!shown || viewer.window() != nullptr);
        FUZZ_CHECK(shown || std::vector<unsigned char>(data, data + size) != shippedManual);
        QCoreApplication::processEvents();
    }
    return 0;
}
