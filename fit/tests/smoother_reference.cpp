#include "smoother_reference.h"

#include <cmath>
#include <map>
#include <utility>

namespace ref {

std::vector<double> solve(Mat a, std::vector<double> b) {
    const std::size_t n = b.size();
    std::vector<std::vector<long double>> m(n, std::vector<long double>(n + 1));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j)
            m[i][j] = a[i][j];
        m[i][n] = b[i];
    }
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t p = c;
        for (std::size_t i = c + 1; i < n; ++i)
            if (std::fabs(m[i][c]) > std::fabs(m[p][c]))
                p = i;
        std::swap(m[c], m[p]);
        for (std::size_t i = c + 1; i < n; ++i) {
            const long double f = m[i][c] / m[c][c];
            for (std::size_t j = c; j <= n; ++j)
                m[i][j] -= f * m[c][j];
        }
    }
    std::vector<double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        long double s = m[i][n];
        for (std::size_t j = i + 1; j < n; ++j)
            s -= m[i][j] * x[j];
        x[i] = static_cast<double>(s / m[i][i]);
    }
    return x;
}

Reduced reduce(const std::vector<double> &x, const std::vector<double> &y,
               const std::vector<double> &w) {
    std::map<double, std::pair<double, double>> sums; // x -> (sum w, sum w y)
    for (std::size_t i = 0; i < x.size(); ++i) {
        auto &s = sums[x[i]];
        s.first += w[i];
        s.second += w[i] * y[i];
    }
    Reduced r;
    std::map<double, int> index;
    for (const auto &[xv, s] : sums) {
        index[xv] = static_cast<int>(r.x.size());
        r.x.push_back(xv);
        r.w.push_back(s.first);
        r.y.push_back(s.first > 0 ? s.second / s.first : 0.0);
    }
    for (double xv : x)
        r.group.push_back(index[xv]);
    return r;
}

Mat penalty(const std::vector<double> &x) {
    const std::size_t m = x.size();
    std::vector<double> h(m - 1);
    for (std::size_t i = 0; i + 1 < m; ++i)
        h[i] = x[i + 1] - x[i];
    // Q (m x m-2) and R (m-2 x m-2) of Green and Silverman; K = Q inv(R) Q'.
    Mat q(m, std::vector<double>(m - 2, 0.0)), r(m - 2, std::vector<double>(m - 2, 0.0));
    for (std::size_t j = 1; j + 1 < m; ++j) {
        q[j - 1][j - 1] = 1.0 / h[j - 1];
        q[j][j - 1] = -1.0 / h[j - 1] - 1.0 / h[j];
        q[j + 1][j - 1] = 1.0 / h[j];
        r[j - 1][j - 1] = (h[j - 1] + h[j]) / 3.0;
        if (j + 2 < m)
            r[j - 1][j] = r[j][j - 1] = h[j] / 6.0;
    }
    Mat rq(m - 2, std::vector<double>(m)); // inv(R) Q', column by column
    for (std::size_t c = 0; c < m; ++c) {
        std::vector<double> col(m - 2);
        for (std::size_t j = 0; j < m - 2; ++j)
            col[j] = q[c][j];
        std::vector<double> s = solve(r, col);
        for (std::size_t j = 0; j < m - 2; ++j)
            rq[j][c] = s[j];
    }
    Mat k(m, std::vector<double>(m, 0.0));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t c = 0; c < m; ++c)
            for (std::size_t j = 0; j < m - 2; ++j)
                k[i][c] += q[i][j] * rq[j][c];
    return k;
}

Mat inverse(const Mat &a) {
    const std::size_t n = a.size();
    std::vector<std::vector<long double>> m(n, std::vector<long double>(2 * n, 0.0L));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j)
            m[i][j] = a[i][j];
        m[i][n + i] = 1.0L;
    }
    for (std::size_t c = 0; c < n; ++c) { // Gauss-Jordan with partial pivoting
        std::size_t p = c;
        for (std::size_t i = c + 1; i < n; ++i)
            if (std::fabs(m[i][c]) > std::fabs(m[p][c]))
                p = i;
        std::swap(m[c], m[p]);
        const long double d = m[c][c];
        for (auto &v : m[c])
            v /= d;
        for (std::size_t i = 0; i < n; ++i) {
            if (i == c || m[i][c] == 0.0L)
                continue;
            const long double f = m[i][c];
            for (std::size_t j = c; j < 2 * n; ++j)
                m[i][j] -= f * m[c][j];
        }
    }
    Mat inv(n, std::vector<double>(n));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            inv[i][j] = static_cast<double>(m[i][n + j]);
    return inv;
}

Mat smoother(const Mat &k, const std::vector<double> &w, double lambda) {
    const std::size_t m = w.size();
    Mat a(m, std::vector<double>(m));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < m; ++j)
            a[i][j] = lambda * k[i][j] + (i == j ? w[i] : 0.0);
    Mat s = inverse(a);
    for (auto &row : s)
        for (std::size_t j = 0; j < m; ++j)
            row[j] *= w[j];
    return s;
}

double trace(const Mat &s) {
    double t = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i)
        t += s[i][i];
    return t;
}

double lambdaForTrace(const Mat &k, const std::vector<double> &w, double target) {
    double lo = std::log(1e-14), hi = std::log(1e14); // the trace falls as lambda grows
    for (int it = 0; it < 200 && hi - lo > 1e-15; ++it) {
        const double mid = 0.5 * (lo + hi);
        (trace(smoother(k, w, std::exp(mid))) > target ? lo : hi) = mid;
    }
    return std::exp(0.5 * (lo + hi));
}

std::vector<double> nonlinear(const std::vector<double> &x, const std::vector<double> &w,
                              const std::vector<double> &g) {
    double sw = 0, xb = 0, gb = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sw += w[i];
        xb += w[i] * x[i];
        gb += w[i] * g[i];
    }
    xb /= sw;
    gb /= sw;
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += w[i] * (x[i] - xb) * g[i];
        sxx += w[i] * (x[i] - xb) * (x[i] - xb);
    }
    std::vector<double> out(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        out[i] = g[i] - gb - (x[i] - xb) * sxy / sxx;
    return out;
}

} // namespace ref
