// The engine's vector kernels: long sums of periodic terms four lanes at a time.
#include "Vectoriel.h"

#ifdef ORVANEL_AVX2

namespace Vectoriel {

__attribute__((target("avx2,fma"))) void SinusCosinus(const double* F, std::size_t n, double tau,
                                                      double* s, double* c) noexcept {
    const __m256d t = _mm256_set1_pd(tau);
    for (std::size_t j = 0; j < n; j += 4) {
        __m256d sinus, cosinus;
        SinCos4(_mm256_mul_pd(_mm256_loadu_pd(F + j), t), sinus, cosinus);
        _mm256_store_pd(s + j, sinus);
        _mm256_store_pd(c + j, cosinus);
    }
}

__attribute__((target("avx2,fma"))) double SommePaires(const double* P, const double* Q,
                                                       const double* c, const double* s,
                                                       std::size_t n) noexcept {
    // Four independent sums, so the fused multiply-adds overlap.
    __m256d a = _mm256_setzero_pd(), b = _mm256_setzero_pd();
    __m256d e = _mm256_setzero_pd(), f = _mm256_setzero_pd();
    std::size_t j = n;
    if (j % 8 != 0) {
        j -= 4;
        a = _mm256_mul_pd(_mm256_loadu_pd(P + j), _mm256_load_pd(c + j));
        e = _mm256_mul_pd(_mm256_loadu_pd(Q + j), _mm256_load_pd(s + j));
    }
    while (j >= 8) {
        j -= 8;
        a = _mm256_fmadd_pd(_mm256_loadu_pd(P + j), _mm256_load_pd(c + j), a);
        b = _mm256_fmadd_pd(_mm256_loadu_pd(P + j + 4), _mm256_load_pd(c + j + 4), b);
        e = _mm256_fmadd_pd(_mm256_loadu_pd(Q + j), _mm256_load_pd(s + j), e);
        f = _mm256_fmadd_pd(_mm256_loadu_pd(Q + j + 4), _mm256_load_pd(s + j + 4), f);
    }
    alignas(32) double partielles[4];
    _mm256_store_pd(partielles, _mm256_add_pd(_mm256_add_pd(b, f), _mm256_add_pd(e, a)));
    // Lane 0 holds the first pair, where the constant terms stand: it comes in last.
    return partielles[0] + ((partielles[1] + partielles[2]) + partielles[3]);
}

// The same sums four rows at a time; sin x is taken as cos(x - pi/2).
__attribute__((target("avx2,fma"))) void SommesNutation(const ColonnesNutation& c, double T,
                                                        double d, double m, double mp, double f,
                                                        double om, double& sommePsi,
                                                        double& sommeEpsilon) noexcept {
    const __m256d vt = _mm256_set1_pd(T);
    const __m256d vd = _mm256_set1_pd(d), vm = _mm256_set1_pd(m), vmp = _mm256_set1_pd(mp);
    const __m256d vf = _mm256_set1_pd(f), vom = _mm256_set1_pd(om);
    const __m256d quart = _mm256_set1_pd(std::numbers::pi / 2);
    __m256d psi = _mm256_setzero_pd();
    __m256d epsilon = _mm256_setzero_pd();
    for (std::size_t i = 0; i < c.n; i += 4) {
        __m256d argument = _mm256_mul_pd(_mm256_loadu_pd(c.D + i), vd);
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(c.M + i), vm));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(c.Mp + i), vmp));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(c.F + i), vf));
        argument = _mm256_add_pd(argument, _mm256_mul_pd(_mm256_loadu_pd(c.Om + i), vom));
        const __m256d a = _mm256_fmadd_pd(_mm256_loadu_pd(c.Ap + i), vt, _mm256_loadu_pd(c.A + i));
        const __m256d b = _mm256_fmadd_pd(_mm256_loadu_pd(c.Bp + i), vt, _mm256_loadu_pd(c.B + i));
        psi = _mm256_fmadd_pd(a, Cos4(_mm256_sub_pd(argument, quart)), psi);
        epsilon = _mm256_fmadd_pd(b, Cos4(argument), epsilon);
    }
    alignas(32) double p[4], e[4];
    _mm256_store_pd(p, psi);
    _mm256_store_pd(e, epsilon);
    sommePsi = (p[0] + p[1]) + (p[2] + p[3]);
    sommeEpsilon = (e[0] + e[1]) + (e[2] + e[3]);
}

}  // namespace Vectoriel

#endif
