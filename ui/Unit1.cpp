#include "Unit1.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>

#include "Contrat.h"
#include "Conversions.h"
#include "Controles.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "RapportErreur.h"
#include "Tableau.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"

namespace Unit1 {

TEphPosition* EphPosition = nullptr;
TPrincipale* Principale = nullptr;
double Longitude = 0;
double Latitude = 0;
double Temperature = 0;
double Pression = 0;
double Maintenant = 0;
std::uint16_t DerniereSeconde = 0;
std::uint16_t Annee = 0, Mois = 0, Jour = 0, Heure = 0, Minute = 0, Seconde = 0, MilliSeconde = 0;
double AscensionDroite = 0, Declinaison = 0, RayonVecteur = 0, Hauteur = 0, Azimut = 0;

double InstantAffiche() {
    return PosSoleil::EncodeDateValeur(Annee, Mois, Jour, Heure, Minute,
                                       Seconde + MilliSeconde / 1000.0);
}

std::string SeparateurDecimal() {
    return QLocale::system().decimalPoint().toStdString();
}

std::string LigneSite(const std::string& separateur, bool retenue) {
    return Tableau::LigneSite(Longitude, Latitude, EphPosition->RadioEst->isChecked(),
                              EphPosition->RadioNord->isChecked(), separateur, retenue);
}

}  // namespace Unit1

using namespace Unit1;
using Controles::Cree;
using Controles::CreeMasque;

namespace {

// A date-time value (days since 1899-12-30 00:00 UTC) from a clock reading.
double DateValeurDe(const QDateTime& instant) {
    return PosSoleil::JoursAvantUnix + static_cast<double>(instant.toMSecsSinceEpoch()) /
                                           static_cast<double>(PosSoleil::MsParJour);
}

QLineEdit* CreeResultat(QWidget* parent, const char* nom, int gauche, int haut, int largeur,
                        int hauteur) {
    auto* champ =
        Controles::Cree<QLineEdit>(parent, nom, QLatin1String(nom), gauche, haut, largeur, hauteur);
    champ->setReadOnly(true);
    return champ;
}

// Writes a field only when its text changes, so a steady value does not flicker.
void Ecrit(QLineEdit* champ, const QString& texte) {
    if (champ->text() != texte) champ->setText(texte);
}

}  // namespace

