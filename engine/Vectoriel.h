// Sines and cosines four at a time in double precision and eight at a time in single
// precision, on x86-64 processors with AVX2 and FMA, for the engine's long sums of periodic
// terms. The callers choose this path at run time with Avx2Disponible() and keep the C
// library's sine and cosine for other processors.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#define ORVANEL_AVX2 1
#include <immintrin.h>

#include <cstddef>
#include <numbers>

namespace Vectoriel {

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

// A sum of sines whose coefficients are polynomials of tau: the sum over j < n (a multiple of
// four) of (C0 + C1 tau + C2 tau^2 + C3 tau^3)[j] sin(phase[j] + vitesse[j] tau), through the
// sine-cosine below (6e-14).
struct ColonnesSinus {
    const double *C0, *C1, *C2, *C3, *phase, *vitesse;
    std::size_t n;
};
double SommeSinus(const ColonnesSinus& c, double tau) noexcept;

// The reduction of four arguments to [-pi/4, pi/4]: k = round(2x / pi), r = x - k pi/2 in
// two parts with fused multiply-adds, exact to a unit in the last place of r for |x| < 1e6.
__attribute__((target("avx2,fma"))) inline __m256d Reduction4(__m256d x, __m256d& k) noexcept {
    constexpr double PiSur2A = 1.5707963267948966192;
    constexpr double PiSur2B = 6.123233995736766036e-17;
    k = _mm256_round_pd(_mm256_mul_pd(x, _mm256_set1_pd(2 / std::numbers::pi)),
                        _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256d r = _mm256_fnmadd_pd(k, _mm256_set1_pd(PiSur2A), x);
    return _mm256_fnmadd_pd(k, _mm256_set1_pd(PiSur2B), r);
}

// From sin r and cos r to sin x and cos x: k mod 4 in the low bits once 1.5 * 2^52 is added;
// an odd quadrant swaps sine and cosine, quadrants 2 and 3 negate the sine, 1 and 2 the cosine.
__attribute__((target("avx2,fma"))) inline void Quadrant4(__m256d k, __m256d sr, __m256d cr,
                                                          __m256d& sinus,
                                                          __m256d& cosinus) noexcept {
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

// Four sines and cosines at once, to about 6e-14: near-minimax polynomials of degree 11 for
// sin r (error 3.4e-15) and 10 for cos r (5.6e-14) on [-pi/4, pi/4]. Every sum it serves
// weighs at most a few hundredths (the series' largest periodic term is 0.033 radian, the
// nutation's 17"), so its error stays near 1e-15 of the result.
__attribute__((target("avx2,fma"))) inline void SinCos4(__m256d x, __m256d& sinus,
                                                        __m256d& cosinus) noexcept {
    __m256d k;
    const __m256d r = Reduction4(x, k);
    const __m256d s = _mm256_mul_pd(r, r);
    __m256d p = _mm256_set1_pd(-2.4756558966830192751e-08);
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(2.75552718964959127843e-06));
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-0.000198412632984081444317));
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(0.00833333332387819201635));
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(-0.166666666666166853359));
    p = _mm256_fmadd_pd(p, s, _mm256_set1_pd(0.99999999999999571816));
    const __m256d sr = _mm256_mul_pd(p, r);
    __m256d q = _mm256_set1_pd(-2.71734298416018817508e-07);
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(2.47989287553241452936e-05));
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-0.00138888803937763739187));
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(0.0416666665439111900874));
    q = _mm256_fmadd_pd(q, s, _mm256_set1_pd(-0.499999999993511147657));
    const __m256d cr = _mm256_fmadd_pd(q, s, _mm256_set1_pd(0.99999999999994441019));
    Quadrant4(k, sr, cr, sinus, cosinus);
}

// Eight sines and cosines at once in single precision, for the terms so small that an error
// of 1e-7 of their amplitude is far below what the sum must hold. The eight frequencies come
// in quarter turns (q = C 2/pi, doubles): with k the nearest integer to q tau, u = q tau - k lies
// in [-1/2, 1/2] and is exact in double before it is rounded to a float; sin(u pi/2) and
// cos(u pi/2) are near-minimax polynomials (errors below 2.5e-9 and 2.8e-8), and the quadrant
// k mod 4 swaps and signs them. The arguments must stay within |q tau| < 2^50.
__attribute__((target("avx2,fma"))) inline void SinCos8(const double* quarts, __m256d tau,
                                                        __m256& sinus, __m256& cosinus) noexcept {
    // Adding 1.5 * 2^52 rounds to an integer and leaves it in the low bits of the mantissa.
    const __m256d magique = _mm256_set1_pd(6755399441055744.0);
    const __m256d qa = _mm256_loadu_pd(quarts), qb = _mm256_loadu_pd(quarts + 4);
    const __m256d ka = _mm256_fmadd_pd(qa, tau, magique), kb = _mm256_fmadd_pd(qb, tau, magique);
    const __m256d ua = _mm256_fmsub_pd(qa, tau, _mm256_sub_pd(ka, magique));
    const __m256d ub = _mm256_fmsub_pd(qb, tau, _mm256_sub_pd(kb, magique));
    const __m256 u = _mm256_set_m128(_mm256_cvtpd_ps(ub), _mm256_cvtpd_ps(ua));
    // The low 32 bits of each k, gathered into eight lanes.
    const __m256i basses = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    const __m256i k =
        _mm256_blend_epi32(_mm256_permutevar8x32_epi32(_mm256_castpd_si256(ka), basses),
                           _mm256_permutevar8x32_epi32(_mm256_castpd_si256(kb), basses), 0xF0);
    const __m256 s = _mm256_mul_ps(u, u);
    __m256 p = _mm256_fmadd_ps(_mm256_set1_ps(-0.0046021492128144516f), s,
                               _mm256_set1_ps(0.079680217647755518f));
    p = _mm256_fmadd_ps(p, s, _mm256_set1_ps(-0.64596347766481181f));
    p = _mm256_fmadd_ps(p, s, _mm256_set1_ps(1.5707963219532367f));
    const __m256 sr = _mm256_mul_ps(p, u);
    __m256 q = _mm256_fmadd_ps(_mm256_set1_ps(-0.020408158392998288f), s,
                               _mm256_set1_ps(0.25359857130254573f));
    q = _mm256_fmadd_ps(q, s, _mm256_set1_ps(-1.2336970074214912f));
    const __m256 cr = _mm256_fmadd_ps(q, s, _mm256_set1_ps(0.99999997232849431f));
    // Odd quadrants swap sine and cosine (blendv reads the sign bit, where bit 0 of k goes);
    // quadrants 2 and 3 negate the sine, 1 and 2 the cosine.
    const __m256 impair = _mm256_castsi256_ps(_mm256_slli_epi32(k, 31));
    const __m256i deux = _mm256_set1_epi32(2);
    const __m256 signeSinus = _mm256_castsi256_ps(_mm256_slli_epi32(_mm256_and_si256(k, deux), 30));
    const __m256 signeCosinus = _mm256_castsi256_ps(
        _mm256_slli_epi32(_mm256_and_si256(_mm256_add_epi32(k, _mm256_set1_epi32(1)), deux), 30));
    sinus = _mm256_xor_ps(_mm256_blendv_ps(sr, cr, impair), signeSinus);
    cosinus = _mm256_xor_ps(_mm256_blendv_ps(cr, sr, impair), signeCosinus);
}

// True when the processor has AVX2 and FMA; asked once.
inline bool Avx2Disponible() noexcept {
    static const bool disponible = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return disponible;
}

}  // namespace Vectoriel

#endif
