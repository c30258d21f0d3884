// What the command-line program is made of, apart from its argument parsing: time scales,
// the readers of angles and dates, and the rows it writes. No Qt.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "PosSoleil.h"

namespace Cli {

// A usage error: its French message goes to standard error and the program ends with status 2.
struct ErreurUsage {
    std::string message;
};

// ---- Time scales ----

// TAI - UTC in seconds at a UTC date-time value, from the table of leap seconds since
// 1972-01-01 (10 s then); the last entry's value is kept after it, the first before it.
int TaiMoinsUtc(double t) noexcept;

// ---- Readers (each throws ErreurUsage with a French message) ----

// An angle in decimal degrees ("2.03", "-70.5") or in the program's sexagesimal text
// ("002°01'49\"", "-33°52'10.5\"").
double LitAngle(std::string_view texte, std::string_view option);

// An ISO 8601 instant: "2026-12-08T12:00:00Z", "2026-12-08T13:00:00+01:00", "2026-12-08 12:00",
// or a date alone (midnight); without an offset it is UTC. Returns the UTC date-time value,
// to the millisecond.
double LitInstant(std::string_view texte, std::string_view option);

// ---- Settings and rows ----

enum class Format { Texte, Csv, Json };

struct Reglages {
    PosSoleil::Site site;
    double ttMoinsUtc = 0;  // used when fixe is true
    bool ttFixe = false;    // from --tai-utc or --tt-utc; else from the leap-second table
    double dut1 = 0;        // UT1 - UTC, seconds
    bool refraction = false;
    double temperature = 10;  // degrees Celsius
    double pressionMmHg = 760;
    bool zenith = false, sud = false;
    std::string fuseau;  // time zone for legal time, empty for none
    Format format = Format::Texte;
    std::string separateur = ".";  // decimal separator of the texts
};

// Dynamical time - UTC in force at t.
double TtMoinsUtcA(const Reglages& r, double t) noexcept;

// The position at t: the driver with UT1 for the sidereal time and dynamical time for the rest.
PosSoleil::Position Calcule(const Reglages& r, double t) noexcept;

// "YYYY-MM-DDTHH:MM:SS.mmmZ" of a UTC date-time value, and its legal time in the zone.
std::string TexteIso(double t);
std::string TexteLegal(double t, const std::string& fuseau);

// Shortest text that reads back to the same double.
std::string Nombre(double x);

// The `position` command's output for one instant.
void EcritPosition(std::ostream& sortie, const Reglages& r, double t);

// The `table` command: rows from `debut` every `pasJours`, `nombre` of them (at least one,
// and none past the year 2251, as in the generator), on `taches` threads, in order.
void EcritTable(std::ostream& sortie, const Reglages& r, double debut, double pasJours,
                long long nombre, int taches);

// The `jour` command: the day's events at the site.
void EcritJour(std::ostream& sortie, const Reglages& r, int annee, int mois, int jour);

}  // namespace Cli