TEphPosition::TEphPosition(QWidget* parent)
    : QMainWindow(parent),
      Horloge([] { return QDateTime::currentDateTimeUtc(); }),
      Moteur(&PosSoleil::CalculPosition) {
    Principale = this;
    setObjectName(QStringLiteral("EphPosition"));
    setWindowTitle(QStringLiteral("Ephémérides Solaire"));
    setWindowIcon(Controles::IconeProgramme());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    // The menu bar holds direct commands, no drop-down menus.
    Fichier = menuBar()->addAction(QStringLiteral("&Génération"));
    Fichier->setObjectName(QStringLiteral("Fichier"));
    TEMoinsTU = menuBar()->addAction(QStringLiteral("&ET && UT"));
    TEMoinsTU->setObjectName(QStringLiteral("TEMoinsTU"));
    APropos1 = menuBar()->addAction(QStringLiteral("&A Propos"));
    APropos1->setObjectName(QStringLiteral("APropos1"));
    Journee1 = menuBar()->addAction(QStringLiteral("&Journée"));
    Journee1->setObjectName(QStringLiteral("Journee1"));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    Bevel1 = Cree<QFrame>(client, "Bevel1", {}, 1, 0, 423, 3);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    TempsBox =
        Cree<QGroupBox>(client, "TempsBox", QStringLiteral("Date && Heure (UTC)"), 0, 3, 425, 54);
    DatePicker = Controles::CreeDate(TempsBox, "DatePicker", QDate(2000, 3, 1), 16, 21, 169, 21);
    DatePicker->setEnabled(false);
    TimePicker = Controles::CreeHeure(TempsBox, "TimePicker", QTime(12, 6, 32), 200, 20, 73, 21);
    TimePicker->setEnabled(false);
    ButtonMan = Cree<QRadioButton>(TempsBox, "ButtonMan", QStringLiteral("Date et heure choisie"),
                                   285, 30, 124, 17);
    ButtonAuto = Cree<QRadioButton>(TempsBox, "ButtonAuto", QStringLiteral("Horloge système"), 285,
                                    15, 108, 17);
    ButtonAuto->setChecked(true);

    LongiLatiBox =
        Cree<QGroupBox>(client, "LongiLatiBox",
                        QStringLiteral("Longitude && Latitude géo. du lieu"), 0, 57, 273, 73);
    LatiPanel = Cree<QFrame>(LongiLatiBox, "LatiPanel", {}, 144, 16, 121, 49);
    LatiPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    RadioNord = Cree<QRadioButton>(LatiPanel, "RadioNord", QStringLiteral("Nord"), 3, 8, 49, 17);
    RadioNord->setChecked(true);
    RadioSud = Cree<QRadioButton>(LatiPanel, "RadioSud", QStringLiteral("Sud"), 3, 24, 49, 17);
    LatEdit = CreeMasque(LatiPanel, "LatEdit", QStringLiteral("00°00'00\";_"),
                         QStringLiteral("42°29'48\""), 56, 16, 57, 21);
    LongiPanel = Cree<QFrame>(LongiLatiBox, "LongiPanel", {}, 8, 16, 129, 49);
    LongiPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    RadioEst = Cree<QRadioButton>(LongiPanel, "RadioEst", QStringLiteral("Est"), 3, 8, 41, 17);
    RadioEst->setChecked(true);
    RadioOuest =
        Cree<QRadioButton>(LongiPanel, "RadioOuest", QStringLiteral("Ouest"), 3, 24, 49, 17);
    LongEdit = CreeMasque(LongiPanel, "LongEdit", QStringLiteral("000°00'00\";_"),
                          QStringLiteral("002°01'49\""), 58, 16, 65, 21);

    RefractionBox = Cree<QGroupBox>(client, "RefractionBox", QStringLiteral("Réfraction athmos."),
                                    280, 57, 145, 73);
    Label1 = Cree<QLabel>(RefractionBox, "Label1", QStringLiteral("T. °C"), 8, 24, 24, 13);
    Label2 = Cree<QLabel>(RefractionBox, "Label2", QStringLiteral("mm Hg"), 48, 24, 33, 13);
    TempEdit = CreeMasque(RefractionBox, "TempEdit", QStringLiteral("#00;_"), QStringLiteral("+10"),
                          8, 40, 33, 21);
    PressEdit = CreeMasque(RefractionBox, "PressEdit", QStringLiteral("000;_"),
                           QStringLiteral("760"), 48, 40, 25, 21);
    RefracCheck =
        Cree<QCheckBox>(RefractionBox, "RefracCheck", QStringLiteral("Actif"), 78, 46, 59, 15);

    CoordEquatBox = Cree<QGroupBox>(
        client, "CoordEquatBox", QStringLiteral("Coord. équatoriales apparentes"), 0, 130, 249, 79);
    Label4 =
        Cree<QLabel>(CoordEquatBox, "Label4", QStringLiteral("Ascention droite"), 8, 27, 76, 13);
    Label7 = Cree<QLabel>(CoordEquatBox, "Label7", QStringLiteral("Déclination"), 104, 28, 53, 13);
    Label3 = Cree<QLabel>(CoordEquatBox, "Label3", QStringLiteral("Distance"), 192, 28, 42, 13);
    AsdEdit = CreeResultat(CoordEquatBox, "AsdEdit", 8, 48, 89, 21);
    DecliEdit = CreeResultat(CoordEquatBox, "DecliEdit", 104, 48, 81, 21);
    RVEdit = CreeResultat(CoordEquatBox, "RVEdit", 191, 48, 49,
                          21);  // read-only too: typing there means nothing

    CoordHorizonBox =
        Cree<QGroupBox>(client, "CoordHorizonBox", QStringLiteral("Coord. horizontales locales"),
                        256, 130, 169, 79);
    ZenithCheck =
        Cree<QCheckBox>(CoordHorizonBox, "ZenithCheck", QStringLiteral("90- Alt."), 11, 15, 57, 17);
    RefCheck =
        Cree<QCheckBox>(CoordHorizonBox, "RefCheck", QStringLiteral("Ref. Sud"), 88, 16, 73, 17);
    Label8 = Cree<QLabel>(CoordHorizonBox, "Label8", QStringLiteral("Hauteur"), 10, 32, 38, 13);
    Label5 = Cree<QLabel>(CoordHorizonBox, "Label5", QStringLiteral("Azimuth"), 90, 32, 37, 13);
    HautEdit = CreeResultat(CoordHorizonBox, "HautEdit", 8, 48, 73, 21);
    AzimEdit = CreeResultat(CoordHorizonBox, "AzimEdit", 86, 48, 77, 21);

    // Keyboard order: time box, then the latitude panel before the longitude panel although
    // it stands to its right, the atmosphere, and the two result boxes.
    QWidget* ordre[] = {DatePicker, TimePicker, ButtonMan,   ButtonAuto,  RadioNord,
                        RadioSud,   LatEdit,    RadioEst,    RadioOuest,  LongEdit,
                        TempEdit,   PressEdit,  RefracCheck, AsdEdit,     DecliEdit,
                        RVEdit,     HautEdit,   AzimEdit,    ZenithCheck, RefCheck};
    for (std::size_t i = 1; i < std::size(ordre); ++i) setTabOrder(ordre[i - 1], ordre[i]);
    // In each radio group only the selected button is a stop of the Tab key; the others still
    // take the focus when clicked.
    for (QRadioButton* bouton :
         {ButtonMan, ButtonAuto, RadioNord, RadioSud, RadioEst, RadioOuest}) {
        const auto arret = [bouton](bool coche) {
            bouton->setFocusPolicy(coche ? Qt::StrongFocus : Qt::ClickFocus);
        };
        arret(bouton->isChecked());
        connect(bouton, &QRadioButton::toggled, bouton, arret);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setTimerType(Qt::PreciseTimer);

    client->setFixedSize(qRound(428 * Controles::Echelle()), qRound(214 * Controles::Echelle()));
    setFixedSize(sizeHint());
    if (const QScreen* ecran = QApplication::primaryScreen())
        move(ecran->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    connect(Timer1, &QTimer::timeout, this, &TEphPosition::Timer1Timer);
    connect(DatePicker, &QDateEdit::dateChanged, this, &TEphPosition::DatePickerChange);
    connect(TimePicker, &QTimeEdit::timeChanged, this, &TEphPosition::TimePickerChange);
    connect(ButtonAuto, &QRadioButton::toggled, this, &TEphPosition::ButtonAutoClick);
    connect(ButtonMan, &QRadioButton::toggled, this, &TEphPosition::ButtonManClick);
    connect(LongEdit, &QLineEdit::textChanged, this, &TEphPosition::LongEditChange);
    connect(LatEdit, &QLineEdit::textChanged, this, &TEphPosition::LatEditChange);
    connect(TempEdit, &QLineEdit::textChanged, this, &TEphPosition::TempEditChange);
    connect(PressEdit, &QLineEdit::textChanged, this, &TEphPosition::PressEditChange);
    connect(RadioEst, &QRadioButton::toggled, this, &TEphPosition::RadioEstClick);
    connect(RadioOuest, &QRadioButton::toggled, this, &TEphPosition::RadioOuestClick);
    connect(RadioNord, &QRadioButton::toggled, this, &TEphPosition::RadioNordClick);
    connect(RadioSud, &QRadioButton::toggled, this, &TEphPosition::RadioSudClick);
    connect(RefracCheck, &QCheckBox::toggled, this, &TEphPosition::RefracCheckClick);
    connect(ZenithCheck, &QCheckBox::toggled, this, &TEphPosition::ZenithCheckClick);
    connect(RefCheck, &QCheckBox::toggled, this, &TEphPosition::RefCheckClick);
    connect(Fichier, &QAction::triggered, this, &TEphPosition::FichierClick);
    connect(TEMoinsTU, &QAction::triggered, this, &TEphPosition::TEMoinsTUClick);
    connect(APropos1, &QAction::triggered, this, &TEphPosition::APropos1Click);
    connect(Journee1, &QAction::triggered, this, &TEphPosition::JourneeClick);

    FormCreate();
    Timer1->start();  // armed at once; it ticks once the event loop runs
}

TEphPosition::~TEphPosition() {
    if (Principale == this) Principale = nullptr;
}

bool TEphPosition::EnDirect() const {
    return Timer1->isActive();
}

bool TEphPosition::DepuisLeSud() const {
    return RefCheck->isChecked();
}

void TEphPosition::FormCreate() {
    Longitude = 7309.0 / 3600;   // 2°01'49" East
    Latitude = 152988.0 / 3600;  // 42°29'48" North
    Temperature = Contrat::TemperatureParDefaut;
    Pression = Contrat::CmHgDeMmHg(Contrat::PressionParDefautMmHg);  // the field's "760"
    Unit3::TEmoinsTU = Tableau::TEmoinsTU(32);                       // 64.184 s
    const QDateTime instant = Horloge().toUTC();
    Maintenant = DateValeurDe(instant);
    DerniereSeconde = 0;
}

void TEphPosition::MiseAJour() {
    double longitudeSoleil = 0, equationTemps = 0;
    Moteur(Annee, Mois, Jour, Heure, Minute, Seconde + MilliSeconde / 1000.0, Longitude, Latitude,
           0, Unit3::TEmoinsTU, longitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut,
           Hauteur, equationTemps);
    if (RefracCheck->isChecked())
        Hauteur = Hauteur + PosSoleil::Refraction(Hauteur, Pression, Temperature);
    if (ZenithCheck->isChecked()) Hauteur = 90 - Hauteur;
    Azimut = Tableau::AzimutDepuis(Azimut, RefCheck->isChecked());

    const std::string separateur = SeparateurDecimal();
    Ecrit(HautEdit, QString::fromStdString(PosSoleil::DegVersDMS(Hauteur, 1, separateur)));
    Ecrit(AzimEdit, QString::fromStdString(PosSoleil::DegVersDMS(Azimut, 1, separateur)));
    Ecrit(AsdEdit, QString::fromStdString(PosSoleil::DegVersHMS(
                       PosSoleil::Modulo360(AscensionDroite), 2, separateur)));
    Ecrit(DecliEdit, QString::fromStdString(PosSoleil::DegVersDMS(Declinaison, 2, separateur)));
    Ecrit(RVEdit, QString::fromStdString(PosSoleil::TexteFixe(RayonVecteur, 5, 7, separateur)));
    if (Unit5::Journee) Unit5::Journee->Actualise();
}

void TEphPosition::Timer1Timer() {
    const QDateTime instant = Horloge().toUTC();
    Maintenant = DateValeurDe(instant);
    int a, m, j, h, mi, s, ms;
    PosSoleil::DecodeDateValeur(Maintenant, a, m, j, h, mi, s, ms);
    Annee = static_cast<std::uint16_t>(a);
    Mois = static_cast<std::uint16_t>(m);
    Jour = static_cast<std::uint16_t>(j);
    Heure = static_cast<std::uint16_t>(h);
    Minute = static_cast<std::uint16_t>(mi);
    Seconde = static_cast<std::uint16_t>(s);
    MilliSeconde = static_cast<std::uint16_t>(ms);
    if (Seconde != DerniereSeconde) {
        // The pickers follow the clock once a second; a clock outside the date picker's range
        // leaves it at its nearest limit, while the display goes on with the real clock.
        const QSignalBlocker bloqueDate(DatePicker);
        const QSignalBlocker bloqueHeure(TimePicker);
        DatePicker->setDate(
            std::clamp(instant.date(), DatePicker->minimumDate(), DatePicker->maximumDate()));
        TimePicker->setTime(
            QTime(instant.time().hour(), instant.time().minute(), instant.time().second()));
        DerniereSeconde = Seconde;
    }
    MiseAJour();
}

void TEphPosition::ButtonManClick() {
    if (!ButtonMan->isChecked()) return;
    DatePicker->setEnabled(true);
    TimePicker->setEnabled(true);
    Timer1->stop();
}

void TEphPosition::ButtonAutoClick() {
    if (!ButtonAuto->isChecked()) return;
    DatePicker->setEnabled(false);
    TimePicker->setEnabled(false);
    Timer1->start();
}

void TEphPosition::DatePickerChange() {
    const QDate date = DatePicker->date();
    Annee = static_cast<std::uint16_t>(date.year());
    Mois = static_cast<std::uint16_t>(date.month());
    Jour = static_cast<std::uint16_t>(date.day());
    MiseAJour();
}

void TEphPosition::TimePickerChange() {
    const QTime temps = TimePicker->time();
    Heure = static_cast<std::uint16_t>(temps.hour());
    Minute = static_cast<std::uint16_t>(temps.minute());
    Seconde = static_cast<std::uint16_t>(temps.second());
    MilliSeconde = 0;  // the picker stops at the second
    MiseAJour();
}

// Degrees, minutes and seconds at the fixed places of a latitude (2 digits of degrees) or
// longitude (3) text; the first component refused ends the reading with the error report.
bool TEphPosition::LitSexagesimal(const TMaskEdit* champ, int longueurDegres, double& valeur) {
    const QString texte = champ->Lit();
    const QString composantes[] = {texte.mid(0, longueurDegres), texte.mid(longueurDegres + 1, 2),
                                   texte.mid(longueurDegres + 4, 2)};
    int v[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const std::string c = composantes[i].toStdString();
        if (!Conversions::LitEntier(c, v[i])) {
            RapportErreur::Signale(QString::fromStdString(Conversions::MessageEntier(c)));
            return false;
        }
    }
    valeur = static_cast<double>(static_cast<long double>(v[1]) / 60 + v[0] +
                                 static_cast<long double>(v[2]) / 3600);
    return true;
}

// The magnitude from the field's text, the sign from the hemisphere button selected.
void TEphPosition::ChangeSite(const TMaskEdit* champ, int longueurDegres,
                              const QRadioButton* negatif, double& valeur) {
    double lu = 0;
    if (!LitSexagesimal(champ, longueurDegres, lu)) return;
    valeur = negatif->isChecked() ? -std::fabs(lu) : lu;
    MiseAJour();
}

void TEphPosition::LongEditChange() {
    ChangeSite(LongEdit, 3, RadioOuest, Longitude);
}
void TEphPosition::LatEditChange() {
    ChangeSite(LatEdit, 2, RadioSud, Latitude);
}

// The number in a field; a refused text goes to the error report.
bool TEphPosition::LitNombreDe(const TMaskEdit* champ, double& valeur) {
    const std::string texte = champ->Lit().toStdString();
    if (Conversions::LitNombre(texte, valeur, SeparateurDecimal())) return true;
    RapportErreur::Signale(QString::fromStdString(Conversions::MessageNombre(texte)));
    return false;
}

void TEphPosition::TempEditChange() {
    double valeur = 0;
    if (!LitNombreDe(TempEdit, valeur)) return;
    Temperature = valeur;
    // Rewriting the field runs this handler again on the bound, which then refreshes too.
    constexpr Contrat::Plage plage = Contrat::TemperatureFenetre;
    if (Temperature > plage.max) {
        Temperature = plage.max;
        TempEdit->setText(QString::asprintf("%+.0f", plage.max));
    }
    if (!(Temperature >= plage.min)) {
        Temperature = plage.min;
        TempEdit->setText(QString::asprintf("%+.0f", plage.min));
    }
    MiseAJour();
}

void TEphPosition::PressEditChange() {
    double valeur = 0;
    if (!LitNombreDe(PressEdit, valeur)) return;
    Pression = Contrat::CmHgDeMmHg(valeur);  // the field is in millimetres
    // The refraction model's domain, in the field's millimetres.
    constexpr Contrat::Plage plage = Contrat::PressionMmHg;
    if (Pression > Contrat::CmHgDeMmHg(plage.max)) {
        Pression = Contrat::CmHgDeMmHg(plage.max);
        PressEdit->setText(QString::number(plage.max));
    }
    if (!(Pression >= Contrat::CmHgDeMmHg(plage.min))) {
        Pression = Contrat::CmHgDeMmHg(plage.min);
        PressEdit->setText(QString::number(plage.min));
    }
    MiseAJour();
}

// The hemisphere buttons give their sign to the magnitude already in force.
void TEphPosition::Hemisphere(const QRadioButton* bouton, double& valeur, double signe) {
    if (!bouton->isChecked()) return;  // only the button that becomes selected acts
    valeur = std::copysign(std::fabs(valeur), signe);
    MiseAJour();
}

void TEphPosition::RadioEstClick() {
    Hemisphere(RadioEst, Longitude, +1);
}
void TEphPosition::RadioOuestClick() {
    Hemisphere(RadioOuest, Longitude, -1);
}
void TEphPosition::RadioNordClick() {
    Hemisphere(RadioNord, Latitude, +1);
}
void TEphPosition::RadioSudClick() {
    Hemisphere(RadioSud, Latitude, -1);
}

void TEphPosition::RefracCheckClick() {
    MiseAJour();
}
void TEphPosition::ZenithCheckClick() {
    MiseAJour();
}
void TEphPosition::RefCheckClick() {
    MiseAJour();
}

void TEphPosition::FichierClick() {
    Unit4::Ephemeride->show();
    Unit4::Ephemeride->raise();
    Unit4::Ephemeride->activateWindow();
}

void TEphPosition::TEMoinsTUClick() {
    Unit3::TEmoinsTUdlg->exec();
}

void TEphPosition::APropos1Click() {
    Unit2::AboutBox->exec();
}

void TEphPosition::JourneeClick() {
    Unit5::Journee->Ouvre();
}

void TEphPosition::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, a generation in progress included.
    Unit4::Arret = true;
    event->accept();
    QCoreApplication::quit();
}
