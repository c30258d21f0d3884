// The solar year's pictures: what they show, computed once for a year, a site and a sky; the
// year's bands of night, twilights and day in legal time; the equation of time and the analemma.
#pragma once

#include <QDate>
#include <QString>
#include <QVector>
#include <QWidget>
#include <string>
#include <vector>

#include "PosSoleil.h"

class QPainter;

// What the year's pictures and table show, computed once for a year, a site, a time difference
// and a sky.
struct DonneesAnnee {
    int annee = 0;
    QVector<QDate> dates;
    std::vector<PosSoleil::JourSolaire> jours;
    // The legal time's offset from UTC on each date (at noon), seconds.
    QVector<int> decalages;
    // Each date's sky every five minutes of legal time from 00:00 (288 a day): 0 night,
    // 1 astronomical, 2 nautical, 3 civil twilight, 4 day, 5 the Sun hidden by the relief.
    QVector<quint8> bandes;
    static constexpr int PasParJour = 288;
    // The transit in hours of legal time, NaN on a date without one.
    QVector<double> passages;
    // The equation of time at each date's noon, minutes.
    QVector<double> equations;
    // The Sun at the same clock time every date: 12:00 of the zone's standard time.
    QVector<double> analemmeAzimuts, analemmeHauteurs;
    int decalageNormal = 0;  // the zone's standard offset, seconds
    QString site;            // the site's line, as the other windows write it
    QString description;     // the site, the zone and the sky, as the window says them
};

// The year of a site from its own inputs alone; `separateur` is the decimal mark of its site
// line.
DonneesAnnee CalculeAnnee(int annee, const PosSoleil::Site& site, double TEmoinsTU,
                          const PosSoleil::Ciel& ciel, const std::string& separateur);

// The band of the sky at an altitude and azimuth: 0 night ... 4 day, the day as the sky defines
// rise and set; behind a skyline, BandeRelief where the Sun stands above the plain's horizon
// (-0°50') but under the skyline.
inline constexpr int BandeRelief = 5;
int Bande(double hauteur, double azimut, const PosSoleil::Ciel& ciel,
          const PosSoleil::Horizon* horizon);

// A picture of the year, drawn by Dessine in the window and into PNG and SVG files alike.
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent, const char* nom, const QString& description);
    void Change(const DonneesAnnee* donnees, QDate aujourdhui = {});
    // Draws the picture in a rectangle: the window, a PNG or an SVG file.
    virtual void Dessine(QPainter& p, const QRectF& cadre) const = 0;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    const DonneesAnnee* donnees = nullptr;
    QDate aujourdhui;
};

// The year at the site: a column a day, hours of legal time down, coloured by the Sun's height,
// the transit and today.
class TImageAnnee : public TImage {
    Q_OBJECT
public:
    explicit TImageAnnee(QWidget* parent = nullptr);
    void Dessine(QPainter& p, const QRectF& cadre) const override;
    // The texts of the legend, as drawn.
    QStringList Legende() const;
};

// The equation of time over the year, and the analemma.
class TImageEquation : public TImage {
    Q_OBJECT
public:
    explicit TImageEquation(QWidget* parent = nullptr);
    void Dessine(QPainter& p, const QRectF& cadre) const override;
};
