// The FORMAT parser on any text.
#include "RECFMT.h"
#include "fuzz_quiet.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz_quiet();
    try {
        RECFMT fmt(std::string_view(reinterpret_cast<const char *>(data), size));
    } catch (const RUNSTOP &) {
    }
    return 0;
}
