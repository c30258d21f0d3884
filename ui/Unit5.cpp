#include "Unit5.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDateTime>
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

#include "Controles.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Tableau.h"
#include "Unit4.h"

namespace Unit5 {

TJournee* Journee = nullptr;

namespace {

// A date-time value to a QDateTime in UTC, rounded to the second.
QDateTime EnUTC(double t) {
    const double secondes = std::round((t - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour);
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(secondes), QTimeZone::utc());
}

}  // namespace

QDate JourDuSite(double t, double longitude) {
    // Local mean time runs Longitude / 15 hours ahead of UTC.
    int a, m, j, h, mi, s, ms;
    PosSoleil::DecodeDateValeur(std::floor(t + longitude / 360.0), a, m, j, h, mi, s, ms);
    return QDate(a, m, j);
}

QString NomEvenement(const PosSoleil::Evenement& e) {
    return QString::fromStdString(Tableau::NomEvenement(e));
}

QString TexteUTC(double t) { return EnUTC(t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString TexteLegal(double t) {
    const QDateTime legal = EnUTC(t).toLocalTime();
    return legal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + legal.timeZoneAbbreviation();
}

}  // namespace Unit5

using namespace Unit5;

namespace {

// The Sun's path over one day from `debut`, every five minutes.
QVector<TTrajectoire::Point> Chemin(double debut, const PosSoleil::Site& site, double tet) {
    QVector<TTrajectoire::Point> points;
    for (int i = 0; i <= 288; ++i) {
        const PosSoleil::Position p = PosSoleil::PositionSoleil(debut + i / 288.0, site, tet);
        points.push_back({p.Azimut, p.Hauteur});
    }
    return points;
}

}  // namespace

// ---- The picture ----

TTrajectoire::TTrajectoire(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Trajectoire"));
    setMinimumSize(sizeHint() / 2);
}

QSize TTrajectoire::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QLatin1Char('0')) * 60, fm.height() * 16};
}

void TTrajectoire::ChangeChemins(QVector<Point> j, QVector<QVector<Point>> r, QVector<Heure> h, bool sud) {
    jour = std::move(j);
    references = std::move(r);
    heures = std::move(h);
    versLeSud = sud;
    double minimum = 0;
    for (const Point& p : jour) minimum = std::min(minimum, p.hauteur);
    hauteurMin = std::clamp(std::floor(minimum / 10) * 10, -90.0, -10.0);
    update();
}

void TTrajectoire::ChangeSoleil(bool visible, Point p) {
    if (visible == soleilVisible && p.azimut == soleil.azimut && p.hauteur == soleil.hauteur) return;
    soleilVisible = visible;
    soleil = p;
    update();
}

QPointF TTrajectoire::Vers(const QRectF& zone, Point p) const {
    // Azimuths run from north through east; the picture is centred on the south for a northern
    // site and on the north for a southern one, where the Sun culminates.
    double a = versLeSud ? p.azimut : std::fmod(p.azimut + 180.0, 360.0);
    a = std::clamp(a, 0.0, 360.0);
    const double x = zone.left() + zone.width() * a / 360.0;
    const double y = zone.bottom() - zone.height() * (p.hauteur - hauteurMin) / (90.0 - hauteurMin);
    return {x, y};
}

