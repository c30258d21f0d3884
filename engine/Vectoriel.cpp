// The engine's vector kernels: long sums of periodic terms four lanes at a time.
#include "Vectoriel.h"

#ifdef ORVANEL_AVX2

namespace Vectoriel {

// Eight terms per step in two four-lane sums. The series run from the largest term to the
// smallest, so the steps go backwards: the large leading terms (6283.3 radians for L1) come in
// last and take the rounding of a double sum once, not once per term.
__attribute__((target("avx2,fma"))) double SommeCosinus(const double* A, const double* B,
                                                        const double* C, std::size_t n,
                                                        double tau) noexcept {
    const __m256d t = _mm256_set1_pd(tau);
    __m256d somme0 = _mm256_setzero_pd();
    __m256d somme1 = _mm256_setzero_pd();
    std::size_t fin = n - n % 8;
    // The last terms first, padded with zero amplitudes to a full step.
    if (fin < n) {
        alignas(32) double a[8] = {}, b[8] = {}, c[8] = {};
        for (std::size_t j = 0; fin + j < n; ++j) {
            a[j] = A[fin + j];
            b[j] = B[fin + j];
            c[j] = C[fin + j];
        }
        const __m256d x0 = _mm256_add_pd(_mm256_load_pd(b), _mm256_mul_pd(_mm256_load_pd(c), t));
        const __m256d x1 =
            _mm256_add_pd(_mm256_load_pd(b + 4), _mm256_mul_pd(_mm256_load_pd(c + 4), t));
        somme0 = _mm256_fmadd_pd(_mm256_load_pd(a), Vectoriel::Cos4(x0), somme0);
        somme1 = _mm256_fmadd_pd(_mm256_load_pd(a + 4), Vectoriel::Cos4(x1), somme1);
    }
    for (; fin >= 8; fin -= 8) {
        const std::size_t i = fin - 8;
        const __m256d x0 =
            _mm256_add_pd(_mm256_loadu_pd(B + i), _mm256_mul_pd(_mm256_loadu_pd(C + i), t));
        const __m256d x1 =
            _mm256_add_pd(_mm256_loadu_pd(B + i + 4), _mm256_mul_pd(_mm256_loadu_pd(C + i + 4), t));
        somme0 = _mm256_fmadd_pd(_mm256_loadu_pd(A + i), Vectoriel::Cos4(x0), somme0);
        somme1 = _mm256_fmadd_pd(_mm256_loadu_pd(A + i + 4), Vectoriel::Cos4(x1), somme1);
    }
    alignas(32) double partielles[4];
    _mm256_store_pd(partielles, _mm256_add_pd(somme0, somme1));
    // Lane 0 holds the leading term: the small lanes are added together before it.
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
