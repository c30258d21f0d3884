// The sky of a site: the rise-set altitude seen from a height, the refraction at a skyline, a
// skyline's profile and the checks of a sky.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

namespace {

// The dip of a flat horizon seen from H metres, refraction included: 1.76' sqrt(H), the value of
// the nautical almanacs' dip table.
constexpr double Depression = 1.76;  // arcminutes

// The refraction at a skyline's apparent altitude a (degrees) over that at the horizon, from
// Bennett's formula for the apparent altitude (G. G. Bennett, The calculation of
// astronomical refraction in marine navigation, Journal of Navigation 35, 1982): cot(a + 7.31 / (a
// + 4.4)) / cot(7.31 / 4.4), exactly 1 at a = 0.
double RapportRefraction(double a) noexcept {
    return std::tan(7.31 / 4.4 * Interne::Rad) / std::tan((a + 7.31 / (a + 4.4)) * Interne::Rad);
}

}  // namespace

double HauteurLeverCoucher(double hauteurOeil) noexcept {
    // Summed in arcminutes, so that sea level gives the rise-set threshold (-50 / 60) to the bit.
    return -(DemiDiametreMinutes + RefractionHorizontaleMinutes +
             Depression * std::sqrt(hauteurOeil)) /
           60.0;
}

double RefractionHorizon(double a) noexcept {
    return RefractionHorizontaleMinutes * RapportRefraction(a) / 60.0;
}

Horizon::Horizon(std::vector<PointHorizon> points) : points_(std::move(points)) {
    for (PointHorizon& p : points_) p.azimut = Modulo360(p.azimut);
    std::stable_sort(
        points_.begin(), points_.end(),
        [](const PointHorizon& a, const PointHorizon& b) { return a.azimut < b.azimut; });
    // The centre's altitude grows with the skyline's (refraction falls more slowly than the
    // skyline rises), so its extremes are those of the points.
    min_ = max_ = Centre(points_.front().hauteur);
    for (const PointHorizon& p : points_) {
        min_ = std::min(min_, Centre(p.hauteur));
        max_ = std::max(max_, Centre(p.hauteur));
    }
}

double Horizon::Profil(double azimut) const noexcept {
    const double A = Modulo360(azimut);
    // The first point at or beyond A, and the one before it around the circle.
    const auto apres =
        std::upper_bound(points_.begin(), points_.end(), A,
                         [](double a, const PointHorizon& p) { return a < p.azimut; });
    const PointHorizon& b = apres == points_.end() ? points_.front() : *apres;
    const PointHorizon& a = apres == points_.begin() ? points_.back() : *(apres - 1);
    double largeur = b.azimut - a.azimut, avance = A - a.azimut;
    if (largeur <= 0) largeur += 360.0;  // across north, or a single azimuth
    if (avance < 0) avance += 360.0;
    return a.hauteur + (b.hauteur - a.hauteur) * (avance / largeur);
}

double Horizon::Centre(double p) noexcept {
    // Summed in arcminutes, so that a flat skyline gives the rise-set threshold to the bit.
    return p - (DemiDiametreMinutes + RefractionHorizontaleMinutes * RapportRefraction(p)) / 60.0;
}

double Horizon::HauteurCentre(double azimut) const noexcept {
    return Centre(Profil(azimut));
}

DefautCiel VerifieCiel(const Ciel& ciel, double& valeur) noexcept {
    const auto defaut = [&valeur](DefautCiel d, double x) {
        valeur = x;
        return d;
    };
    if (!(ciel.hauteurOeil >= 0 && ciel.hauteurOeil <= HauteurOeilMax))
        return defaut(DefautCiel::HauteurOeil, ciel.hauteurOeil);
    for (std::size_t i = 0; i < ciel.hauteurs.size(); ++i) {
        const double h = ciel.hauteurs[i];
        if (!(h >= HauteurSoleilMin && h <= HauteurSoleilMax))
            return defaut(DefautCiel::Hauteur, h);
        if (std::find(ciel.hauteurs.begin(), ciel.hauteurs.begin() + static_cast<long>(i), h) !=
            ciel.hauteurs.begin() + static_cast<long>(i))
            return defaut(DefautCiel::HauteurRepetee, h);
    }
    if (ciel.horizon.empty()) return DefautCiel::Aucun;
    if (ciel.hauteurOeil != 0) return defaut(DefautCiel::HorizonEtOeil, ciel.hauteurOeil);
    if (ciel.horizon.size() < 2) return defaut(DefautCiel::HorizonCourt, 0);
    for (const PointHorizon& p : ciel.horizon) {
        if (!std::isfinite(p.azimut)) return defaut(DefautCiel::AzimutHorizon, p.azimut);
        if (!(p.hauteur >= HorizonMin && p.hauteur <= HorizonMax))
            return defaut(DefautCiel::HauteurHorizon, p.hauteur);
    }
    return DefautCiel::Aucun;
}

}  // namespace PosSoleil
