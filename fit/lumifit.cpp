// lumifit: fits one generalized additive model per run, driven by the model file $.mod of the
// current directory. Exit status 0 after a normal end, 1 after an error.
#include "GETDIM.h"
#include "MAINGA.h"
#include "MODFILE.h"
#include "MSG.h"
#include "WORKSP.h"

#include <new>

// OpenBLAS's own threads only contend for the cores on the vector lengths of the fit; the program
// is single-threaded. The library starts its worker threads when it is loaded, and an idle worker
// spins for about a tenth of a second before it sleeps, so they are also stopped. Weak, so that
// another BLAS links as well.
extern "C" void openblas_set_num_threads(int) __attribute__((weak));
extern "C" int blas_thread_shutdown_() __attribute__((weak));

int main() {
    if (openblas_set_num_threads) openblas_set_num_threads(1);
    if (blas_thread_shutdown_) blas_thread_shutdown_();
    try {
        MODFILE mod = MODFILE::open("$.mod");
        DIMS dims = GETDIM(mod);
        WSCHECK(dims);
        WORK w;
        WSALLOC(dims, w);
        MODSPEC m;
        DESIGN dc;
        MAINGA(mod, dims, w, m, dc);
    } catch (const RUNSTOP &) {
        return 1;
    } catch (const std::bad_alloc &) {
        MSG("Error: not enough memory for the workspace");
        return 1;
    }
    return 0;
}
