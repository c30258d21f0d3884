// The lines of a planar dial: each is the shadow of the gnomon's point as the Sun runs along a
// family of its places (an hour angle through the year, a declination through the day, a mean
// time through the year), kept where the face is lit and the shadow falls in the drawn area.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "CadranInterne.h"
#include "Interne.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;

namespace {

using Point = std::pair<double, double>;

// The site, the dial and the area: the shadow for the Sun at an hour angle and a declination.
// The date lines see the Sun from the site (the parallax of a Sun at R au, at most 8.8", taken
// away), so that the shadow at the solstice's instant lies on the solstice's line; the hour
// lines are those of the classical construction, drawn for the Sun seen from the Earth's centre
// (R = 0), straight through the centre of the hours.
class Dessin {
public:
    Dessin(const Cadran& c, const Site& site, const Trace& trace)
        : repere_(RepereDuCadran(c, site.Latitude)), site_(site), trace_(trace) {
        double rho = 0, phiP = 0;
        CoordonneesObservateur(site.Latitude, site.Altitude, rhoSin_, rhoCos_, rho, phiP);
        sinPhi_ = std::sin(site.Latitude * Rad);
        cosPhi_ = std::cos(site.Latitude * Rad);
        // Chords within this of the curve: a few micrometres on a dial of a metre.
        tolerance_ = std::max(1e-3, 5e-6 * std::max(trace.largeur, trace.hauteur));
    }

    std::optional<Point> Equatorial(double H, double delta, double R) const noexcept {
        double deltaAlpha = 0, deltaDelta = 0;
        if (R > 0)
            Parallaxe(ParallaxeHorizontale(R), rhoCos_, rhoSin_, delta, H, deltaAlpha, deltaDelta);
        const double h = (H - deltaAlpha) * Rad, d = (delta + deltaDelta) * Rad;
        const Interne::Vecteur s{-std::cos(d) * std::sin(h),
                                 std::sin(d) * cosPhi_ - std::cos(d) * std::cos(h) * sinPhi_,
                                 std::sin(d) * sinPhi_ + std::cos(d) * std::cos(h) * cosPhi_};
        return Dedans(Interne::OmbreDirection(repere_, s));
    }

    // The shadow at an instant, from the engine's topocentric place of the Sun.
    std::optional<Point> A(double t) const noexcept {
        const Position p = PositionSoleil(t, site_, trace_.TEmoinsTU);
        return Dedans(Interne::OmbreDirection(repere_, Interne::VersLeCiel(p.Azimut, p.Hauteur)));
    }

    double Tolerance() const noexcept { return tolerance_; }

private:
    std::optional<Point> Dedans(const Ombre& o) const noexcept {
        if (!o.eclaire || std::fabs(o.x - trace_.centreX) > trace_.largeur / 2 ||
            std::fabs(o.y - trace_.centreY) > trace_.hauteur / 2)
            return std::nullopt;
        return Point{o.x, o.y};
    }

    RepereCadran repere_;
    Site site_;
    Trace trace_;
    double rhoSin_ = 0, rhoCos_ = 0, sinPhi_ = 0, cosPhi_ = 1, tolerance_ = 1e-3;
};

// The pieces of one line, gathered as the curve is followed.
class Traceur {
public:
    Traceur(std::vector<LigneCadran>& sortie, SorteLigne sorte, std::string etiquette,
            double tolerance)
        : sortie_(sortie), sorte_(sorte), etiquette_(std::move(etiquette)), tolerance_(tolerance) {}
    ~Traceur() { Fin(); }

    // The curve u -> point(u) over [u0, u1] from n steps, each step cut in two until its chord
    // is within the tolerance; where the point leaves the lit area between two steps, the edge
    // is found by bisection and the piece ends (or starts) there.
    template <class F>
    void Courbe(F&& point, double u0, double u1, int n) {
        double ua = u0;
        std::optional<Point> pa = point(u0);
        if (pa) piece_.push_back(*pa);
        for (int i = 1; i <= n; ++i) {
            const double ub = u0 + (u1 - u0) * i / n;
            const std::optional<Point> pb = point(ub);
            if (pa && pb) {
                Affine(point, ua, *pa, ub, *pb, 0);
            } else if (pa || pb) {
                // The edge: a valid end a and an invalid end b, brought together.
                double a = pa ? ua : ub, b = pa ? ub : ua;
                Point bord = pa ? *pa : *pb;
                for (int k = 0; k < 40; ++k) {
                    const double m = (a + b) / 2;
                    if (const auto pm = point(m)) {
                        a = m, bord = *pm;
                    } else {
                        b = m;
                    }
                }
                if (pa) {
                    Affine(point, ua, *pa, a, bord, 0);
                    Fin();
                } else {
                    piece_.push_back(bord);
                    Affine(point, a, bord, ub, *pb, 0);
                }
            }
            ua = ub, pa = pb;
        }
        Fin();
    }

