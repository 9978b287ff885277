// The information dialog Inf.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/info_dialog.h"

#include "platform/modal_dialog.h"
#include "platform/platform.h"
#include "state/game_state.h"

namespace nonari {

namespace {

// The open form, for the button handler that closes it.
FormId informationFormId = 0;

ControlLayout label(const std::string& name, const std::string& caption, int y, int height = 18,
                  double points = 0) {
    ControlLayout control = formControl(ControlKind::Label, name, caption, 24, y, 352, height);
    control.fontPoints = points;
    return control;
}

}  // namespace

FormLayout informationForm() {
    FormLayout form;
    form.name = "Inf";
    form.caption = "Über Nonari";
    form.width = 400;
    form.height = 316;
    form.controls = {
        label("lbl1", "Nonari", 14, 34, 18),
        label("lbl20", "Version 5.0", 50, 20, 10),
        label("lbl21", "Das Zahlenrätsel auf dem Brett mit 9 × 9 Feldern.", 82),
        label("lbl22", "Jede Zeile, jede Spalte und jeder 3 × 3-Block", 106),
        label("lbl23", "enthält am Ende die Ziffern 1 bis 9 genau einmal.", 124),
        label("lbl24", "Fünf Schwierigkeitsgrade von Leicht bis Teuflisch,", 148),
        label("lbl25", "Zeitmessung mit Ruhmeshalle, eigene Bretter,", 166),
        label("lbl26", "vier Speicherplätze und Rätselbögen zum Drucken.", 184),
        label("lbl27", "Die Anleitung finden Sie im Menü Hilfe und im Spiel", 208),
        label("lbl28", "hinter der Schaltfläche Hilfe unter dem Brett.", 226),
        label("lbl29", "Viel Vergnügen beim Knobeln!", 250),
    };
    form.controls.push_back(formControl(ControlKind::CommandButton, "cmd15", "&OK", 155, 276, 90, 28));
    // The one button both confirms and cancels: Enter and Escape close the dialog too.
    form.defaultButton = "cmd15";
    form.cancelButton = "cmd15";
    form.handlers["cmd15_Click"] = [](const FormEventArgs&) {
        game.dialog.dialogClosed = true;
        platform().closeForm(informationFormId);
    };
    form.handlers["Inf_Close"] = [](const FormEventArgs&) { game.dialog.dialogClosed = true; };
    return form;
}

void showInformation() {
    const FormId form = openDialogForm(informationForm(), 149, 140);
    informationFormId = form;
    waitForDialog(form, game.dialog.dialogClosed);
    endDialog(form);
    informationFormId = 0;
}

}  // namespace nonari
