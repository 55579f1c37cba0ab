// Record formats: the FORMAT line's parenthesised edit descriptors, applied to the records of a
// data file to read the p values of one observation.
//
// Accepted: data fields Fw.d, Ew.d[Ee], Dw.d, Gw.d[Ee] and Iw[.m], each with an optional repeat
// count; nX (skip n columns), Tc (go to column c), TLn and TRn (move left or right by n); "/" (next
// record, optionally with a repeat count); ":" (stop when no value is left); parenthesised groups
// with an optional repeat count. Items are separated by commas (none is needed around "/" and
// ":"); blanks and letter case do not matter. Reading a field ignores its blanks, and a blank field
// reads as 0; a real field without a decimal point has d implied decimals; a record shorter than
// its fields reads as blanks. When the descriptors run out before p values are read, reading goes
// on with a new record from the last top-level group (or the whole format when it has no group).
#pragma once
#include "DATFILE.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class RECFMT {
  public:
    // Parses the format text; a malformed format ends the run with a message naming the character.
    explicit RECFMT(std::string_view text);
    // Reads the p values of one observation into row(p), starting with a new record of src.
    // False when src ends before the observation is complete; a field that does not hold a number
    // of its kind ends the run with a message naming its line and columns.
    bool read(DATFILE &src, double *row, int p);

    static constexpr std::int64_t MAXNUM = 1000000;   // largest count, width or column written
    static constexpr std::int64_t MAXSTEPS = 1000000; // descriptors one pass may expand to

  private:
    struct NODE {
        explicit NODE(char k) : kind(k) {}
        char kind;             // F E D G I (data), X, T, L (TL), R (TR), '/', ':', '(' and ')'
        std::int64_t rep = 1;  // repeat count (data, '/', group)
        std::int64_t n = 0;    // width for data fields; count or column for X, T, L, R
        int d = 0;             // decimals of a real field
        std::size_t match = 0; // a group's other parenthesis
        std::string text;      // as written, for messages
        std::size_t at = 0;    // its first character in the format
    };
    struct OPEN {
        std::size_t begin;
        std::int64_t left;
    };
    [[noreturn]] void fail(std::size_t pos, std::string_view what) const;
    std::string text_;
    std::vector<NODE> nodes_;
    std::size_t revert_ = 0; // where reading goes on after the descriptors run out
    bool revertdata_ = false;
    std::vector<OPEN> stack_;
};

// The value of one field of kind F, E, D, G or I with d implied decimals; false unless it holds a
// number of that kind.
bool FIELDVAL(std::string_view field, char kind, int d, double &v);
