// The help viewer on Qt: topics of a compiled help file, links between them, and files it cannot show.
#include "platform/qt/qt_help_viewer.h"

#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace nonari {
namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A small manual compiled in a fresh working folder: a UTF-8 overview and a Windows-1252 explanation.
TEST(HelpViewer, ShowsBothTopicsFollowsLinksRefusesWhatItCannotShowAndClosesByItsWindow) {
    test::TempWorkDir work;
    ASSERT_TRUE(writeFile("übersicht.htm", "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                           "charset=utf-8\"><title>Übersicht der Menüpunkte</title></head></html>"));
    ASSERT_TRUE(writeFile("erklärung.htm", "<html><head><title>Erkl\xe4rung</title></head><body><p>F\xfcr jedes "
                                           "K\xe4stchen.</p><p><a href=\"fehlt.htm\">Ins Leere</a></p><p><a href=\"\xfc"
                                           "bersicht.htm\">Zur \xdc" "bersicht</a></p></body></html>"));
    ASSERT_TRUE(writeFile("manual.hhp", "[OPTIONS]\nCompiled file=nonari.chm\nDefault topic=übersicht.htm\n\n"
                                        "[FILES]\nübersicht.htm\nerklärung.htm\n"));
    QProcess compiler;  // chmcmd comes with fp-utils
    compiler.start("chmcmd", {"manual.hhp"});
    ASSERT_TRUE(compiler.waitForFinished(30000) && compiler.exitCode() == 0) << "chmcmd failed";

    // Missing, cut short, garbage, empty or a folder: refused, and no window opens.
    QtHelpViewer viewer;
    QFile whole("nonari.chm");
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(writeFile("halb.chm", whole.read(whole.size() / 3)));
    ASSERT_TRUE(writeFile("kaputt.chm", QByteArray("ITSF this is no help file\n").repeated(50)));
    ASSERT_TRUE(writeFile("leer.chm", {}));
    QDir().mkdir("ordner.chm");
    for (const char* file : {"fehlt.chm", "halb.chm", "kaputt.chm", "leer.chm", "ordner.chm"})
        EXPECT_FALSE(viewer.show(file, "/erklärung.htm")) << file;
    EXPECT_FALSE(viewer.show("nonari.chm", "/fehlt.htm"));
    EXPECT_EQ(viewer.window(), nullptr);

    ASSERT_TRUE(viewer.show("nonari.chm", "/übersicht.htm"));
    auto* window = qobject_cast<QTextBrowser*>(viewer.window());
    ASSERT_TRUE(window != nullptr && window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));
    // The second topic reuses the window; its page is in Windows-1252. Failed calls leave it as it was.
    ASSERT_TRUE(viewer.show("nonari.chm", "erklärung.htm"));
    EXPECT_FALSE(viewer.show("nonari.chm", "/fehlt.htm") || viewer.show("fehlt.chm", "/übersicht.htm"));
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Erklärung"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Für jedes Kästchen.")));
    // A link to a topic the file lacks leaves the page; the link back leads to the overview.
    auto clickLink = [window](const QString& text) {
        QTextCursor inside(window->document());
        inside.setPosition(window->document()->find(text).selectionStart() + 2);
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, window->cursorRect(inside).center());
        return window->source().path();
    };
    EXPECT_EQ(clickLink(QStringLiteral("Ins Leere")), QStringLiteral("/erklärung.htm"));
    EXPECT_EQ(clickLink(QStringLiteral("Zur Übersicht")), QStringLiteral("/übersicht.htm"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));

    // Closed by the player, it is gone and opens anew.
    QPointer<QWidget> closed = window;
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull() && viewer.window() == nullptr);
    ASSERT_TRUE(viewer.show("nonari.chm", "/übersicht.htm"));
    EXPECT_NE(viewer.window(), nullptr);
}

}  // namespace
}  // namespace nonari
