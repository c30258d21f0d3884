#include "VSOPEAR.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstddef>
#include <numbers>
#include <utility>

#include "VSOPEAR_data.h"
#include "Vectoriel.h"

namespace VSOPEAR {

namespace {

// One series X_alpha: its terms as three parallel arrays (amplitude, phase, frequency).
struct Serie {
    const double* A;
    const double* B;
    const double* C;
    std::size_t n;
};

template <std::size_t N>
constexpr Serie S(const double (&A)[N], const double (&B)[N], const double (&C)[N]) {
    return {A, B, C, N};
}

constexpr Serie SeriesL[] = {S(L0_A, L0_B, L0_C), S(L1_A, L1_B, L1_C), S(L2_A, L2_B, L2_C),
                             S(L3_A, L3_B, L3_C), S(L4_A, L4_B, L4_C), S(L5_A, L5_B, L5_C)};
constexpr Serie SeriesB[] = {S(B0_A, B0_B, B0_C), S(B1_A, B1_B, B1_C), S(B2_A, B2_B, B2_C),
                             S(B3_A, B3_B, B3_C), S(B4_A, B4_B, B4_C)};
constexpr Serie SeriesR[] = {S(R0_A, R0_B, R0_C), S(R1_A, R1_B, R1_C), S(R2_A, R2_B, R2_C),
                             S(R3_A, R3_B, R3_C), S(R4_A, R4_B, R4_C), S(R5_A, R5_B, R5_C)};

constexpr std::size_t Compte(const Serie* s, std::size_t n) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < n; ++i) total += s[i].n;
    return total;
}
static_assert(Compte(SeriesL, std::size(SeriesL)) == 1080);
static_assert(Compte(SeriesB, std::size(SeriesB)) == 348);
static_assert(Compte(SeriesR, std::size(SeriesR)) == 997);
static_assert(NombreTotalTermes == 2425);

// Sum of A cos(B + C tau) over the terms, in the published order, with the C library's
// cosine. Constant terms (C = 0) go through the same path: cos(0) and cos(pi) need no branch.
// The running sum is kept in extended precision: the first term of L1 is 6283.3 radians, and
// a double sum would lose half a unit of its last place (4.5e-13) at each of the 340 terms
// added after it.
double SommeScalaire(const Serie& s, double tau) noexcept {
    long double somme = 0.0L;
    for (std::size_t i = 0; i < s.n; ++i) somme += s.A[i] * std::cos(s.B[i] + s.C[i] * tau);
    return static_cast<double>(somme);
}

// The largest frequency of a group of series, radians per Julian millennium.
constexpr double FrequenceMax(const Serie* s, std::size_t n) {
    double maximum = 0.0;
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < s[k].n; ++i) maximum = std::max(maximum, std::abs(s[k].C[i]));
    return maximum;
}
constexpr double FrequenceMaxTheorie =
    std::max({FrequenceMax(SeriesL, std::size(SeriesL)), FrequenceMax(SeriesB, std::size(SeriesB)),
              FrequenceMax(SeriesR, std::size(SeriesR))});

// The vector cosine holds for arguments below 1e6 radians, that is for the whole theory over
// some ten thousand years around J2000; beyond, the scalar sum takes over.
[[maybe_unused]] bool DansLeDomaineVectoriel(double tau) noexcept {
    return std::fabs(tau) * FrequenceMaxTheorie + 7.0 < 1e6;
}

// Beyond a million centuries (far outside any meaning of the theory) T is held there, so the
// powers of tau stay finite and every finite T gives a finite result.
constexpr double LimiteSiecles = 1e6;

// T in centuries to tau in millennia, T held within the bound above.
double Millenaires(double T) noexcept {
    return std::clamp(T, -LimiteSiecles, LimiteSiecles) / 10.0;
}

// S1 tau + S0 + S2 tau^2 + ...: the Poisson series in powers of tau. Each power is built by
// repeated multiplication of the series sum, so no pow() and the same rounding on every call.
template <std::size_t N>
double EvalueCoordonnee(const Serie (&series)[N], double T) noexcept {
    const double tau = Millenaires(T);
    double resultat = SommeScalaire(series[1], tau) * tau + SommeScalaire(series[0], tau);
    for (std::size_t alpha = 2; alpha < N; ++alpha) {
        double terme = SommeScalaire(series[alpha], tau);
        for (std::size_t k = 0; k < alpha; ++k) terme *= tau;
        resultat += terme;
    }
    return resultat;
}

// A form of the series (see the table's generator): its two tiers of frequencies, its
// coefficients and the constant term of each of its series. Its segments go to the kernels as
// a template argument.
struct Forme {
    const double* fortes;
    const double* faibles;
    const double* coefficients;
    const float* simples;
    const double* constantes;
};
#define ORVANEL_FORME(X) Forme{X##_Fortes, X##_Faibles, X##_Coefficients, X##_Simples, X##_Constantes}
constexpr Forme FormeL = ORVANEL_FORME(L);
constexpr Forme FormeB = ORVANEL_FORME(B);
constexpr Forme FormeR = ORVANEL_FORME(R);
constexpr Forme FormeLBR = ORVANEL_FORME(LBR);
#undef ORVANEL_FORME

