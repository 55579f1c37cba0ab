// Fuzz targets run the readers with their messages sent nowhere.
#pragma once
#include "MSG.h"

#include <cstdio>

inline void fuzz_quiet() {
    static std::FILE *null = std::fopen("/dev/null", "w");
    MSGSINK(null);
}
