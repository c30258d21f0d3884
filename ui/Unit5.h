// The solar day of the site: the day's events in UTC and in legal time, the day length, and a
// picture of the Sun's path across the sky.
#pragma once

#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QVector>
#include <optional>
#include <vector>

#include "JourneeLegale.h"
#include "PosSoleil.h"
#include "Trajectoire.h"

class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TAnnee;
class TCadran;

class TJournee : public QDialog {
    Q_OBJECT
public:
    explicit TJournee(QWidget* parent = nullptr);

    // Opens the window on the site's day that contains the main window's instant, or brings
    // it forward.
    void Ouvre();

    // From the main window's refresh: follows the main window's day when it changes (a date
    // chosen here stays until then), recomputes when the site or the time difference has
    // changed, and puts the Sun's dot at the main window's instant, at most four times a
    // second while the clock runs.
    void Actualise();

    // Recomputes the events and the path for the date, site and time difference in force.
    void Calcule();

    void DatePickerChange();
    void CopierClick();
    void HauteurOeilChange();
    void HauteursChange();
    void HauteursExit();
    void ChoisirHorizonClick();
    void RetirerHorizonClick();
    void OuvrirAnneeClick();
    void OuvrirCadranClick();

    // Loads a skyline from a CSV file "azimuth,altitude" and recomputes the day with it; a
    // skyline stands for the eye height, which it disables. On a refusal, the text naming the
    // file's line, and the sky in force is kept.
    QString ChargeHorizon(const QString& chemin);

    // The sky of the day in force: eye height, own altitudes, skyline.
    const PosSoleil::Ciel& Ciel() const { return ciel; }
    const PosSoleil::JourSolaire& Journee() const { return journee; }

    // The events as copied: a line naming the site and the date, then one line per event.
    QString TexteEvenements() const;

    QLabel* Label1;
    QDateEdit* DatePicker;
    QTreeWidget* Liste;
    QLabel* DureeLabel;
    TTrajectoire* Trajectoire;
    QPushButton* Copier;
    QDoubleSpinBox* HauteurOeil;
    QLineEdit* Hauteurs;  // altitudes separated by ";", for example "6; -4"
    QPushButton* ChoisirHorizon;
    QPushButton* RetirerHorizon;
    QLabel* HorizonLabel;
    QPushButton* OuvrirAnnee;
    QPushButton* OuvrirCadran;
    TAnnee* Annee = nullptr;    // the year's window, made when first opened
    TCadran* Cadran = nullptr;  // the sundial's window, likewise

private:
    void PlaceSoleil();
    bool DepuisLeSud() const;
    static QString ConseilHauteurs();
    QString refusHauteurs;  // the last refusal reported, not repeated while the text stays

    PosSoleil::JourSolaire journee{};
    PosSoleil::Ciel ciel;
    QStringList lignes;  // the copied lines, without their ends
    double longitude = 0, latitude = 0, TEmoinsTU = 0;
    bool sud = false;          // azimuths from the south, as the main window's « Ref. Sud » asks
    QDate jourPrincipal;       // the main window's day at the site, as last followed
    double instantSoleil = 0;  // the instant of the dot
    QElapsedTimer dernierSoleil;
};

namespace Unit5 {

extern TJournee* Journee;

// The French name of an event.
QString NomEvenement(const PosSoleil::Evenement& e);

// Altitudes written "6; -4" (';' or spaces between them, '.' or the locale's decimal mark),
// each within the contract's range for the Sun's altitude and kept once; none when one of them
// cannot be read, and then the reason, in French, in `raison`.
std::optional<std::vector<double>> LitHauteurs(const QString& texte, QString* raison = nullptr);

// The skyline's profile every degree of azimuth, 0 to 360, for the pictures.
QVector<TTrajectoire::Point> ProfilHorizon(const std::vector<PosSoleil::PointHorizon>& points);

}  // namespace Unit5
