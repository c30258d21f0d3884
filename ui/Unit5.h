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

#include "PosSoleil.h"

class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TAnnee;

// The Sun's path of the day in altitude against azimuth, with the horizon, the cardinal points,
// hour marks in legal time, the solstices' and the equinox's paths as references, and the Sun's
// place at the main window's instant. Titled axes and a legend say what each line is.
class TTrajectoire : public QWidget {
    Q_OBJECT
public:
    explicit TTrajectoire(QWidget* parent = nullptr);

    struct Point {
        double azimut, hauteur;
    };
    struct Heure {
        Point point;
        QString texte;  // "14h", or "2h CEST" for an hour that legal time shows twice
    };
    // The day's path, the three reference paths (21 June, 21 December, 20 March), the hour
    // marks, the side the picture faces, and what the hours are ("heure légale CET", or
    // "heure légale CEST puis CET" on a day of change).
    void ChangeChemins(QVector<Point> jour, QVector<QVector<Point>> references,
                       QVector<Heure> heures, bool sud, const QString& heuresLegales);
    // The Sun's place, or none.
    void ChangeSoleil(bool visible, Point soleil);
    // The skyline, a point every degree of azimuth from 0 to 360, or none: drawn filled below it.
    void ChangeHorizon(QVector<Point> profil);
    const QVector<Point>& Horizon() const { return horizon; }

    bool SoleilVisible() const { return soleilVisible; }
    Point Soleil() const { return soleil; }

    // The texts of the picture at its present size, where they are drawn: the axes' titles,
    // the legend, the degrees and the cardinal points, then the hour labels that fit, none
    // overlapping another or leaving the picture.
    enum class Role { Axe, Legende, Graduation, Heure };
    struct Etiquette {
        Role role;
        QString texte;
        QRectF cadre;
        int trait =
            -1;  // for a legend entry: the path it names, -1 the day's, 0..2 the references'
    };
    QVector<Etiquette> Etiquettes() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<Etiquette> Legende() const;  // its entries, rows from y = 0
    QRectF Zone() const;
    QPointF Vers(const QRectF& zone, Point p) const;

    QVector<Point> jour;
    QVector<QVector<Point>> references;
    QVector<Heure> heures;
    QString heuresLegales;
    bool versLeSud = true;  // the path is centred on the south (northern sites) or the north
    double hauteurMin = -30;
    bool soleilVisible = false;
    Point soleil{};
    QVector<Point> horizon;
};

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
    void ChoisirHorizonClick();
    void RetirerHorizonClick();
    void OuvrirAnneeClick();

    // Loads a skyline from a CSV file "azimuth,altitude" and recomputes the day with it; a
    // skyline stands for the eye height, which it disables. On a refusal, the text naming the
    // file's line, and the sky in force is kept.
    QString ChargeHorizon(const QString& chemin);

    // The sky of the day in force: eye height, own altitudes, skyline.
    const PosSoleil::Ciel& Ciel() const { return ciel; }

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
    TAnnee* Annee = nullptr;  // the year's window, made when first opened

private:
    void PlaceSoleil();

    PosSoleil::JourSolaire journee{};
    PosSoleil::Ciel ciel;
    QStringList lignes;  // the copied lines, without their ends
    double longitude = 0, latitude = 0, tet = 0;
    QDate jourPrincipal;       // the main window's day at the site, as last followed
    double instantSoleil = 0;  // the instant of the dot
    QElapsedTimer dernierSoleil;
};

namespace Unit5 {

extern TJournee* Journee;

// The date of the site's day (from its local mean midnight, see DebutJournee) that contains a
// UTC instant.
QDate JourDuSite(double t, double longitude);

// The French name of an event.
QString NomEvenement(const PosSoleil::Evenement& e);

// Altitudes written "6; -4" (';' or spaces between them, '.' or the locale's decimal mark),
// each within -90..90 and kept once; none when one of them cannot be read.
std::optional<std::vector<double>> LitHauteurs(const QString& texte);

// The skyline's profile every degree of azimuth, 0 to 360, for the pictures.
QVector<TTrajectoire::Point> ProfilHorizon(const std::vector<PosSoleil::PointHorizon>& points);

// A UTC date-time value as "YYYY-MM-DD HH:MM:SS", rounded to the second, and the same instant
// in the computer's legal time with its zone's abbreviation.
QString TexteUTC(double t);
QString TexteLegal(double t);

}  // namespace Unit5
