// Window 0: a fixed-size top-level window holding the menu bar and the canvas below it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/qt/qt_canvas.h"

#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>

namespace nonari {

class QtMainWindow : public QWidget {
    Q_OBJECT
public:
    QtMainWindow();

    QtCanvas* canvas() const { return canvasWidget; }
    QMenuBar* installedMenuBar() const { return bar; }
    // Shows the bar above the canvas; the previous bar stays alive, hidden, for its owner to destroy.
    void installMenuBar(QMenuBar* menuBar);

    // Decides about a close request from the window system: true lets the window close.
    std::function<bool()> onCloseRequest;
    // The window was minimised, or hidden by the window system.
    std::function<void()> onHidden;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QVBoxLayout* layout;
    QtCanvas* canvasWidget;
    QPointer<QMenuBar> bar;
};

}  // namespace nonari
