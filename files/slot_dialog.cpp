// The slot dialog frm1: saving the board into or loading it from one of four records of "brett.nnr".
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/slot_dialog.h"

#include "files/board_record.h"
#include "platform/modal_dialog.h"
#include "platform/platform.h"
#include "state/game_state.h"

namespace nonari {

namespace {

FormId slotFormId = 0;

std::string optionButton(int slot) { return "opt" + std::to_string(slot + 1); }

// The slot whose option button is checked; -1 when none is.
int checkedSlot() {
    for (int slot = 0; slot < 4; ++slot)
        if (platform().controlValue(slotFormId, optionButton(slot))) return slot;
    return -1;
}

void commitSlot() {
    int slot = checkedSlot();
    if (slot >= 0) game.dialog.selectedSlot = static_cast<std::int16_t>(slot);
    // Loading a slot that cannot be read changes nothing, without a word.
    if (game.dialog.slotDialogLoads) static_cast<void>(readBoardRecord(game.dialog.selectedSlot));
    game.dialog.dialogClosed = true;
    platform().setMainWindowEnabled(true);
    platform().closeForm(slotFormId);
    if (!game.dialog.slotDialogLoads)
        static_cast<void>(saveOrReport(game.dialog.currentFile, [] { return writeBoardRecord(game.dialog.selectedSlot); }));
}

void cmd2_Click();

// A digit 1..4 picks its slot, Enter the button that has the key, any other key the checked one;
// every key commits at once. Escape cancels: committing on it could overwrite a saved board.
void opt_KeyPress(int button, int key) {
    if (key == 27) {
        cmd2_Click();
        return;
    }
    if (key >= '1' && key <= '4') {
        game.dialog.selectedSlot = static_cast<std::int16_t>(key - '1');
    } else if (key == 13) {
        game.dialog.selectedSlot = static_cast<std::int16_t>(button - 1);
    } else {
        int slot = checkedSlot();
        if (slot >= 0) game.dialog.selectedSlot = static_cast<std::int16_t>(slot);
    }
    platform().setControlValue(slotFormId, optionButton(game.dialog.selectedSlot), true);
    platform().focusControl(slotFormId, optionButton(game.dialog.selectedSlot));
    commitSlot();
}

void cmd2_Click() {
    game.dialog.dialogClosed = true;
    platform().closeForm(slotFormId);
    platform().setMainWindowEnabled(true);
}

void frm1_Close() {
    game.dialog.dialogClosed = true;
    platform().setMainWindowEnabled(true);
}

void openSlotDialog() {
    Platform& pf = platform();
    if (game.dialog.selectedSlot < 0 || game.dialog.selectedSlot > 3) game.dialog.selectedSlot = 0;
    FormId form = openDialogForm(slotDialogForm(), 595, 235);
    slotFormId = form;
    pf.setControlValue(form, optionButton(game.dialog.selectedSlot), true);
    pf.focusControl(form, optionButton(game.dialog.selectedSlot));
    waitForDialog(form, game.dialog.dialogClosed);
    endDialog(form);
}

}  // namespace

FormLayout slotDialogForm() {
    FormLayout form;
    form.name = "frm1";
    form.caption = game.dialog.slotDialogLoads ? "Welches Brett laden?" : "Sichern unter ...";
    form.width = 236;
    form.height = 138;
    for (int slot = 0; slot < 4; ++slot)
        form.controls.push_back(formControl(ControlKind::OptionButton, optionButton(slot),
                                        "Nr. &" + std::to_string(slot + 1), 16, 12 + 29 * slot, 96, 24));
    form.controls.push_back(formControl(ControlKind::CommandButton, "cmd1", "&OK", 128, 14, 92, 30));
    form.controls.push_back(formControl(ControlKind::CommandButton, "cmd2", "&Abbruch", 128, 54, 92, 30));
    form.defaultButton = "cmd1";
    form.cancelButton = "cmd2";
    form.handlers["cmd1_Click"] = [](const FormEventArgs&) { commitSlot(); };
    form.handlers["cmd2_Click"] = [](const FormEventArgs&) { cmd2_Click(); };
    form.handlers["frm1_Close"] = [](const FormEventArgs&) { frm1_Close(); };
    form.handlers["opt1_Click"] = [](const FormEventArgs&) { commitSlot(); };
    form.handlers["opt2_Click"] = [](const FormEventArgs&) { commitSlot(); };
    form.handlers["opt3_Click"] = [](const FormEventArgs&) { commitSlot(); };
    form.handlers["opt4_Click"] = [](const FormEventArgs&) { commitSlot(); };
    form.handlers["opt1_KeyPress"] = [](const FormEventArgs& e) { opt_KeyPress(1, e.key); };
    form.handlers["opt2_KeyPress"] = [](const FormEventArgs& e) { opt_KeyPress(2, e.key); };
    form.handlers["opt3_KeyPress"] = [](const FormEventArgs& e) { opt_KeyPress(3, e.key); };
    form.handlers["opt4_KeyPress"] = [](const FormEventArgs& e) { opt_KeyPress(4, e.key); };
    return form;
}

void openSaveDialog() {
    game.dialog.slotDialogLoads = false;
    game.dialog.currentFile = savedBoardFile;
    openSlotDialog();
}

void openLoadDialog() {
    game.dialog.slotDialogLoads = true;
    openSlotDialog();
}

}  // namespace nonari
