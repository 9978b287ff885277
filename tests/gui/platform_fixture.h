// Shared fixture and helpers of the Qt platform tests: the platform installed, window 0 open, a white canvas.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace nonari::test {

// Runs the step from the event loop, so that input it produces is read by a later wait.
inline void later(std::function<void()> step, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(step)); }

// Runs the step from the event loop once the condition holds; gives up after five seconds. Dialogs open inside
// callbacks and run loops of their own, and a loaded machine takes its time, so tests wait this way.
inline void once(std::function<bool()> holds, std::function<void()> step, int tries = 500) {
    later([=] {
        if (holds()) step();
        else if (tries > 0) once(holds, step, tries - 1);
        else ADD_FAILURE() << "the awaited state did not come";
    }, 10);
}

// Acts on the modal dialog with that title (a message box when the title is empty) once it is open.
inline void whenShown(const QString& title, std::function<void(QWidget*)> act) {
    once([title] {
        const QWidget* d = QApplication::activeModalWidget();
        const bool box = qobject_cast<const QMessageBox*>(d) != nullptr;
        return d && d->isVisible() && (title.isEmpty() ? box : d->windowTitle() == title);
    }, [act] { act(QApplication::activeModalWidget()); });
}

// Runs the action while answering the message box it opens with the first button; returns the box's text.
inline std::string messageDuring(const std::function<void()>& action) {
    std::string shown;
    whenShown({}, [&shown](QWidget* dialog) {
        auto* box = static_cast<QMessageBox*>(dialog);
        shown = box->text().toStdString(), box->buttons().front()->click();
    });
    action();
    return shown;
}

class QtPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        pf = &qt_testing::qtPlatform(), installPlatform(pf), qt_testing::revive();
        if (!pf->mainWindowExists()) pf->openMainWindow(20, 30, 862, 694);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(qt_testing::mainWindow()));
        qt_testing::backingImage().fill(Qt::white), QCoreApplication::processEvents();
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
