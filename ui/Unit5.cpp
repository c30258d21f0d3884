#include "Unit5.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QTimeZone>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "Controles.h"
#include "RapportErreur.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Principale.h"
#include "Unit3.h"
#include "Tableau.h"

namespace Unit5 {

TJournee* Journee = nullptr;

QString NomEvenement(const PosSoleil::Evenement& e) {
    return QString::fromStdString(Tableau::NomEvenement(e));
}

std::optional<std::vector<double>> LitHauteurs(const QString& texte, QString* raison) {
    std::vector<double> hauteurs;
    const QLocale locale = QLocale::system();
    for (const QString& mot :
         texte.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts)) {
        bool lu = false;
        double h = locale.toDouble(mot, &lu);
        if (!lu) h = QLocale::c().toDouble(mot, &lu);
        if (!lu) {
            if (raison) *raison = QStringLiteral("« %1 » n'est pas une hauteur en degrés").arg(mot);
            return std::nullopt;
        }
        if (!Contrat::Dans(Contrat::HauteurSoleil, h)) {
            if (raison)
                *raison = QStringLiteral("Hauteur « %1 » hors de %2 à %3 degrés")
                              .arg(mot)
                              .arg(Contrat::HauteurSoleil.min)
                              .arg(Contrat::HauteurSoleil.max);
            return std::nullopt;
        }
        if (std::find(hauteurs.begin(), hauteurs.end(), h) == hauteurs.end()) hauteurs.push_back(h);
    }
    return hauteurs;
}

QVector<TTrajectoire::Point> ProfilHorizon(const std::vector<PosSoleil::PointHorizon>& points) {
    if (points.size() < 2) return {};
    const PosSoleil::Horizon horizon(points);
    QVector<TTrajectoire::Point> profil;
    for (int a = 0; a <= 360; ++a) profil.push_back({double(a), horizon.Profil(a)});
    return profil;
}

}  // namespace Unit5

using namespace Unit5;

namespace {

// The Sun's path over one day from `debut`, every five minutes.
QVector<TTrajectoire::Point> Chemin(double debut, const PosSoleil::Site& site, double TEmoinsTU) {
    QVector<TTrajectoire::Point> points;
    for (int i = 0; i <= 288; ++i) {
        const PosSoleil::Position p = PosSoleil::PositionSoleil(debut + i / 288.0, site, TEmoinsTU);
        points.push_back({p.Azimut, p.Hauteur});
    }
    return points;
}

}  // namespace

// ---- The window ----

