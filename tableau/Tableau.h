// The ephemeris table's rules and texts, shared by the generator window and the command-line
// program: the dates they accept, dynamical time from TAI - UTC, the series of instants and
// where it ends, the step's units, the zenith and south options, the template, the site line,
// the column header and the rows. No Qt.
#pragma once

#include <algorithm>
#include <iosfwd>
#include <string>
#include <vector>

#include "Contrat.h"
#include "PosSoleil.h"

namespace Tableau {

// ---- Rules ----------------------------------------------------------------------------------

// Dynamical time - UTC for a whole TAI - UTC in seconds: the double nearest n + 32.184, as an
// exact quotient of integers rounded once.
double TEmoinsTU(int taiMoinsUtc) noexcept;

// The step's units, in the order of the generator's list, and the step in days.
enum class Unite { Secondes, Minutes, Heures, Jours };
double Diviseur(Unite unite) noexcept;  // 86400, 1440, 24, 1: what a step of 1 is in days
inline double PasEnJours(double pas, Unite unite) noexcept {
    return pas / Diviseur(unite);
}

// A series ends after its first row dated after this year, whatever the count: the year after
// the program's last.
inline constexpr int AnneeFinSerie = Contrat::DerniereAnnee + 1;

// The i-th instant of a series: from the start afresh in extended precision (no rounding
// accumulates over the rows), split into calendar fields after rounding to the millisecond,
// the millisecond then dropped so that the row shows the whole second it is computed for.
struct Instant {
    int annee, mois, jour, heure, minute, seconde;
    double t;  // the date-time value of those fields
};
Instant InstantSerie(double debut, double pasJours, long long i) noexcept;

// How many rows a count asks for: a count of 0 still gives one row.
inline long long LignesDemandees(long long nombre) noexcept {
    return std::max(nombre, 1LL);
}

// Rows de..a-1 of a series: ligne(instant, i) for each, until it returns false, or after the
// first row past AnneeFinSerie. Returns true when the series ended at that year.
template <class F>
bool Rangees(double debut, double pasJours, long long de, long long a, F&& ligne) {
    for (long long i = de; i < a; ++i) {
        const Instant c = InstantSerie(debut, pasJours, i);
        if (!ligne(c, i)) return false;
        if (c.annee > AnneeFinSerie) return true;
    }
    return false;
}

// The table's two options: the zenith distance instead of the altitude, and the azimuth from
// true south (so below 180 from north it turns negative).
inline double HauteurOuZenith(double hauteur, bool zenith) noexcept {
    return zenith ? 90 - hauteur : hauteur;
}
inline double AzimutDepuis(double azimut, bool sud) noexcept {
    return sud ? azimut - 180 : azimut;
}

// ---- Texts ----------------------------------------------------------------------------------

// The nine lines of the table's template.
extern const char* const Modele[9];

// The site line of the header: "Longitude E  02°01'49\", Latitude N  42°29'48\"", with the
// given hemispheres (East, North) and the magnitudes written from the signed values. The
// generator's header carries nothing into the minute (151°11'60"); the other texts ask for
// `retenue` and read 151°12'00".
std::string LigneSite(double longitude, double latitude, bool est, bool nord,
                      const std::string& separateur, bool retenue = false);

// Degrees (or hours), minutes and seconds as the program writes them (sign place, at least two
// digits of degrees), but rounded as a whole, so that seconds that round to 60 carry into the
// minute and on: the texts of the solar day and of orvanel-cli. Exactly zero is " 00°00'00"".
// Given:    angle  degrees; decimals  of the seconds, 0..9; separateur  decimal separator
std::string TexteDMS(double angle, int decimals, const std::string& separateur);
std::string TexteHMS(double angle, int decimals, const std::string& separateur);  // angle / 15

// The reference of azimuths (line 4) and the column header (line 8) for the two options.
std::string LigneReference(bool sud);
std::string LigneColonnes(bool zenith);

// One row: date and time, then the two angles with their seconds mark.
std::string Ligne(int annee, int mois, int jour, int heure, int minute, int seconde, double hauteur,
                  double azimut, const std::string& separateur);

std::string NomEvenement(const PosSoleil::Evenement& e);

// The French name of a day's event: "Lever", "Crépuscule civil", "Passage au méridien",
// "Montée à +6°" for an altitude of the caller's own...
// What a threshold never crossed in the day means, in words: "Jour polaire : ...", and for an
// altitude of the caller's own "Le Soleil reste sous +6°".
std::string TexteEtat(PosSoleil::Seuil seuil, PosSoleil::EtatSeuil etat);
// Whether a day that never rises above its sky's horizon has the Sun above the plain's horizon
// (-0°50') at its transit: then the relief hides it, it is no polar night.
bool CacheParLeRelief(const PosSoleil::JourSolaire& jour, const PosSoleil::Ciel& ciel);
// The rise and set's state as a day in its sky says it: "Soleil caché par le relief..." where
// the relief hides it, TexteEtat's words otherwise.
std::string TexteEtatLever(const PosSoleil::JourSolaire& jour, const PosSoleil::Ciel& ciel);
std::string TexteEtat(double hauteur, PosSoleil::EtatSeuil etat);

// An altitude of the caller's own with its sign and shortest decimals: "+6°", "-4°", "+0.5°".
std::string TexteHauteur(double hauteur);

// Hours as "HH:MM:SS" (rounded to the second), with a sign when asked; a change that rounds
// to zero seconds is "+00:00:00", never a negative zero.
std::string Duree(double heures, bool signe);

// A kind of event of a year's row or column: a day's crossings of one kind (usually one;
// behind a skyline the Sun may rise and set twice). `cle` names it in CSV and JSON (without
// the time's suffix), `titre` in texts.
struct Sorte {
    std::string cle, titre;
    PosSoleil::TypeEvenement type;
    PosSoleil::Seuil seuil;
    double hauteur;  // for the caller's own altitudes
    bool Est(const PosSoleil::Evenement& e) const noexcept;
};

// Rise, transit, set, then the dawn and dusk of each twilight (SortesFixes of them), then a
// rise and a fall through each of the caller's altitudes.
inline constexpr std::size_t SortesFixes = 9;
std::vector<Sorte> Sortes(const std::vector<double>& hauteurs);

// A skyline from a CSV text with the header "azimuth,altitude" (degrees, '.' decimals), one
// point a line, at least two; blank lines and lines starting with '#' are skipped. Every
// refusal throws std::invalid_argument naming the file and the line:
// "« h.csv » ligne 4 : hauteur hors de -2 à 90 degrés : « 95 »".
std::vector<PosSoleil::PointHorizon> LitHorizon(std::istream& entree, const std::string& nom);

// Why a sky cannot be used, in French ("hauteur de l'horizon hors de -2 à 90 : 95"), from the
// engine's PosSoleil::VerifieCiel; empty for a sky that can be used.
std::string ErreurCiel(const PosSoleil::Ciel& ciel);

}  // namespace Tableau
