// The printer target on Qt: pages printed to a PDF file and read back, failing targets, the printer choice.
#include "platform/qt/qt_printer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace nonari {
namespace {

constexpr double dotsPerInch = 1200;        // high-resolution PDF output
constexpr double pointsPerDot = 72.0 / dotsPerInch;

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // PDF points from the page's top-left corner
};

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

std::vector<Word> wordsOnPage(const QString& pdf, int page) {
    const QString number = QString::number(page);
    const QString html = QString::fromUtf8(run("pdftotext", {"-bbox", "-f", number, "-l", number, pdf, "-"}));
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

std::optional<Word> findWord(const std::vector<Word>& words, const QString& text) {
    for (const auto& w : words)
        if (w.text == text) return w;
    return std::nullopt;
}

// Text with its top-left corner at the point, as the game places its print texts.
void textAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPoint(x, y + QFontMetrics(painter.font()).ascent()), text);
}

class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        if (const char* value = std::getenv("NONARI_PRINT_PDF")) previous = value;
    }

    void TearDown() override {
        if (previous)
            setenv("NONARI_PRINT_PDF", previous->c_str(), 1);
        else
            unsetenv("NONARI_PRINT_PDF");
    }

    QString printTo(const QString& name) {
        const QString path = folder.filePath(name);
        setenv("NONARI_PRINT_PDF", QFile::encodeName(path).constData(), 1);
        return path;
    }

    QTemporaryDir folder;
    std::optional<std::string> previous;
};

TEST_F(PrinterTest, PrintsPagesToTheNamedPdfFileAtTheirPlaces) {
    const QString pdf = printTo("brett.pdf");
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter());
    // A4 across the whole sheet, in device pixels.
    EXPECT_NEAR(printer.resolutionX(), 210 / 25.4 * dotsPerInch, 10);
    EXPECT_NEAR(printer.resolutionY(), 297 / 25.4 * dotsPerInch, 10);
    EXPECT_EQ(printer.painter(), nullptr);

    ASSERT_TRUE(printer.startDocument("Brett drucken"));
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 54);
    QPainter* painter = printer.painter();
    ASSERT_NE(painter, nullptr);
    EXPECT_EQ(QFontInfo(painter->font()).family(), QStringLiteral("Liberation Sans"));
    painter->setPen(QPen(Qt::black, 40));
    painter->drawRect(QRect(QPoint(1000, 1500), QPoint(5000, 4500)));
    textAt(*painter, 2000, 6000, QStringLiteral("Brett"));
    EXPECT_TRUE(printer.endPage());

    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 12);
    textAt(*printer.painter(), 1000, 13000, QStringLiteral("Zahlen"));
    EXPECT_TRUE(printer.endPage());
    EXPECT_TRUE(printer.endDocument());
    EXPECT_FALSE(printer.failed());
    EXPECT_EQ(printer.painter(), nullptr);
    printer.release();
    EXPECT_EQ(printer.resolutionX(), 0);

    const QString info = QString::fromUtf8(run("pdfinfo", {pdf}));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+2\n)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Title:\s+Brett drucken\n)"))) << info.toStdString();

    const auto brett = findWord(wordsOnPage(pdf, 1), QStringLiteral("Brett"));
    ASSERT_TRUE(brett.has_value());
    EXPECT_NEAR(brett->xMin, 2000 * pointsPerDot, 4);
    EXPECT_NEAR(brett->yMin, 6000 * pointsPerDot, 6);
    EXPECT_NEAR(brett->yMax - brett->yMin, 54, 12);  // the line height of 54 points
    const auto zahlen = findWord(wordsOnPage(pdf, 2), QStringLiteral("Zahlen"));
    ASSERT_TRUE(zahlen.has_value());
    EXPECT_NEAR(zahlen->xMin, 1000 * pointsPerDot, 2);
    EXPECT_NEAR(zahlen->yMax - zahlen->yMin, 12, 3);

    // The box outline at 72 dpi: one device pixel is 0.06 pixels there.
    run("pdftoppm", {"-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile", pdf, folder.filePath("page")});
    const QImage page(folder.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    EXPECT_TRUE(dark(180, 90));   // top edge
    EXPECT_TRUE(dark(180, 270));  // bottom edge
    EXPECT_TRUE(dark(60, 180));   // left edge
    EXPECT_TRUE(dark(300, 180));  // right edge
    EXPECT_FALSE(dark(180, 180));
    EXPECT_FALSE(dark(40, 180));
}

TEST_F(PrinterTest, ATargetThatCannotBeWrittenFailsTheJob) {
    for (const QString& name : {QStringLiteral("missing/brett.pdf"), QStringLiteral(".")}) {
        SCOPED_TRACE(name.toStdString());
        printTo(name);
        QtPrinter printer(nullptr);
        ASSERT_TRUE(printer.selectPrinter());
        EXPECT_FALSE(printer.startDocument("Brett drucken"));
        EXPECT_TRUE(printer.failed());
        EXPECT_EQ(printer.painter(), nullptr);
        EXPECT_FALSE(printer.startPage());
        EXPECT_FALSE(printer.endPage());
        EXPECT_FALSE(printer.endDocument());
        EXPECT_TRUE(printer.failed());
    }
    EXPECT_FALSE(QDir(folder.filePath("missing")).exists());

    // The next job starts afresh; an aborted job leaves no file behind.
    const QString pdf = printTo("spiele.pdf");
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter());
    EXPECT_FALSE(printer.failed());
    ASSERT_TRUE(printer.startDocument("Spiele drucken"));
    printer.painter()->drawRect(100, 100, 500, 500);
    printer.abortDocument();
    EXPECT_EQ(printer.painter(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(printer.endDocument());
}

TEST_F(PrinterTest, WithoutAPrinterThePlayerChoosesOneOrCancels) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    unsetenv("NONARI_PRINT_PDF");
    QWidget owner;
    owner.show();
    QtPrinter printer(&owner);

    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        asked = dialog != nullptr;
        if (dialog) dialog->reject();
    });
    EXPECT_FALSE(printer.selectPrinter());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(printer.startDocument("Brett drucken"));
    EXPECT_EQ(printer.resolutionX(), 0);

    // Choosing to print into a file.
    const QString pdf = folder.filePath("gewählt.pdf");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        auto* file = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("filename")) : nullptr;
        if (!file) {
            if (dialog) dialog->reject();
            return;
        }
        file->setText(pdf);
        dialog->accept();
    });
    ASSERT_TRUE(printer.selectPrinter());
    ASSERT_TRUE(printer.startDocument("Brett drucken"));
    EXPECT_NEAR(printer.resolutionX(), 210 / 25.4 * dotsPerInch, 10);
    printer.setFont("ARIAL", 20);
    textAt(*printer.painter(), 600, 600, QStringLiteral("Gewählt"));
    EXPECT_TRUE(printer.endPage());
    EXPECT_TRUE(printer.endDocument());
    const auto word = findWord(wordsOnPage(pdf, 1), QStringLiteral("Gewählt"));
    ASSERT_TRUE(word.has_value());
    EXPECT_NEAR(word->xMin, 600 * pointsPerDot, 2);
}

}  // namespace
}  // namespace nonari