    // Points spaced finely enough already (a year of days), joined as they come.
    void Ajoute(const std::optional<Point>& p) {
        if (p)
            piece_.push_back(*p);
        else
            Fin();
    }

    void Fin() {
        if (piece_.size() >= 2) sortie_.push_back({sorte_, etiquette_, piece_});
        piece_.clear();
    }

private:
    template <class F>
    void Affine(F& point, double ua, const Point& pa, double ub, const Point& pb, int niveau) {
        const double um = (ua + ub) / 2;
        const std::optional<Point> pm = point(um);
        if (!pm) {  // a gap within one step: the piece ends at pa, another starts at pb
            Fin();
            piece_.push_back(pb);
            return;
        }
        const double dx = pb.first - pa.first, dy = pb.second - pa.second;
        const double corde = std::hypot(dx, dy);
        const double ecart =
            corde > 0
                ? std::fabs(dx * (pm->second - pa.second) - dy * (pm->first - pa.first)) / corde
                : std::hypot(pm->first - pa.first, pm->second - pa.second);
        if (ecart > tolerance_ && niveau < 14) {
            Affine(point, ua, pa, um, *pm, niveau + 1);
            Affine(point, um, *pm, ub, pb, niveau + 1);
            return;
        }
        piece_.push_back(*pm);
        piece_.push_back(pb);
    }

    std::vector<LigneCadran>& sortie_;
    SorteLigne sorte_;
    std::string etiquette_;
    double tolerance_;
    std::vector<Point> piece_;
};

// "9 h", "9 h 30", "9 h 15".
std::string Heure(double h) {
    const int heures = static_cast<int>(std::floor(h));
    const int minutes = static_cast<int>(std::lround((h - heures) * 60));
    std::string texte = std::to_string(heures) + " h";
    if (minutes) texte += " " + std::to_string(minutes);
    return texte;
}

constexpr const char* Signes[] = {"Bélier",     "Taureau",    "Gémeaux", "Cancer",
                                  "Lion",       "Vierge",     "Balance", "Scorpion",
                                  "Sagittaire", "Capricorne", "Verseau", "Poissons"};
constexpr const char* Mois[] = {"janvier",   "février", "mars",     "avril",
                                "mai",       "juin",    "juillet",  "août",
                                "septembre", "octobre", "novembre", "décembre"};
constexpr const char* NomsSaisons[] = {"équinoxe de mars", "solstice de juin",
                                       "équinoxe de septembre", "solstice de décembre"};
}  // namespace

