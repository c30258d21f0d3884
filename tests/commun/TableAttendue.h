// The ephemeris table that the generator window and `orvanel-cli table --format texte` must
// write, built apart from them: the calendar by std::chrono, each row's angles from the
// engine's value form, the texts written out here. For the window, end-to-end and CLI tests.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace TableAttendue {

// The nine lines of the template, before any generation.
std::vector<std::string> Modele();

// The header of a generated table: the template with its reference, site and column lines.
std::vector<std::string> EnTete(bool zenith, bool sud, const std::string& site);

// The site line of the start-up site.
inline const std::string SiteDefaut = "Longitude E  02°01'49\", Latitude N  42°29'48\"";

struct Reglages {
    std::chrono::sys_seconds debut;  // UTC
    long long pasSecondes = 1;
    long long lignes = 1;  // rows asked for; the table stops after the first row past 2251
    double longitude = 7309.0 / 3600, latitude = 152988.0 / 3600;
    double tEmoinsTU = 64.184;
    bool zenith = false, sud = false;
    std::string separateur = ".";
};

// One row at an instant.
std::string Rangee(std::chrono::sys_seconds t, const Reglages& r);

// The rows of a table, without its header.
std::vector<std::string> Rangees(const Reglages& r);

// Lines joined, each ended by CR LF, as the clipboard holds them.
std::string Crlf(const std::vector<std::string>& lignes);

// The whole table: header and rows, CR LF line ends.
std::string Table(const Reglages& r, const std::string& site = SiteDefaut);

// Degrees, minutes and seconds rounded as a whole to the second, as the solar day's texts
// write them: 151°11'59.6" is " 151°12'00"".
std::string DmsArrondi(double angle);

}  // namespace TableAttendue