TJournee::TJournee(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "Journee", QStringLiteral("Journée solaire"), false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    Label1 = new QLabel(QStringLiteral("&Date"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DatePicker = Controles::CreeDate(this, "DatePicker", QDate(2000, 1, 1), 0, 0, 169, 21);
    Label1->setBuddy(DatePicker);
    // Room for the longest long date, whatever the language's names of days and months.
    DatePicker->setMinimumWidth(
        DatePicker->sizeHint().width() +
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("Wednesday, 30 September 2026")) -
        QFontMetrics(font()).horizontalAdvance(DatePicker->text()));
    Copier = new QPushButton(QStringLiteral("&Vers presse-papier"), this);
    Copier->setObjectName(QStringLiteral("Copier"));
    Copier->setAutoDefault(false);

    Liste = new QTreeWidget(this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setRootIsDecorated(false);
    Liste->setColumnCount(4);
    Liste->setHeaderLabels({QStringLiteral("Événement"), QStringLiteral("UTC"),
                            QStringLiteral("Heure légale"),
                            QStringLiteral("Azimut (nord) / hauteur")});
    Liste->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DureeLabel = new QLabel(this);
    DureeLabel->setObjectName(QStringLiteral("DureeLabel"));
    Trajectoire = new TTrajectoire(this);
    Trajectoire->setAccessibleName(QStringLiteral("Trajectoire du Soleil"));

    // The sky of the site: eye height, own altitudes, skyline; and the year.
    auto* labelOeil = new QLabel(QStringLiteral("Hauteur de l'œ&il (m)"), this);
    HauteurOeil = new QDoubleSpinBox(this);
    HauteurOeil->setObjectName(QStringLiteral("HauteurOeil"));
    HauteurOeil->setRange(0, PosSoleil::HauteurOeilMax);
    HauteurOeil->setDecimals(1);
    HauteurOeil->setAccessibleName(
        QStringLiteral("Hauteur de l'œil au-dessus de la mer ou de la plaine, mètres"));
    HauteurOeil->setToolTip(QStringLiteral("Lever et coucher à -50' - 1,76'·√H"));
    labelOeil->setBuddy(HauteurOeil);
    auto* labelHauteurs = new QLabel(QStringLiteral("&Hauteurs (°)"), this);
    Hauteurs = new QLineEdit(this);
    Hauteurs->setObjectName(QStringLiteral("Hauteurs"));
    Hauteurs->setPlaceholderText(QStringLiteral("6; -4"));
    Hauteurs->setAccessibleName(QStringLiteral("Hauteurs du centre du Soleil à signaler, degrés"));
    Hauteurs->setToolTip(ConseilHauteurs());
    labelHauteurs->setBuddy(Hauteurs);
    ChoisirHorizon = new QPushButton(QStringLiteral("H&orizon…"), this);
    ChoisirHorizon->setObjectName(QStringLiteral("ChoisirHorizon"));
    ChoisirHorizon->setAccessibleName(QStringLiteral("Charger une ligne d'horizon"));
    ChoisirHorizon->setToolTip(
        QStringLiteral("Fichier CSV d'en-tête azimuth,altitude : un point par ligne, l'azimut "
                       "depuis le nord vers l'est et la hauteur apparente de l'horizon, en "
                       "degrés (point décimal), deux points au moins"));
    ChoisirHorizon->setAutoDefault(false);
    RetirerHorizon = new QPushButton(QStringLiteral("Horizon &plat"), this);
    RetirerHorizon->setObjectName(QStringLiteral("RetirerHorizon"));
    RetirerHorizon->setAccessibleName(QStringLiteral("Revenir à l'horizon plat"));
    RetirerHorizon->setAutoDefault(false);
    RetirerHorizon->setEnabled(false);
    HorizonLabel = new QLabel(QStringLiteral("horizon plat"), this);
    HorizonLabel->setObjectName(QStringLiteral("HorizonLabel"));
    OuvrirAnnee = new QPushButton(QStringLiteral("&Année solaire…"), this);
    OuvrirAnnee->setObjectName(QStringLiteral("OuvrirAnnee"));
    OuvrirAnnee->setAccessibleName(QStringLiteral("Ouvrir l'année solaire"));
    OuvrirAnnee->setAutoDefault(false);
    OuvrirCadran = new QPushButton(QStringLiteral("Cadran &solaire…"), this);
    OuvrirCadran->setObjectName(QStringLiteral("OuvrirCadran"));
    OuvrirCadran->setAccessibleName(QStringLiteral("Ouvrir le cadran solaire d'un mur du lieu"));
    OuvrirCadran->setAutoDefault(false);
    auto* rangeeCiel = new QHBoxLayout;
    rangeeCiel->addWidget(labelOeil);
    rangeeCiel->addWidget(HauteurOeil);
    rangeeCiel->addWidget(labelHauteurs);
    rangeeCiel->addWidget(Hauteurs, 1);
    rangeeCiel->addWidget(ChoisirHorizon);
    rangeeCiel->addWidget(RetirerHorizon);
    rangeeCiel->addWidget(HorizonLabel, 1);

    auto* haut = new QHBoxLayout;
    haut->addWidget(Label1);
    haut->addWidget(DatePicker);
    haut->addStretch();
    haut->addWidget(OuvrirAnnee);
    haut->addWidget(OuvrirCadran);
    haut->addWidget(Copier);
    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(haut);
    colonne->addLayout(rangeeCiel);
    colonne->addWidget(Liste, 1);
    colonne->addWidget(DureeLabel);
    colonne->addWidget(Trajectoire, 2);
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(QLatin1Char('0')) * 90, fm.height() * 44);
    Controles::AjusteALEcran(this);

    connect(DatePicker, &QDateEdit::dateChanged, this, &TJournee::DatePickerChange);
    connect(Copier, &QPushButton::clicked, this, &TJournee::CopierClick);
    connect(HauteurOeil, &QDoubleSpinBox::valueChanged, this, &TJournee::HauteurOeilChange);
    connect(Hauteurs, &QLineEdit::textChanged, this, &TJournee::HauteursChange);
    connect(Hauteurs, &QLineEdit::editingFinished, this, &TJournee::HauteursExit);
    connect(ChoisirHorizon, &QPushButton::clicked, this, &TJournee::ChoisirHorizonClick);
    connect(RetirerHorizon, &QPushButton::clicked, this, &TJournee::RetirerHorizonClick);
    connect(OuvrirAnnee, &QPushButton::clicked, this, &TJournee::OuvrirAnneeClick);
    connect(OuvrirCadran, &QPushButton::clicked, this, &TJournee::OuvrirCadranClick);
    Controles::CopieAuClavier(this, [this] { CopierClick(); }, {DatePicker});
}

void TJournee::Ouvre() {
    jourPrincipal = JourDuResident(Unit1::InstantAffiche());
    {
        const QSignalBlocker bloque(DatePicker);
        DatePicker->setDate(jourPrincipal);
    }
    Calcule();
    show();
    raise();
    activateWindow();
}

void TJournee::DatePickerChange() {
    Calcule();
}

void TJournee::HauteurOeilChange() {
    ciel.hauteurOeil = HauteurOeil->value();
    Calcule();
}

void TJournee::HauteursChange() {
    // While the list is typed, what cannot be read is shown in red and its reason in the
    // field's tip; nothing is taken before the list is complete (HauteursExit): the "9" of a
    // "95" being typed is no altitude.
    QString raison;
    const bool lisible = LitHauteurs(Hauteurs->text(), &raison).has_value();
    QPalette pal = Hauteurs->palette();
    pal.setColor(QPalette::Text, lisible ? palette().color(QPalette::Text) : QColor(200, 0, 0));
    Hauteurs->setPalette(pal);
    Hauteurs->setToolTip(lisible ? ConseilHauteurs() : raison);
}

void TJournee::HauteursExit() {
    // The list is complete (Enter, or the field left): taken if it reads, else refused with
    // its reason, the altitudes in force kept.
    QString raison;
    const auto hauteurs = LitHauteurs(Hauteurs->text(), &raison);
    if (!hauteurs) {
        if (raison != refusHauteurs) {
            refusHauteurs = raison;
            RapportErreur::Signale(raison);
        }
        return;
    }
    refusHauteurs.clear();
    if (*hauteurs == ciel.hauteurs) return;
    ciel.hauteurs = *hauteurs;
    Calcule();
}

QString TJournee::ConseilHauteurs() {
    return QStringLiteral(
        "Passages du centre à ces hauteurs, séparées par « ; » "
        "(6 et -4 : heure dorée et heure bleue), prises à Entrée");
}

QString TJournee::ChargeHorizon(const QString& chemin) {
    std::ifstream fichier(chemin.toStdString(), std::ios::binary);
    if (!fichier) return QStringLiteral("Fichier illisible : « %1 »").arg(chemin);
    try {
        ciel.horizon = Tableau::LitHorizon(fichier, QFileInfo(chemin).fileName().toStdString());
    } catch (const std::invalid_argument& e) {
        // A word joiner keeps the header's name whole where the message box wraps its lines.
        return QStringLiteral("Ligne d'horizon refusée : %1")
            .arg(QString::fromStdString(e.what()).replace(
                QStringLiteral("azimuth,altitude"), QStringLiteral("azimuth,\u2060altitude")));
    }
    // The skyline is what the eye sees: no eye height with it.
    ciel.hauteurOeil = 0;
    {
        const QSignalBlocker bloque(HauteurOeil);
        HauteurOeil->setValue(0);
    }
    HauteurOeil->setEnabled(false);
    RetirerHorizon->setEnabled(true);
    HorizonLabel->setText(QFileInfo(chemin).fileName());
    Trajectoire->ChangeHorizon(ProfilHorizon(ciel.horizon));
    Calcule();
    return {};
}

void TJournee::ChoisirHorizonClick() {
    const QString chemin = QFileDialog::getOpenFileName(
        this, QStringLiteral("Ligne d'horizon"), {},
        QStringLiteral("Horizon CSV azimuth,altitude (*.csv *.txt);;Tous les fichiers (*)"));
    if (chemin.isEmpty()) return;
    if (const QString erreur = ChargeHorizon(chemin); !erreur.isEmpty())
        RapportErreur::Signale(erreur);
}

void TJournee::RetirerHorizonClick() {
    ciel.horizon.clear();
    HauteurOeil->setEnabled(true);
    RetirerHorizon->setEnabled(false);
    HorizonLabel->setText(QStringLiteral("horizon plat"));
    Trajectoire->ChangeHorizon({});
    Calcule();
}

void TJournee::OuvrirAnneeClick() {
    if (!Annee) Annee = new TAnnee(this);
    Annee->Ouvre(DatePicker->date().year(), {longitude, latitude, 0}, TEmoinsTU, ciel);
}

void TJournee::OuvrirCadranClick() {
    if (!Cadran) Cadran = new TCadran(this);
    Cadran->Ouvre();
}

void TJournee::Actualise() {
    // The year and the dial follow the main window's site whether or not this one is shown.
    if (Annee) Annee->Suit({Unit1::Longitude, Unit1::Latitude, 0}, Unit3::TEmoinsTU, ciel);
    if (Cadran) Cadran->Actualise();
    if (!isVisible()) return;
    const double instant = Unit1::InstantAffiche();
    const QDate jour = JourDuResident(instant);
    if (jour != jourPrincipal) {
        jourPrincipal = jour;
        const QSignalBlocker bloque(DatePicker);
        DatePicker->setDate(jour);
        Calcule();
        return;
    }
    if (Unit1::Longitude != longitude || Unit1::Latitude != latitude ||
        Unit3::TEmoinsTU != TEmoinsTU || DepuisLeSud() != sud) {
        Calcule();
        return;
    }
    // The clock moves the dot by a hair every 10 ms: a quarter of a second is smooth enough.
    // A change made by hand moves it at once.
    const bool enDirect = Unit1::Principale && Unit1::Principale->EnDirect();
    if (instant != instantSoleil &&
        (!enDirect || !dernierSoleil.isValid() || dernierSoleil.elapsed() >= 250))
        PlaceSoleil();
}

void TJournee::PlaceSoleil() {
    dernierSoleil.start();
    instantSoleil = Unit1::InstantAffiche();
    if (instantSoleil < journee.debut || instantSoleil >= journee.debut + 1.0) {
        Trajectoire->ChangeSoleil(false, {});
        return;
    }
    const PosSoleil::Position p =
        PosSoleil::PositionSoleil(instantSoleil, {longitude, latitude, 0}, TEmoinsTU);
    Trajectoire->ChangeSoleil(true, {p.Azimut, p.Hauteur});
}

bool TJournee::DepuisLeSud() const {
    return Unit1::Principale && Unit1::Principale->DepuisLeSud();
}

void TJournee::Calcule() {
    longitude = Unit1::Longitude;
    latitude = Unit1::Latitude;
    TEmoinsTU = Unit3::TEmoinsTU;
    // The year shown follows the site and the sky of the day.
    if (Annee) Annee->Suit({longitude, latitude, 0}, TEmoinsTU, ciel);
    sud = DepuisLeSud();
    // The azimuth's origin, as the main window shows it: from the north through the east, or
    // from the south (less 180 degrees).
    Liste->headerItem()->setText(3, sud ? QStringLiteral("Azimut (sud) / hauteur")
                                        : QStringLiteral("Azimut (nord) / hauteur"));
    const QDate date = DatePicker->date();
    const PosSoleil::Site site{longitude, latitude, 0};
    journee = JourneeDuResident(date, site, ciel, TEmoinsTU);

    const std::string separateur = Unit1::SeparateurDecimal();
    const auto dms = [&](double angle) {
        return QString::fromStdString(Tableau::TexteDMS(angle, 0, separateur));
    };
    lignes.clear();
    lignes << QString::fromStdString(Unit1::LigneSite(separateur, true)) + QLatin1Char('\t') +
                  date.toString(QStringLiteral("yyyy-MM-dd"));
    Liste->clear();
    for (const PosSoleil::Evenement& e : journee.evenements) {
        const bool culmination = e.type == PosSoleil::TypeEvenement::Passage ||
                                 e.type == PosSoleil::TypeEvenement::PassageInferieur;
        const QStringList colonnes = {
            NomEvenement(e), TexteUTC(e.t), TexteLegal(e.t),
            culmination ? dms(e.hauteur) : dms(Tableau::AzimutDepuis(e.azimut, sud))};
        lignes << colonnes.join(QLatin1Char('\t'));
        new QTreeWidgetItem(Liste, colonnes);
    }
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s) {
        if (journee.etats[s] == PosSoleil::EtatSeuil::Franchi) continue;
        const QString texte = QString::fromStdString(
            s == 0 ? Tableau::TexteEtatLever(journee, ciel)
                   : Tableau::TexteEtat(static_cast<PosSoleil::Seuil>(s), journee.etats[s]));
        lignes << texte;
        auto* item = new QTreeWidgetItem(Liste, {texte});
        item->setFirstColumnSpanned(true);
    }
    for (std::size_t i = 0; i < journee.etatsHauteurs.size(); ++i) {
        if (journee.etatsHauteurs[i] == PosSoleil::EtatSeuil::Franchi) continue;
        const QString texte =
            QString::fromStdString(Tableau::TexteEtat(ciel.hauteurs[i], journee.etatsHauteurs[i]));
        lignes << texte;
        auto* item = new QTreeWidgetItem(Liste, {texte});
        item->setFirstColumnSpanned(true);
    }
    const QString duree = QString::fromStdString(Tableau::Duree(journee.duree, false));
    const QString variation = QString::fromStdString(Tableau::Duree(journee.variationDuree, true));
    lignes << QStringLiteral("Durée du jour\t%1\t%2").arg(duree, variation);
    DureeLabel->setText(
        QStringLiteral("Durée du jour : %1 (%2 depuis la veille)").arg(duree, variation));

    // The path of the day, the solstices' and the equinox's, and the hours of legal time.
    const auto debutDe = [&](int mois, int jour) {
        return PosSoleil::DebutJournee(date.year(), mois, jour, longitude);
    };
    QVector<QVector<TTrajectoire::Point>> references = {Chemin(debutDe(6, 21), site, TEmoinsTU),
                                                        Chemin(debutDe(12, 21), site, TEmoinsTU),
                                                        Chemin(debutDe(3, 20), site, TEmoinsTU)};
    // Every whole hour of legal time in the day. Where legal time goes back, an hour comes twice:
    // both are named with their zone, and the note says which zones the day has.
    QVector<TTrajectoire::Heure> heures;
    QVector<int> numeros;
    QStringList zones, abreviations;
    const double debutJour =
        (journee.debut - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour;
    // Every offset from UTC is a whole number of quarter hours: the instants at which legal
    // time shows a whole hour are among the quarter hours of UTC. A change of half an hour
    // (Lord Howe) adds no mark of its own, an hour that comes twice has both, and the last
    // hour of the day is marked however close to the day's end it falls.
    const qint64 premier = static_cast<qint64>(std::floor(debutJour / 900)) * 900 + 900;
    for (qint64 debutHeure = premier; debutHeure < debutJour + 86400; debutHeure += 900) {
        const QDateTime marque =
            QDateTime::fromSecsSinceEpoch(debutHeure, QTimeZone::utc()).toLocalTime();
        if (marque.time().minute() != 0 || marque.time().second() != 0) continue;
        const double t = PosSoleil::JoursAvantUnix + debutHeure / PosSoleil::SecondesParJour;
        const PosSoleil::Position p = PosSoleil::PositionSoleil(t, site, TEmoinsTU);
        heures.push_back({{p.Azimut, p.Hauteur}, QStringLiteral("%1h").arg(marque.time().hour())});
        numeros.push_back(marque.time().hour());
        abreviations << marque.timeZoneAbbreviation();
        if (!zones.contains(marque.timeZoneAbbreviation())) zones << marque.timeZoneAbbreviation();
    }
    for (int i = 0; i < heures.size(); ++i)
        if (numeros.count(numeros[i]) > 1) heures[i].texte += QLatin1Char(' ') + abreviations[i];
    Trajectoire->ChangeChemins(
        Chemin(journee.debut, site, TEmoinsTU), references, heures, latitude >= 0,
        QStringLiteral("heure légale ") + zones.join(QStringLiteral(" puis ")));
    PlaceSoleil();
}

QString TJournee::TexteEvenements() const {
    QString texte;
    for (const QString& ligne : lignes) texte += ligne + QStringLiteral("\r\n");
    return texte;
}

void TJournee::CopierClick() {
    QApplication::clipboard()->setText(TexteEvenements());
}
