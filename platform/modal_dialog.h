// The one pattern by which every dialog form is modal.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"
#include "platform/safe_file.h"

#include <functional>
#include <string>

namespace nonari {

// One control of a form description: kind, name, caption and its place in the form in pixels.
ControlLayout formControl(ControlKind kind, const std::string& name, const std::string& caption, int x, int y,
                          int width, int height);

// Disables the main window and loads the form at the offset from the main window's top-left corner.
FormId openDialogForm(const FormLayout& desc, int offsetX, int offsetY);
// Clears the flag and dispatches events until a handler of the form sets it, the form is gone or the
// program ends.
void waitForDialog(FormId form, bool& dialogClosed);
// Takes the form down if it is still open (the program may be ending), then enables and activates the main
// window again.
void endDialog(FormId form);

// Tells the player why a save did not happen; the game and the old file stay as they were.
void reportFileNotWritten(const std::string& file, FileResult why);
// Runs a save of file; while another game holds the saves' lock, offers to try again. Any other failure is
// reported. Returns what the last try gave.
FileResult saveOrReport(const std::string& file, const std::function<FileResult()>& save);

}  // namespace nonari
