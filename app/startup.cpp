// Start-up, the event loop and the question before the program ends.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/commands.h"
#include "app/menu.h"
#include "fame/champions_file.h"
#include "files/board_record.h"
#include "files/settings_file.h"
#include "help/help_launch.h"
#include "logic/puzzle_reserve.h"
#include "platform/folders.h"
#include "platform/picture_check.h"
#include "platform/platform.h"
#include "platform/system.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "screen/layout.h"
#include "screen/side_panels.h"
#include "state/game_state.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace nonari {

namespace {

constexpr int windowWidth = 862;
constexpr int windowHeight = 694;
constexpr int windowOpeningHeight = 723;
constexpr const char* productTitle = "Nonari QV V5.0";
constexpr const char* bottomNotice = "Viel Spaß!";
constexpr const char* backgroundPicture = "muster.jpg";

// NONARI_SEED replays a run; otherwise every start draws differently.
std::uint32_t startSeed() {
    if (const char* text = std::getenv("NONARI_SEED")) return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
    std::random_device device;
    return device() ^ static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void openCentredWindow() {
    Platform& pf = platform();
    int x = static_cast<int>(std::lround((pf.screenWidth() - windowWidth) / 2.0));
    int y = static_cast<int>(std::lround((pf.screenHeight() - windowHeight) / 2.0)) - 32;
    pf.openMainWindow(x, y, windowWidth, windowOpeningHeight);
    pf.sizeMainWindow(windowWidth, windowHeight);
}

void buildState() {
    resetGameState();
    static_cast<void>(loadChampions());  // missing or damaged: empty lists, and the file is never replaced
    static_cast<void>(loadSettings());   // missing or damaged: every setting as at the first start
}

void setBackground() {
    Platform& pf = platform();
    // Read as every other file: a pipe under the name would keep the window from ever being drawn, a huge
    // picture take the memory. Anything the check refuses is left out, as a missing picture is.
    if (const std::optional<Picture> picture = readPictureFile(backgroundPicture))
        static_cast<void>(pf.setBackgroundPicture(picture->bytes));
    pf.setBackgroundColour(colour(BlueGrey));
}

void createClockLabel() {
    Platform& pf = platform();
    game.screen.uhr = pf.createLabel("uhr", 646, 592, 160, 30, "Arial", 24, colour(White));
    pf.setLabelText(game.screen.uhr, idleClockText);
}

void drawFirstScreen() {
    selectFont(8);  // settles largeFonts before the first position depends on it
    int titleY = game.screen.largeFonts ? 668 : 670;
    drawBevelFrame(0, 2, 0, 651, 862, 674);
    drawShadowText(16, Black, 10, titleY, productTitle);
    drawShadowText(16, Black, 740, titleY, bottomNotice);
    drawBoardPanel();
    drawHelpPanel();
}

}  // namespace

void startNonari() {
    Platform& pf = platform();
    // A file-size limit must fail the write (EFBIG), which the save reports, instead of ending the game.
    std::signal(SIGXFSZ, SIG_IGN);
    removeStaleTemporaries(".", {savedBoardFile, championsFile, settingsFile});
    seedRandom(startSeed());
    catchEndSignals();
    pf.setMainWindowHandlers({Win_0_MenuEvent, Win_0_MouseMove, Win_0_Close, endProgram});
    pf.setTitle(applicationTitle);
    openCentredWindow();
    buildState();
    if (!buildMenuBar()) {
        std::fputs("nonari: the menu could not be built\n", stderr);
        std::exit(1);
    }
    updateMenuChecks();
    setBackground();
    game.screen.savedStrip = pf.saveArea(30, 598, 568, 625);
    game.screen.helpText = helpTextChooseMenu;
    createClockLabel();
    drawFirstScreen();
    game.dialog.useHtmlHelp = htmlHelpPlatform();
    selectFont(16);
    // Last, so that no way out of the start-up leaves the maker running.
    if (game.settings.freshPuzzles) startFreshPuzzles(freshPuzzleSeed());
}

std::string enterPlayerFolder() {
    const std::filesystem::path folder = playerFolder();
    if (enterFolder(folder)) return {};
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    const std::string named = folder.empty() ? std::string("(kein Ordner angegeben)") : folder.string();
    return "Der Spielordner " + named +
           " kann nicht angelegt oder geöffnet werden. Gesicherte Bretter und die Ruhmeshalle landen "
           "stattdessen im Ordner " + here.string() + ".";
}

int runNonari(const std::string& startupNotice) {
    Platform& pf = platform();
    startNonari();
    if (!startupNotice.empty()) pf.messageBox(startupNotice, MessageIcon::Exclamation, 1, "OK");
    while (!pf.appEnding() && pf.mainWindowExists()) pf.waitEvent();
    game.clock.clockRunning = false;
    joinClockThread();
    stopFreshPuzzles();  // a puzzle half made is simply dropped
    joinAllThreads();
    pf.closeMainWindow();
    return 0;
}

void askExit() {
    Platform& pf = platform();
    game.dialog.answer =
        static_cast<std::int16_t>(pf.messageBox("Spiel beenden?", MessageIcon::Question, 2, "&JA|&NEIN"));
    if (game.dialog.answer == 2) return;
    endProgram();
}

void endProgram() {
    Platform& pf = platform();
    if (game.screen.savedStrip != 0) {
        pf.discardArea(game.screen.savedStrip);
        game.screen.savedStrip = 0;
    }
    pf.quit();
}

void Win_0_Close() { askExit(); }

}  // namespace nonari
