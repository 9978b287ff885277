// The printer target on Qt: an aborted job leaves no file; without a printer the player chooses one or cancels.
#include "platform/qt/qt_printer.h"
#include "tests/gui/platform_fixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace nonari::test {
namespace {

TEST(Printer, AbortedJobLeavesNoFile) {
    QTemporaryDir folder;
    const QString pdf = folder.filePath("spiele.pdf");
    setenv("NONARI_PRINT_PDF", QFile::encodeName(pdf).constData(), 1);
    QtPrinter printer(nullptr);
    ASSERT_TRUE(printer.selectPrinter() && printer.startDocument("Spiele drucken"));
    printer.painter()->drawRect(100, 100, 500, 500);
    printer.abortDocument();
    unsetenv("NONARI_PRINT_PDF");
    EXPECT_EQ(printer.painter(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(Printer, WithoutAPrinterThePlayerChoosesOneOrCancels) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    QTemporaryDir folder;
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
    ASSERT_TRUE(printer.startPage());
    printer.setFont("ARIAL", 20);
    printer.painter()->drawText(QPoint(600, 900), QStringLiteral("Gewählt"));
    EXPECT_TRUE(printer.endPage() && printer.endDocument());
    const std::vector<PdfWord> words = readPdf(pdf).words;
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "Gewählt"; }));
}

}  // namespace
}  // namespace nonari::test
