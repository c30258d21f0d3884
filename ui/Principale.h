// The main window as the other windows see it: the site and atmosphere it owns, the instant it
// shows, the display options they follow, its refresh. The main window fills it; the other
// windows include this header and never the main window's own, so that no window reaches back
// into the one that opens it.
#pragma once

#include <cstdint>
#include <string>

class TPrincipale {
public:
    // Computes the position for the instant shown and writes the result fields.
    virtual void MiseAJour() = 0;
    // The clock runs: the automatic mode, its timer active.
    virtual bool EnDirect() const = 0;
    // Azimuths from the south, as « Ref. Sud » asks.
    virtual bool DepuisLeSud() const = 0;

protected:
    ~TPrincipale() = default;
};

namespace Unit1 {

// The main window, once made.
extern TPrincipale* Principale;

// The site and the atmosphere, read by the refresh and by the generator.
extern double Longitude;    // degrees, East positive
extern double Latitude;     // degrees, North positive
extern double Temperature;  // degrees Celsius, within Contrat::TemperatureFenetre
extern double Pression;     // centimetres of mercury, within Contrat::PressionMmHg / 10

// The instant shown, UTC, and the last clock reading.
extern double Maintenant;  // days since 1899-12-30 00:00
extern std::uint16_t DerniereSeconde;
extern std::uint16_t Annee, Mois, Jour, Heure, Minute, Seconde, MilliSeconde;

// The results of the last refresh, after the display options.
extern double AscensionDroite, Declinaison, RayonVecteur, Hauteur, Azimut;

// The decimal separator of the user's regional settings, as UTF-8.
std::string SeparateurDecimal();

// The instant that the main window shows, in either clock mode: a UTC date-time value.
double InstantAffiche();

// The site line of the tables' headers: "Longitude E  02°01'49\", Latitude N  42°29'48\"", the
// hemispheres as the main window's radio buttons show them; seconds carried into the minute
// when `retenue` is set.
std::string LigneSite(const std::string& separateur, bool retenue = false);

}  // namespace Unit1
