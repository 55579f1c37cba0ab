// Per-position tables for resampling one line of n samples to m samples, built once per axis:
// output i is (sum over k of weight[i][k] × s[index[i][k]]) / divisor.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace imaging {

template <typename Acc> struct ResampleTaps {
    int taps = 0;            // positions per output; unused ones weigh 0
    std::vector<int> index;  // m × taps source positions
    std::vector<Acc> weight; // m × taps
    Acc divisor = 1;
};

// Bilinear rules. Enlarging (m ≥ n): position a = i × (n - 1) / (m - 1), the ratio in single
// precision, blends s[trunc(a)] and the next sample (the last one at the end). A target of length
// 1 has ratio 0 and copies s[0]. Reducing (m < n): the mean over [i × r, (i + 1) × r) with
// r = n / m, whole samples weighing 1 and the two end samples their covered fraction.
template <typename Acc> ResampleTaps<Acc> bilinearTaps(int n, int m) {
    ResampleTaps<Acc> t;
    if (m >= n) {
        t.taps = 2;
        const float ratio = m == 1 ? 0.0f : float(n - 1) / float(m - 1);
        for (int i = 0; i < m; ++i) {
            const float a = float(i) * ratio;
            const int b = std::min(int(a), n - 1);
            const int e = std::min(b + 1, n - 1);
            const float f = a - float(b);
            t.index.insert(t.index.end(), {b, e});
            t.weight.insert(t.weight.end(), {Acc(1.0f - f), Acc(f)});
        }
        return t;
    }
    const double r = double(n) / m;
    std::vector<int> first(m), last(m);
    for (int i = 0; i < m; ++i) {
        first[i] = int(std::floor(i * r));
        last[i] = std::min(n - 1, int(std::ceil((i + 1) * r)) - 1);
        t.taps = std::max(t.taps, last[i] - first[i] + 1);
    }
    t.index.assign(std::size_t(m) * t.taps, 0);
    t.weight.assign(std::size_t(m) * t.taps, Acc(0));
    for (int i = 0; i < m; ++i) {
        const double start = i * r, end = (i + 1) * r;
        for (int k = 0; k < t.taps; ++k) {
            const int s = first[i] + k;
            t.index[std::size_t(i) * t.taps + k] = std::min(s, last[i]);
            if (s <= last[i])
                t.weight[std::size_t(i) * t.taps + k] =
                    Acc(std::min(s + 1.0, end) - std::max(double(s), start));
        }
    }
    t.divisor = Acc(r);
    return t;
}

} // namespace imaging
