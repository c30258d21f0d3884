// The ephemeris generator: a table of the Sun's altitude (or zenith distance) and azimuth
// over a regular series of UTC instants, copied to the clipboard.
#pragma once

#include <string>

#include <QDialog>

#include "Tableau.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class TMaskEdit;
class TVueTable;

class TEphemeride : public QDialog {
    Q_OBJECT
public:
    explicit TEphemeride(QWidget* parent = nullptr);

    void FormCreate();
    void ValidClick();
    void Creation();
    void CopierClick();

    // One row of the table: date and time, then the two angles with their seconds mark.
    static std::string Ligne(int annee, int mois, int jour, int heure, int minute, int seconde,
                             double hauteur, double azimut, const std::string& separateur);

    // The step in days chosen by TypeBox: 86400, 1440, 24 or 1 to the day for the four items,
    // and days for a typed text that names none of them.
    double Diviseur() const;

    QLabel* Label1;
    QDateEdit* DatePicker;
    QLabel* Label2;
    QTimeEdit* TimePicker;
    QLabel* Label3;
    TMaskEdit* PasEdit;
    QLabel* Label4;
    QComboBox* TypeBox;
    QLabel* Label5;
    TMaskEdit* NombEdit;
    QPushButton* Copier;
    QPlainTextEdit* Memo2;
    QCheckBox* ZenithCheckB;
    QCheckBox* RefCheckB;
    QPushButton* Valid;
    TVueTable* Memo1;
    QLabel* Compteur;

protected:
    // Esc never hides the generator: a running generation would go on unseen.
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ActiveSaisies(bool actif);
    void PlaceCompteur();
};

namespace Unit4 {

extern TEphemeride* Ephemeride;

extern int Pas;     // the step, as read when a generation starts
extern int Nombre;  // the number of rows asked for
extern bool Arret;  // stop request, seen after the row in progress

// The nine lines of the table's template.
using Tableau::Modele;

// The site line of the table's header: "Longitude E  02°01'49\", Latitude N  42°29'48\"", the
// hemispheres as the main window's radio buttons show them; seconds carried into the minute
// when `retenue` is set (the generator's own header carries nothing).
std::string LigneSite(const std::string& separateur, bool retenue = false);

}  // namespace Unit4
