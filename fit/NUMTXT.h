// The text of the numbers of the result files, edited exactly as C's printf edits them, straight
// into the caller's buffer: a run writes millions of numbers.
#pragma once

#include <string>

// Room the routines below need at out: they store whole words, a few bytes past the text.
constexpr int NUMTXTMAX = 400;

// v with 7 significant digits, as "%.7g"; returns the length.
int GENERALTXT(double v, char *out);

// A real field of w positions (w + NUMTXTMAX of room at out), right-justified: fixed point with d
// decimals (0 to 9) as "%w.df" when that fits in w positions, else the exponent form with as many
// decimals as fit, else (only for very large exponents in narrow fields) wider than w. Returns
// the length.
int REALFIELD(double v, int w, int d, char *out);

// The same field as a string.
std::string RFIELD(double v, int w, int d);
