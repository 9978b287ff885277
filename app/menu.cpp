// The menu table and the builder that turns it into the main window's menu.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu.h"

#include "platform/platform.h"
#include "state/game_state.h"

#include <cstdlib>

namespace nonari {

namespace {

// A command item of the table: the command's id, a colon, the caption.
std::string item(MenuCommand command, const char* caption) {
    return std::to_string(static_cast<int>(command)) + ":" + caption;
}

}  // namespace

const std::vector<std::string>& menuTable() {
    using C = MenuCommand;
    static const std::vector<std::string> table = {
        "&Nonari",
            item(C::NewGame, "&Neues Spiel"), "-",
            item(C::StartGame, "&Spielstart"), item(C::RestartBoard, "N&eustart"), "-",
            item(C::PrintSheets, "Spieledruck"), "-",
            item(C::Exit, "&Beenden"), "",
        "&Optionen",
            item(C::LoadBoard, "&lade Brett"), item(C::SaveBoard, "&sichere Brett"), "-",
            item(C::SolveBoard, "&Brett lösen"), item(C::ClearBoard, "B&rett löschen"),
            item(C::PrintBoard, "Brett &drucken"), item(C::ShuffleBoard, "Brett &mischen"), "-",
            item(C::OwnBoard, "&Eigenes Brett"), "-",
            item(C::MarkClashes, "&Fehler markieren"), "",
        "Sch&wierigkeit",
            item(difficultyCommand(0), "&Leicht"), item(difficultyCommand(1), "&Mittel"),
            item(difficultyCommand(2), "&Schwer"), item(difficultyCommand(3), "&Extrem"),
            item(difficultyCommand(4), "&Teuflisch"), "-",
            item(C::Numbers, "&Zahlen"), item(C::Letters, "&Buchstaben"), "-",
            item(C::ShowCandidates, "Zeige &Kandidaten"), "-",
            item(C::Symmetry, "Rätsel-Symmetrie"), "-",
            item(C::HallOfFame, "&Ruhmeshalle"), "-",
            item(C::FreshPuzzles, "&Frische Rätsel"), "",
        "&Hilfe",
            item(C::Manual, "&Anleitung"), "-",
            item(C::About, "über &Nonari..."), "",
        ""};
    return table;
}

namespace {

// Reads the next entry; a table that ends without its end marker reads as if it had one.
const std::string& nextEntry(const std::vector<std::string>& table, std::size_t& next) {
    static const std::string end;
    if (next >= table.size()) return end;
    return table[next++];
}

// Only the first ":" separates the id from the caption.
bool appendCommandItem(MenuId menu, const std::string& entry) {
    std::size_t colon = entry.find(':');
    int id = std::atoi(entry.substr(0, colon).c_str());
    return platform().appendMenuItem(menu, id, entry.substr(colon + 1));
}

}  // namespace

MenuId buildPopup(const std::vector<std::string>& table, std::size_t& next) {
    Platform& pf = platform();
    MenuId popup = pf.createPopup();
    if (popup == 0) return 0;
    bool ok = true;
    for (;;) {
        const std::string& entry = nextEntry(table, next);
        if (entry.empty()) break;
        if (entry == "-") {
            ok = pf.appendMenuSeparator(popup);
        } else if (entry[0] == '>') {
            MenuId nested = buildPopup(table, next);
            ok = nested != 0 && pf.appendMenuPopup(popup, nested, entry.substr(1));
        } else {
            ok = appendCommandItem(popup, entry);
        }
        if (!ok) {
            pf.destroyMenu(popup);
            return 0;
        }
    }
    return popup;
}

bool buildMenuBar(const std::vector<std::string>& table) {
    Platform& pf = platform();
    MenuId bar = pf.createMenuBar();
    if (bar == 0) return false;
    std::size_t next = 0;
    for (;;) {
        const std::string& entry = nextEntry(table, next);
        if (entry.empty()) break;
        bool ok;
        if (entry.find(':') == std::string::npos) {
            MenuId popup = buildPopup(table, next);
            ok = popup != 0 && pf.appendMenuPopup(bar, popup, entry);
        } else {
            ok = appendCommandItem(bar, entry);
            nextEntry(table, next);  // a top-level item carries one extra entry
        }
        if (!ok) {
            pf.destroyMenu(bar);
            return false;
        }
    }
    MenuId old = pf.setMenuBar(bar);
    if (old != 0) pf.destroyMenu(old);
    return true;
}

bool buildMenuBar() { return buildMenuBar(menuTable()); }

void updateMenuChecks() {
    using C = MenuCommand;
    auto check = [](MenuCommand command, bool checked) {
        platform().checkMenuItem(static_cast<int>(command), checked);
    };
    for (int d = 0; d <= 4; ++d) check(difficultyCommand(d), false);
    for (C command : {C::Numbers, C::Letters, C::ShowCandidates, C::Symmetry, C::FreshPuzzles})
        check(command, false);
    check(difficultyCommand(game.settings.difficulty), true);
    check(game.settings.numbersMode ? C::Numbers : C::Letters, true);
    if (game.settings.showCandidates) check(C::ShowCandidates, true);
    if (game.settings.symmetryOn) check(C::Symmetry, true);
    check(C::MarkClashes, game.settings.markClashes);
    if (game.settings.freshPuzzles) check(C::FreshPuzzles, true);
}

}  // namespace nonari
