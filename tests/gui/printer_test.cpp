// The printer target on Qt: pages printed to a PDF file and read back, failing targets, the printer choice.
#include "platform/qt/qt_printer.h"
#include "tests/gui/platform_fixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace nonari::test {
namespace {

constexpr double pointsPerDot = 72.0 / 1200;  // PDF output at 1200 dots per inch
constexpr double a4Width = 210 / 25.4 * 1200;

// Text with its top-left corner at the point, as the game places its print texts.
void textAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPoint(x, y + QFontMetrics(painter.font()).ascent()), text);
}

class PrinterTest : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("NONARI_PRINT_PDF"); }
    QString printTo(const QString& name) {
        setenv("NONARI_PRINT_PDF", QFile::encodeName(folder.filePath(name)).constData(), 1);
        return folder.filePath(name);
    }
    QTemporaryDir folder;
};

TEST_F(PrinterTest, PrintsPagesToTheNamedPdfFileAtTheirPlaces) {
    const QString pdf = printTo("brett.pdf");
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter());
    EXPECT_NEAR(printer.resolutionX(), a4Width, 10);  // A4 across the whole sheet, in device pixels
    EXPECT_NEAR(printer.resolutionY(), 297 / 25.4 * 1200, 10);
    ASSERT_TRUE(printer.startDocument("Brett drucken"));
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 54);
    EXPECT_EQ(QFontInfo(printer.painter()->font()).family(), QStringLiteral("Liberation Sans"));
    textAt(*printer.painter(), 2000, 6000, QStringLiteral("Brett"));
    EXPECT_TRUE(printer.endPage());
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 12);
    textAt(*printer.painter(), 1000, 13000, QStringLiteral("Zahlen"));
    EXPECT_TRUE(printer.endPage());
    EXPECT_TRUE(printer.endDocument());
    EXPECT_FALSE(printer.failed());
    EXPECT_EQ(printer.painter(), nullptr);

    const PdfPage first = readPdf(pdf, 1), second = readPdf(pdf, 2);
    const auto brett = first.find("Brett");
    const auto zahlen = second.find("Zahlen");
    ASSERT_TRUE(brett && zahlen);
    EXPECT_NEAR(brett->xMin, 2000 * pointsPerDot, 4);
    EXPECT_NEAR(brett->yMin, 6000 * pointsPerDot, 6);
    EXPECT_NEAR(brett->yMax - brett->yMin, 54, 12);  // the line height of 54 points
    EXPECT_NEAR(zahlen->xMin, 1000 * pointsPerDot, 2);
    EXPECT_NEAR(zahlen->yMax - zahlen->yMin, 12, 3);
}

TEST_F(PrinterTest, ATargetThatCannotBeWrittenFailsTheJobAndAnAbortedJobLeavesNoFile) {
    for (const QString& name : {QStringLiteral("missing/brett.pdf"), QStringLiteral(".")}) {
        SCOPED_TRACE(name.toStdString());
        printTo(name);
        QtPrinter printer(nullptr);
        ASSERT_TRUE(printer.selectPrinter());
        EXPECT_FALSE(printer.startDocument("Brett drucken"));
        EXPECT_TRUE(printer.failed());
        EXPECT_EQ(printer.painter(), nullptr);
        EXPECT_FALSE(printer.startPage());
        EXPECT_FALSE(printer.endDocument());
    }
    EXPECT_FALSE(QDir(folder.filePath("missing")).exists());

    const QString pdf = printTo("spiele.pdf");  // the next job starts afresh
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter());
    ASSERT_TRUE(printer.startDocument("Spiele drucken"));
    printer.painter()->drawRect(100, 100, 500, 500);
    printer.abortDocument();
    EXPECT_EQ(printer.painter(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrinterTest, WithoutAPrinterThePlayerChoosesOneOrCancels) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    unsetenv("NONARI_PRINT_PDF");
    QWidget owner;
    owner.show();
    QtPrinter printer(&owner);
    const QString pdf = folder.filePath("gewählt.pdf");
    // Cancels the first time, then chooses to print into a file.
    for (bool choose : {false, true}) {
        later([&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the printer dialog did not open";
            auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (!choose || file == nullptr) return dialog->reject();
            file->setText(pdf);
            dialog->accept();
        });
        EXPECT_EQ(printer.selectPrinter(), choose);
        EXPECT_EQ(printer.startDocument("Brett drucken"), choose);
    }
    EXPECT_NEAR(printer.resolutionX(), a4Width, 10);
    printer.setFont("ARIAL", 20);
    textAt(*printer.painter(), 600, 600, QStringLiteral("Gewählt"));
    EXPECT_TRUE(printer.endPage());
    EXPECT_TRUE(printer.endDocument());
    const auto word = readPdf(pdf).find("Gewählt");
    ASSERT_TRUE(word.has_value());
    EXPECT_NEAR(word->xMin, 600 * pointsPerDot, 2);
}

}  // namespace
}  // namespace nonari::test
