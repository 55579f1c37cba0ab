#include "READD.h"

#include "FIXTXT.h"
#include "MSG.h"
#include "NUMSCAN.h"

std::string DATNAME(std::string_view dataname) {
    std::size_t cut = dataname.find("  ");
    std::string_view base = cut == std::string_view::npos ? TRIMTXT(dataname) : dataname.substr(0, cut);
    return std::string(base) + ".dat";
}

bool ISFREE(std::string_view format) {
    return SAMETXT(format, "free");
}

namespace {
bool separator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

[[noreturn]] void badvalue(const DATFILE &src, std::size_t column, std::string_view what) {
    STOPRUN("Error: data file " + src.name() + ", line " + std::to_string(src.lineno()) + ", column " +
            std::to_string(column) + ": " + std::string(what));
}

} // namespace

bool FREEREAD(DATFILE &src, double *row, int p) {
    int got = 0;
    std::string_view line;
    while (got < p) {
        if (!src.nextline(line)) return false;
        std::size_t i = 0, n = line.size();
        bool aftercomma = true; // a comma here would leave an empty value
        while (got < p) {
            while (i < n && separator(line[i])) {
                if (line[i] == ',') {
                    if (aftercomma) badvalue(src, i + 1, "empty value before the comma");
                    aftercomma = true;
                }
                ++i;
            }
            if (i == n) break;
            std::size_t start = i;
            while (i < n && !separator(line[i]))
                ++i;
            std::string_view tok = line.substr(start, i - start);
            if (!SCANREAL(tok, row[got])) badvalue(src, start + 1, "not a number: " + SHOWDATA(tok));
            ++got;
            aftercomma = false;
        }
    }
    return true;
}

OBSREAD::OBSREAD(const std::string &path, std::string_view format, int p) : src_(path), p_(p) {
    if (p < 1 || p > MAXVARS)
        STOPRUN("Error: " + std::to_string(p) + " values per observation cannot be read");
    if (!ISFREE(format)) fmt_.emplace(TRIMTXT(format));
}

bool OBSREAD::next(double *row) {
    return fmt_ ? fmt_->read(src_, row, p_) : FREEREAD(src_, row, p_);
}

void READD(const std::string &path, int n, int p, std::string_view format, double *x) {
    OBSREAD obs(path, format, p);
    double row[MAXVARS];
    for (int j = 0; j < n; ++j) {
        if (!obs.next(row)) STOPRUN("  you ve run out of data");
        for (int i = 0; i < p; ++i)
            x[j + static_cast<std::size_t>(n) * i] = row[i];
    }
}

int COUNTD(const std::string &path, int p, std::string_view format, int limit) {
    OBSREAD obs(path, format, p);
    double row[MAXVARS];
    int n = 0;
    while (n < limit && obs.next(row))
        ++n;
    return n;
}
