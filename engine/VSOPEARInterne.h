// Between the two halves of the VSOP87 evaluation: the vector sums (VSOPEARVectoriel.cpp), which
// the public functions (VSOPEAR.cpp) call where the processor and the argument allow.
#pragma once

namespace VSOPEAR::Interne {

// A coordinate from its periodic sum and its constant terms, a polynomial of tau (n powers):
// added last so the large ones (6283.3 radians in L1) are rounded once.
inline double AvecConstantes(double periodique, const double* constantes, int n,
                             double tau) noexcept {
    double constante = constantes[n - 1];
    for (int a = n - 1; a-- > 0;) constante = constante * tau + constantes[a];
    return constante + periodique;
}

enum class Coordonnee { L, B, R };

// The sum of one coordinate's series (radians, or au for R), its nSeries powers of tau.
// Given:    tau  Julian millennia of dynamical time since J2000.0, within the vector domain
double SommeVectorielle(Coordonnee c, int nSeries, double tau) noexcept;

// L, B (radians) and R (au) in one pass over their shared frequencies.
void SommesVectoriellesLBR(double tau, const int (&nSeries)[3], double (&lbr)[3]) noexcept;

// The phasors of a series' frequency slots (strong tier, then weak): frequency in radians per
// millennium, cosine and sine at the row's ideal tau.
struct Phases {
    const double* F;
    const double* C;
    const double* S;
};

// L, B (radians) and R (au) at tau from the phasors turned by F delta (delta = tau - ideal).
void SommesPhaseursLBR(const Phases& ph, double tau, double delta, const int (&nSeries)[3],
                       double (&lbr)[3]) noexcept;

}  // namespace VSOPEAR::Interne
