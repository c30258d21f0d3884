// The solar year of the site: a picture of the whole year (months across, the hours of the
// computer's legal time down, night, the three twilights and day, the transit), the equation
// of time and the analemma, and the table of every date's events.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QVector>
#include <vector>

#include "ImagesAnnee.h"
#include "PosSoleil.h"
#include "Tableau.h"

class QPainter;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

class TAnnee : public QDialog {
    Q_OBJECT
public:
    explicit TAnnee(QWidget* parent = nullptr);

    // Shows the year for a site, a time difference and a sky, or brings the window forward.
    void Ouvre(int annee, const PosSoleil::Site& site, double TEmoinsTU,
               const PosSoleil::Ciel& ciel);
    void Calcule();
    // Follows a site, a time difference and a sky while the window is shown: the year is
    // computed again when one of them is not the one it shows.
    void Suit(const PosSoleil::Site& site, double TEmoinsTU, const PosSoleil::Ciel& ciel);
    const PosSoleil::Ciel& Ciel() const { return ciel; }
    const PosSoleil::Site& Site() const { return site; }
    // What the year is of: the site, the legal time's zone and the sky, as the window, the
    // year's picture and the copied table say it.
    QString Description() const;

    void AnneeSpinChange();
    void EnregistrerClick();
    void CopierClick();

    // The table as copied: a header line, then a line per date, tab-separated, CR LF.
    QString TexteTable() const;
    // Saves the picture of the tab shown (or the first when the table is shown) as PNG or SVG,
    // after the file's suffix. False when the file cannot be written.
    bool EnregistreImage(const QString& chemin, int laquelle = -1) const;

    const DonneesAnnee& Donnees() const { return donnees; }

    QSpinBox* AnneeSpin;
    QTabWidget* Onglets;
    TImageAnnee* ImageAnnee;
    TImageEquation* ImageEquation;
    QTableWidget* Table;
    QPushButton* Enregistrer;
    QPushButton* Copier;
    QLabel* DescriptionLabel;

private:
    // The text of a date's cell that has no event of its kind: why, from the threshold's state
    // ("jour polaire", "nuit polaire", "relief", "pas de nuit", "nuit", "au-dessus"...), or "-".
    QString SansEvenement(const PosSoleil::JourSolaire& j, const Tableau::Sorte& s) const;
    DonneesAnnee donnees;
    PosSoleil::Site site{};
    double TEmoinsTUAnnee = 0;  // dynamical time - UTC of the year shown, seconds
    PosSoleil::Ciel ciel;
};
