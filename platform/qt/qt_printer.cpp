// The printer as a drawing target: choice of printer, one painter per document, failures that stick.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_printer.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

namespace nonari {

namespace {

// Kept clear on every side, and more where the printer cannot reach that far: the usual hardware
// margins of 4 to 5 mm lie inside it.
constexpr double leastMarginMm = 6.0;

// One media name: a size the name spells out, or a paper named as in printer descriptions.
QPageSize paperNamed(const std::string& media) {
    static const std::regex spelledOut(R"(^[a-z0-9]+_[a-z0-9.-]*_([0-9]+(?:\.[0-9]+)?)x([0-9]+(?:\.[0-9]+)?)(mm|in)$)");
    std::smatch size;
    if (std::regex_match(media, size, spelledOut)) {
        // Numbers with a point whatever the player's locale writes.
        const QSizeF measured(QString::fromStdString(size[1]).toDouble(), QString::fromStdString(size[2]).toDouble());
        if (measured.isEmpty()) return {};
        const auto unit = size[3] == "mm" ? QPageSize::Millimeter : QPageSize::Inch;
        return QPageSize(measured, unit, {}, QPageSize::FuzzyMatch);
    }
    const QString name = QString::fromStdString(media);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto known = static_cast<QPageSize::PageSizeId>(id);
        if (known != QPageSize::Custom && QPageSize::key(known).compare(name, Qt::CaseInsensitive) == 0)
            return QPageSize(known);
    }
    return {};
}

// The locale that decides the paper, by the C library's order of precedence.
std::string paperLocale() {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
    return {};
}

// The default media of the print system's queue of that name, or nothing.
std::string queueMedia(const QString& printerName) {
    const QStringList nameAndInstance = printerName.split(u'/');
    const QByteArray name = nameAndInstance.value(0).toUtf8(), instance = nameAndInstance.value(1).toUtf8();
    cups_dest_t* dest =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), instance.isEmpty() ? nullptr : instance.constData());
    if (dest == nullptr) return {};
    const char* media = cupsGetOption("media", dest->num_options, dest->options);
    std::string found = media != nullptr ? media : "";
    cupsFreeDests(1, dest);
    return found;
}

// Paper for a file or a printer chosen in the dialog: what the player's region uses.
QPageSize localPaper() { return choosePaper({}, {}, paperLocale()); }

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

QPageSize choosePaper(const QPageSize& printerDefault, const std::string& queueMedia, const std::string& paperLocale) {
    if (printerDefault.isValid()) return printerDefault;
    // A queue may name its tray or other choices after the size: "A4,Upper".
    std::string first = queueMedia.substr(0, queueMedia.find(','));
    if (QPageSize named = paperNamed(first); named.isValid()) return named;
    // "en_US.UTF-8", "fr_CA@euro": the territory stands between the underscore and the encoding or variant.
    static const std::regex withTerritory(R"(^[A-Za-z]+_([A-Za-z]+)([.@].*)?$)");
    std::smatch territory;
    if (std::regex_match(paperLocale, territory, withTerritory) && (territory[1] == "US" || territory[1] == "CA"))
        return QPageSize(QPageSize::Letter);
    return QPageSize(QPageSize::A4);
}

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
        // A queue without a printer description gives Qt no default page size: its own default media, or
        // the player's region, says which paper is in it.
        const QPageSize printerDefault = usable.defaultPageSize();
        const std::string media = printerDefault.isValid() ? "" : queueMedia(usable.printerName());
        printer->setPageSize(choosePaper(printerDefault, media, paperLocale()));
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
