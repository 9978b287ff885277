// The help viewer on Qt: damaged or missing help files and topics are refused; the window is reused and closes.
#include "platform/qt/qt_help_viewer.h"

#include "tests/support/test_support.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace nonari::test {
namespace {

TEST(HelpViewer, RefusesWhatItCannotShowReusesItsWindowAndOpensAnewOnceClosed) {
    TempWorkDir work;
    const auto whole = readBytes(sourceDir() / "data" / "nonari.chm");
    writeBytes("halb.chm", {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 3)});
    writeBytes("kaputt.chm", std::vector<unsigned char>(1000, 'I'));
    writeBytes("leer.chm", {});
    std::filesystem::create_directory("ordner.chm");
    QtHelpViewer viewer;
    for (const char* file : {"fehlt.chm", "halb.chm", "kaputt.chm", "leer.chm", "ordner.chm"})
        EXPECT_FALSE(viewer.show(file, "/erklärung.htm")) << file;
    const std::string manual = (sourceDir() / "data" / "nonari.chm").string();
    EXPECT_FALSE(viewer.show(manual, "/fehlt.htm"));
    EXPECT_EQ(viewer.window(), nullptr);

    ASSERT_TRUE(viewer.show(manual, "/übersicht.htm"));
    QPointer<QWidget> window = viewer.window();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(viewer.show(manual, "erklärung.htm") && !viewer.show(manual, "/fehlt.htm"));
    EXPECT_EQ(viewer.window(), window.data());
    window->close();  // by the player
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull() && viewer.window() == nullptr);
    EXPECT_TRUE(viewer.show(manual, "/übersicht.htm") && viewer.window() != nullptr);
}

}  // namespace
}  // namespace nonari::test