#ifdef ORVANEL_AVX2

// Coordinate by coordinate over a segment, the coefficient of cos and of sin at each frequency
// is a polynomial of tau (its series' pairs, highest power first): Horner's rule gives it, then
// two fused multiply-adds add the terms into the coordinate's sum.
template <int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentFort(const double* F, const SegmentVSOP& s,
                                                     const double* c, __m256d tau,
                                                     __m256d* sommes) noexcept {
    const std::size_t n = s.fin - s.debut;
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 4) {
        __m256d sinus, cosinus;
        Vectoriel::SinCos4(_mm256_mul_pd(_mm256_loadu_pd(F + s.debut + j), tau), sinus, cosinus);
        const double* P = c + j;
        // Unrolled, so each coordinate's sum stays in a register and Horner's rule is straight code.
#pragma GCC unroll 3
        for (int k = 0; k < NC; ++k) {
            constexpr int Ks[3] = {K0, K1, K2};
            const int K = Ks[k];
            if (K == 0) continue;
            __m256d p = _mm256_loadu_pd(P), q = _mm256_loadu_pd(P + n);
#pragma GCC unroll 6
            for (int i = 1; i < K; ++i) {
                P += 2 * n;
                p = _mm256_fmadd_pd(p, tau, _mm256_loadu_pd(P));
                q = _mm256_fmadd_pd(q, tau, _mm256_loadu_pd(P + n));
            }
            P += 2 * n;
            a[k] = _mm256_fmadd_pd(p, cosinus, _mm256_fmadd_pd(q, sinus, a[k]));
        }
    }
    for (int k = 0; k < NC; ++k) sommes[k] = _mm256_add_pd(sommes[k], a[k]);
}

// The same over weak frequencies, all in single precision from the pairs rounded to floats:
// the sine-cosine of each group of eight, Horner's rule and the two products; each group's
// contribution, a few 1e-7 at most, is then widened and added to the sums in double.
template <int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentFaible(const double* Q, const SegmentVSOP& s,
                                                       const float* c, __m256d tau,
                                                       __m256d* sommes) noexcept {
    const std::size_t n = s.fin - s.debut;
    const __m256 t = _mm256_set1_ps(static_cast<float>(_mm256_cvtsd_f64(tau)));
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 8) {
        __m256 sinus, cosinus;
        Vectoriel::SinCos8(Q + s.debut + j, tau, sinus, cosinus);
        const float* P = c + j;
        // Unrolled, so each coordinate's sum stays in a register and Horner's rule is straight code.
#pragma GCC unroll 3
        for (int k = 0; k < NC; ++k) {
            constexpr int Ks[3] = {K0, K1, K2};
            const int K = Ks[k];
            if (K == 0) continue;
            __m256 p = _mm256_loadu_ps(P), q = _mm256_loadu_ps(P + n);
#pragma GCC unroll 6
            for (int i = 1; i < K; ++i) {
                P += 2 * n;
                p = _mm256_fmadd_ps(p, t, _mm256_loadu_ps(P));
                q = _mm256_fmadd_ps(q, t, _mm256_loadu_ps(P + n));
            }
            P += 2 * n;
            const __m256 terme = _mm256_fmadd_ps(p, cosinus, _mm256_mul_ps(q, sinus));
            a[k] = _mm256_add_pd(a[k], _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(terme)),
                                                     _mm256_cvtps_pd(_mm256_extractf128_ps(terme, 1))));
        }
    }
    for (int k = 0; k < NC; ++k) sommes[k] = _mm256_add_pd(sommes[k], a[k]);
}

// Each segment's kernel, compiled with its numbers of powers as constants (so Horner's rule
// unrolls), reached through a table indexed by the segment.
using Noyau = void (*)(const Forme&, const SegmentVSOP&, __m256d, __m256d*) noexcept;
template <int NC, int K0, int K1, int K2>
__attribute__((target("avx2,fma"))) void NoyauFort(const Forme& f, const SegmentVSOP& s,
                                                   __m256d t, __m256d* sommes) noexcept {
    SegmentFort<NC, K0, K1, K2>(f.fortes, s, f.coefficients + s.coefficients, t, sommes);
}
template <int NC, int K0, int K1, int K2>
__attribute__((target("avx2,fma"))) void NoyauFaible(const Forme& f, const SegmentVSOP& s,
                                                     __m256d t, __m256d* sommes) noexcept {
    SegmentFaible<NC, K0, K1, K2>(f.faibles, s, f.simples + s.coefficients, t, sommes);
}
template <int NC, const auto& Segments, std::size_t I>
constexpr Noyau NoyauSegment() {
    constexpr SegmentVSOP s = Segments[I];
    if constexpr (s.faible)
        return &NoyauFaible<NC, s.K[0], s.K[1], s.K[2]>;
    else
        return &NoyauFort<NC, s.K[0], s.K[1], s.K[2]>;
}
template <int NC, const auto& Segments, class = std::make_index_sequence<std::size(Segments)>>
struct Noyaux;
template <int NC, const auto& Segments, std::size_t... I>
struct Noyaux<NC, Segments, std::index_sequence<I...>> {
    static constexpr Noyau table[] = {NoyauSegment<NC, Segments, I>()...};
};

