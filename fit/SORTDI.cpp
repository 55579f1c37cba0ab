#include "MYSORT.h"

#include <utility>

namespace {
// (x, idx) pairs in ascending order, idx breaking ties, so the result does not depend on the
// order the values came in.
inline bool before(const double *x, const int *idx, int a, int b) {
    return x[a] < x[b] || (x[a] == x[b] && idx[a] < idx[b]);
}

inline void swappair(double *x, int *idx, int a, int b) {
    std::swap(x[a], x[b]);
    std::swap(idx[a], idx[b]);
}

// Heap sort of x[lo..hi): the fallback that bounds the quicksort's worst case to O(m log m).
void siftdown(double *x, int *idx, int lo, int root, int m) {
    for (;;) {
        int child = 2 * root + 1;
        if (child >= m) return;
        if (child + 1 < m && before(x, idx, lo + child, lo + child + 1)) ++child;
        if (!before(x, idx, lo + root, lo + child)) return;
        swappair(x, idx, lo + root, lo + child);
        root = child;
    }
}

void heapsort(double *x, int *idx, int lo, int hi) {
    int m = hi - lo;
    for (int r = m / 2 - 1; r >= 0; --r) siftdown(x, idx, lo, r, m);
    for (int end = m - 1; end > 0; --end) {
        swappair(x, idx, lo, lo + end);
        siftdown(x, idx, lo, 0, end);
    }
}

void insertionsort(double *x, int *idx, int lo, int hi) {
    for (int k = lo + 1; k < hi; ++k) {
        double v = x[k];
        int iv = idx[k];
        int j = k - 1;
        while (j >= lo && (v < x[j] || (v == x[j] && iv < idx[j]))) {
            x[j + 1] = x[j];
            idx[j + 1] = idx[j];
            --j;
        }
        x[j + 1] = v;
        idx[j + 1] = iv;
    }
}

// Introsort of x[lo..hi): quicksort with a median-of-three pivot, recursing into the smaller
// side only, heap sort when the depth budget runs out, insertion sort for short ranges.
void introsort(double *x, int *idx, int lo, int hi, int depth) {
    while (hi - lo > 16) {
        if (depth-- == 0) {
            heapsort(x, idx, lo, hi);
            return;
        }
        int mid = lo + (hi - lo) / 2;
        if (before(x, idx, mid, lo)) swappair(x, idx, mid, lo);
        if (before(x, idx, hi - 1, lo)) swappair(x, idx, hi - 1, lo);
        if (before(x, idx, hi - 1, mid)) swappair(x, idx, hi - 1, mid);
        // The median now sits at mid; park it at hi - 2 and partition lo+1 .. hi-3 around it.
        swappair(x, idx, mid, hi - 2);
        int p = hi - 2, a = lo, b = hi - 2;
        for (;;) {
            while (before(x, idx, ++a, p)) {}
            while (before(x, idx, p, --b)) {}
            if (a >= b) break;
            swappair(x, idx, a, b);
        }
        swappair(x, idx, a, p);
        if (a - lo < hi - a - 1) {
            introsort(x, idx, lo, a, depth);
            lo = a + 1;
        } else {
            introsort(x, idx, a + 1, hi, depth);
            hi = a;
        }
    }
    insertionsort(x, idx, lo, hi);
}
} // namespace

void SORTDI(double *x, int *idx, int i, int j) {
    if (j <= i) return;
    int m = j - i + 1, depth = 0;
    for (int k = m; k > 1; k >>= 1) depth += 2;
    introsort(x + (i - 1), idx + (i - 1), 0, m, depth);
}
