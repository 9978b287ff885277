// The one pattern by which every dialog form is modal.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/modal_dialog.h"

#include "platform/platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

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

void reportFileNotWritten(const std::string& file, FileResult why) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string text = "Die Datei „" + file + "“ konnte nicht geschrieben werden.";
    if (why == FileResult::Missing) {
        text = "Die Datei „" + file + "“ ist ein Verweis auf „" + fs::read_symlink(file, error).string() +
               "“, den es nicht gibt. Sie konnte nicht geschrieben werden.";
    } else if (why == FileResult::ReadOnly) {
        // The lock lives in the working folder, the file in the folder its link leads to.
        fs::path folder = fs::current_path(error);
        if (::faccessat(AT_FDCWD, ".", W_OK, AT_EACCESS) == 0)
            folder = fs::absolute(saveTarget(file), error).parent_path();
        text = "Der Ordner „" + folder.string() + "“ ist schreibgeschützt. Die Datei „" + file +
               "“ konnte nicht geschrieben werden; gelesen wird sie weiterhin.";
    }
    platform().messageBox(text, MessageIcon::Exclamation, 1, "OK");
}

FileResult saveOrReport(const std::string& file, const std::function<FileResult()>& save) {
    for (;;) {
        const FileResult result = save();
        if (result == FileResult::Ok) return result;
        if (result != FileResult::Busy) {
            reportFileNotWritten(file, result);
            return result;
        }
        const int answer = platform().messageBox(
            "Ein anderes Nonari sichert gerade in denselben Ordner. Die Datei „" + file +
                "“ wurde noch nicht geschrieben, es ist nichts verloren. Noch einmal versuchen?",
            MessageIcon::Question, 1, "&JA|&NEIN");
        if (answer != 1 || platform().appEnding()) return result;
    }
}

}  // namespace nonari