// The periodic part of each coordinate of a form (NC of them), then its constant terms as a
// polynomial of tau, added last so the large ones (6283.3 radians in L1) are rounded once.
template <int NC, const auto& Segments>
__attribute__((target("avx2,fma"))) void SommesForme(const Forme& forme, double tau,
                                                     const int (&nSeries)[NC],
                                                     double (&coordonnees)[NC]) noexcept {
    __m256d sommes[NC];
    for (__m256d& s : sommes) s = _mm256_setzero_pd();
    const __m256d t = _mm256_set1_pd(tau);
    for (std::size_t i = 0; i < std::size(Segments); ++i) {
        const SegmentVSOP& s = Segments[i];
        Noyaux<NC, Segments>::table[i](forme, s, t, sommes);
    }
    const double* constantes = forme.constantes;
    for (int k = 0; k < NC; ++k) {
        alignas(32) double v[4];
        _mm256_store_pd(v, sommes[k]);
        const double periodique = (v[0] + v[1]) + (v[2] + v[3]);
        double constante = constantes[nSeries[k] - 1];
        for (int a = nSeries[k] - 1; a-- > 0;) constante = constante * tau + constantes[a];
        coordonnees[k] = constante + periodique;
        constantes += nSeries[k];
    }
}

template <const auto& Segments>
double EvalueForme(const Forme& forme, int nSeries, double tau) noexcept {
    double x[1];
    SommesForme<1, Segments>(forme, tau, {nSeries}, x);
    return x[0];
}
#endif

// True where the vector path may run: the processor has it and the arguments stay in its range.
[[maybe_unused]] bool Vectorielle([[maybe_unused]] double tau) noexcept {
#ifdef ORVANEL_AVX2
    return Vectoriel::Avx2Disponible() && DansLeDomaineVectoriel(tau);
#else
    return false;
#endif
}

// The vector form where the processor and the argument allow it, the scalar sum elsewhere.
template <const auto& Segments, std::size_t N>
double Evalue(const Serie (&series)[N], [[maybe_unused]] const Forme& forme, double T) noexcept {
#ifdef ORVANEL_AVX2
    if (const double tau = Millenaires(T); Vectorielle(tau))
        return EvalueForme<Segments>(forme, static_cast<int>(N), tau);
#endif
    return EvalueCoordonnee(series, T);
}

}  // namespace

double LongitudeTerre(double T) noexcept {
    return Evalue<L_Segments>(SeriesL, FormeL, T) * 180.0 / std::numbers::pi;
}
double LatitudeTerre(double T) noexcept {
    return Evalue<B_Segments>(SeriesB, FormeB, T) * 180.0 / std::numbers::pi;
}
double RayonTerre(double T) noexcept {
    return Evalue<R_Segments>(SeriesR, FormeR, T);
}

void PositionTerre(double T, double& L, double& B, double& R) noexcept {
#ifdef ORVANEL_AVX2
    if (const double tau = Millenaires(T); Vectorielle(tau)) {
        // The three coordinates share 704 distinct frequencies: one sine-cosine each.
        double x[3];
        SommesForme<3, LBR_Segments>(
            FormeLBR, tau,
            {int(std::size(SeriesL)), int(std::size(SeriesB)), int(std::size(SeriesR))}, x);
        L = x[0] * 180.0 / std::numbers::pi;
        B = x[1] * 180.0 / std::numbers::pi;
        R = x[2];
        return;
    }
#endif
    Scalaire::PositionTerre(T, L, B, R);
}

bool EvaluationVectorielle() noexcept {
#ifdef ORVANEL_AVX2
    return Vectoriel::Avx2Disponible();
#else
    return false;
#endif
}

namespace Scalaire {
double LongitudeTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesL, T) * 180.0 / std::numbers::pi;
}
double LatitudeTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesB, T) * 180.0 / std::numbers::pi;
}
double RayonTerre(double T) noexcept {
    return EvalueCoordonnee(SeriesR, T);
}
void PositionTerre(double T, double& L, double& B, double& R) noexcept {
    L = LongitudeTerre(T);
    B = LatitudeTerre(T);
    R = RayonTerre(T);
}
}  // namespace Scalaire

}  // namespace VSOPEAR
