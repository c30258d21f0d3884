// Civil time as the faces tell it: the ISO 8601 texts of UTC instants and legal time in a named
// zone of the time-zone database, the zone's period kept between calls. No Qt; the date
// library reads the zones.
#pragma once

#include <date/tz.h>

#include <memory>
#include <string>

#include "RegleFuseau.h"

namespace Legal {

// Milliseconds since 1970-01-01T00:00:00Z of a date-time value, rounded once: the UTC text and
// the legal text of a row both come from it, so they always show the same instant.
long long MsUnix(double t) noexcept;

// "YYYY-MM-DDTHH:MM:SS.mmmZ" (millis) or "YYYY-MM-DDTHH:MM:SSZ" (whole seconds, rounded).
std::string TexteIso(double t);
void AjouteIso(std::string& texte, double t);  // the same, appended
char* EcritIso(char* p, double t) noexcept;    // or written at p (24 characters), past them
std::string TexteSecondes(double t);

// Legal time in a zone, the zone's period kept between calls (rows come in order). Not shared
// between threads. The zone's listed changes come from the time-zone database; after the last
// of them (2037 in the files Debian installs), the rule that ends the zone's file, as the C
// library applies it: summer time goes on being kept. An unknown zone throws
// std::runtime_error from the date library.
class HeureLegale {
public:
    explicit HeureLegale(const std::string& fuseau);
    ~HeureLegale();
    HeureLegale(HeureLegale&&) noexcept;
    // The zone's offset from UTC at a UTC date-time value, seconds, and its abbreviation.
    const date::sys_info& Periode(date::sys_seconds s);
    // The legal calendar date at a UTC date-time value.
    date::year_month_day Date(double t);
    // "YYYY-MM-DDTHH:MM:SS.mmm+02:00" of the same millisecond as TexteIso, or with `secondes`
    // "YYYY-MM-DDTHH:MM:SS+02:00" of the same second as TexteSecondes; and the abbreviation.
    std::string Texte(double t, bool secondes = false);
    const std::string& Abreviation() const noexcept { return info_.abbrev; }
    // The abbreviation as CSV writes it: one made of an offset alone ("+0545") becomes
    // "UTC+0545", so that a reader takes the column for text, not for the number 545.
    std::string AbreviationTexte() const {
        const std::string& a = info_.abbrev;
        return !a.empty() && (a.front() == '+' || a.front() == '-') ? "UTC" + a : a;
    }

private:
    const date::time_zone* zone_;
    std::unique_ptr<RegleFuseau> regle_;  // the rule after the listed changes, if any
    date::sys_seconds debutRegle_;        // from the start of the last listed period
    date::sys_info info_{};
};

}  // namespace Legal
