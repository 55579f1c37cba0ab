// Reading the data file: observation after observation, each starting on a new line, either in
// free form (FORMAT "free") or through a record format (RECFMT.h).
#pragma once
#include "DATFILE.h"
#include "RECFMT.h"

#include <optional>
#include <string>
#include <string_view>

constexpr int MAXVARS = 75; // most values per observation (variables of a model)

// The data file name: the data name (80 characters) up to its first two blanks in a row, then ".dat".
std::string DATNAME(std::string_view dataname);

// Free form: values separated by blanks, tabs or commas; an observation may run over several
// lines; the values left on its last line are skipped. Reads p values into row(p); false when the
// file ends first. A value that is not a number, or an empty one between two commas, ends the run.
bool FREEREAD(DATFILE &src, double *row, int p);

// One observation after another from a data file, in the format of the model file.
class OBSREAD {
  public:
    OBSREAD(const std::string &path, std::string_view format, int p);
    bool next(double *row); // p values; false at the end of the data
  private:
    DATFILE src_;
    std::optional<RECFMT> fmt_; // empty for free format
    int p_;
};

// True when the 80-character FORMAT field asks for free format.
bool ISFREE(std::string_view format);

// READD: fills x(n, p), column-major (observation j is row j), from the data file; running out of
// data before n observations ends the run.
void READD(const std::string &path, int n, int p, std::string_view format, double *x);

// Counts the observations of the data file, at most limit of them.
int COUNTD(const std::string &path, int p, std::string_view format, int limit);
