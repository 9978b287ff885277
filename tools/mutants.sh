#!/bin/sh
# Plants one fault at a time in a scratch copy of the game, builds the unit and GUI tests and the fuzz targets and
# runs them (the fuzz targets replay their saved inputs): a fault no test fails on is MISSED.
#   tools/mutants.sh [fault number ...]    (default: every fault)
# The copy and its build live in build-mutants/ (NONARI_MUTANTS overrides); each fault's log is in its log/ folder.
# A fault caught only by a GUI test that timed out may be the machine's load: run that fault again.
# SPDX-License-Identifier: GPL-3.0-or-later
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
scratch=${NONARI_MUTANTS:-$root/build-mutants}
# The copy sits at the same depth as the worktree's own build, so that ccache finds the same relative paths.
src="$scratch/src"
build="$src/build-test"
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")} CCACHE_NOHASHDIR=1
export QT_QPA_PLATFORM=offscreen

# One fault a line: file <tab> sed script <tab> what a player sees.
faults() {
    cat <<'EOF'
fame/record_check.cpp	s/p <= 10; ++p/p < 10; ++p/	a time that beats only place 10 of a full list is not recorded
app/cell_entry.cpp	s/!game.clock.clockRunning || boardVerdict/boardVerdict/	an untimed game (Spielstart, or after help) asks for a name when won
platform/safe_file.cpp	s/::stat(path.c_str(), &before)/::lstat(path.c_str(), \&before)/	a brett.nnr that is a link to a file cannot be loaded
fame/record_check.cpp	s/finalTime < game.fame.championTime/finalTime <= game.fame.championTime/	an equal time pushes the older entry down
fame/record_check.cpp	s/q >= place; --q/q > place; --q/	a new record overwrites the entry at its place instead of moving it down
fame/record_check.cpp	s/if (game.fame.nameConfirmed)$/if (true)/	a cancelled name form still stores the record
logic/rules.cpp	s/(masks.row\[y\] & bit) || (box & bit)/(masks.row[y] \& bit)/	a digit twice in a box is no error
logic/rules.cpp	s|(x - 1) / 3 \* 3 + (y - 1) / 3|(x - 1) / 3 * 3 + (y - 1) % 3|	boxes checked as the wrong cells
logic/rules.cpp	s/return m.consistent \&\& !(m.column/return !(m.column/	while a digit stands twice, the automatic candidates still show digits
logic/solver.cpp	s/if (fits == 1) placeDigit(board, lastX/if (fits >= 1) placeDigit(board, lastX/	solving places digits that are not forced: a wrong solution
logic/solver.cpp	s/!solved(board) \&\& !hasNoDeadCell(board)/!solved(board) \&\& hasNoDeadCell(board)/	a wrong entry is not taken back when solving
logic/shuffle.cpp	s/swapRows(board, givens, 10 - i, 9 - i)/swapRows(board, givens, 10 - i, 8 - i)/	a symmetric shuffle breaks the puzzle
logic/shuffle.cpp	s/boardCopy(j, 10 - i) = board(i, j)/boardCopy(j, 10 - i) = board(j, i)/	a turned board no longer matches its givens
logic/shuffle.cpp	s/digitUsed\[static_cast<std::size_t>(d)\] = false;//	relabelling uses a digit twice: the puzzle breaks
screen/game_clock.cpp	s/game.clock.lastClockSecond = -1.0;$//	the final time is the last whole second shown, not the time of the win
app/commands.cpp	s/game.clock.clockRunning = true;/game.clock.clockRunning = false;/	a new game is not timed and never makes a record
app/commands.cpp	s/if (command != MenuCommand::Exit \&\& command != MenuCommand::MarkClashes) stopClock();/if (command != MenuCommand::MarkClashes) stopClock();/	NEIN to Beenden still ends the timed game
app/commands.cpp	/void setNumbersMode/,/^}/s/    drawBoard();//	switching digits and letters leaves the board as it was drawn
files/board_record.cpp	s/static_cast<std::uint64_t>(record) \* boardRecordSize/static_cast<std::uint64_t>(record + 1) * boardRecordSize/	loading a slot gives the board of the next slot
files/board_record.cpp	s/static_cast<std::size_t>(c + 10 \* r + 100 \* d)/static_cast<std::size_t>(r + 10 * c + 100 * d)/	saved notes come back in other cells
files/board_record.cpp	s/!gridHoldsOnlyDigits(decoded.board) || !gridHoldsOnlyDigits(decoded.givens)/!gridHoldsOnlyDigits(decoded.board)/	a damaged record loads bytes that are no digit as givens
files/slot_dialog.cpp	s/selectedSlot = static_cast<std::int16_t>(key - '1')/selectedSlot = static_cast<std::int16_t>(key - '0')/	key 1 in the slot dialog takes slot 2
files/slot_dialog.cpp	s/if (key == 27) {/if (key == 28) {/	Escape in the slot dialog overwrites the checked slot
fame/champions_file.cpp	s/setEntry(d, p, std::move(\*name), std::move(\*date)/setEntry(d, p, std::move(*date), std::move(*name)/	names and dates swap places when the hall of fame is read
fame/champions_file.cpp	s/b >= 0x80 \&\& b <= 0x9F ? highBlock\[b - 0x80\] : char32_t{b}/char32_t{b}/	a euro sign in a stored name comes back as a control character
fame/hall_of_fame.cpp	s/int d = pf.selectedTab(form, "tbs1") - 1;/int d = game.settings.difficulty;/	Löschen clears the list of the current difficulty, not the tab shown
fame/hall_of_fame.cpp	s/k < game.settings.difficulty \&\& tab < 5/k <= game.settings.difficulty \&\& tab < 5/	the hall of fame opens on the wrong tab
app/menu.cpp	s/if (game.settings.symmetryOn) check(C::Symmetry, true);//	the Symmetrie check mark never shows
screen/side_panels.cpp	s/if (value <= 9) ++digitCount/if (value < 9) ++digitCount/	the statistics never count the nines
screen/digit_picker.cpp	s|(dy / squareSize) \* 3 + dx / squareSize + 1|(dx / squareSize) * 3 + dy / squareSize + 1|	a click on square 2 of the picker enters 4
app/cell_entry.cpp	s/note = !note;/note = true;/	a candidate note cannot be taken away again
app/play_loops.cpp	s/return !solve || runPlayCommand/return runPlayCommand/	O alone, without K, solves the board
app/play_loops.cpp	s/return game.settings.numbersMode ? Button::Abbruch : Button::None;/return Button::Abbruch;/	typing A in letters mode ends the game
platform/safe_file.cpp	s/done += static_cast<std::size_t>(written);/done = bytes.size();/	a save cut short by a full disk replaces the old file with a truncated one
platform/safe_file.cpp	s/if (oldExists \&\& ::access(target.c_str(), W_OK) != 0) return FileResult::NotWritten;//	a read-only saved file is overwritten
print/board_print.cpp	s/difficulty == 4 ? " " : ""/""/	the printed caption of a Teuflisch board runs name and "mit" together
print/board_print.cpp	s/if (game.puzzle.givens(column, row) != 0) ++game.screen.givenCount;/++game.screen.givenCount;/	the printed caption counts the entries as givens
print/puzzle_sheets.cpp	s/for (int k = 0; k <= 3; ++k)/for (int k = 0; k < 3; ++k)/	a puzzle sheet holds three puzzles
print/board_print.cpp	s/if (!finishPrintJob()) failBoardPrint(givenCountBefore);/static_cast<void>(finishPrintJob());/	a printer breaking down mid-job goes unreported
files/board_record.cpp	s/if (isLoadableRecord(old, start))/if (false)/	saving into one slot empties the other three
app/play_keys.cpp	s/typeIntoCell(picker.cursorColumn, picker.cursorRow,/typeIntoCell(picker.cursorRow, picker.cursorColumn,/	a digit key enters into the mirrored cell, not the cursor's
app/play_keys.cpp	s/return (v + 8) % 9 + 1;/return v < 1 ? 1 : v > 9 ? 9 : v;/	the cursor stops at the board's edge instead of wrapping round
app/play_keys.cpp	s/game.puzzle = \*state;/game.puzzle.board = state->board;/	taking back restores the digits but not the notes
app/play_keys.cpp	s/(game.settings.showCandidates || a.candidates == b.candidates)/true/	a note is no step: taking back skips it
screen/game_clock.cpp	s/game.clock.startTime = game.clock.startTime + (currentTime() - pausedAt);/static_cast<void>(pausedAt);/	the time of a pause counts on the clock
screen/board_view.cpp	s/if ((wanted(column, row) != 0) != (game.screen.clashShown(column, row) != 0))/if (wanted(column, row) != 0 \&\& game.screen.clashShown(column, row) == 0)/	a clash mark stays after the clash is gone
logic/rules.cpp	s/if ((i != y \&\& board(x, i) == digit)/if ((board(x, i) == digit)/	every digit is marked red while any clash stands
screen/hint_view.cpp	s/    state.board = game.puzzle.board;/    if (hint.step.cell >= 0) game.puzzle.board(columnOf(hint.step.cell) + 1, rowOf(hint.step.cell) + 1) = static_cast<std::uint8_t>(hint.step.digit);\n&/	a hint fills its cell instead of only naming it
app/commands.cpp	/case PlayCommand::Hint:/,/showHint/s/if (game.clock.clockRunning) stopClock();//	a game helped by a hint still makes a record
logic/levels.cpp	s/if (grade.hardest <= Technique::HiddenTriple) return schwer;/if (grade.hardest < Technique::HiddenTriple) return schwer;/	a puzzle that needs a hidden triple counts as Extrem
logic/levels.cpp	s/givens < level.fewestGivens || givens > level.mostGivens/givens < level.fewestGivens || givens >= level.mostGivens/	a puzzle with the most givens a level allows is refused
app/commands.cpp	s/if (!game.settings.freshPuzzles) return false;//	a fresh puzzle is dealt although the setting is off
files/board_record.cpp	s/const SaveLock lock;/const struct { FileResult result() const { return FileResult::Ok; } } lock{};/	two games saving brett.nnr at once lose one save
fame/champions_file.cpp	s/const SaveLock lock;/const struct { FileResult result() const { return FileResult::Ok; } } lock{};/	two games setting records at once lose one
platform/safe_file.cpp	s/const std::string target = saveTarget(path);/const std::string target = path;/	a save through a link replaces the link with a file
fame/champions_file.cpp	s/at += 3;/at += 1;/	a CR CR LF line end reads as two: the hall of fame shifts
logic/puzzle_check.cpp	s/return empty \&\& hasSolution(board);/return empty;/	a collection record with clashing givens (or none to win) is dealt as a puzzle
platform/picture_check.cpp	s/\* header->height > picturePixelLimit)/* header->height > 4 * picturePixelLimit)/	a background picture of too many pixels reaches the decoder
platform/system.cpp	s/{SIGTERM, SIGHUP, SIGINT}/{SIGTERM, SIGINT}/	a closed terminal ends the game without finishing its save
EOF
}

# A fresh copy of the worktree's files, untracked new ones included; the build stays for ccache and ninja.
mkdir -p "$src" "$scratch/log"
find "$src" -mindepth 1 -maxdepth 1 ! -name build-test -exec rm -rf {} +
# Every file gets a new time, so that nothing built from a fault planted by an interrupted run is taken as current.
(cd "$root" && git ls-files -co --exclude-standard -z | tar --null -T - -cf -) | tar -xmf - -C "$src"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNONARI_TESTS=ON -DNONARI_BENCHMARKS=OFF \
    >"$scratch/log/configure.log"
targets="--target nonari_unit_tests --target nonari_gui_tests --target fuzz_board_record --target fuzz_champions --target fuzz_manual --target fuzz_picture"
labels='unit|gui|fuzz'
cmake --build "$build" $targets >"$scratch/log/build.log" 2>&1 || { echo "the unmutated copy does not build"; exit 1; }
(cd "$build" && ctest -L "$labels" -j2 >"$scratch/log/clean.log" 2>&1) ||
    { echo "the tests fail without a fault: see $scratch/log/clean.log"; exit 1; }

tab=$(printf '\t')
n=0 caught=0 missed=0
faults >"$scratch/faults"
while IFS="$tab" read -r file script seen <&3; do
    n=$((n + 1))
    [ $# -gt 0 ] && ! echo " $* " | grep -q " $n " && continue
    cp "$src/$file" "$scratch/original"
    sed -i "$script" "$src/$file"
    log="$scratch/log/fault-$n.log"
    if cmp -s "$src/$file" "$scratch/original"; then
        verdict="NOT PLANTED"
    elif ! cmake --build "$build" $targets >"$log" 2>&1 </dev/null; then
        verdict="NO BUILD"
    elif (cd "$build" && ctest -L "$labels" -j2 --timeout 120 >>"$log" 2>&1 </dev/null); then
        verdict="MISSED" missed=$((missed + 1))
    else
        verdict="caught" caught=$((caught + 1))
    fi
    cp "$scratch/original" "$src/$file"
    by=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$log" | tr '\n' ' ')
    printf '%2d %-11s %-24s %s%s\n' "$n" "$verdict" "$file" "$seen" "${by:+  [$by]}"
done 3<"$scratch/faults"
cmake --build "$build" $targets >/dev/null 2>&1 || true
echo "$caught caught, $missed missed"
