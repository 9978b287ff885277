// Program entry: the command line, the player's folder, the Qt platform, then the game.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"
#include "platform/qt/qt_platform.h"

#include <cstdio>
#include <cstring>
#include <string>

#ifndef NONARI_VERSION
#define NONARI_VERSION "5.0"
#endif

namespace {

constexpr const char* helpText =
    "Aufruf: nonari [OPTION]\n"
    "Nonari – das Zahlenrätsel mit 9×9 Feldern, auf Zeit.\n"
    "\n"
    "Optionen:\n"
    "  -h, --help     diese Hilfe zeigen und beenden\n"
    "      --version  die Versionsnummer zeigen und beenden\n"
    "Außerdem gelten die Optionen von Qt, etwa -platform NAME.\n"
    "\n"
    "Tasten im Spiel (neben L, S, D, N, H, A/Escape, K+O, F, C, M, X):\n"
    "  Pfeile, Pos1, Ende       das Feld der Tastatur zeigen und bewegen\n"
    "  1–9, 0/Entf/Leertaste    eintragen, leeren; mit Umschalt eine Notiz\n"
    "  Eingabetaste             die Zahlenauswahl über dem Feld öffnen\n"
    "  Strg+Z, Strg+Y           zurücknehmen, wiederholen\n"
    "  P                        Pause einer gemessenen Partie\n"
    "  T                        Tipp: der nächste Schritt (beendet die Zeitmessung)\n"
    "\n"
    "Gesicherte Bretter (brett.nnr) und die Ruhmeshalle (Champions.Rhm) liegen im Spielordner:\n"
    "$NONARI_HOME, sonst $XDG_DATA_HOME/nonari, sonst ~/.local/share/nonari.\n"
    "Die Einstellung „Frische Rätsel“ (neue Spiele aus frisch erzeugten Rätseln) steht in einstellungen.txt.\n"
    "NONARI_SEED=ZAHL legt den Zufall fest, damit sich ein Lauf wiederholen lässt.\n"
    "Spielstart und „lade Brett“ fragen nach, wenn ein Brett keine oder mehr als eine Lösung hat.\n"
    "Die Anleitung steht im Spiel unter Hilfe → Anleitung und in „man nonari“.\n";

bool is(const char* arg, const char* name) { return std::strcmp(arg, name) == 0; }

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "--help") || is(argv[i], "-h")) {
            std::fputs(helpText, stdout);
            return 0;
        }
        if (is(argv[i], "--version")) {
            std::puts("Nonari " NONARI_VERSION);
            return 0;
        }
    }
    auto platform = nonari::createQtPlatform(argc, argv);
    // Qt has taken its own options out; anything left is not ours either.
    if (argc > 1) {
        std::fprintf(stderr, "nonari: unbekannte Option „%s“\nMehr mit „nonari --help“.\n", argv[1]);
        return 2;
    }
    const std::string notice = nonari::enterPlayerFolder();
    nonari::installPlatform(platform.get());
    int status = nonari::runNonari(notice);
    nonari::installPlatform(nullptr);
    return status;
}
