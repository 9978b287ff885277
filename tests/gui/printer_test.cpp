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

// A page with the text at the point (its top-left corner, as the game places its print texts) in that size.
void printPage(QtPrinter& printer, double points, int x, int y, const QString& text) {
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", points);
    EXPECT_EQ(QFontInfo(printer.painter()->font()).family(), QStringLiteral("Liberation Sans"));
    printer.painter()->drawText(QPoint(x, y + QFontMetrics(printer.painter()->font()).ascent()), text);
    EXPECT_TRUE(printer.endPage());
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

TEST_F(PrinterTest, FailingTargetsFailTheJobTheNextPrintsAnA4PageAndAnAbortedJobLeavesNoFile) {
    for (const QString& name : {QStringLiteral("missing/brett.pdf"), QStringLiteral(".")}) {
        SCOPED_TRACE(name.toStdString());
        printTo(name);
        QtPrinter printer(nullptr);
        ASSERT_TRUE(printer.selectPrinter());
        EXPECT_FALSE(printer.startDocument("Brett drucken"));
        EXPECT_TRUE(printer.failed());
        EXPECT_EQ(printer.painter(), nullptr);
        EXPECT_FALSE(printer.startPage() || printer.endDocument());
    }
    EXPECT_FALSE(QDir(folder.filePath("missing")).exists());

    const QString pdf = printTo("brett.pdf");  // the next job starts afresh
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter());
    EXPECT_NEAR(printer.resolutionX(), a4Width, 10);  // A4 across the whole sheet, in device pixels
    EXPECT_NEAR(printer.resolutionY(), 297 / 25.4 * 1200, 10);
    ASSERT_TRUE(printer.startDocument("Brett drucken"));
    printPage(printer, 54, 2000, 6000, QStringLiteral("Brett"));
    EXPECT_TRUE(printer.endDocument() && !printer.failed());
    EXPECT_EQ(printer.painter(), nullptr);
    const auto brett = readPdf(pdf).find("Brett");
    ASSERT_TRUE(brett.has_value());
    EXPECT_NEAR(brett->xMin, 2000 * pointsPerDot, 4);
    EXPECT_NEAR(brett->yMin, 6000 * pointsPerDot, 6);
    EXPECT_NEAR(brett->yMax - brett->yMin, 54, 12);  // the line height of 54 points

    const QString aborted = printTo("spiele.pdf");
    QtPrinter second(nullptr);
    ASSERT_TRUE(second.selectPrinter() && second.startDocument("Spiele drucken"));
    second.painter()->drawRect(100, 100, 500, 500);
    second.abortDocument();
    EXPECT_EQ(second.painter(), nullptr);
    EXPECT_FALSE(QFile::exists(aborted));
}

TEST_F(PrinterTest, WithoutAPrinterThePlayerChoosesOneOrCancels) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    unsetenv("NONARI_PRINT_PDF");
    QWidget owner;
    owner.show();
    QtPrinter printer(&owner);
    const QString pdf = folder.filePath("gewählt.pdf");
    for (bool choose : {false, true}) {  // cancels the first time, then chooses to print into a file
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
    printPage(printer, 20, 600, 600, QStringLiteral("Gewählt"));
    EXPECT_TRUE(printer.endDocument());
    const auto word = readPdf(pdf).find("Gewählt");
    ASSERT_TRUE(word.has_value());
    EXPECT_NEAR(word->xMin, 600 * pointsPerDot, 2);
}

}  // namespace
}  // namespace nonari::test
