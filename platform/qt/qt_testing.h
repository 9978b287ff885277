// Access for the GUI tests to the inner objects of the Qt platform made by createQtPlatform.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <QImage>

#include <cstddef>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace nonari {

class QtCanvas;
class QtForms;
class QtHelpViewer;
class QtMainWindow;
class QtPrinter;

namespace qt_testing {

// The platform made by the last createQtPlatform (tests may install another one meanwhile).
Platform& qtPlatform();
QImage& backingImage();
QtMainWindow* mainWindow();
QtCanvas* canvas();
QMenuBar* installedMenuBar();
QMenu* popupMenu(MenuId popup);
// The first menu action with that command id (null when there is none).
QAction* menuAction(int commandId);
QLabel* label(LabelId label);
QtForms& forms();
QtPrinter& printer();
QtHelpViewer& helpViewer();
// Input events and deferred commands waiting for the event wait.
std::size_t queuedEntries();
int pointerHideCount();
// Undoes quit() and closeMainWindow() for the next test: clears the ending flag, the queue,
// the pointer count and the handlers, resets the drawing state and shows the window again.
void revive();

}  // namespace qt_testing
}  // namespace nonari
