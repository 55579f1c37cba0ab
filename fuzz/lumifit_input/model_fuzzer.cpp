// The model file: both passes and the set-up before the fit, in a scratch folder holding small data
// files.
// Problems whose workspace is large are stopped after the workspace check to keep runs fast.
#include "GETDIM.h"
#include "MAINGA.h"
#include "fuzz_quiet.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
char scratch[] = "/tmp/fuzz_lumifit_model_XXXXXX";
void removescratch() {
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    fuzz_quiet();
    if (!mkdtemp(scratch) || chdir(scratch) != 0) std::abort();
    std::atexit(removescratch);
    std::ofstream("d.dat") << "1 2 3\n0 5 1\n1 1 2\n99999 2 1\n1,4,3\n0 6 2\n";
    std::ofstream("r.dat") << "  1 2.53\n  0 4.11\n  1 3.02\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    MODFILE mod("$.mod", std::string(reinterpret_cast<const char *>(data), size));
    try {
        DIMS dims = GETDIM(mod);
        WSCHECK(dims);
        if (WSLENGTHS(dims).real > 100000) return 0;
        WORK w;
        WSALLOC(dims, w);
        MODSPEC m;
        DESIGN dc;
        MODSET(mod, dims, w, m, dc);
    } catch (const RUNSTOP &) {
    }
    return 0;
}
