// Shared fixture and helpers of the Qt platform tests: the platform installed, window 0 open, a white canvas.
#pragma once

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace nonari::test {

// Runs the step from the event loop, so that input it produces is read by a later wait.
inline void later(std::function<void()> step, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(step)); }

// Acts on the modal dialog with that title (other than the one given), or on the message box when the title
// is empty, once it is open; dialogs open inside callbacks and run loops of their own, so this polls.
inline void whenShown(const QString& title, std::function<void(QWidget*)> act, QPointer<QWidget> other = {},
                      int tries = 500) {
    later([=] {
        QWidget* d = QApplication::activeModalWidget();
        const bool matches = d != nullptr && d->isVisible() && d != other.data() &&
                             (title.isEmpty() ? qobject_cast<QMessageBox*>(d) != nullptr : d->windowTitle() == title);
        if (matches)
            act(d);
        else if (tries > 0)
            whenShown(title, act, other, tries - 1);
        else
            ADD_FAILURE() << "the awaited dialog did not appear";
    }, 10);
}

inline void onMessageBox(std::function<void(QMessageBox*)> act) {
    whenShown({}, [act](QWidget* dialog) { act(static_cast<QMessageBox*>(dialog)); });
}

// Runs the action while answering the message box it opens with the first button; returns the box's text.
inline std::string messageDuring(const std::function<void()>& action) {
    std::string shown;
    onMessageBox([&shown](QMessageBox* box) {
        shown = box->text().toStdString();
        box->buttons().front()->click();
    });
    action();
    return shown;
}

// A word of a PDF page read back with pdftotext, in points from the page's top-left corner.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double cx() const { return (xMin + xMax) / 2; }
    double cy() const { return (yMin + yMax) / 2; }
};
struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;
    // A copy, so that it outlives a page read back only for this look-up.
    std::optional<PdfWord> find(const std::string& text) const {
        for (const PdfWord& w : words)
            if (w.text == text) return w;
        return std::nullopt;
    }
};

inline PdfPage readPdf(const QString& pdf, int page = 1) {
    QProcess process;
    process.start("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    PdfPage result;
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdf.toStdString();
        return result;
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression size(R"re(<page width="([\d.]+)" height="([\d.]+)")re"), word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    if (const auto m = size.match(html); m.hasMatch())
        result = {m.captured(1).toDouble(), m.captured(2).toDouble(), {}};
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

    // Bounding box of the canvas pixels in the region that are of the colour (or, with other, that are not).
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
