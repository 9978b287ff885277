// The record check after a won timed game and the name form champ.
#include "fame/record_check.h"

#include "app/game_state.h"
#include "app/modal_dialog.h"
#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"

#include <algorithm>

namespace nonari {

namespace {

FormId championFormId = 0;

void cmd5_Click() {
    game.dialogClosed = true;
    game.lastChampionName = platform().controlText(championFormId, "ed1");
    game.nameConfirmed = true;
    platform().closeForm(championFormId);
}

void cmd6_Click() {
    game.dialogClosed = true;
    platform().closeForm(championFormId);
}

void champ_Close() { game.dialogClosed = true; }

// The first place whose time the final time beats; 0 when it beats none. Equal times stay ahead.
int recordPlace(int d) {
    for (int p = 1; p <= 10; ++p)
        if (game.finalTime < game.championTime[d][p]) return p;
    return 0;
}

void insertChampion(int d, int place) {
    for (int q = 9; q >= place; --q) {
        game.championName[d][q + 1] = game.championName[d][q];
        game.championDate[d][q + 1] = game.championDate[d][q];
        game.championTime[d][q + 1] = game.championTime[d][q];
    }
    // The name becomes one line of the file; a line break in it would shift every later entry.
    std::string name = game.lastChampionName;
    std::ranges::replace(name, '\r', ' ');
    std::ranges::replace(name, '\n', ' ');
    game.championName[d][place] = name;
    game.championDate[d][place] = todayText();
    game.championTime[d][place] = game.finalTime;
}

}  // namespace

FormLayout championForm() {
    FormLayout form;
    form.name = "champ";
    form.caption = "Neuer Rekord";
    form.width = 360;
    form.height = 142;
    form.controls = {
        formControl(ControlKind::Label, "lbl2",
                "Glückwunsch! Sie haben einen Platz in der Ruhmeshalle erreicht. "
                    "Bitte geben Sie Ihren Namen ein:",
                    12, 10, 336, 44),
        formControl(ControlKind::TextBox, "ed1", "", 12, 60, 336, 24),
        formControl(ControlKind::CommandButton, "cmd5", "&OK", 78, 100, 96, 30),
        formControl(ControlKind::CommandButton, "cmd6", "&Abbruch", 186, 100, 96, 30),
    };
    form.handlers = {
        {"cmd5_Click", [](const FormEventArgs&) { cmd5_Click(); }},
        {"cmd6_Click", [](const FormEventArgs&) { cmd6_Click(); }},
        {"champ_Close", [](const FormEventArgs&) { champ_Close(); }},
    };
    form.defaultButton = "cmd5";
    form.cancelButton = "cmd6";
    return form;
}

void askChampionName() {
    Platform& pf = platform();
    FormId form = openDialogForm(championForm(), 177, 234);
    championFormId = form;
    pf.setControlText(form, "ed1", game.lastChampionName);
    pf.focusControl(form, "ed1");
    waitForDialog(form);
    endDialog(form);
}

void checkForRecord() {
    game.nameConfirmed = false;
    int d = game.difficulty;
    if (d < 0 || d > 4) return;
    int place = recordPlace(d);
    // A damaged file reads as empty lists and is never replaced; the failed save says so.
    if (place == 0) {
        static_cast<void>(loadChampions());
    } else {
        askChampionName();
        insertChampion(d, place);
        // An unconfirmed entry is thrown away by reading the file back.
        if (!game.nameConfirmed) static_cast<void>(loadChampions());
        else if (saveChampions() != FileResult::Ok) reportFileNotWritten(championsFile);
    }
    showHallOfFame();
}

}  // namespace nonari
