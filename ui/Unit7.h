// A planar sundial for a wall of the site: the plane's orientation, the gnomon, the lines
// wanted and the dial's size; the dial drawn as it will be printed, with the shadow at the main
// window's instant, saved in SVG or PDF at true scale.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

#include "PosSoleil.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPainter;
class QPushButton;

// The dial's picture: its area, its lines and the gnomon's shadow, fitted to a rectangle.
class TImageCadran : public QWidget {
public:
    explicit TImageCadran(QWidget* parent = nullptr);
    void Change(const PosSoleil::Cadran& c, const PosSoleil::GeometrieCadran& g,
                const PosSoleil::Trace& trace, std::vector<PosSoleil::LigneCadran> lignes,
                const PosSoleil::Ombre& ombre);
    // The shadow alone, at another instant.
    void ChangeOmbre(const PosSoleil::Ombre& o);
    // The dial in `cible`, millimetres scaled alike in both directions, y up.
    void Dessine(QPainter& p, const QRectF& cible) const;
    const std::vector<PosSoleil::LigneCadran>& Lignes() const { return lignes; }
    const PosSoleil::Ombre& OmbreActuelle() const { return ombre; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    PosSoleil::Cadran cadran;
    PosSoleil::GeometrieCadran geometrie{};
    PosSoleil::Trace trace;
    std::vector<PosSoleil::LigneCadran> lignes;
    PosSoleil::Ombre ombre{0, 0, false};
};

class TCadran : public QDialog {
    Q_OBJECT
public:
    explicit TCadran(QWidget* parent = nullptr);

    // Shows the dial of the main window's site, or brings the window forward.
    void Ouvre();
    // From the solar day's refresh: the lines again when the site, the year or the time
    // difference change, the shadow at the main window's instant.
    void Actualise();
    void Calcule();
    void ReglageChange();
    void EnregistrerClick();

    // Saves the dial at true scale (1 mm on the page is 1 mm on the dial) in a margin of
    // Marge mm, with the site, the orientation and the gnomon written below it: SVG or PDF
    // after the file's suffix. False when the file cannot be written.
    bool EnregistreImage(const QString& chemin) const;
    static constexpr double Marge = 15, Legende = 25;  // mm

    // The settings as the window shows them, and what is wrong with them ("" when nothing).
    PosSoleil::Cadran Cadran() const;
    QString Raison() const;
    // The site, the orientation and the gnomon, as written under the dial.
    QString Description() const;

    QDoubleSpinBox* AzimutMur;
    QLabel* DeclinaisonLabel;
    QDoubleSpinBox* Inclinaison;
    QComboBox* Gnomon;
    QDoubleSpinBox* Longueur;
    QCheckBox *Heures, *DemiHeures, *Quarts, *Dates, *Signes, *Mois, *Analemmes, *Babyloniennes,
        *Italiques;
    QDoubleSpinBox* Largeur;
    QDoubleSpinBox* Hauteur;
    QLabel* RaisonLabel;
    QLabel* DescriptionLabel;
    TImageCadran* Image;
    QPushButton* Enregistrer;

private:
    PosSoleil::Trace Trace() const;
    PosSoleil::ChoixLignes Choix() const;
    PosSoleil::Site site{};
    double TEmoinsTU = 0;
    int annee = 0;
    double instantOmbre = 0;
    bool refuse = false;          // the settings make no dial: no shadow to follow
    QElapsedTimer derniereOmbre;  // the clock moves the shadow four times a second at most
    std::pair<double, double> centre{0, 0};  // of the drawn area, mm from the gnomon's foot
};

namespace Unit7 {

// The French name of a kind of line, as the picture's legend and the saved file give it.
QString NomSorte(PosSoleil::SorteLigne s);

}  // namespace Unit7
