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
#define ORVANEL_FORME(X)                                                       \
    Forme {                                                                    \
        X##_Fortes, X##_Faibles, X##_Coefficients, X##_Simples, X##_Constantes \
    }
constexpr Forme FormeL = ORVANEL_FORME(L);
constexpr Forme FormeB = ORVANEL_FORME(B);
constexpr Forme FormeR = ORVANEL_FORME(R);
constexpr Forme FormeLBR = ORVANEL_FORME(LBR);
#undef ORVANEL_FORME

// Where a segment's sines and cosines come from: computed afresh at tau, or, along a regular
// series, the phasors of the form's slots (strong tier first, then `fortes` on, the weak one)
// turned by F delta to the row's own tau (first order: F delta stays below 1e-9).
struct Source {
    const Forme& forme;
    const Interne::Phases* phaseurs;
    std::size_t fortes;
    double delta;
};

template <bool Phaseurs>
__attribute__((target("avx2,fma"))) inline void SinCosFort(const Source& source, std::size_t debut,
                                                           __m256d tau, __m256d& sinus,
                                                           __m256d& cosinus) noexcept {
    if constexpr (Phaseurs) {
        const Interne::Phases& ph = *source.phaseurs;
        const __m256d f =
            _mm256_mul_pd(_mm256_loadu_pd(ph.F + debut), _mm256_set1_pd(source.delta));
        const __m256d c0 = _mm256_loadu_pd(ph.C + debut), s0 = _mm256_loadu_pd(ph.S + debut);
        cosinus = _mm256_fnmadd_pd(f, s0, c0);
        sinus = _mm256_fmadd_pd(f, c0, s0);
    } else {
        Vectoriel::SinCos4(_mm256_mul_pd(_mm256_loadu_pd(source.forme.fortes + debut), tau), sinus,
                           cosinus);
    }
}

// Eight at once for the weak tier, in single precision: the turned phasors rounded to floats.
template <bool Phaseurs>
__attribute__((target("avx2,fma"))) inline void SinCosFaible(const Source& source,
                                                             std::size_t debut, __m256d tau,
                                                             __m256& sinus,
                                                             __m256& cosinus) noexcept {
    if constexpr (Phaseurs) {
        __m256d s[2], c[2];
        for (std::size_t h = 0; h < 2; ++h)
            SinCosFort<true>(source, source.fortes + debut + 4 * h, tau, s[h], c[h]);
        cosinus = _mm256_set_m128(_mm256_cvtpd_ps(c[1]), _mm256_cvtpd_ps(c[0]));
        sinus = _mm256_set_m128(_mm256_cvtpd_ps(s[1]), _mm256_cvtpd_ps(s[0]));
    } else {
        Vectoriel::SinCos8(source.forme.faibles + debut, tau, sinus, cosinus);
    }
}

// Coordinate by coordinate over a segment, the coefficient of cos and of sin at each frequency
// is a polynomial of tau (its series' pairs, highest power first): Horner's rule gives it, then
// two fused multiply-adds add the terms into the coordinate's sum.
template <bool Phaseurs, int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentFort(const Source& source, const SegmentVSOP& s,
                                                     __m256d tau, __m256d* sommes) noexcept {
    const std::size_t n = s.fin - s.debut;
    const double* c = source.forme.coefficients + s.coefficients;
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 4) {
        __m256d sinus, cosinus;
        SinCosFort<Phaseurs>(source, s.debut + j, tau, sinus, cosinus);
        const double* P = c + j;
        // Unrolled, so each coordinate's sum stays in a register and Horner's rule is straight
        // code.
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
template <bool Phaseurs, int NC, int K0, int K1 = 0, int K2 = 0>
__attribute__((target("avx2,fma"))) void SegmentFaible(const Source& source, const SegmentVSOP& s,
                                                       __m256d tau, __m256d* sommes) noexcept {
    const std::size_t n = s.fin - s.debut;
    const float* c = source.forme.simples + s.coefficients;
    const __m256 t = _mm256_set1_ps(static_cast<float>(_mm256_cvtsd_f64(tau)));
    __m256d a[NC];
    for (int k = 0; k < NC; ++k) a[k] = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 8) {
        __m256 sinus, cosinus;
        SinCosFaible<Phaseurs>(source, s.debut + j, tau, sinus, cosinus);
        const float* P = c + j;
        // Unrolled, so each coordinate's sum stays in a register and Horner's rule is straight
        // code.
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
            a[k] = _mm256_add_pd(a[k],
                                 _mm256_add_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(terme)),
                                               _mm256_cvtps_pd(_mm256_extractf128_ps(terme, 1))));
        }
    }
    for (int k = 0; k < NC; ++k) sommes[k] = _mm256_add_pd(sommes[k], a[k]);
}

