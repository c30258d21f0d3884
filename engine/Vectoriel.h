// Cosines four at a time on x86-64 processors with AVX2 and FMA, for the engine's long sums
// of periodic terms. The callers choose this path at run time with Avx2Disponible() and keep
// the C library's cosine for other processors.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#define ORVANEL_AVX2 1
#include <immintrin.h>

#include <cstddef>
#include <numbers>

namespace Vectoriel {

// Four cosines at once. With k = round(x / pi - 1/2), r = x - (2k + 1) pi/2 lies in
// [-pi/2, pi/2] and cos x = (-1)^(k+1) sin r. The reduction subtracts (2k + 1) pi/2 in two
// parts with fused multiply-adds, exact to a unit in the last place of r for the arguments
// of the theory (|x| below 10^6); sin r is its Taylor series to r^21, whose first neglected
// term is below 1.3e-18 on that interval.
__attribute__((target("avx2,fma"))) inline __m256d Cos4(__m256d x) noexcept {
    constexpr double PiSur2A = 1.5707963267948966192;     // pi/2 rounded to a double
    constexpr double PiSur2B = 6.123233995736766036e-17;  // what that rounding dropped
    const __m256d k = _mm256_round_pd(
        _mm256_fmsub_pd(x, _mm256_set1_pd(1 / std::numbers::pi), _mm256_set1_pd(0.5)),
        _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256d q = _mm256_fmadd_pd(k, _mm256_set1_pd(2.0), _mm256_set1_pd(1.0));
    __m256d r = _mm256_fnmadd_pd(q, _mm256_set1_pd(PiSur2A), x);
    r = _mm256_fnmadd_pd(q, _mm256_set1_pd(PiSur2B), r);

    const __m256d s = _mm256_mul_pd(r, r);
    __m256d p = _mm256_set1_pd(1.0 / 51090942171709440000.0);                // 1/21!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 121645100408832000.0));  // 1/19!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 355687428096000.0));      // 1/17!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 1307674368000.0));       // 1/15!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 6227020800.0));           // 1/13!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 39916800.0));            // 1/11!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 362880.0));               // 1/9!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 5040.0));                // 1/7!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 120.0));                  // 1/5!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 6.0));                   // 1/3!
    const __m256d sinus = _mm256_fmadd_pd(_mm256_mul_pd(p, s), r, r);

    // The parity of k lands in the lowest mantissa bit once 1.5 * 2^52 is added; an even k
    // flips the sign.
    const __m256i bits = _mm256_castpd_si256(_mm256_add_pd(k, _mm256_set1_pd(6755399441055744.0)));
    const __m256i pair = _mm256_slli_epi64(_mm256_xor_si256(bits, _mm256_set1_epi64x(1)), 63);
    return _mm256_xor_pd(sinus, _mm256_castsi256_pd(pair));
}

// The nutation table as parallel columns (multipliers of D, M, M', F, Omega; A + A' T for the
// longitude, B + B' T for the obliquity), n a multiple of four, empty rows as padding.
struct ColonnesNutation {
    const double *D, *M, *Mp, *F, *Om, *A, *Ap, *B, *Bp;
    std::size_t n;
};

// The sums of the nutation series, four rows at a time; arguments in radians, sums in the
// table's unit. Only on processors with AVX2 and FMA.
void SommesNutation(const ColonnesNutation& c, double T, double d, double m, double mp, double f,
                    double om, double& sommePsi, double& sommeEpsilon) noexcept;

// Four sines and cosines at once. With k = round(2x / pi), r = x - k pi/2 lies in
// [-pi/4, pi/4], reduced in two parts as for Cos4; sin r is its Taylor series to r^15 and
// cos r to r^16 (first neglected terms below 5e-17 and 2e-18 there), then the quadrant k mod 4
// swaps and signs them.
__attribute__((target("avx2,fma"))) inline void SinCos4(__m256d x, __m256d& sinus,
                                                        __m256d& cosinus) noexcept {
    constexpr double PiSur2A = 1.5707963267948966192;
    constexpr double PiSur2B = 6.123233995736766036e-17;
    const __m256d k = _mm256_round_pd(_mm256_mul_pd(x, _mm256_set1_pd(2 / std::numbers::pi)),
                                      _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    __m256d r = _mm256_fnmadd_pd(k, _mm256_set1_pd(PiSur2A), x);
    r = _mm256_fnmadd_pd(k, _mm256_set1_pd(PiSur2B), r);
    const __m256d s = _mm256_mul_pd(r, r);

    __m256d p = _mm256_set1_pd(-1.0 / 1307674368000.0);             // -1/15!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 6227020800.0));  // 1/13!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 39916800.0));   // -1/11!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 362880.0));      // 1/9!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 5040.0));       // -1/7!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(1.0 / 120.0));         // 1/5!
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-1.0 / 6.0));          // -1/3!
    const __m256d sr = _mm256_fmadd_pd(_mm256_mul_pd(p, s), r, r);

    __m256d q = _mm256_set1_pd(1.0 / 20922789888000.0);               // 1/16!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-1.0 / 87178291200.0));  // -1/14!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(1.0 / 479001600.0));     // 1/12!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-1.0 / 3628800.0));      // -1/10!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(1.0 / 40320.0));         // 1/8!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-1.0 / 720.0));          // -1/6!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(1.0 / 24.0));            // 1/4!
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-0.5));                  // -1/2!
    const __m256d cr = _mm256_fmadd_pd(q, s, _mm256_set1_pd(1.0));

    // k mod 4 in the low bits once 1.5 * 2^52 is added: an odd quadrant swaps sine and
    // cosine; quadrants 2 and 3 negate the sine, 1 and 2 the cosine.
    const __m256i bits = _mm256_castpd_si256(_mm256_add_pd(k, _mm256_set1_pd(6755399441055744.0)));
    const __m256d impair = _mm256_castsi256_pd(
        _mm256_cmpeq_epi64(_mm256_and_si256(bits, _mm256_set1_epi64x(1)), _mm256_set1_epi64x(1)));
    const __m256i deux = _mm256_set1_epi64x(2);
    const __m256d signeSinus =
        _mm256_castsi256_pd(_mm256_slli_epi64(_mm256_and_si256(bits, deux), 62));
    const __m256d signeCosinus = _mm256_castsi256_pd(_mm256_slli_epi64(
        _mm256_and_si256(_mm256_add_epi64(bits, _mm256_set1_epi64x(1)), deux), 62));
    sinus = _mm256_xor_pd(_mm256_blendv_pd(sr, cr, impair), signeSinus);
    cosinus = _mm256_xor_pd(_mm256_blendv_pd(cr, sr, impair), signeCosinus);
}

// sin and cos of F[j] tau for j < n, n a multiple of four, into s and c (32-byte aligned).
// The arguments must stay within the reduction's range, |F tau| < 1e6. AVX2 and FMA only.
void SinusCosinus(const double* F, std::size_t n, double tau, double* s, double* c) noexcept;

// The sum over j < n (a multiple of four) of P[j] c[j] + Q[j] s[j], from the last pair to the
// first, so the large leading terms are rounded once. AVX2 and FMA only.
double SommePaires(const double* P, const double* Q, const double* c, const double* s,
                   std::size_t n) noexcept;

// True when the processor has AVX2 and FMA; asked once.
inline bool Avx2Disponible() noexcept {
    static const bool disponible = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return disponible;
}

}  // namespace Vectoriel

#endif
