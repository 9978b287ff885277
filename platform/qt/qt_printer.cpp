// The printer as a drawing target: choice of printer, one painter per document, failures that stick.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_printer.h"

#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstdlib>

namespace nonari {

namespace {

// Kept clear on every side, and more where the printer cannot reach that far: the usual hardware
// margins of 4 to 5 mm lie inside it.
constexpr double leastMarginMm = 6.0;

// Paper for a file or a printer chosen in the dialog: what the player's country uses.
QPageSize localPaper() {
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

// The page is laid out inside what the printer can print on its own paper: coordinates and the
// page's width and height count from the top-left corner of that area.
void fitToPrintableArea(QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF least = layout.minimumMargins();
    const QMarginsF margins(std::max(least.left(), leastMarginMm), std::max(least.top(), leastMarginMm),
                            std::max(least.right(), leastMarginMm), std::max(least.bottom(), leastMarginMm));
    printer.setFullPage(false);
    printer.setPageMargins(margins, QPageLayout::Millimeter);
}

}  // namespace

QtPrinter::~QtPrinter() { release(); }

bool QtPrinter::selectPrinter() {
    release();
    hasFailed = false;
    const char* pdf = std::getenv("NONARI_PRINT_PDF");
    if (pdf && *pdf) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QFile::decodeName(pdf));
        printer->setPageSize(localPaper());
        fitToPrintableArea(*printer);
        return true;
    }
    // The printer chosen earlier in this run stands in for a missing default printer.
    for (const QPrinterInfo& usable : {QPrinterInfo::defaultPrinter(), QPrinterInfo::printerInfo(chosenPrinter)}) {
        if (usable.isNull()) continue;
        printer = std::make_unique<QPrinter>(usable, QPrinter::HighResolution);
        if (usable.defaultPageSize().isValid()) printer->setPageSize(usable.defaultPageSize());
        fitToPrintableArea(*printer);
        if (printer->isValid()) return true;
    }
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(localPaper());
    QPrintDialog dialog(printer.get(), owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted || !printer->isValid()) {
        printer.reset();
        return false;
    }
    fitToPrintableArea(*printer);  // on the paper chosen in the dialog
    if (printer->outputFileName().isEmpty()) chosenPrinter = printer->printerName();
    return true;
}

bool QtPrinter::fail() {
    hasFailed = true;
    return false;
}

bool QtPrinter::startDocument(const std::string& name) {
    if (!printer || hasFailed) return fail();
    if (pagePainter) return fail();  // a document is already running
    printer->setDocName(QString::fromStdString(name));
    pagePainter = std::make_unique<QPainter>();
    if (!pagePainter->begin(printer.get())) {
        pagePainter.reset();
        return fail();
    }
    if (hasFont) pagePainter->setFont(font);
    pageOpen = true;
    return true;
}

bool QtPrinter::startPage() {
    if (hasFailed || !pagePainter || !pagePainter->isActive()) return fail();
    if (pageOpen) return true;  // the document opened its first page already
    if (!printer->newPage()) return fail();
    pageOpen = true;
    return true;
}

void QtPrinter::setFont(const std::string& face, double points) {
    QString family = QString::fromStdString(face);
    if (family.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0) family = QStringLiteral("Liberation Sans");
    font = QFont(family);
    font.setPointSizeF(points > 0 ? points : 10);
    hasFont = true;
    // The painter scales points by the printer's resolution.
    if (pagePainter && pagePainter->isActive()) pagePainter->setFont(font);
}

int QtPrinter::resolutionX() { return printer ? printer->width() : 0; }

int QtPrinter::resolutionY() { return printer ? printer->height() : 0; }

bool QtPrinter::endPage() {
    if (hasFailed || !pagePainter || !pagePainter->isActive() || !pageOpen) return fail();
    pageOpen = false;
    return true;
}

bool QtPrinter::endDocument() {
    if (hasFailed || !pagePainter || !pagePainter->isActive()) {
        abortDocument();
        return fail();
    }
    const bool written = pagePainter->end();
    pagePainter.reset();
    pageOpen = false;
    if (!written || printer->printerState() == QPrinter::Error) return fail();
    return true;
}

void QtPrinter::abortDocument() {
    if (!pagePainter) return;
    if (printer->abort()) {
        pagePainter.reset();
        pageOpen = false;
        return;
    }
    // A file target cannot be aborted by its engine: finish it and remove the partial output.
    pagePainter->end();
    pagePainter.reset();
    pageOpen = false;
    if (!printer->outputFileName().isEmpty()) QFile::remove(printer->outputFileName());
}

QPainter* QtPrinter::painter() {
    if (!pagePainter || !pagePainter->isActive() || hasFailed) return nullptr;
    return pagePainter.get();
}

void QtPrinter::release() {
    if (pagePainter) abortDocument();
    printer.reset();
    pageOpen = false;
    hasFont = false;
}

}  // namespace nonari
