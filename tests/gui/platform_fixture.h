// Shared fixture and helpers of the Qt platform tests: the platform installed, window 0 open, a white canvas.
#pragma once

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace nonari::test {

// Runs the step from the event loop, so that input it produces is read by a later wait.
inline void later(std::function<void()> step, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(step)); }

// Acts on the modal dialog with that title (a message box when the title is empty) once it is open;
// dialogs open inside callbacks and run loops of their own, so this polls.
inline void whenShown(const QString& title, std::function<void(QWidget*)> act, int tries = 500) {
    later([=] {
        QWidget* d = QApplication::activeModalWidget();
        const bool box = qobject_cast<QMessageBox*>(d) != nullptr;
        if (d && d->isVisible() && (title.isEmpty() ? box : d->windowTitle() == title))
            act(d);
        else if (tries > 0)
            whenShown(title, act, tries - 1);
        else
            ADD_FAILURE() << "the awaited dialog did not appear";
    }, 10);
}

// Runs the action while answering the message box it opens with the first button; returns the box's text.
inline std::string messageDuring(const std::function<void()>& action) {
    std::string shown;
    whenShown({}, [&shown](QWidget* dialog) {
        auto* box = static_cast<QMessageBox*>(dialog);
        shown = box->text().toStdString();
        box->buttons().front()->click();
    });
    action();
    return shown;
}

// The words of the first page of a PDF read back with pdftotext, in points from the page's top-left corner.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double cx() const { return (xMin + xMax) / 2; }
    double cy() const { return (yMin + yMax) / 2; }
};
struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;
};
inline PdfPage readPdf(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-bbox", "-l", "1", pdf, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) ADD_FAILURE() << "pdftotext failed";
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression size(R"re(<page width="([\d.]+)" height="([\d.]+)")re"), word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    const auto page = size.match(html);
    PdfPage result{page.captured(1).toDouble(), page.captured(2).toDouble(), {}};
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        result.words.push_back({m.captured(5).toStdString(), m.captured(1).toDouble(), m.captured(2).toDouble(),
                                m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return result;
}

class QtPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        pf = &qt_testing::qtPlatform();
        installPlatform(pf);
        qt_testing::revive();
        if (!pf->mainWindowExists()) pf->openMainWindow(20, 30, 862, 694);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(qt_testing::mainWindow()));
        qt_testing::backingImage().fill(Qt::white);
        QCoreApplication::processEvents();
    }
    void TearDown() override { qt_testing::revive(); }

    static QImage& image() { return qt_testing::backingImage(); }
    static Rgb pixel(int x, int y) { return image().pixel(x, y) & 0xFFFFFFu; }
    // Bounding box of the canvas pixels in the region that are not of the colour (or, with !other, that are).
    static QRect inkBox(const QRect& region, Rgb colour, bool other = true) {
        QRect box;
        for (int y = region.top(); y <= region.bottom(); ++y)
            for (int x = region.left(); x <= region.right(); ++x)
                if ((pixel(x, y) != colour) == other) box = box.united(QRect(x, y, 1, 1));
        return box;
    }
    // The next event the wait returns that is not None; gives up after a number of wakes.
    InputEvent nextInput(int wakes = 50) {
        QTimer ticker;
        ticker.start(10);
        for (int i = 0; i < wakes; ++i)
            if (InputEvent event = pf->waitEvent(); event.kind != EventKind::None) return event;
        return InputEvent{};
    }

    Platform* pf = nullptr;
};

}  // namespace nonari::test
