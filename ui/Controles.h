// What every window uses to build itself: the program's icon, controls created by name on a
// window's pixel grid, the secondary windows' frame, and centring on the screen.
#pragma once

#include <QDate>
#include <functional>
#include <initializer_list>
#include <QString>
#include <QTime>
#include <QWidget>

class QDateEdit;
class QDialog;
class QIcon;
class QImage;
class QTimeEdit;
class TMaskEdit;

namespace Controles {

// The program's main icon: a sun, drawn once.
QIcon IconeProgramme();

// The same sun drawn at one size, for the icon files that desktops use.
QImage ImageIcone(int taille);

// The pixel grid of the layouts is that of a small 8-point interface font; it is scaled to
// the font in use so that no caption is clipped.
double Echelle();

// Places a control at Left, Top, Width, Height of that grid. Labels, check boxes, radio
// buttons and push buttons never get narrower than their text needs.
void Place(QWidget* controle, int gauche, int haut, int largeur, int hauteur);

// A secondary window: its name, caption, a fixed frame whose title bar has only a close button,
// modal or not.
void PrepareDialogue(QDialog* dialogue, const char* nom, const QString& titre, bool modal);

// Fixes a window's client area to the grid size and centres it on its screen.
void FixeEtCentre(QWidget* fenetre, int largeur, int hauteur);

// Centres a window of its present size on its screen. The client area is placed, not the
// frame (which the window manager adds and Qt learns only once the window is shown), so every
// opening puts the window at the same place; the title bar is kept on the screen.
void Centre(QWidget* fenetre);

// Shrinks a resizable window to what its screen can show with its frame, then centres it: at
// 800 x 600 every window stays whole and reachable.
void AjusteALEcran(QWidget* fenetre);

// Ctrl+C anywhere in a window calls `copie`, in the given controls too, which would otherwise
// keep it for their own text.
void CopieAuClavier(QWidget* fenetre, std::function<void()> copie,
                    std::initializer_list<QWidget*> controles);

// Asks where to save a picture, as one of two formats (their names and suffixes, the first the
// default): the path chosen with its suffix, the chosen filter's when none of the two was typed;
// empty when the dialog was cancelled.
QString CheminAEnregistrer(QWidget* parent, const QString& titre, const QString& defaut,
                           const QString& nom1, const QString& suffixe1, const QString& nom2,
                           const QString& suffixe2);

// A control named `nom` in `parent`, with its caption (text or group title), placed on the grid.
template <class T>
T* Cree(QWidget* parent, const char* nom, const QString& texte, int gauche, int haut, int largeur,
        int hauteur) {
    auto* controle = new T(parent);
    controle->setObjectName(QLatin1String(nom));
    if constexpr (requires { controle->setTitle(texte); })
        controle->setTitle(texte);
    else if constexpr (requires { controle->setText(texte); })
        controle->setText(texte);
    Place(controle, gauche, haut, largeur, hauteur);
    return controle;
}

// A masked field (Qt's mask letters) holding `texte`, placed on the grid.
TMaskEdit* CreeMasque(QWidget* parent, const char* nom, const QString& masque, const QString& texte,
                      int gauche, int haut, int largeur, int hauteur);

// A date picker in the system's long date format with a drop-down calendar, limited to the
// windows' dates (1 January of Contrat::AnneeDebutFenetres to 1 January of
// Contrat::AnneeFinFenetres), and a time picker to the second.
QDateEdit* CreeDate(QWidget* parent, const char* nom, QDate date, int gauche, int haut, int largeur,
                    int hauteur);
QTimeEdit* CreeHeure(QWidget* parent, const char* nom, QTime heure, int gauche, int haut,
                     int largeur, int hauteur);

}  // namespace Controles
