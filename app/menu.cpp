// The menu table and the builder that turns it into the main window's menu.
#include "app/menu.h"

#include "platform/platform.h"
#include "state/game_state.h"

#include <cstdlib>

namespace nonari {

const std::vector<std::string>& menuTable() {
    static const std::vector<std::string> table = {
        "&Nonari", "8:&Neues Spiel", "-", "10:&Spielstart", "25:N&eustart", "-", "12:Spieledruck", "-",
        "99:&Beenden", "",
        "&Optionen", "20:&lade Brett", "21:&sichere Brett", "-", "22:&Brett lösen", "26:B&rett löschen",
        "27:Brett &drucken", "24:Brett &mischen", "-", "11:&Eigenes Brett", "",
        "Sch&wierigkeit", "30:&Leicht", "31:&Mittel", "32:&Schwer", "33:&Extrem", "34:&Teuflisch", "-",
        "40:&Zahlen", "41:&Buchstaben", "-", "44:Zeige &Kandidaten", "-", "45:Rätsel-Symmetrie", "-",
        "50:&Ruhmeshalle", "",
        "&Hilfe", "60:&Anleitung", "-", "1:über &Nonari...", "",
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
    Platform& pf = platform();
    for (int id : {30, 31, 32, 33, 34, 40, 41, 44, 45}) pf.checkMenuItem(id, false);
    pf.checkMenuItem(30 + game.settings.difficulty, true);
    pf.checkMenuItem(game.settings.numbersMode ? 40 : 41, true);
    if (game.settings.showCandidates) pf.checkMenuItem(44, true);
    if (game.settings.symmetryOn) pf.checkMenuItem(45, true);
}

}  // namespace nonari
