// What the window tests share: the windows, a fixed clock, a captured error report, and the
// texts that the engine itself gives for an instant.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Aides {

// Creates the four windows once for the test program (a second call keeps them), with a
// reporter that records the error messages instead of opening a box.
void CreeFenetres();

// Creates the windows, stops the main window's clock and shows it, exposed.
bool CreeEtMontrePrincipale();

// The messages reported since the last call, emptied.
QStringList Erreurs();

// Puts the main window on a fixed UTC clock and runs one tick.
void FixeHorloge(const QDateTime& instant);

// The decimal separator the test expects: "." unless the environment says otherwise.
QString SeparateurAttendu();

// The engine's own results and texts for an instant at the current site.
struct Position {
    double ascensionDroite, declinaison, rayon, hauteur, azimut;
};
Position Calcule(const QDateTime& instant, double longitude, double latitude,
                 double TEmoinsTU = 64.184);
QString DMS(double angle, int decimals);
QString HMS(double angle, int decimals);

// A test program of several classes, one after the other on the same windows: the number of
// failures of them all. Each class's file gives its Lance function.
int LanceTestUnit1Saisie(int argc, char** argv);
int LanceTestUnit5Ciel(int argc, char** argv);
int LanceTestUnit6(int argc, char** argv);
int LanceTestUnit7(int argc, char** argv);

}  // namespace Aides
