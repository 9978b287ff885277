// The help viewer on Qt: topics of a compiled help file, links between them, and files it cannot show.
#include "platform/qt/qt_help_viewer.h"

#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
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

class HelpViewerTest : public ::testing::Test {
protected:
    // A small manual, compiled once in the suite's working folder: a UTF-8 overview with a picture and a
    // Windows-1252 explanation.
    static void SetUpTestSuite() {
        work = std::make_unique<test::TempWorkDir>();
        ASSERT_TRUE(writeFile("übersicht.htm",
                              "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                              "<title>Übersicht der Menüpunkte</title></head><body><p><img src=\"brett.png\"></p>"
                              "<p><a href=\"erklärung.htm\">Zur Erklärung</a></p></body></html>"));
        ASSERT_TRUE(writeFile("erklärung.htm",
                              "<html><head><title>Erkl\xe4rung</title></head><body><p>F\xfcr jedes K\xe4stchen.</p>"
                              "<p><a href=\"fehlt.htm\">Ins Leere</a></p><p><a href=\"\xfc" "bersicht.htm\">Zur \xdc"
                              "bersicht</a></p></body></html>"));
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save("brett.png"));
        ASSERT_TRUE(writeFile("manual.hhp", "[OPTIONS]\nCompiled file=nonari.chm\nDefault topic=übersicht.htm\n\n"
                                            "[FILES]\nübersicht.htm\nerklärung.htm\nbrett.png\n"));
        QProcess compiler;  // chmcmd comes with fp-utils
        compiler.start("chmcmd", {"manual.hhp"});
        ASSERT_TRUE(compiler.waitForFinished(30000) && compiler.exitCode() == 0) << "chmcmd failed";
    }
    static void TearDownTestSuite() { work.reset(); }

    // Clicks the link with that text as the player would.
    static void clickLink(QTextBrowser* window, const QString& text) {
        QTextCursor inside(window->document());
        inside.setPosition(window->document()->find(text).selectionStart() + 2);
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, window->cursorRect(inside).center());
    }

    static inline std::unique_ptr<test::TempWorkDir> work;
};

TEST_F(HelpViewerTest, ShowsBothTopicsFollowsLinksRefusesWhatItCannotShowAndClosesByItsWindow) {
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
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));
    const QVariant picture = window->document()->resource(QTextDocument::ImageResource, QUrl("brett.png"));
    EXPECT_EQ(qvariant_cast<QPixmap>(picture).size(), QSize(4, 3));

    // The second topic reuses the window; its page is in Windows-1252. Failed calls leave it as it was.
    ASSERT_TRUE(viewer.show("nonari.chm", "erklärung.htm"));
    EXPECT_FALSE(viewer.show("nonari.chm", "/fehlt.htm"));
    EXPECT_FALSE(viewer.show("fehlt.chm", "/übersicht.htm"));
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Erklärung"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Für jedes Kästchen.")));

    // A link to a topic the file lacks leaves the page; the link back leads to the overview.
    clickLink(window, QStringLiteral("Ins Leere"));
    EXPECT_EQ(window->source().path(), QStringLiteral("/erklärung.htm"));
    clickLink(window, QStringLiteral("Zur Übersicht"));
    EXPECT_EQ(window->source().path(), QStringLiteral("/übersicht.htm"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));

    // Closed by the player, it is gone and opens anew.
    QPointer<QWidget> closed = window;
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(viewer.window(), nullptr);
    ASSERT_TRUE(viewer.show("nonari.chm", "/übersicht.htm"));
    EXPECT_NE(viewer.window(), nullptr);
}

}  // namespace
}  // namespace nonari
