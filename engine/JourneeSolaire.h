// The solar day and the sky of a site: the day's culminations and crossings of the thresholds,
// a site's own horizon, and the year. Included by PosSoleil.h, its public header.
#pragma once

#include <limits>
#include <span>
#include <string>
#include <vector>

#include "PosSoleil.h"

namespace PosSoleil {

// ---- The solar day --------------------------------------------------------------------------

// The day of a site: the 24 hours from its local mean midnight, 00:00 UTC of the date minus
// Longitude / 15 hours, so that the events fall on the site's own day on both sides of the
// date line.
// Given:    Annee, Mois, Jour  the date; Longitude  degrees, East positive
// Returned: the date-time value (UTC) at which the day begins
double DebutJournee(int Annee, int Mois, int Jour, double Longitude) noexcept;

// Semi-diameter of the Sun and standard refraction at the horizon, in arcminutes: together the
// rise-set altitude -0°50' of the almanacs.
// References: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 15.
inline constexpr double DemiDiametreMinutes = 16.0;
inline constexpr double RefractionHorizontaleMinutes = 34.0;

// The thresholds of the events: altitudes of the Sun's centre as the driver returns them
// (topocentric, without refraction), degrees. Rise and set at -0°50' (the two above); then
// civil, nautical and astronomical twilight. Hauteur: an altitude of the caller's own (see
// Ciel).
enum class Seuil { LeverCoucher, Civil, Nautique, Astronomique, Hauteur };
inline constexpr double HauteursSeuils[] = {
    -(DemiDiametreMinutes + RefractionHorizontaleMinutes) / 60.0, -6.0, -12.0, -18.0};
inline constexpr int NombreSeuils = 4;

enum class TypeEvenement {
    Passage,           // upper culmination: the topocentric hour angle crosses 0
    PassageInferieur,  // lower culmination: it crosses 180
    Montee,            // a threshold crossed upwards: rise, or the dawn of a twilight
    Descente,          // a threshold crossed downwards: set, or the dusk of a twilight
};

struct Evenement {
    TypeEvenement type;
    Seuil seuil;     // for Montee and Descente
    double t;        // UTC date-time value
    double azimut;   // degrees from north through east
    double hauteur;  // degrees
    double cible;    // for Montee and Descente, the altitude crossed: the threshold's, or at a
                     // skyline the one it asks for at that azimuth; degrees
};

// What a threshold did during the day: crossed at least once, or never because the Sun stayed
// above it (polar day) or below it (polar night) all day.
enum class EtatSeuil { Franchi, ToujoursAuDessus, ToujoursAuDessous };

// ---- The sky of a site ----------------------------------------------------------------------

// A point of a skyline: its azimuth from north through east and its apparent altitude, degrees.
struct PointHorizon {
    double azimut;
    double hauteur;
};

// What a site's day is measured against beyond the flat horizon at sea level:
// - hauteurOeil H, metres above a flat sea or plain horizon: rise and set when the centre
//   (topocentric, without refraction) crosses -50' - 1.76' sqrt(H), the horizon lowered by its
//   dip; the twilights keep their -6, -12 and -18 degrees;
// - hauteurs: altitudes of the centre (topocentric, without refraction) whose crossings up and
//   down are events of their own, such as +6 and -4 degrees, where the golden and blue hours
//   usually end;
// - horizon: a skyline, interpolated linearly in azimuth around the whole circle: rise and set
//   when the upper limb, refracted, touches it, that is when the centre crosses
//   HauteurHorizon(A) at the Sun's azimuth A; the Sun may set and rise again behind it.
// A skyline and an eye height together make no sense: the skyline already is what the eye sees.
struct Ciel {
    double hauteurOeil = 0.0;
    std::vector<double> hauteurs;
    std::vector<PointHorizon> horizon;
};

inline constexpr double HauteurOeilMax = 10000.0;              // metres
inline constexpr double HorizonMin = -2.0, HorizonMax = 90.0;  // a skyline's altitudes, degrees
// The altitudes a caller's own threshold may take, degrees: the zenith and the nadir.
inline constexpr double HauteurSoleilMin = -90.0, HauteurSoleilMax = 90.0;

// Why a sky cannot be used, in the order it is checked; the faces word it.
enum class DefautCiel {
    Aucun,
    HauteurOeil,     // eye height outside 0..HauteurOeilMax
    Hauteur,         // an own altitude outside HauteurSoleilMin..HauteurSoleilMax
    HauteurRepetee,  // an own altitude given twice
    HorizonEtOeil,   // a skyline with an eye height: the skyline already is what the eye sees
    HorizonCourt,    // a skyline of fewer than two points
    AzimutHorizon,   // a skyline's azimuth that is not finite
    HauteurHorizon,  // a skyline's altitude outside HorizonMin..HorizonMax
};
// The first fault of a sky, DefautCiel::Aucun for a sky that can be used.
// Returned: valeur  the number at fault (the altitude, the eye height...), unchanged for Aucun
DefautCiel VerifieCiel(const Ciel& ciel, double& valeur) noexcept;

// The altitude of the centre at rise and set seen from H metres: -50' - 1.76' sqrt(H), degrees.
double HauteurLeverCoucher(double hauteurOeil) noexcept;

// Refraction at the apparent altitude a (degrees) of a skyline:
// 34' cot(a + 7.31 / (a + 4.4)) / cot(7.31 / 4.4), degrees, exactly 34' at a = 0.
double RefractionHorizon(double a) noexcept;

// A skyline as the day's events use it: its points sorted by azimuth (reduced to [0, 360)),
// and the altitude it asks of the centre at an azimuth.
class Horizon {
public:
    explicit Horizon(std::vector<PointHorizon> points);
    // The skyline's apparent altitude at an azimuth, degrees, linear between its neighbours
    // around the circle.
    double Profil(double azimut) const noexcept;
    // The centre's altitude at which the upper limb, refracted, touches the skyline there:
    // p(A) - 16' - R(p(A)).
    double HauteurCentre(double azimut) const noexcept;
    double Min() const noexcept { return min_; }  // the least and greatest of HauteurCentre
    double Max() const noexcept { return max_; }

private:
    static double Centre(double profil) noexcept;  // the centre's altitude for a skyline's
    std::vector<PointHorizon> points_;
    double min_ = 0.0, max_ = 0.0;
};

// A day of a site: its events and the states of its thresholds, in its sky.
struct JourSolaire {
    double debut;                          // the day's start, see DebutJournee
    std::vector<Evenement> evenements;     // in time order
    EtatSeuil etats[NombreSeuils];         // rise-set (of that sky) and the three twilights
    std::vector<EtatSeuil> etatsHauteurs;  // one per altitude of Ciel::hauteurs, in its order
    double duree;           // hours between rise and set, the Sun seen above that sky's horizon
    double variationDuree;  // duree minus that of the previous day, hours
};

// The day's events of a site in a sky (see Ciel): every crossing it asks for.
// Given:    Annee, Mois, Jour  the date; site; ciel; TEmoinsTU  dynamical time - UTC, seconds;
//           TEmoinsTUVeille  the same for the previous day (whose day length is compared),
//           TEmoinsTU when NaN
// Returned: the day; throws std::invalid_argument for a sky that VerifieCiel refuses
JourSolaire JourneeSolaire(int Annee, int Mois, int Jour, const Site& site, const Ciel& ciel,
                           double TEmoinsTU,
                           double TEmoinsTUVeille = std::numeric_limits<double>::quiet_NaN());

// The day's events for a site under the flat horizon at sea level: the culminations and the
// crossings of the four standard thresholds. Between a lower and an upper culmination the
// altitude is monotonic, so each crossing is bracketed there and none is missed or invented;
// each time is then refined to a millisecond.
// Given:    Annee, Mois, Jour  the date; site; TEmoinsTU  dynamical time - UTC, seconds
// Returned: the events in time order (ten at most), each threshold's state, the day length and
//           its change
JourSolaire JourneeSolaire(int Annee, int Mois, int Jour, const Site& site, double TEmoinsTU);

// Every date of a calendar year at a site, each exactly the JourneeSolaire of that date: the
// Sun's geocentric part is computed once for the whole year, and each day's length serves the
// next day's change.
// Given:    Annee; site; ciel; TEmoinsTU  one value per date from 31 December of the year
//           before (the first day's eve) to 31 December: 366 or 367 values
// Returned: 365 or 366 days; throws std::invalid_argument for a bad sky or count
std::vector<JourSolaire> AnneeSolaire(int Annee, const Site& site, const Ciel& ciel,
                                      std::span<const double> TEmoinsTU);

// Whether a year has 366 days (proleptic Gregorian calendar).
bool AnneeBissextile(int Annee) noexcept;

}  // namespace PosSoleil
