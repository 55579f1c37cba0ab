// Free-format reading: the first byte gives p (1..75), the rest is the data file.
#include "READD.h"
#include "fuzz_quiet.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz_quiet();
    if (size < 1) return 0;
    int p = 1 + data[0] % MAXVARS;
    DATFILE src("fuzz.dat", std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));
    double row[MAXVARS];
    try {
        while (FREEREAD(src, row, p)) {
        }
    } catch (const RUNSTOP &) {
    }
    return 0;
}