// Each segment's kernel, compiled with its numbers of powers as constants (so Horner's rule
// unrolls), reached through a table indexed by the segment.
using Noyau = void (*)(const Source&, const SegmentVSOP&, __m256d, __m256d*) noexcept;
template <bool Phaseurs, int NC, const auto& Segments, std::size_t I>
constexpr Noyau NoyauSegment() {
    constexpr SegmentVSOP s = Segments[I];
    if constexpr (s.faible)
        return &SegmentFaible<Phaseurs, NC, s.K[0], s.K[1], s.K[2]>;
    else
        return &SegmentFort<Phaseurs, NC, s.K[0], s.K[1], s.K[2]>;
}
template <bool Phaseurs, int NC, const auto& Segments,
          class = std::make_index_sequence<std::size(Segments)>>
struct Noyaux;
template <bool Phaseurs, int NC, const auto& Segments, std::size_t... I>
struct Noyaux<Phaseurs, NC, Segments, std::index_sequence<I...>> {
    static constexpr Noyau table[] = {NoyauSegment<Phaseurs, NC, Segments, I>()...};
};

// The periodic part of each coordinate of a form (NC of them), then its constant terms.
template <bool Phaseurs, int NC, const auto& Segments>
__attribute__((target("avx2,fma"))) void SommesForme(const Source& source, double tau,
                                                     const int (&nSeries)[NC],
                                                     double (&coordonnees)[NC]) noexcept {
    __m256d sommes[NC];
    for (__m256d& s : sommes) s = _mm256_setzero_pd();
    const __m256d t = _mm256_set1_pd(tau);
    for (std::size_t i = 0; i < std::size(Segments); ++i)
        Noyaux<Phaseurs, NC, Segments>::table[i](source, Segments[i], t, sommes);
    const double* constantes = source.forme.constantes;
    for (int k = 0; k < NC; ++k) {
        alignas(32) double v[4];
        _mm256_store_pd(v, sommes[k]);
        coordonnees[k] =
            Interne::AvecConstantes((v[0] + v[1]) + (v[2] + v[3]), constantes, nSeries[k], tau);
        constantes += nSeries[k];
    }
}

template <int NC, const auto& Segments>
void SommesNeuves(const Forme& forme, double tau, const int (&nSeries)[NC],
                  double (&coordonnees)[NC]) noexcept {
    SommesForme<false, NC, Segments>({forme, nullptr, 0, 0.0}, tau, nSeries, coordonnees);
}

}  // namespace

namespace Interne {

double SommeVectorielle(Coordonnee c, int nSeries, double tau) noexcept {
    double x[1];
    switch (c) {
        case Coordonnee::L:
            SommesNeuves<1, L_Segments>(FormeL, tau, {nSeries}, x);
            break;
        case Coordonnee::B:
            SommesNeuves<1, B_Segments>(FormeB, tau, {nSeries}, x);
            break;
        case Coordonnee::R:
            SommesNeuves<1, R_Segments>(FormeR, tau, {nSeries}, x);
            break;
    }
    return x[0];
}

void SommesVectoriellesLBR(double tau, const int (&nSeries)[3], double (&lbr)[3]) noexcept {
    // The three coordinates share 704 distinct frequencies: one sine-cosine each.
    SommesNeuves<3, LBR_Segments>(FormeLBR, tau, nSeries, lbr);
}

void SommesPhaseursLBR(const Phases& ph, double tau, double delta, const int (&nSeries)[3],
                       double (&lbr)[3]) noexcept {
    SommesForme<true, 3, LBR_Segments>({FormeLBR, &ph, std::size(LBR_Fortes), delta}, tau, nSeries,
                                       lbr);
}

}  // namespace Interne

}  // namespace VSOPEAR

#endif
