// Console messages of a run: every message is one line on standard output that begins with one
// blank. An error prints its message and ends the run by throwing RUNSTOP, which the main program
// turns into exit status 1.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

struct RUNSTOP {
    std::string message; // the text of the error line, without the leading blank
};

// Prints " " + text on its own line.
void MSG(std::string_view text);
// Prints an empty line.
void MSGBLANK();
// Prints the error line, then ends the run.
[[noreturn]] void STOPRUN(std::string_view text);
// Ends the run after its error lines were already printed.
[[noreturn]] void STOPQUIET();
// Sends messages to another stream (tests and fuzz targets); nullptr restores standard output.
void MSGSINK(std::FILE *sink);

// Fixed-width edits of numbers: right-justified in at least w positions (a wider value widens the
// field rather than being lost).
std::string IFMT(std::int64_t v, int w);
std::string FFMT(double v, int w, int d);
