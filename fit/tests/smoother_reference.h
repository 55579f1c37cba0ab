// Independent mathematics for the smoother and backfitting tests: dense linear algebra and the
// natural cubic smoothing spline in Reinsch form, (W + lambda K) g = W y with K = Q inv(R) Q'.
#pragma once

#include <vector>

namespace ref {

using Mat = std::vector<std::vector<double>>; // row-major, a[i][j]

// Solves a x = b by Gaussian elimination with partial pivoting in long double.
std::vector<double> solve(Mat a, std::vector<double> b);

// Inverse of a nonsingular matrix (Gauss-Jordan in long double).
Mat inverse(const Mat &a);

// Distinct abscissae of a data set with their summed weights and weighted mean responses;
// group[i] is observation i's index into them (ascending x).
struct Reduced {
    std::vector<double> x, w, y;
    std::vector<int> group;
};
Reduced reduce(const std::vector<double> &x, const std::vector<double> &y,
               const std::vector<double> &w);

// Penalty matrix K (m x m) of the natural cubic spline on the distinct ascending abscissae x:
// integral of g''^2 = g'K g for the interpolating natural spline of values g.
Mat penalty(const std::vector<double> &x);

// Smoother matrix S = inv(W + lambda K) W.
Mat smoother(const Mat &k, const std::vector<double> &w, double lambda);
double trace(const Mat &s);

// The lambda at which the smoother's trace equals target (bisection on log lambda).
double lambdaForTrace(const Mat &k, const std::vector<double> &w, double target);

// Nonlinear part of values g at abscissae x: g minus its weighted mean and weighted linear trend.
std::vector<double> nonlinear(const std::vector<double> &x, const std::vector<double> &w,
                              const std::vector<double> &g);

} // namespace ref
