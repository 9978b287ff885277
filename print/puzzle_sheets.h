// Printing a sheet of four fresh puzzles, Leicht to Extrem.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace nonari {

void printSheets();

}  // namespace nonari
