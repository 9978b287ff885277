// Printing a sheet of four fresh puzzles, Leicht to Extrem.
#pragma once

namespace nonari {

void printSheets();

}  // namespace nonari
