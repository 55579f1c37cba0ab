// Term labels of the design columns: a fixed table of 50 four-character labels. A design column
// stores the number of its label.
#pragma once

// Entry 0 four blanks (smooth term), 1..46 "d2: " to "d47:" (factor dummies), 47 "cv: ",
// 48 "lin:" (linear term), 49 "mi: " (factor category made from the missing code).
const char *TERMLABEL(int k);

constexpr int LABSMOOTH = 0, LABCV = 47, LABLIN = 48, LABMISS = 49;