void TTrajectoire::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QFontMetrics fm(font());
    p.fillRect(rect(), pal.base());
    const QRectF zone = QRectF(rect()).adjusted(fm.horizontalAdvance(QStringLiteral("-90°")) + 6, fm.height(),
                                                -fm.horizontalAdvance(QLatin1Char('0')) * 2,
                                                -fm.height() * 1.6);

    // Altitude grid every 10 degrees; the horizon stronger.
    QColor grille = pal.color(QPalette::Text);
    grille.setAlphaF(0.15);
    for (double h = hauteurMin; h <= 90.0; h += 10.0) {
        const double y = Vers(zone, {0, h}).y();
        p.setPen(QPen(h == 0.0 ? pal.color(QPalette::Text) : grille, h == 0.0 ? 1.5 : 1.0));
        p.drawLine(QPointF(zone.left(), y), QPointF(zone.right(), y));
        if (std::fmod(h, 30.0) == 0.0) {
            p.setPen(pal.color(QPalette::Text));
            const QString texte = QStringLiteral("%1°").arg(h);
            p.drawText(QPointF(zone.left() - fm.horizontalAdvance(texte) - 4, y + fm.ascent() / 2.5), texte);
        }
    }
    // The cardinal points under the horizon line of the frame.
    const char* const cardinaux[] = {"N", "E", "S", "O"};
    for (int i = 0; i <= 4; ++i) {
        const double azimut = versLeSud ? i * 90.0 : i * 90.0 + 180.0;
        const double x = zone.left() + zone.width() * i / 4.0;
        p.setPen(grille);
        p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
        p.setPen(pal.color(QPalette::Text));
        const QString texte = QString::fromLatin1(cardinaux[static_cast<int>(std::fmod(azimut, 360.0) / 90.0)]);
        p.drawText(QPointF(x - fm.horizontalAdvance(texte) / 2.0, zone.bottom() + fm.height()), texte);
    }

    // A path broken where it wraps across the picture's edges.
    const auto trace = [&](const QVector<Point>& points) {
        QPainterPath chemin;
        for (int i = 0; i < points.size(); ++i) {
            const QPointF q = Vers(zone, points[i]);
            if (i == 0 || std::fabs(q.x() - Vers(zone, points[i - 1]).x()) > zone.width() / 2)
                chemin.moveTo(q);
            else
                chemin.lineTo(q);
        }
        p.drawPath(chemin);
    };
    p.setClipRect(zone.adjusted(-1, -1, 1, 1));
    QColor faible = pal.color(QPalette::Text);
    faible.setAlphaF(0.35);
    p.setPen(QPen(faible, 1.0, Qt::DashLine));
    for (const auto& reference : references) trace(reference);
    p.setPen(QPen(pal.color(QPalette::Highlight), 2.0));
    trace(jour);

    // Hour marks in legal time.
    p.setPen(pal.color(QPalette::Text));
    p.setBrush(pal.color(QPalette::Highlight));
    for (const Heure& h : heures) {
        if (h.point.hauteur < hauteurMin) continue;
        const QPointF q = Vers(zone, h.point);
        p.drawEllipse(q, 2.5, 2.5);
        p.drawText(q + QPointF(4, -4), QStringLiteral("%1h").arg(h.heure));
    }
    if (soleilVisible) {
        p.setPen(QPen(pal.color(QPalette::Text), 1.0));
        p.setBrush(QColor(255, 190, 0));
        p.drawEllipse(Vers(zone, soleil), 6.0, 6.0);
    }
}

// ---- The window ----

TJournee::TJournee(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "Journee", QStringLiteral("Journée solaire"), false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Date"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DatePicker = Controles::CreeDate(this, "DatePicker", QDate(2000, 1, 1), 0, 0, 169, 21);
    Label1->setBuddy(DatePicker);
    // Room for the longest long date, whatever the language's names of days and months.
    DatePicker->setMinimumWidth(DatePicker->sizeHint().width() +
                                QFontMetrics(font()).horizontalAdvance(QStringLiteral("Wednesday, 30 September 2026")) -
                                QFontMetrics(font()).horizontalAdvance(DatePicker->text()));
    Copier = new QPushButton(QStringLiteral("Vers presse-papier"), this);
    Copier->setObjectName(QStringLiteral("Copier"));
    Copier->setAutoDefault(false);

    Liste = new QTreeWidget(this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setRootIsDecorated(false);
    Liste->setColumnCount(4);
    Liste->setHeaderLabels({QStringLiteral("Événement"), QStringLiteral("UTC"), QStringLiteral("Heure légale"),
                            QStringLiteral("Azimut / hauteur")});
    Liste->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DureeLabel = new QLabel(this);
    DureeLabel->setObjectName(QStringLiteral("DureeLabel"));
    Trajectoire = new TTrajectoire(this);

    auto* haut = new QHBoxLayout;
    haut->addWidget(Label1);
    haut->addWidget(DatePicker);
    haut->addStretch();
    haut->addWidget(Copier);
    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(haut);
    colonne->addWidget(Liste, 1);
    colonne->addWidget(DureeLabel);
    colonne->addWidget(Trajectoire, 2);
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(QLatin1Char('0')) * 90, fm.height() * 44);
    Controles::AjusteALEcran(this);

    connect(DatePicker, &QDateEdit::dateChanged, this, &TJournee::DatePickerChange);
    connect(Copier, &QPushButton::clicked, this, &TJournee::CopierClick);
    auto* copie = new QShortcut(QKeySequence::Copy, this);
    copie->setContext(Qt::WindowShortcut);
    connect(copie, &QShortcut::activated, this, &TJournee::CopierClick);
    DatePicker->installEventFilter(this);
}

bool TJournee::eventFilter(QObject* objet, QEvent* event) {
    // The picker would take Ctrl+C for its own text; left unclaimed, it reaches the shortcut.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(objet, event);
}

void TJournee::Ouvre() {
    jourPrincipal = JourDuSite(Unit1::InstantAffiche(), Unit1::Longitude);
    {
        const QSignalBlocker bloque(DatePicker);
        DatePicker->setDate(jourPrincipal);
    }
    Calcule();
    show();
    raise();
    activateWindow();
}

void TJournee::DatePickerChange() { Calcule(); }

