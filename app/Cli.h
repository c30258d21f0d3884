// What the command-line program is made of, apart from its argument parsing: time scales,
// the readers of numbers, angles and dates, the texts of instants, and the rows it writes.
// No Qt.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Contrat.h"
#include "Journees.h"
#include "HeureLegale.h"
#include "Residents.h"
#include "PosSoleil.h"
#include "TempsDynamique.h"

namespace Cli {

// The time model and the program's dates, from the contract every face shares.
using Contrat::DansLesDates;
using Contrat::NomSource;
using Contrat::RunsLineaires;
using Contrat::SourceTEmoinsTU;
using Contrat::TEmoinsTUParDefaut;
using Contrat::ValeurTEmoinsTU;

// A text from the user as a message quotes it: at most its first 40 characters (then "…"), each
// byte that is not printable UTF-8 written \xNN, so that a huge or binary field never floods
// the terminal.
std::string Extrait(std::string_view texte);

// A usage error: its French message goes to standard error and the program ends with status 2,
// nothing written on standard output.
struct ErreurUsage {
    std::string message;
};

// A bad row of the batch input: status 3, every row before it written whole.
struct ErreurDonnees {
    std::string message;
};

// ---- Readers (each throws ErreurUsage, or ErreurDonnees for the batch input) ----

// A number between min and max, with a '.' or ',' decimal mark. The message names the option
// and the range with its unit: "valeur hors limites pour --lon : « 560 » (de -180 à 180 degrés)".
double LitNombre(std::string_view texte, std::string_view option, double min, double max,
                 std::string_view unite);
long long LitEntier(std::string_view texte, std::string_view option, long long min, long long max);
inline double LitNombre(std::string_view texte, std::string_view option, Contrat::Plage plage,
                        std::string_view unite) {
    return LitNombre(texte, option, plage.min, plage.max, unite);
}
// "de MIN à MAX unité": a range as the messages and the help say it, French decimal commas.
std::string TextePlage(double min, double max, std::string_view unite);
inline std::string TextePlage(Contrat::Plage plage, std::string_view unite) {
    return TextePlage(plage.min, plage.max, unite);
}

// An angle in decimal degrees ("2.03", "-70.5") or in the program's sexagesimal text
// ("002°01'49\"", "-33°52'10.5\""), within min..max.
double LitAngle(std::string_view texte, std::string_view option, double min = -1e300,
                double max = 1e300);

// An ISO 8601 instant: "2026-12-08T12:00:00Z", "2026-12-08T13:00:00+01:00", "2026-12-08 12:00",
// or a date alone (midnight); without an offset it is UTC. The UTC date-time value, to the
// millisecond, and the calendar day as written (the day that an offset belongs to).
struct Instant {
    double t;
    int annee, mois, jour;
};
std::optional<Instant> AnalyseInstant(std::string_view texte) noexcept;
double LitInstant(std::string_view texte, std::string_view option);

// ---- Texts of instants and legal time, from the time layer every face shares ----
using Legal::AjouteIso;
using Legal::EcritIso;
using Legal::HeureLegale;
using Legal::MsUnix;
using Legal::TexteIso;
using Legal::TexteSecondes;

// Shortest text that reads back to the same double.
std::string Nombre(double x);
void AjouteNombre(std::string& texte, double x);
char* EcritNombre(char* p, double x) noexcept;  // written at p (32 characters), past it

// ---- Standard output ----

// Standard output written through write(2), whole lines kept: when a write fails (a full disk,
// a file over its size limit, a closed descriptor), the error is kept, nothing more is written,
// and on a regular file what was written is cut back to its last complete line, so that no half
// row is ever left for a reader to take for a shorter number.
class SortieEntiere : public std::streambuf {
public:
    explicit SortieEntiere(int fd);
    ~SortieEntiere() override;
    // errno of the first failure, 0 while every write succeeded.
    int Erreur() const noexcept { return erreur_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool Vide();
    bool Ecrit(const char* texte, std::size_t taille);
    int fd_;
    int erreur_ = 0;
    long long debut_ = -1;                   // the file's offset at the start, for a regular file
    long long ecrits_ = 0, finDeLigne_ = 0;  // bytes written, and up to the last line end
    std::string tampon_;
};

// ---- Settings and rows ----

enum class Format { Texte, Csv, Json };

struct Reglages {
    PosSoleil::Site site;
    std::optional<ValeurTEmoinsTU> ttImpose;  // from --tai-utc or --tt-utc
    double dut1 = 0;                          // UT1 - UTC, seconds
    bool refraction = false;
    double temperature = Contrat::TemperatureParDefaut;  // degrees Celsius
    double pressionMmHg = Contrat::PressionParDefautMmHg;
    bool zenith = false, sud = false;
    std::string fuseau;  // time zone for legal time, empty for none
    Format format = Format::Texte;
    std::string separateur = ".";  // decimal separator of the texts
    std::string version;           // for the JSON header
    // The sky of the day's events (jour, annee) and the skyline's file, for the header.
    PosSoleil::Ciel ciel;
    std::string horizon;
    // The Sun on surfaces (position, table): a plane's tilt and azimuth, a tracker, and the air
    // mass and the irradiance above the atmosphere; each from the apparent (refracted) Sun.
    std::optional<std::pair<double, double>> plan;
    std::optional<PosSoleil::Suiveur> suiveur;
    bool energie = false;
};

// Dynamical time - UTC in force at t, and where it came from.
ValeurTEmoinsTU TEmoinsTUA(const Reglages& r, double t) noexcept;

// The position at t for a site: the driver with UT1 for the sidereal time and dynamical time
// for the rest.
PosSoleil::Position Calcule(const Reglages& r, const PosSoleil::Site& site, double t,
                            double TEmoinsTU) noexcept;
// The part of that position every site shares at t: with PositionTopocentrique, Calcule's
// figures to the bit.
PosSoleil::Geocentre GeocentreA(const Reglages& r, double t, double TEmoinsTU) noexcept;

// The `position` command's output for one instant.
void EcritPosition(std::ostream& sortie, const Reglages& r, double t);

// The `table` command: rows from `debut` every `pasJours`, `nombre` of them (at least one,
// and none past the year Tableau::AnneeFinSerie, as in the generator), on `taches` threads, in
// order.
struct Serie {
    std::string debut, unite;
    long long pas = 1, nombre = 1;
};
// The lines of a sundial as CSV rows of points, a JSON object, or (svg) an SVG at true scale.
void EcritCadran(std::ostream& sortie, const Reglages& r, const PosSoleil::Cadran& c,
                 const PosSoleil::Trace& trace, const std::vector<PosSoleil::LigneCadran>& lignes,
                 bool svg);
void EcritTable(std::ostream& sortie, const Reglages& r, double debut, double pasJours,
                long long nombre, int taches, const Serie& demande = {});

// `position --input`: rows "date,lon,lat[,height]" read from `entree`, one result each, in
// order, on `taches` threads, block by block. A bad row throws ErreurDonnees after every row
// before it was written; `force` lets dates outside the range through.
void EcritLot(std::ostream& sortie, std::istream& entree, const Reglages& r, int taches,
              bool force);

// What the site's days of `jour` and `annee` are computed from.
inline Legal::Lieu LieuDe(const Reglages& r) {
    return {r.site, r.ciel, r.ttImpose, r.dut1};
}

// The `jour` command: the day's events at the site, in the sky of r.ciel. Without a zone, the
// site's own day of that date; in legal time, the resident's: the site's day (from local mean
// midnight to local mean midnight, so that a distant site's events stay together) whose transit
// falls on that legal date, the day before or after where the zone is far from the site's
// longitude (Kiritimati, Samoa, Tonga).
void EcritJour(std::ostream& sortie, const Reglages& r, int annee, int mois, int jour);

// A skyline from a CSV file (Tableau::LitHorizon), a refusal a usage error naming the option,
// the file and the line: "--horizon « h.csv » ligne 4 : hauteur hors de -2 à 90 degrés : « 95 »".
std::vector<PosSoleil::PointHorizon> LitHorizon(std::istream& entree, const std::string& nom);

// The `annee` command: one row per date of the year at the site, in the sky of r.ciel; in legal
// time, row D holds the resident's day of D, as `jour` gives it.
void EcritAnnee(std::ostream& sortie, const Reglages& r, int annee);

}  // namespace Cli
