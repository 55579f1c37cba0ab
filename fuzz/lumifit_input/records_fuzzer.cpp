// Record-format reading: the first byte gives p (1..75), the first line the format, the rest is
// the data file.
#include "READD.h"
#include "RECFMT.h"
#include "fuzz_quiet.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz_quiet();
    if (size < 1) return 0;
    int p = 1 + data[0] % MAXVARS;
    std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::size_t nl = rest.find('\n');
    std::string_view format = rest.substr(0, nl);
    std::string_view text = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    double row[MAXVARS];
    try {
        RECFMT fmt(format);
        DATFILE src("fuzz.dat", text);
        for (int j = 0; j < 1000 && fmt.read(src, row, p); ++j) {
        }
    } catch (const RUNSTOP &) {
    }
    return 0;
}
