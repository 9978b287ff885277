// TODO stub: replaced by the real implementation.
#include "logic/candidate_marks.h"

namespace nonari {

void showAllCandidates() {  }
void drawCandidateMarks() {  }
int candidateMarkLeft(int, int) { return {}; }
int candidateMarkTop(int, int) { return {}; }

}  // namespace nonari
