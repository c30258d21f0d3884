// The solar day of the site: the day's events in UTC and in legal time, the day length, and a
// picture of the Sun's path across the sky.
#pragma once

#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QVector>

#include "PosSoleil.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

// The Sun's path of the day in altitude against azimuth, with the horizon, the cardinal points,
// hour marks, the solstices' and the equinox's paths as references, and the Sun's present place.
class TTrajectoire : public QWidget {
    Q_OBJECT
public:
    explicit TTrajectoire(QWidget* parent = nullptr);

    struct Point {
        double azimut, hauteur;
    };
    struct Heure {
        Point point;
        int heure;  // legal time
    };
    void ChangeChemins(QVector<Point> jour, QVector<QVector<Point>> references, QVector<Heure> heures,
                       bool sud);
    // The Sun's present place, or none.
    void ChangeSoleil(bool visible, Point soleil);

    bool SoleilVisible() const { return soleilVisible; }
    Point Soleil() const { return soleil; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointF Vers(const QRectF& zone, Point p) const;

    QVector<Point> jour;
    QVector<QVector<Point>> references;
    QVector<Heure> heures;
    bool versLeSud = true;  // the path is centred on the south (northern sites) or the north
    double hauteurMin = -30;
    bool soleilVisible = false;
    Point soleil{};
};

class TJournee : public QDialog {
    Q_OBJECT
public:
    explicit TJournee(QWidget* parent = nullptr);

    // Opens the window on the date shown by the main window, or brings it forward.
    void Ouvre(const QDate& date);

    // From the main window's refresh: recomputes when the site or the time difference has
    // changed, and moves the Sun's dot at most four times a second.
    void Actualise();

    // Recomputes the events and the path for the date, site and time difference in force.
    void Calcule();

    void DatePickerChange();
    void CopierClick();

    // The events as copied: a line naming the site and the date, then one line per event.
    QString TexteEvenements() const;

    QLabel* Label1;
    QDateEdit* DatePicker;
    QTreeWidget* Liste;
    QLabel* DureeLabel;
    TTrajectoire* Trajectoire;
    QPushButton* Copier;

protected:
    // Ctrl+C copies the events wherever the focus is, the date picker included.
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void PlaceSoleil();

    PosSoleil::Journee journee{};
    QStringList lignes;  // the copied lines, without their ends
    double longitude = 0, latitude = 0, tet = 0;
    QElapsedTimer dernierSoleil;
};

namespace Unit5 {

extern TJournee* Journee;

// The French name of an event.
QString NomEvenement(const PosSoleil::Evenement& e);

// A UTC date-time value as "YYYY-MM-DD HH:MM:SS", rounded to the second, and the same instant
// in the computer's legal time with its zone's abbreviation.
QString TexteUTC(double t);
QString TexteLegal(double t);

}  // namespace Unit5
