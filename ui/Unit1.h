// The main window: the site and atmosphere inputs, the two clock modes and the live display
// of the Sun's apparent position.
#pragma once

#include <functional>

#include <QDateTime>
#include <QMainWindow>

#include "Principale.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimeEdit;
class QTimer;
class TMaskEdit;

class TEphPosition : public QMainWindow, public TPrincipale {
    Q_OBJECT
public:
    explicit TEphPosition(QWidget* parent = nullptr);
    ~TEphPosition() override;

    // The UTC clock, to the millisecond; the system clock unless a test puts another.
    std::function<QDateTime()> Horloge;

    // The position driver; the benchmarks put the scalar reference in its place.
    using Driver = void (*)(double, double, double, double, double, double, double, double, double,
                            double, double&, double&, double&, double&, double&, double&,
                            double&) noexcept;
    Driver Moteur;

    // Computes the position for the instant shown and writes the five result fields.
    void MiseAJour() override;
    bool EnDirect() const override;
    bool DepuisLeSud() const override;

    // Handlers, each bound to its control's event.
    void FormCreate();
    void Timer1Timer();
    void DatePickerChange();
    void TimePickerChange();
    void ButtonAutoClick();
    void ButtonManClick();
    void LongEditChange();
    void LatEditChange();
    void TempEditChange();
    void PressEditChange();
    void RadioEstClick();
    void RadioOuestClick();
    void RadioNordClick();
    void RadioSudClick();
    void RefracCheckClick();
    void ZenithCheckClick();
    void RefCheckClick();
    void FichierClick();
    void TEMoinsTUClick();
    void APropos1Click();
    void JourneeClick();

    QAction* Fichier;
    QAction* TEMoinsTU;
    QAction* APropos1;
    QAction* Journee1;
    QFrame* Bevel1;
    QGroupBox* TempsBox;
    QDateEdit* DatePicker;
    QTimeEdit* TimePicker;
    QRadioButton* ButtonMan;
    QRadioButton* ButtonAuto;
    QGroupBox* LongiLatiBox;
    QFrame* LatiPanel;
    QRadioButton* RadioNord;
    QRadioButton* RadioSud;
    TMaskEdit* LatEdit;
    QFrame* LongiPanel;
    QRadioButton* RadioEst;
    QRadioButton* RadioOuest;
    TMaskEdit* LongEdit;
    QGroupBox* RefractionBox;
    QLabel* Label1;
    QLabel* Label2;
    TMaskEdit* TempEdit;
    TMaskEdit* PressEdit;
    QCheckBox* RefracCheck;
    QGroupBox* CoordEquatBox;
    QLabel* Label4;
    QLabel* Label7;
    QLabel* Label3;
    QLineEdit* AsdEdit;
    QLineEdit* DecliEdit;
    QLineEdit* RVEdit;
    QGroupBox* CoordHorizonBox;
    QCheckBox* ZenithCheck;
    QCheckBox* RefCheck;
    QLabel* Label8;
    QLabel* Label5;
    QLineEdit* HautEdit;
    QLineEdit* AzimEdit;
    QTimer* Timer1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool LitSexagesimal(const TMaskEdit* champ, int longueurDegres, double& valeur);
    void Hemisphere(const QRadioButton* bouton, double& valeur, double signe);
    void ChangeSite(const TMaskEdit* champ, int longueurDegres, const QRadioButton* negatif,
                    double& valeur);
    bool LitNombreDe(const TMaskEdit* champ, double& valeur);
};

namespace Unit1 {

extern TEphPosition* EphPosition;

}  // namespace Unit1
