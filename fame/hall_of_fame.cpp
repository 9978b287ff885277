// The hall-of-fame dialog ruhm: one tab per difficulty, and clearing a list.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/hall_of_fame.h"

#include "fame/champions_file.h"
#include "platform/modal_dialog.h"
#include "platform/platform.h"
#include "state/game_state.h"

#include <cmath>

namespace nonari {

namespace {

FormId hallFormId = 0;

// The form was laid out in twips, 15 to the pixel.
int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

std::string listView(int d) { return "lv" + std::to_string(d + 1); }

// " 1." .. "10.": the place in a field of two characters, so that the full stops line up.
std::string placeText(int p) { return (p < 10 ? " " : "") + std::to_string(p) + "."; }

void ruhm_Load(FormId form) {
    Platform& pf = platform();
    for (int p = 1; p <= 10; ++p)
        for (int d = 0; d < 5; ++d)
            if (game.fame.championTime[d][p].empty() || game.fame.championTime[d][p][0] != '9')
                pf.addListRow(form, listView(d),
                              {placeText(p), game.fame.championName[d][p], game.fame.championDate[d][p],
                               game.fame.championTime[d][p]});
    int tab = 1;
    for (int k = 0; k < game.settings.difficulty && tab < 5; ++k) ++tab;
    pf.selectTab(form, "tbs1", tab);
}

void cmd3_Click() {
    game.dialog.dialogClosed = true;
    platform().closeForm(hallFormId);
}

void ruhm_Close() { game.dialog.dialogClosed = true; }

void cmd4_Click() {
    Platform& pf = platform();
    FormId form = hallFormId;
    game.dialog.answer =
        static_cast<std::int16_t>(pf.messageBox("Wirklich löschen?", MessageIcon::Question, 1, "&JA|&NEIN"));
    if (game.dialog.answer != 1) return;
    int d = pf.selectedTab(form, "tbs1") - 1;
    if (d < 0 || d > 4) return;
    game.dialog.dialogClosed = true;
    pf.closeForm(form);
    // Only this list is cleared in the file as it is now; another game's records in other lists stay.
    static_cast<void>(saveOrReport(championsFile, [d] {
        return changeChampions([d] {
            for (int p = 1; p <= 10; ++p) {
                game.fame.championName[d][p].clear();
                game.fame.championDate[d][p].clear();
                game.fame.championTime[d][p] = "9";
            }
        });
    }));
    pf.setMainWindowEnabled(true);
    // Shown again with the cleared list; when it closes, the outer wait ends as well.
    showHallOfFame();
}

}  // namespace

FormLayout hallOfFameForm() {
    static const char* const tabCaptions[] = {"Leicht", "Mittel", "Schwer", "Extrem", "Teuflisch"};
    FormLayout form;
    form.name = "ruhm";
    form.caption = "Ruhmeshalle";
    form.width = px(6960);
    form.height = px(5355);
    ControlLayout tabStrip = formControl(ControlKind::TabStrip, "tbs1", "", px(240), px(180), px(6390), px(3990));
    tabStrip.tabs = {tabCaptions, tabCaptions + 5};
    form.controls.push_back(tabStrip);
    for (int d = 0; d < 5; ++d) {
        // Each page holds one list view filling the page's list form.
        ControlLayout list = formControl(ControlKind::ListView, listView(d), "", 0, 0, px(6330), px(3855));
        list.page = d + 1;
        list.fontPoints = 12;
        list.columns = {{"#", px(415)}, {"Name", px(3100)}, {"Datum", px(1400)}, {"Zeit", px(1345)}};
        form.controls.push_back(list);
    }
    form.controls.push_back(
        formControl(ControlKind::CommandButton, "cmd3", "&OK", px(1365), px(4320), px(2115), px(465)));
    form.controls.push_back(
        formControl(ControlKind::CommandButton, "cmd4", "&Löschen", px(3480), px(4320), px(2115), px(465)));
    form.handlers = {
        {"cmd3_Click", [](const FormEventArgs&) { cmd3_Click(); }},
        {"cmd4_Click", [](const FormEventArgs&) { cmd4_Click(); }},
        {"ruhm_Close", [](const FormEventArgs&) { ruhm_Close(); }},
    };
    form.defaultButton = "cmd3";
    form.cancelButton = "cmd3";
    return form;
}

void showHallOfFame() {
    // The lists as they are on disk when the dialog opens, with another game's records of the same folder.
    static_cast<void>(loadChampions());
    FormId form = openDialogForm(hallOfFameForm(), 68, 136);
    hallFormId = form;
    ruhm_Load(form);
    waitForDialog(form, game.dialog.dialogClosed);
    endDialog(form);
}

}  // namespace nonari
