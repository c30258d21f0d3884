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

#include "Conversions.h"
#include "Fenetres.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "RapportErreur.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"

namespace Unit1 {

TEphPosition* EphPosition = nullptr;
double Longitude = 0;
double Latitude = 0;
double Temperature = 0;
double Pression = 0;
double Maintenant = 0;
std::uint16_t DerniereSeconde = 0;
std::uint16_t Annee = 0, Mois = 0, Jour = 0, Heure = 0, Minute = 0, Seconde = 0, MilliSeconde = 0;
double AscensionDroite = 0, Declinaison = 0, RayonVecteur = 0, Hauteur = 0, Azimut = 0;

std::string SeparateurDecimal() { return QLocale::system().decimalPoint().toStdString(); }


}  // namespace Unit1

using namespace Unit1;
using Fenetres::Place;

namespace {

// A date-time value (days since 1899-12-30 00:00 UTC) from a clock reading.
double DateValeurDe(const QDateTime& instant) {
    return 25569.0 + static_cast<double>(instant.toMSecsSinceEpoch()) / 86400000.0;
}

QDateTime DateTimeDe(double dateValeur) {
    return QDateTime::fromMSecsSinceEpoch(std::llround((dateValeur - 25569.0) * 86400000.0), Qt::UTC);
}

template <class T>
T* Cree(QWidget* parent, const char* nom) {
    auto* controle = new T(parent);
    controle->setObjectName(QLatin1String(nom));
    return controle;
}

TMaskEdit* CreeMasque(QWidget* parent, const char* nom, const QString& masque, const QString& texte) {
    auto* champ = new TMaskEdit(masque, parent);
    champ->setObjectName(QLatin1String(nom));
    champ->setText(texte);
    return champ;
}

QLineEdit* CreeResultat(QWidget* parent, const char* nom) {
    auto* champ = Cree<QLineEdit>(parent, nom);
    champ->setText(QLatin1String(nom));
    champ->setReadOnly(true);
    return champ;
}

// Writes a field only when its text changes, so a steady value does not flicker.
void Ecrit(QLineEdit* champ, const QString& texte) {
    if (champ->text() != texte) champ->setText(texte);
}

}  // namespace

