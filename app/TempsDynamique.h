// Dynamical time - UTC by default (the leap seconds' table and the model of Delta T) and the
// range of instants answered for: what orvanel-cli, the C library and the Python module share.
// Standard library only.
#pragma once

namespace Cli {

// TAI - UTC in seconds at a UTC date-time value, from the table of leap seconds since
// 1972-01-01 (10 s then); the last entry's value is kept after it, the first before it.
int TaiMoinsUtc(double t) noexcept;

// The UTC date-time value from which the leap-second table is no longer confirmed: the next
// date on which a leap second could be inserted after the last one announced as absent.
double FinTableSauts() noexcept;

// Delta T = TT - UT1 in seconds at a date-time value, from the polynomials of Espenak and Meeus
// (Five Millennium Canon of Solar Eclipses, NASA TP-2006-214141), whatever the date.
double DeltaTModele(double t) noexcept;

// Where dynamical time - UTC came from.
enum class SourceTt { Table, Modele, TaiUtc, TtUtc };
struct TtUtc {
    double secondes;
    SourceTt source;
};

// The default dynamical time - UTC at a UTC date-time value: TAI - UTC + 32.184 s while the
// leap-second table is confirmed; before 1972 the model; after the table the model shifted to
// meet the table's last value, the shift fading linearly to nothing by 2150.
TtUtc TtMoinsUtcParDefaut(double t) noexcept;

// The source's word in CSV and JSON: "table", "modele", "tai_utc", "tt_utc".
const char* NomSource(SourceTt source) noexcept;

// The dates every command accepts without --force: 1980-01-01T00:00:00Z to 2250-12-31T23:59:59Z.
double PremierInstant() noexcept;
double FinInstants() noexcept;  // 2251-01-01T00:00:00Z, excluded
inline bool DansLesDates(double t) noexcept {
    return t >= PremierInstant() && t < FinInstants();
}

}  // namespace Cli
