// The help viewer on Qt: topics of a compiled help file, links between them, and files it cannot show.
#include "platform/qt/qt_help_viewer.h"

#include "tests/support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace nonari {
namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class HelpViewerTest : public ::testing::Test {
protected:
    // One small manual for the suite: a UTF-8 overview with a picture and a Windows-1252 explanation.
    static void SetUpTestSuite() {
        sources = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(sources->isValid());
        const QDir dir(sources->path());
        ASSERT_TRUE(dir.mkpath("bilder"));
        ASSERT_TRUE(writeFile(dir.filePath("übersicht.htm"),
                              "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                              "<title>Übersicht der Menüpunkte</title></head><body>"
                              "<h1>Menüpunkte</h1><p><img src=\"bilder/brett.png\"></p>"
                              "<p><a href=\"erklärung.htm\">Zur Erklärung</a></p></body></html>"));
        ASSERT_TRUE(writeFile(dir.filePath("erklärung.htm"),
                              "<html><head><title>Erkl\xe4rung</title></head><body><p>Die Regeln f\xfcr jedes "
                              "K\xe4stchen.</p><p><a href=\"\xfc" "bersicht.htm\">Zur \xdc" "bersicht</a></p>"
                              "<p><a href=\"fehlt.htm\">Ins Leere</a></p>"
                              "</body></html>"));
        ASSERT_TRUE(writeFile(dir.filePath("anhang.htm"), "<html><body><p>Ohne Titel</p></body></html>"));
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(dir.filePath("bilder/brett.png")));
        ASSERT_TRUE(writeFile(dir.filePath("manual.hhp"),
                              "[OPTIONS]\nCompiled file=nonari.chm\nDefault topic=übersicht.htm\nTitle=Nonari\n"
                              "Language=0x407 German (Germany)\n\n[FILES]\nübersicht.htm\nerklärung.htm\n"
                              "anhang.htm\nbilder/brett.png\n"));

        const QString compiler = QStandardPaths::findExecutable("chmcmd");
        ASSERT_FALSE(compiler.isEmpty()) << "the help compiler chmcmd (package fp-utils) is needed";
        QProcess process;
        process.setWorkingDirectory(sources->path());
        process.start(compiler, {"manual.hhp"});
        ASSERT_TRUE(process.waitForFinished(30000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
        manual = dir.filePath("nonari.chm");
        ASSERT_GT(QFileInfo(manual).size(), 0);
    }

    static void TearDownTestSuite() { sources.reset(); }

    void SetUp() override {
        work = std::make_unique<test::TempWorkDir>();
        ASSERT_TRUE(QFile::copy(manual, "nonari.chm"));
    }

    void TearDown() override { work.reset(); }

    // Clicks the link with that text as the player would.
    static void clickLink(QTextBrowser* window, const QString& text) {
        QTextCursor link = window->document()->find(text);
        ASSERT_FALSE(link.isNull()) << text.toStdString();
        QTextCursor inside(window->document());
        inside.setPosition(link.selectionStart() + 2);
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, window->cursorRect(inside).center());
    }

    static QTextBrowser* browser(const QtHelpViewer& viewer) { return qobject_cast<QTextBrowser*>(viewer.window()); }

    static inline std::unique_ptr<QTemporaryDir> sources;
    static inline QString manual;
    std::unique_ptr<test::TempWorkDir> work;
};

TEST_F(HelpViewerTest, ShowsBothTopicsInOneWindowAndFollowsLinks) {
    QtHelpViewer viewer;
    ASSERT_TRUE(viewer.show("nonari.chm", "/übersicht.htm"));
    QTextBrowser* window = browser(viewer);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Menüpunkte")));
    const QPixmap picture = qvariant_cast<QPixmap>(
        window->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("bilder/brett.png"))));
    EXPECT_EQ(picture.size(), QSize(4, 3));

    // The second topic reuses the window; its page is in Windows-1252.
    ASSERT_TRUE(viewer.show("nonari.chm", "erklärung.htm"));
    EXPECT_EQ(browser(viewer), window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Erklärung"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Die Regeln für jedes Kästchen.")));

    // A link to a topic the file lacks leaves the page; the link back leads to the overview.
    clickLink(window, QStringLiteral("Ins Leere"));
    EXPECT_EQ(window->source().path(), QStringLiteral("/erklärung.htm"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Die Regeln")));
    clickLink(window, QStringLiteral("Zur Übersicht"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Übersicht der Menüpunkte"));
    EXPECT_EQ(window->source().path(), QStringLiteral("/übersicht.htm"));
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("Zur Erklärung")));

    ASSERT_TRUE(viewer.show("nonari.chm", "anhang.htm"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Nonari - Hilfe"));
}

TEST_F(HelpViewerTest, RefusesMissingFilesTopicsAndDamagedFiles) {
    QtHelpViewer viewer;
    EXPECT_FALSE(viewer.show("fehlt.chm", "/übersicht.htm"));
    EXPECT_FALSE(viewer.show("nonari.chm", "/fehlt.htm"));
    EXPECT_FALSE(viewer.show("nonari.chm", "/uebersicht.htm"));
    EXPECT_EQ(viewer.window(), nullptr);

    ASSERT_TRUE(writeFile("kaputt.chm", QByteArray("ITSF this is no help file\n").repeated(50)));
    EXPECT_FALSE(viewer.show("kaputt.chm", "/übersicht.htm"));
    ASSERT_TRUE(writeFile("leer.chm", QByteArray()));
    EXPECT_FALSE(viewer.show("leer.chm", "/übersicht.htm"));
    std::filesystem::create_directory("ordner.chm");
    EXPECT_FALSE(viewer.show("ordner.chm", "/übersicht.htm"));
    QFile whole("nonari.chm");
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(writeFile("halb.chm", whole.read(whole.size() / 3)));
    EXPECT_FALSE(viewer.show("halb.chm", "/erklärung.htm"));
    EXPECT_EQ(viewer.window(), nullptr);

    // A failed call leaves an open viewer as it was.
    ASSERT_TRUE(viewer.show("nonari.chm", "/erklärung.htm"));
    EXPECT_FALSE(viewer.show("nonari.chm", "/fehlt.htm"));
    EXPECT_FALSE(viewer.show("fehlt.chm", "/übersicht.htm"));
    ASSERT_NE(browser(viewer), nullptr);
    EXPECT_EQ(browser(viewer)->windowTitle(), QStringLiteral("Erklärung"));
}

TEST_F(HelpViewerTest, TheViewerClosesByItsWindowAndWithTheProgram) {
    QPointer<QWidget> first;
    {
        QtHelpViewer viewer;
        ASSERT_TRUE(viewer.show("nonari.chm", "/übersicht.htm"));
        first = viewer.window();
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(viewer.window(), nullptr);

        // Opened again after the player closed it, also after the file was replaced.
        ASSERT_TRUE(QFile::remove("nonari.chm"));
        ASSERT_TRUE(QFile::copy(manual, "nonari.chm"));
        ASSERT_TRUE(viewer.show("nonari.chm", "/erklärung.htm"));
        first = viewer.window();
        ASSERT_FALSE(first.isNull());
        EXPECT_EQ(first->windowTitle(), QStringLiteral("Erklärung"));
    }
    EXPECT_TRUE(first.isNull());
}

}  // namespace
}  // namespace nonari
