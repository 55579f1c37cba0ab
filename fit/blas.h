// Level-1 BLAS of the system library, Fortran calling convention: every argument by address,
// vectors with an increment, column-major storage. The QR routines call these for their vector
// steps.
#pragma once

extern "C" {
double ddot_(const int *n, const double *x, const int *incx, const double *y, const int *incy);
double dnrm2_(const int *n, const double *x, const int *incx);
void daxpy_(const int *n, const double *a, const double *x, const int *incx, double *y,
            const int *incy);
void dcopy_(const int *n, const double *x, const int *incx, double *y, const int *incy);
void dscal_(const int *n, const double *a, double *x, const int *incx);
}
