// Cell entry: the pop-up digit picker, its modal loop, note mode and the board clicks of both play loops.
#pragma once

namespace nonari {

void Win_0_MouseMove(int button, int shift, double x, double y);
void drawDigitPicker(int column, int row);
// False when the picker went without a choice: the program is ending, or a menu command ran meanwhile.
bool runDigitPicker(int column, int row);
void waitMouseRelease();
// The cell under (mouseX, mouseY) for the current press; false outside the board.
bool clickedCell(int& column, int& row);
// Board clicks: during a game, and during own-board entry.
void handleBoardClick();
void handleOwnBoardClick();
// True when this key release belongs to the key the picker just took as a digit; forgets it either way.
bool swallowPickerKeyRelease(int virtualKey);

}  // namespace nonari
