// The main window: layout of menu bar and canvas, fixed size, and close requests handed to the game.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_window.h"

#include <QCloseEvent>
#include <QHideEvent>

namespace nonari {

QtMainWindow::QtMainWindow() : layout(new QVBoxLayout(this)), canvasWidget(new QtCanvas(this)) {
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(canvasWidget);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
}

void QtMainWindow::installMenuBar(QMenuBar* menuBar) {
    if (bar && bar != menuBar) bar->hide();
    bar = menuBar;
    if (menuBar != nullptr) {
        menuBar->setNativeMenuBar(false);
        if (menuBar->parentWidget() != this) menuBar->setParent(this);
        menuBar->show();
    }
    layout->setMenuBar(menuBar);
    layout->activate();
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (onCloseRequest && !onCloseRequest())
        event->ignore();
    else
        event->accept();
}

void QtMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && isMinimized() && onHidden) onHidden();
    QWidget::changeEvent(event);
}

void QtMainWindow::hideEvent(QHideEvent* event) {
    // Only the window system's hiding; the program's own closing is no pause.
    if (event->spontaneous() && !isMinimized() && onHidden) onHidden();
    QWidget::hideEvent(event);
}

}  // namespace nonari
