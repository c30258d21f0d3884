// The engine's vector kernels: long sums of periodic terms four lanes at a time.
#include "Vectoriel.h"

#ifdef ORVANEL_AVX2

namespace Vectoriel {

// The same sums four rows at a time, one sine-cosine per row; its 6e-14 is 1e-8 of the largest
// coefficient's unit (0.0001").
__attribute__((target("avx2,fma"))) void SommesNutation(const ColonnesNutation& c, double T,
                                                        double d, double m, double mp, double f,
                                                        double om, double& sommePsi,
                                                        double& sommeEpsilon) noexcept {
    const __m256d vt = _mm256_set1_pd(T);
    const __m256d vd = _mm256_set1_pd(d), vm = _mm256_set1_pd(m), vmp = _mm256_set1_pd(mp);
    const __m256d vf = _mm256_set1_pd(f), vom = _mm256_set1_pd(om);
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
        __m256d sinus, cosinus;
        SinCos4(argument, sinus, cosinus);
        psi = _mm256_fmadd_pd(a, sinus, psi);
        epsilon = _mm256_fmadd_pd(b, cosinus, epsilon);
    }
    alignas(32) double p[4], e[4];
    _mm256_store_pd(p, psi);
    _mm256_store_pd(e, epsilon);
    sommePsi = (p[0] + p[1]) + (p[2] + p[3]);
    sommeEpsilon = (e[0] + e[1]) + (e[2] + e[3]);
}

__attribute__((target("avx2,fma"))) double SommeSinus(const ColonnesSinus& c, double tau) noexcept {
    const __m256d t = _mm256_set1_pd(tau);
    __m256d somme = _mm256_setzero_pd();
    for (std::size_t i = 0; i < c.n; i += 4) {
        __m256d sinus, cosinus;
        SinCos4(_mm256_fmadd_pd(_mm256_loadu_pd(c.vitesse + i), t, _mm256_loadu_pd(c.phase + i)),
                sinus, cosinus);
        __m256d coefficient = _mm256_loadu_pd(c.C3 + i);
        coefficient = _mm256_fmadd_pd(coefficient, t, _mm256_loadu_pd(c.C2 + i));
        coefficient = _mm256_fmadd_pd(coefficient, t, _mm256_loadu_pd(c.C1 + i));
        coefficient = _mm256_fmadd_pd(coefficient, t, _mm256_loadu_pd(c.C0 + i));
        somme = _mm256_fmadd_pd(coefficient, sinus, somme);
    }
    alignas(32) double s[4];
    _mm256_store_pd(s, somme);
    return (s[0] + s[1]) + (s[2] + s[3]);
}

}  // namespace Vectoriel

#endif
