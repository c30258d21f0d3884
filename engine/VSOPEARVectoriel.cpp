// The VSOP87 series on the vector path: one sine-cosine per distinct frequency, four (strong
// terms, double precision) or eight (weak terms, single precision) at a time, then each
// coordinate's coefficient at that frequency by Horner's rule in tau. Only on processors with
// AVX2 and FMA; VSOPEAR.cpp chooses between this path and the scalar sums.
#include <cstddef>
#include <iterator>
#include <utility>

#include "VSOPEARInterne.h"
#include "VSOPEAR_data.h"
#include "Vectoriel.h"

#ifdef ORVANEL_AVX2

namespace VSOPEAR {

namespace {

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

// Along a regular series: the segment's cosines and sines are the phasors of its slots, turned
// by F delta to the row's own tau (first order: F delta stays below 1e-9), every coefficient in
// double precision.
template <int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentPhaseurs(const Interne::Phases& ph, const double* c,
                                                         std::size_t n, __m256d tau,
                                                         __m256d delta, __m256d* sommes) noexcept {
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 4) {
        const __m256d f = _mm256_mul_pd(_mm256_loadu_pd(ph.F + j), delta);
        const __m256d c0 = _mm256_loadu_pd(ph.C + j), s0 = _mm256_loadu_pd(ph.S + j);
        const __m256d cosinus = _mm256_fnmadd_pd(f, s0, c0);
        const __m256d sinus = _mm256_fmadd_pd(f, c0, s0);
        const double* P = c + j;
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

// The weak tier as the direct sums take it: the turned phasors rounded to floats, the pairs
// of single precision, each group of eight widened into the double sums.
template <int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentPhaseursFaible(const Interne::Phases& ph,
                                                               const float* c, std::size_t n,
                                                               __m256d tau, __m256d delta,
                                                               __m256d* sommes) noexcept {
    const __m256 t = _mm256_set1_ps(static_cast<float>(_mm256_cvtsd_f64(tau)));
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 8) {
        __m128 cs[2], sn[2];
        for (int h = 0; h < 2; ++h) {
            const std::size_t i = j + 4 * static_cast<std::size_t>(h);
            const __m256d f = _mm256_mul_pd(_mm256_loadu_pd(ph.F + i), delta);
            const __m256d c0 = _mm256_loadu_pd(ph.C + i), s0 = _mm256_loadu_pd(ph.S + i);
            cs[h] = _mm256_cvtpd_ps(_mm256_fnmadd_pd(f, s0, c0));
            sn[h] = _mm256_cvtpd_ps(_mm256_fmadd_pd(f, c0, s0));
        }
        const __m256 cosinus = _mm256_set_m128(cs[1], cs[0]);
        const __m256 sinus = _mm256_set_m128(sn[1], sn[0]);
        const float* P = c + j;
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

using NoyauPhaseurs = void (*)(const Interne::Phases&, std::size_t, std::size_t, __m256d, __m256d,
                               __m256d*) noexcept;
template <int K0, int K1, int K2>
__attribute__((target("avx2,fma"))) void NoyauPhaseursFort(const Interne::Phases& ph,
                                                           std::size_t coefficients, std::size_t n,
                                                           __m256d t, __m256d d,
                                                           __m256d* sommes) noexcept {
    SegmentPhaseurs<3, K0, K1, K2>(ph, LBR_Coefficients + coefficients, n, t, d, sommes);
}
template <int K0, int K1, int K2>
__attribute__((target("avx2,fma"))) void NoyauPhaseursFaible(const Interne::Phases& ph,
                                                             std::size_t coefficients, std::size_t n,
                                                             __m256d t, __m256d d,
                                                             __m256d* sommes) noexcept {
    SegmentPhaseursFaible<3, K0, K1, K2>(ph, LBR_Simples + coefficients, n, t, d, sommes);
}
template <const auto& Segments, std::size_t I>
constexpr NoyauPhaseurs NoyauPhaseursSegment() {
    constexpr SegmentVSOP s = Segments[I];
    if constexpr (s.faible)
        return &NoyauPhaseursFaible<s.K[0], s.K[1], s.K[2]>;
    else
        return &NoyauPhaseursFort<s.K[0], s.K[1], s.K[2]>;
}
template <const auto& Segments, class = std::make_index_sequence<std::size(Segments)>>
struct NoyauxPhaseurs;
template <const auto& Segments, std::size_t... I>
struct NoyauxPhaseurs<Segments, std::index_sequence<I...>> {
    static constexpr NoyauPhaseurs table[] = {NoyauPhaseursSegment<Segments, I>()...};
};

}  // namespace

namespace Interne {

double SommeVectorielle(Coordonnee c, int nSeries, double tau) noexcept {
    double x[1];
    switch (c) {
        case Coordonnee::L:
            SommesForme<1, L_Segments>(FormeL, tau, {nSeries}, x);
            break;
        case Coordonnee::B:
            SommesForme<1, B_Segments>(FormeB, tau, {nSeries}, x);
            break;
        case Coordonnee::R:
            SommesForme<1, R_Segments>(FormeR, tau, {nSeries}, x);
            break;
    }
    return x[0];
}

void SommesVectoriellesLBR(double tau, const int (&nSeries)[3], double (&lbr)[3]) noexcept {
    // The three coordinates share 704 distinct frequencies: one sine-cosine each.
    SommesForme<3, LBR_Segments>(FormeLBR, tau, nSeries, lbr);
}

__attribute__((target("avx2,fma"))) void SommesPhaseursLBR(const Phases& ph, double tau,
                                                            double delta,
                                                            const int (&nSeries)[3],
                                                            double (&lbr)[3]) noexcept {
    __m256d sommes[3];
    for (__m256d& s : sommes) s = _mm256_setzero_pd();
    const __m256d t = _mm256_set1_pd(tau), d = _mm256_set1_pd(delta);
    const std::size_t fortes = std::size(LBR_Fortes);
    for (std::size_t i = 0; i < std::size(LBR_Segments); ++i) {
        const SegmentVSOP& s = LBR_Segments[i];
        const std::size_t base = s.faible ? fortes + s.debut : s.debut;
        const Phases segment{ph.F + base, ph.C + base, ph.S + base};
        NoyauxPhaseurs<LBR_Segments>::table[i](segment, s.coefficients, s.fin - s.debut, t, d,
                                               sommes);
    }
    const double* constantes = LBR_Constantes;
    for (int k = 0; k < 3; ++k) {
        alignas(32) double v[4];
        _mm256_store_pd(v, sommes[k]);
        const double periodique = (v[0] + v[1]) + (v[2] + v[3]);
        double constante = constantes[nSeries[k] - 1];
        for (int a = nSeries[k] - 1; a-- > 0;) constante = constante * tau + constantes[a];
        lbr[k] = constante + periodique;
        constantes += nSeries[k];
    }
}

}  // namespace Interne

}  // namespace VSOPEAR

#endif
