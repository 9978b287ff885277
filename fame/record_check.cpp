// The record check after a won timed game and the name form champ.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/record_check.h"

#include "fame/champions_file.h"
#include "fame/hall_of_fame.h"
#include "platform/modal_dialog.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "state/game_state.h"

#include <algorithm>

namespace nonari {

namespace {

FormId championFormId = 0;

// The characters of the name that the hall-of-fame file cannot hold, each once, in their order.
std::string unstorableCharacters(const std::string& name) {
    std::string found;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t length = 1;
        while (i + length < name.size() && (static_cast<unsigned char>(name[i + length]) & 0xC0) == 0x80) ++length;
        const std::string character = name.substr(i, length);
        i += length;
        if (windows1252ToUtf8(utf8ToWindows1252(character)) == character || found.find(character) != std::string::npos)
            continue;
        found += (found.empty() ? "" : " ") + character;
    }
    return found;
}

void cmd5_Click() {
    Platform& pf = platform();
    const std::string name = pf.controlText(championFormId, "ed1");
    // The file would keep "?" in their place; the player changes the name instead, the form stays open.
    if (const std::string unstorable = unstorableCharacters(name); !unstorable.empty()) {
        pf.messageBox("Der Name enthält Zeichen, die die Ruhmeshalle nicht speichern kann: " + unstorable +
                          "\nBitte ändern Sie den Namen.",
                      MessageIcon::Exclamation, 1, "OK");
        pf.focusControl(championFormId, "ed1");
        return;
    }
    game.dialog.dialogClosed = true;
    game.fame.lastChampionName = name;
    game.fame.nameConfirmed = true;
    platform().closeForm(championFormId);
}

void cmd6_Click() {
    game.dialog.dialogClosed = true;
    platform().closeForm(championFormId);
}

void champ_Close() { game.dialog.dialogClosed = true; }

// The first place whose time the final time beats; 0 when it beats none. Equal times stay ahead.
int recordPlace(int d) {
    for (int p = 1; p <= 10; ++p)
        if (game.clock.finalTime < game.fame.championTime[d][p]) return p;
    return 0;
}

void insertChampion(int d, int place) {
    for (int q = 9; q >= place; --q) {
        game.fame.championName[d][q + 1] = game.fame.championName[d][q];
        game.fame.championDate[d][q + 1] = game.fame.championDate[d][q];
        game.fame.championTime[d][q + 1] = game.fame.championTime[d][q];
    }
    // The name becomes one line of the file; a line break in it would shift every later entry.
    std::string name = game.fame.lastChampionName;
    std::ranges::replace(name, '\r', ' ');
    std::ranges::replace(name, '\n', ' ');
    game.fame.championName[d][place] = name;
    game.fame.championDate[d][place] = todayText();
    game.fame.championTime[d][place] = game.clock.finalTime;
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
    pf.setControlText(form, "ed1", game.fame.lastChampionName);
    pf.focusControl(form, "ed1");
    waitForDialog(form, game.dialog.dialogClosed);
    endDialog(form);
}

void checkForRecord() {
    game.fame.nameConfirmed = false;
    int d = game.settings.difficulty;
    if (d < 0 || d > 4) return;
    // The lists as they are on disk: another game in the same folder may have set records meanwhile.
    static_cast<void>(loadChampions());
    if (recordPlace(d) != 0) {
        askChampionName();
        // Only a confirmed name is stored, at the place the time earns among the lists as they are then.
        // A damaged file reads as empty lists and is never replaced; the failed save says so.
        if (game.fame.nameConfirmed)
            static_cast<void>(saveOrReport(championsFile, [d] {
                return changeChampions([d] {
                    if (int place = recordPlace(d); place != 0) insertChampion(d, place);
                });
            }));
    }
    showHallOfFame();
}

}  // namespace nonari
