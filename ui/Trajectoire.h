// The picture of the Sun's path of a day across the sky, for the solar day's window.
#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

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

    const QVector<Heure>& Heures() const { return heures; }
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
