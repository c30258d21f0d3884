// The texts of the ephemeris table, shared by the generator window and the command-line
// program: its template, its site line, its column header and its rows. No Qt.
#pragma once

#include <string>

#include "PosSoleil.h"

namespace Tableau {

// The nine lines of the table's template.
extern const char* const Modele[9];

// The site line of the header: "Longitude E  02°01'49\", Latitude N  42°29'48\"", with the
// given hemispheres (East, North) and the magnitudes written from the signed values.
std::string LigneSite(double longitude, double latitude, bool est, bool nord,
                      const std::string& separateur);

// The reference of azimuths (line 4) and the column header (line 8) for the two options.
std::string LigneReference(bool sud);
std::string LigneColonnes(bool zenith);

// One row: date and time, then the two angles with their seconds mark.
std::string Ligne(int annee, int mois, int jour, int heure, int minute, int seconde, double hauteur,
                  double azimut, const std::string& separateur);

// The French name of a day's event: "Lever", "Crépuscule civil", "Passage au méridien"...
std::string NomEvenement(const PosSoleil::Evenement& e);

// What a threshold never crossed in the day means, in words: "Jour polaire : ..."
std::string TexteEtat(PosSoleil::Seuil seuil, PosSoleil::EtatSeuil etat);

// Hours as "HH:MM:SS" (rounded to the second), with a sign when asked.
std::string Duree(double heures, bool signe);

}  // namespace Tableau
