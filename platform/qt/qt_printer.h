// The printer as a drawing target: printer choice, documents and pages, fonts in points, failures.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageSize>
#include <QPainter>
#include <QWidget>

#include <memory>
#include <string>

class QPrinter;

namespace nonari {

// The paper of a print job: the printer's own default page size when Qt knows one, else its queue's
// default media as the print system names it ("na_letter_8.5x11in", "iso_a4_210x297mm", "Letter"),
// else the paper of the player's region from the locale name of LC_PAPER (Letter in the US and
// Canada), else A4.
QPageSize choosePaper(const QPageSize& printerDefault, const std::string& queueMedia, const std::string& paperLocale);

class QtPrinter {
public:
    explicit QtPrinter(QWidget* owner) : owner(owner) {}
    ~QtPrinter();

    // Uses the default printer, or asks the player for one; NONARI_PRINT_PDF names a PDF file to print to instead.
    bool selectPrinter();
    bool startDocument(const std::string& name);
    bool startPage();
    void setFont(const std::string& face, double points);
    int resolutionX();
    int resolutionY();
    bool endPage();
    bool endDocument();
    void abortDocument();
    bool failed() const { return hasFailed; }
    // The painter drawing on the current page (null outside a document).
    QPainter* painter();
    void release();

private:
    bool fail();

    QWidget* owner;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> pagePainter;
    bool pageOpen = false;
    bool hasFailed = false;
    QFont font;
    bool hasFont = false;
    QString chosenPrinter;  // picked in the dialog; used again while no default printer exists
};

}  // namespace nonari