void TJournee::Actualise() {
    if (!isVisible()) return;
    const double instant = Unit1::InstantAffiche();
    const QDate jour = JourDuSite(instant, Unit1::Longitude);
    if (jour != jourPrincipal) {
        jourPrincipal = jour;
        const QSignalBlocker bloque(DatePicker);
        DatePicker->setDate(jour);
        Calcule();
        return;
    }
    if (Unit1::Longitude != longitude || Unit1::Latitude != latitude || Unit3::TEmoinsTU != tet) {
        Calcule();
        return;
    }
    // The clock moves the dot by a hair every 10 ms: a quarter of a second is smooth enough.
    // A change made by hand moves it at once.
    const bool enDirect = Unit1::EphPosition && Unit1::EphPosition->Timer1->isActive();
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
        PosSoleil::PositionSoleil(instantSoleil, {longitude, latitude, 0}, tet);
    Trajectoire->ChangeSoleil(true, {p.Azimut, p.Hauteur});
}

void TJournee::Calcule() {
    longitude = Unit1::Longitude;
    latitude = Unit1::Latitude;
    tet = Unit3::TEmoinsTU;
    const QDate date = DatePicker->date();
    const PosSoleil::Site site{longitude, latitude, 0};
    journee = PosSoleil::JourneeSolaire(date.year(), date.month(), date.day(), site, tet);

    const std::string separateur = Unit1::SeparateurDecimal();
    const auto dms = [&](double angle) { return QString::fromStdString(Tableau::TexteDMS(angle, 0, separateur)); };
    lignes.clear();
    lignes << QString::fromStdString(Unit4::LigneSite(separateur, true)) + QLatin1Char('\t') +
                  date.toString(QStringLiteral("yyyy-MM-dd"));
    Liste->clear();
    for (int i = 0; i < journee.nombre; ++i) {
        const PosSoleil::Evenement& e = journee.evenements[i];
        const bool culmination =
            e.type == PosSoleil::TypeEvenement::Passage || e.type == PosSoleil::TypeEvenement::PassageInferieur;
        const QStringList colonnes = {NomEvenement(e), TexteUTC(e.t), TexteLegal(e.t),
                                      culmination ? dms(e.hauteur) : dms(e.azimut)};
        lignes << colonnes.join(QLatin1Char('\t'));
        new QTreeWidgetItem(Liste, colonnes);
    }
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s) {
        if (journee.etats[s] == PosSoleil::EtatSeuil::Franchi) continue;
        const QString texte = QString::fromStdString(
            Tableau::TexteEtat(static_cast<PosSoleil::Seuil>(s), journee.etats[s]));
        lignes << texte;
        auto* item = new QTreeWidgetItem(Liste, {texte});
        item->setFirstColumnSpanned(true);
    }
    const QString duree = QString::fromStdString(Tableau::Duree(journee.duree, false));
    const QString variation = QString::fromStdString(Tableau::Duree(journee.variationDuree, true));
    lignes << QStringLiteral("Durée du jour\t%1\t%2").arg(duree, variation);
    DureeLabel->setText(QStringLiteral("Durée du jour : %1 (%2 depuis la veille)").arg(duree, variation));

    // The path of the day, the solstices' and the equinox's, and the hours of legal time.
    const auto debutDe = [&](int mois, int jour) { return PosSoleil::DebutJournee(date.year(), mois, jour, longitude); };
    QVector<QVector<TTrajectoire::Point>> references = {Chemin(debutDe(6, 21), site, tet),
                                                         Chemin(debutDe(12, 21), site, tet),
                                                         Chemin(debutDe(3, 20), site, tet)};
    QVector<TTrajectoire::Heure> heures;
    const QDateTime debutLegal = EnUTC(journee.debut).toLocalTime();
    QDateTime heure = debutLegal;
    heure.setTime(QTime(debutLegal.time().hour(), 0));
    for (heure = heure.addSecs(3600); heure.toSecsSinceEpoch() < debutLegal.toSecsSinceEpoch() + 86400;
         heure = heure.addSecs(3600)) {
        const double t = PosSoleil::JoursAvantUnix + heure.toSecsSinceEpoch() / PosSoleil::SecondesParJour;
        const PosSoleil::Position p = PosSoleil::PositionSoleil(t, site, tet);
        heures.push_back({{p.Azimut, p.Hauteur}, heure.time().hour()});
    }
    Trajectoire->ChangeChemins(Chemin(journee.debut, site, tet), references, heures, latitude >= 0);
    PlaceSoleil();
}

QString TJournee::TexteEvenements() const {
    QString texte;
    for (const QString& ligne : lignes) texte += ligne + QStringLiteral("\r\n");
    return texte;
}

void TJournee::CopierClick() { QApplication::clipboard()->setText(TexteEvenements()); }