std::vector<LigneCadran> LignesCadran(const Cadran& c, const Site& site, const ChoixLignes& choix,
                                      const Trace& trace) {
    std::vector<LigneCadran> lignes;
    if (VerifieCadran(c, site.Latitude) != DefautCadran::Aucun) return lignes;
    const Dessin dessin(c, site, trace);
    const double tolerance = dessin.Tolerance();

    // The year's solstices and equinoxes: the Sun's declinations and distances then.
    double instants[4];
    Saisons(trace.annee, trace.TEmoinsTU, instants);
    std::array<Geocentre, 4> saisons{};
    for (int k = 0; k < 4; ++k) saisons[k] = PositionGeocentrique(instants[k], trace.TEmoinsTU);
    const double deltaMin = saisons[3].Declinaison, deltaMax = saisons[1].Declinaison;

    // Hour lines of apparent time: a fixed hour angle, the declination from solstice to solstice.
    const double pas = choix.quarts ? 0.25 : choix.demiHeures ? 0.5 : 1.0;
    for (double h = 0; h < 24; h += pas) {
        const double fraction = h - std::floor(h);
        const SorteLigne sorte = fraction == 0     ? SorteLigne::Heure
                                 : fraction == 0.5 ? SorteLigne::DemiHeure
                                                   : SorteLigne::QuartHeure;
        if ((sorte == SorteLigne::Heure && !choix.heures) ||
            (sorte == SorteLigne::DemiHeure && !choix.demiHeures))
            continue;
        Traceur t(lignes, sorte, Heure(h), tolerance);
        const double H = 15 * (h - 12);
        t.Courbe([&](double delta) { return dessin.Equatorial(H, delta, 0); }, deltaMin, deltaMax,
                 48);
    }

    // Date lines: a fixed declination through the day.
    const auto date = [&](const std::string& nom, double delta, double R) {
        Traceur t(lignes, SorteLigne::Date, nom, tolerance);
        t.Courbe([&](double H) { return dessin.Equatorial(H, delta, R); }, -180, 180, 720);
    };
    if (choix.dates)
        for (int k = 0; k < 4; ++k)
            date(NomsSaisons[k], saisons[k].Declinaison, saisons[k].RayonVecteur);
    if (choix.signes) {
        // On the ecliptic (latitude 0) at the year's obliquity, that of the June solstice.
        const double sinEpsilon = std::sin(deltaMax * Rad);
        for (int k = 0; k < 12; ++k)
            date(Signes[k], std::asin(sinEpsilon * std::sin(30 * k * Rad)) * Deg, 1.0);
    }
    if (choix.mois)
        for (int m = 0; m < 12; ++m) {
            const Geocentre g = PositionGeocentrique(
                EncodeDateValeur(trace.annee, m + 1, 1, 12, 0, 0), trace.TEmoinsTU);
            date(std::string("1er ") + Mois[m], g.Declinaison, g.RayonVecteur);
        }

    // Mean time of the zone's meridian: each whole hour on every day of the year, and back to
    // the first day to close the figure.
    if (choix.analemmes)
        for (int h = 0; h < 24; ++h) {
            Traceur t(lignes, SorteLigne::Analemme, Heure(h), tolerance);
            const double jours = EncodeDateValeur(trace.annee + 1, 1, 1, 0, 0, 0) -
                                 EncodeDateValeur(trace.annee, 1, 1, 0, 0, 0);
            for (int j = 0; j <= jours; ++j)
                t.Ajoute(
                    dessin.A(EncodeDateValeur(trace.annee, 1, 1 + (j % static_cast<int>(jours)),
                                              h - trace.meridien / 15, 0, 0)));
        }

    // Babylonian and Italic hours: n hours after sunrise, and after the previous sunset, over
    // the declinations of the year (where the Sun rises and sets at the site).
    const double tanPhi = std::tan(site.Latitude * Rad);
    const auto lever = [&](double delta) -> std::optional<double> {
        const double cosH = -tanPhi * std::tan(delta * Rad);
        if (!(std::fabs(cosH) < 1)) return std::nullopt;
        return -std::acos(cosH) * Deg;
    };
    for (int n = 1; n < 24; ++n) {
        if (choix.babyloniennes) {
            Traceur t(lignes, SorteLigne::Babylonienne, Heure(n), tolerance);
            t.Courbe(
                [&](double delta) -> std::optional<Point> {
                    const auto H0 = lever(delta);
                    if (!H0 || *H0 + 15 * n >= -*H0) return std::nullopt;
                    return dessin.Equatorial(*H0 + 15 * n, delta, 0);
                },
                deltaMin, deltaMax, 48);
        }
        if (choix.italiques) {
            Traceur t(lignes, SorteLigne::Italique, Heure(n), tolerance);
            t.Courbe(
                [&](double delta) -> std::optional<Point> {
                    const auto H0 = lever(delta);
                    if (!H0 || -*H0 + 15 * n - 360 <= *H0) return std::nullopt;
                    return dessin.Equatorial(-*H0 + 15 * n - 360, delta, 0);
                },
                deltaMin, deltaMax, 48);
        }
    }
    return lignes;
}

std::pair<double, double> CentreDesLignes(const Cadran& c, const Site& site, const Trace& trace) {
    Trace large = trace;
    large.largeur = std::min(1e6, 4 * trace.largeur);
    large.hauteur = std::min(1e6, 4 * trace.hauteur);
    large.centreX = large.centreY = 0;
    ChoixLignes heures;  // the hours alone
    heures.dates = false;
    std::vector<double> x, y;
    for (const LigneCadran& l : LignesCadran(c, site, heures, large)) {
        const int h = std::stoi(l.etiquette);
        if (h < 9 || h > 15) continue;
        for (const auto& [px, py] : l.points) x.push_back(px), y.push_back(py);
    }
    if (x.empty()) return {0, 0};
    const auto milieu = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    return {milieu(x), milieu(y)};
}

}  // namespace PosSoleil
