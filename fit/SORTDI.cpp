#include "MYSORT.h"

#include <utility>

namespace {
// (x, idx) pairs in ascending order, idx breaking ties, so the result does not depend on the
// order the values came in.
bool before(const double *x, const int *idx, int a, int b) {
    return x[a] < x[b] || (x[a] == x[b] && idx[a] < idx[b]);
}

// Heap sort of the 0-based range x[0..m): O(m log m), no recursion, no extra memory.
void siftdown(double *x, int *idx, int root, int m) {
    for (;;) {
        int child = 2 * root + 1;
        if (child >= m) return;
        if (child + 1 < m && before(x, idx, child, child + 1)) ++child;
        if (!before(x, idx, root, child)) return;
        std::swap(x[root], x[child]);
        std::swap(idx[root], idx[child]);
        root = child;
    }
}
} // namespace

void SORTDI(double *x, int *idx, int i, int j) {
    if (j <= i) return;
    double *xs = x + (i - 1);
    int *is = idx + (i - 1);
    int m = j - i + 1;
    for (int r = m / 2 - 1; r >= 0; --r)
        siftdown(xs, is, r, m);
    for (int end = m - 1; end > 0; --end) {
        std::swap(xs[0], xs[end]);
        std::swap(is[0], is[end]);
        siftdown(xs, is, 0, end);
    }
}