TEphPosition::TEphPosition(QWidget* parent)
    : QMainWindow(parent), Horloge([] { return QDateTime::currentDateTimeUtc(); }), Moteur(&PosSoleil::CalculPosition) {
    setObjectName(QStringLiteral("EphPosition"));
    setWindowTitle(QStringLiteral("Ephémérides Solaire"));
    setWindowIcon(Fenetres::IconeProgramme());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // The menu bar holds three direct commands, no drop-down menus.
    Fichier = menuBar()->addAction(QStringLiteral("&Génération"));
    Fichier->setObjectName(QStringLiteral("Fichier"));
    TEMoinsTU = menuBar()->addAction(QStringLiteral("&ET && UT"));
    TEMoinsTU->setObjectName(QStringLiteral("TEMoinsTU"));
    APropos1 = menuBar()->addAction(QStringLiteral("&A Propos"));
    APropos1->setObjectName(QStringLiteral("APropos1"));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    Bevel1 = Cree<QFrame>(client, "Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Place(Bevel1, 1, 0, 423, 3);

    TempsBox = Cree<QGroupBox>(client, "TempsBox");
    TempsBox->setTitle(QStringLiteral("Date && Heure (UTC)"));
    Place(TempsBox, 0, 3, 425, 54);
    DatePicker = Cree<QDateEdit>(TempsBox, "DatePicker");
    DatePicker->setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
    DatePicker->setCalendarPopup(true);
    DatePicker->setDateRange(QDate(1980, 1, 1), QDate(2250, 1, 1));
    DatePicker->setDate(QDate(2000, 3, 1));
    DatePicker->setEnabled(false);
    Place(DatePicker, 16, 21, 169, 21);
    TimePicker = Cree<QTimeEdit>(TempsBox, "TimePicker");
    TimePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    TimePicker->setTime(QTime(12, 6, 32));
    TimePicker->setEnabled(false);
    Place(TimePicker, 200, 20, 73, 21);
    ButtonMan = Cree<QRadioButton>(TempsBox, "ButtonMan");
    ButtonMan->setText(QStringLiteral("Date et heure choisie"));
    Place(ButtonMan, 285, 30, 124, 17);
    ButtonAuto = Cree<QRadioButton>(TempsBox, "ButtonAuto");
    ButtonAuto->setText(QStringLiteral("Horloge système"));
    ButtonAuto->setChecked(true);
    Place(ButtonAuto, 285, 15, 108, 17);

    LongiLatiBox = Cree<QGroupBox>(client, "LongiLatiBox");
    LongiLatiBox->setTitle(QStringLiteral("Longitude && Latitude géo. du lieu"));
    Place(LongiLatiBox, 0, 57, 273, 73);
    LatiPanel = Cree<QFrame>(LongiLatiBox, "LatiPanel");
    LatiPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(LatiPanel, 144, 16, 121, 49);
    RadioNord = Cree<QRadioButton>(LatiPanel, "RadioNord");
    RadioNord->setText(QStringLiteral("Nord"));
    RadioNord->setChecked(true);
    Place(RadioNord, 3, 8, 49, 17);
    RadioSud = Cree<QRadioButton>(LatiPanel, "RadioSud");
    RadioSud->setText(QStringLiteral("Sud"));
    Place(RadioSud, 3, 24, 49, 17);
    LatEdit = CreeMasque(LatiPanel, "LatEdit", QStringLiteral("00°00'00\";_"), QStringLiteral("42°29'48\""));
    Place(LatEdit, 56, 16, 57, 21);
    LongiPanel = Cree<QFrame>(LongiLatiBox, "LongiPanel");
    LongiPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(LongiPanel, 8, 16, 129, 49);
    RadioEst = Cree<QRadioButton>(LongiPanel, "RadioEst");
    RadioEst->setText(QStringLiteral("Est"));
    RadioEst->setChecked(true);
    Place(RadioEst, 3, 8, 41, 17);
    RadioOuest = Cree<QRadioButton>(LongiPanel, "RadioOuest");
    RadioOuest->setText(QStringLiteral("Ouest"));
    Place(RadioOuest, 3, 24, 49, 17);
    LongEdit = CreeMasque(LongiPanel, "LongEdit", QStringLiteral("000°00'00\";_"), QStringLiteral("002°01'49\""));
    Place(LongEdit, 58, 16, 65, 21);

    RefractionBox = Cree<QGroupBox>(client, "RefractionBox");
    RefractionBox->setTitle(QStringLiteral("Réfraction athmos."));
    Place(RefractionBox, 280, 57, 145, 73);
    Label1 = Cree<QLabel>(RefractionBox, "Label1");
    Label1->setText(QStringLiteral("T. °C"));
    Place(Label1, 8, 24, 24, 13);
    Label2 = Cree<QLabel>(RefractionBox, "Label2");
    Label2->setText(QStringLiteral("mm Hg"));
    Place(Label2, 48, 24, 33, 13);
    TempEdit = CreeMasque(RefractionBox, "TempEdit", QStringLiteral("#00;_"), QStringLiteral("+10"));
    Place(TempEdit, 8, 40, 33, 21);
    PressEdit = CreeMasque(RefractionBox, "PressEdit", QStringLiteral("000;_"), QStringLiteral("760"));
    Place(PressEdit, 48, 40, 25, 21);
    RefracCheck = Cree<QCheckBox>(RefractionBox, "RefracCheck");
    RefracCheck->setText(QStringLiteral("Actif"));
    Place(RefracCheck, 78, 46, 59, 15);

    CoordEquatBox = Cree<QGroupBox>(client, "CoordEquatBox");
    CoordEquatBox->setTitle(QStringLiteral("Coord. équatoriales apparentes"));
    Place(CoordEquatBox, 0, 130, 249, 79);
    Label4 = Cree<QLabel>(CoordEquatBox, "Label4");
    Label4->setText(QStringLiteral("Ascention droite"));
    Place(Label4, 8, 27, 76, 13);
    Label7 = Cree<QLabel>(CoordEquatBox, "Label7");
    Label7->setText(QStringLiteral("Déclination"));
    Place(Label7, 104, 28, 53, 13);
    Label3 = Cree<QLabel>(CoordEquatBox, "Label3");
    Label3->setText(QStringLiteral("Distance"));
    Place(Label3, 192, 28, 42, 13);
    AsdEdit = CreeResultat(CoordEquatBox, "AsdEdit");
    Place(AsdEdit, 8, 48, 89, 21);
    DecliEdit = CreeResultat(CoordEquatBox, "DecliEdit");
    Place(DecliEdit, 104, 48, 81, 21);
    RVEdit = CreeResultat(CoordEquatBox, "RVEdit");  // read-only too: what is typed there means nothing
    Place(RVEdit, 191, 48, 49, 21);

    CoordHorizonBox = Cree<QGroupBox>(client, "CoordHorizonBox");
    CoordHorizonBox->setTitle(QStringLiteral("Coord. horizontales locales"));
    Place(CoordHorizonBox, 256, 130, 169, 79);
    ZenithCheck = Cree<QCheckBox>(CoordHorizonBox, "ZenithCheck");
    ZenithCheck->setText(QStringLiteral("90- Alt."));
    Place(ZenithCheck, 11, 15, 57, 17);
    RefCheck = Cree<QCheckBox>(CoordHorizonBox, "RefCheck");
    RefCheck->setText(QStringLiteral("Ref. Sud"));
    Place(RefCheck, 88, 16, 73, 17);
    Label8 = Cree<QLabel>(CoordHorizonBox, "Label8");
    Label8->setText(QStringLiteral("Hauteur"));
    Place(Label8, 10, 32, 38, 13);
    Label5 = Cree<QLabel>(CoordHorizonBox, "Label5");
    Label5->setText(QStringLiteral("Azimuth"));
    Place(Label5, 90, 32, 37, 13);
    HautEdit = CreeResultat(CoordHorizonBox, "HautEdit");
    Place(HautEdit, 8, 48, 73, 21);
    AzimEdit = CreeResultat(CoordHorizonBox, "AzimEdit");
    Place(AzimEdit, 86, 48, 77, 21);

    // Keyboard order: time box, then the latitude panel before the longitude panel although
    // it stands to its right, the atmosphere, and the two result boxes.
    QWidget* ordre[] = {DatePicker, TimePicker, ButtonMan, ButtonAuto, RadioNord, RadioSud, LatEdit,
                        RadioEst,   RadioOuest, LongEdit,  TempEdit,   PressEdit, RefracCheck,
                        AsdEdit,    DecliEdit,  RVEdit,    HautEdit,   AzimEdit, ZenithCheck, RefCheck};
    for (std::size_t i = 1; i < std::size(ordre); ++i) setTabOrder(ordre[i - 1], ordre[i]);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    Timer1->setTimerType(Qt::PreciseTimer);

    client->setFixedSize(qRound(428 * Fenetres::Echelle()), qRound(214 * Fenetres::Echelle()));
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

    FormCreate();
    Timer1->start();  // armed at once; it ticks once the event loop runs
}

void TEphPosition::FormCreate() {
    Longitude = 7309.0 / 3600;   // 2°01'49" East
    Latitude = 152988.0 / 3600;  // 42°29'48" North
    Temperature = 10;
    Pression = 76;  // what the field's "760" says
    Unit3::TEmoinsTU = 64.184;   // TAI - UTC = 32 s, plus 32.184 s
    Maintenant = DateValeurDe(Horloge());
    DerniereSeconde = 0;
}

void TEphPosition::MiseAJour() {
    double longitudeSoleil = 0, equationTemps = 0;
    Moteur(Annee, Mois, Jour, Heure, Minute, Seconde + MilliSeconde / 1000.0, Longitude, Latitude, 0, Unit3::TEmoinsTU,
           longitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut, Hauteur, equationTemps);
    if (RefracCheck->isChecked()) Hauteur = Hauteur + PosSoleil::Refraction(Hauteur, Pression, Temperature);
    if (ZenithCheck->isChecked()) Hauteur = 90 - Hauteur;
    if (RefCheck->isChecked()) Azimut = Azimut - 180;

    const std::string separateur = SeparateurDecimal();
    Ecrit(HautEdit, QString::fromStdString(PosSoleil::DegVersDMS(Hauteur, 1, separateur)));
    Ecrit(AzimEdit, QString::fromStdString(PosSoleil::DegVersDMS(Azimut, 1, separateur)));
    Ecrit(AsdEdit, QString::fromStdString(PosSoleil::DegVersHMS(PosSoleil::Modulo360(AscensionDroite), 2, separateur)));
    Ecrit(DecliEdit, QString::fromStdString(PosSoleil::DegVersDMS(Declinaison, 2, separateur)));
    Ecrit(RVEdit, QString::fromStdString(PosSoleil::TexteFixe(RayonVecteur, 5, 7, separateur)));
}

void TEphPosition::Timer1Timer() {
    Maintenant = DateValeurDe(Horloge());
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
        const QDateTime instant = DateTimeDe(Maintenant);
        const QSignalBlocker bloqueDate(DatePicker);
        const QSignalBlocker bloqueHeure(TimePicker);
        DatePicker->setDate(std::clamp(instant.date(), DatePicker->minimumDate(), DatePicker->maximumDate()));
        TimePicker->setTime(QTime(instant.time().hour(), instant.time().minute(), instant.time().second()));
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
    valeur = static_cast<double>(static_cast<long double>(v[1]) / 60 + v[0] + static_cast<long double>(v[2]) / 3600);
    return true;
}

void TEphPosition::LongEditChange() {
    double valeur = 0;
    if (!LitSexagesimal(LongEdit, 3, valeur)) return;
    Longitude = valeur;
    if (RadioOuest->isChecked()) Longitude = -std::fabs(Longitude);
    MiseAJour();
}

void TEphPosition::LatEditChange() {
    double valeur = 0;
    if (!LitSexagesimal(LatEdit, 2, valeur)) return;
    Latitude = valeur;
    if (RadioSud->isChecked()) Latitude = -std::fabs(Latitude);
    MiseAJour();
}

void TEphPosition::TempEditChange() {
    const std::string texte = TempEdit->Lit().toStdString();
    double valeur = 0;
    if (!Conversions::LitNombre(texte, valeur, SeparateurDecimal())) {
        RapportErreur::Signale(QString::fromStdString(Conversions::MessageNombre(texte)));
        return;
    }
    Temperature = valeur;
    // Rewriting the field runs this handler again on the bound, which then refreshes too.
    if (Temperature > 40) {
        Temperature = 40;
        TempEdit->setText(QStringLiteral("+40"));
    }
    if (!(Temperature >= -20)) {
        Temperature = -20;
        TempEdit->setText(QStringLiteral("-20"));
    }
    MiseAJour();
}

void TEphPosition::PressEditChange() {
    const std::string texte = PressEdit->Lit().toStdString();
    double valeur = 0;
    if (!Conversions::LitNombre(texte, valeur, SeparateurDecimal())) {
        RapportErreur::Signale(QString::fromStdString(Conversions::MessageNombre(texte)));
        return;
    }
    Pression = valeur / 10;  // the field is in millimetres, refraction wants centimetres
    if (Pression > 90) {
        Pression = 90;
        PressEdit->setText(QStringLiteral("900"));
    }
    if (!(Pression >= 20)) {
        Pression = 20;
        PressEdit->setText(QStringLiteral("200"));
    }
    MiseAJour();
}

void TEphPosition::RadioEstClick() {
    if (!RadioEst->isChecked()) return;
    Longitude = std::fabs(Longitude);
    MiseAJour();
}

void TEphPosition::RadioOuestClick() {
    if (!RadioOuest->isChecked()) return;
    Longitude = -std::fabs(Longitude);
    MiseAJour();
}

void TEphPosition::RadioNordClick() {
    if (!RadioNord->isChecked()) return;
    Latitude = std::fabs(Latitude);
    MiseAJour();
}

void TEphPosition::RadioSudClick() {
    if (!RadioSud->isChecked()) return;
    Latitude = -std::fabs(Latitude);
    MiseAJour();
}

void TEphPosition::RefracCheckClick() { MiseAJour(); }
void TEphPosition::ZenithCheckClick() { MiseAJour(); }
void TEphPosition::RefCheckClick() { MiseAJour(); }

void TEphPosition::FichierClick() {
    Unit4::Ephemeride->show();
    Unit4::Ephemeride->raise();
    Unit4::Ephemeride->activateWindow();
}

void TEphPosition::TEMoinsTUClick() { Unit3::TEmoinsTUdlg->exec(); }

void TEphPosition::APropos1Click() { Unit2::AboutBox->exec(); }

void TEphPosition::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, a generation in progress included.
    Unit4::Arret = true;
    event->accept();
    QCoreApplication::quit();
}
