// Shared fixture of the Qt platform tests: the platform installed, window 0 open, a white canvas.
#pragma once

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace nonari::test {

// Runs the step from the event loop, so that input it produces is read by a later wait.
inline void later(std::function<void()> step, int ms = 0) { QTimer::singleShot(ms, qApp, std::move(step)); }

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

    // The next event the wait returns that is not None; gives up after a number of wakes.
    InputEvent nextInput(int wakes = 50) {
        QTimer ticker;
        ticker.start(10);
        for (int i = 0; i < wakes; ++i) {
            InputEvent event = pf->waitEvent();
            if (event.kind != EventKind::None) return event;
        }
        return InputEvent{};
    }

    Platform* pf = nullptr;
};

}  // namespace nonari::test
