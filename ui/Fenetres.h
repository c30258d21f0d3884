// Creation of the program's four windows, and what they share: the program's icon, the
// placing of controls in a window's pixel grid, and centring on the screen.
#pragma once

class QWidget;
class QIcon;

namespace Fenetres {

// Creates EphPosition, TEmoinsTUdlg, AboutBox and Ephemeride, in this order, each complete
// before the next; only the main window is shown, by the caller.
void CreeFenetres();

// Deletes the four windows, the reverse of their creation.
void DetruitFenetres();

// The program's main icon: a sun, drawn once.
QIcon IconeProgramme();

// The pixel grid of the layouts is that of a small 8-point interface font; it is scaled to
// the font in use so that no caption is clipped.
double Echelle();

// Places a control at Left, Top, Width, Height of that grid. Labels, check boxes, radio
// buttons and push buttons never get narrower than their text needs.
void Place(QWidget* controle, int gauche, int haut, int largeur, int hauteur);

// Fixes a window's client area to the grid size and centres it on its screen.
void FixeEtCentre(QWidget* fenetre, int largeur, int hauteur);

}  // namespace Fenetres
