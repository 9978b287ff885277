// The one pattern by which every dialog form is modal.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal_dialog.h"

#include "platform/platform.h"

namespace nonari {

ControlLayout formControl(ControlKind kind, const std::string& name, const std::string& caption, int x, int y,
                          int width, int height) {
    ControlLayout control;
    control.kind = kind;
    control.name = name;
    control.caption = caption;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    return control;
}

FormId openDialogForm(const FormLayout& desc, int offsetX, int offsetY) {
    Platform& pf = platform();
    pf.setMainWindowEnabled(false);
    return pf.loadForm(desc, pf.mainWindowLeft() + offsetX, pf.mainWindowTop() + offsetY);
}

void waitForDialog(FormId form, bool& dialogClosed) {
    Platform& pf = platform();
    dialogClosed = false;
    while (!dialogClosed && pf.formExists(form) && !pf.appEnding()) pf.waitEvent();
}

void endDialog(FormId form) {
    Platform& pf = platform();
    if (pf.formExists(form)) pf.closeForm(form);
    pf.setMainWindowEnabled(true);
    pf.activateMainWindow();
}

void reportFileNotWritten(const std::string& file) {
    platform().messageBox("Die Datei „" + file + "“ konnte nicht geschrieben werden.", MessageIcon::Exclamation, 1,
                          "OK");
}

}  // namespace nonari
