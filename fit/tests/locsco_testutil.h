// Helpers of the fit and result tests: the whole run inside the test process (so that the
// fitted arrays can be read from the workspace afterwards), and the fixtures folder.
#pragma once
#include "GETDIM.h"
#include "MAINGA.h"
#include "MODFILE.h"
#include "WORKSP.h"
#include "lumifit_testutil.h"

#include <filesystem>
#include <string>

namespace lumifit_test {

// The folder of the stored fixtures.
inline std::filesystem::path fixtures() {
    return std::filesystem::path(__FILE__).parent_path() / "data";
}

// One run of the program on the $.mod of the current directory, in this process.
struct INRUN {
    DIMS dims;
    WORK w;
    MODSPEC m;
    DESIGN dc;
    std::string out;  // what the run printed
    std::string stop; // the message of the error that ended it, "" after a normal end

    double beta(int j) const { return w.BETA[j - 1]; } // coefficient of design column j
    double k(int i, int j) const { return w.COV[(i - 1) + static_cast<std::size_t>(j - 1) * dims.q]; }
};

inline void runinprocess(INRUN &r) {
    CAPTURE cap;
    r.stop = stopmessage([&] {
        MODFILE mod = MODFILE::open("$.mod");
        r.dims = GETDIM(mod);
        WSALLOC(r.dims, r.w);
        MAINGA(mod, r.dims, r.w, r.m, r.dc);
    });
    r.out = cap.text();
}

} // namespace lumifit_test
