#include "Unit7.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>
#include <tuple>

#include "Contrat.h"
#include "Controles.h"
#include "Principale.h"
#include "RapportErreur.h"
#include "Unit3.h"

namespace {

// "-0.0" is no number a reader expects: what rounds to zero is written 0.
QString NombreCadran(double x, int decimales = 1) {
    const double arrondi = std::round(x * std::pow(10, decimales)) / std::pow(10, decimales);
    return QLocale::system().toString(arrondi == 0 ? 0.0 : arrondi, 'f', decimales);
}

QDoubleSpinBox* ChampCadran(QWidget* parent, const char* nom, Contrat::Plage plage, double valeur,
                            int decimales, const QString& suffixe, const QString& accessible) {
    auto* c = new QDoubleSpinBox(parent);
    c->setObjectName(QLatin1String(nom));
    c->setRange(plage.min, plage.max);
    c->setDecimals(decimales);
    c->setValue(valeur);
    c->setSuffix(suffixe);
    c->setAccessibleName(accessible);
    c->setKeyboardTracking(false);
    return c;
}

// A font `unites` of the painter's own units high, whatever the device's resolution.
void PoliceEnUnites(QPainter& p, double unites) {
    QFont police = p.font();
    police.setPointSizeF(std::max(0.1, unites * 72.0 / p.device()->logicalDpiY()));
    p.setFont(police);
}

QCheckBox* CaseCadran(QWidget* parent, const char* nom, const QString& texte, bool coche) {
    auto* c = new QCheckBox(texte, parent);
    c->setObjectName(QLatin1String(nom));
    c->setChecked(coche);
    return c;
}

}  // namespace

QString Unit7::NomSorte(PosSoleil::SorteLigne s) {
    switch (s) {
        case PosSoleil::SorteLigne::Heure:
            return QStringLiteral("heure");
        case PosSoleil::SorteLigne::DemiHeure:
            return QStringLiteral("demi-heure");
        case PosSoleil::SorteLigne::QuartHeure:
            return QStringLiteral("quart d'heure");
        case PosSoleil::SorteLigne::Date:
            return QStringLiteral("date");
        case PosSoleil::SorteLigne::Analemme:
            return QStringLiteral("temps moyen");
        case PosSoleil::SorteLigne::Babylonienne:
            return QStringLiteral("heure babylonienne");
        case PosSoleil::SorteLigne::Italique:
            return QStringLiteral("heure italique");
    }
    return {};
}

// ---- The picture ----

TImageCadran::TImageCadran(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image"));
    setAccessibleName(QStringLiteral("Le cadran tel qu'il sera imprimé"));
    setMinimumSize(240, 240);
}

void TImageCadran::Change(const PosSoleil::Cadran& c, const PosSoleil::GeometrieCadran& g,
                          const PosSoleil::Trace& t, std::vector<PosSoleil::LigneCadran> l,
                          const PosSoleil::Ombre& o) {
    cadran = c;
    geometrie = g;
    trace = t;
    lignes = std::move(l);
    ombre = o;
    update();
}

void TImageCadran::ChangeOmbre(const PosSoleil::Ombre& o) {
    ombre = o;
    update();
}

void TImageCadran::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    Dessine(p, QRectF(rect()).adjusted(8, 8, -8, -8));
}

void TImageCadran::Dessine(QPainter& p, const QRectF& cible) const {
    const double echelle = std::min(cible.width() / trace.largeur, cible.height() / trace.hauteur);
    const QPointF centre = cible.center();
    const auto point = [&](double x, double y) {
        return QPointF(centre.x() + (x - trace.centreX) * echelle,
                       centre.y() - (y - trace.centreY) * echelle);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF zone(point(trace.centreX - trace.largeur / 2, trace.centreY + trace.hauteur / 2),
                      point(trace.centreX + trace.largeur / 2, trace.centreY - trace.hauteur / 2));
    p.fillRect(zone, Qt::white);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(zone);
    p.setClipRect(zone);
    // Strokes of a fixed fraction of the dial, so that print and screen look alike.
    const double trait = std::max(trace.largeur, trace.hauteur) / 600 * echelle;
    PoliceEnUnites(p, trait * 7);
    for (const PosSoleil::LigneCadran& l : lignes) {
        QColor couleur = Qt::black;
        Qt::PenStyle style = Qt::SolidLine;
        double largeur = trait;
        switch (l.sorte) {
            case PosSoleil::SorteLigne::Heure:
                largeur = 2 * trait;
                break;
            case PosSoleil::SorteLigne::DemiHeure:
                break;
            case PosSoleil::SorteLigne::QuartHeure:
                style = Qt::DotLine;
                break;
            case PosSoleil::SorteLigne::Date:
                couleur = QColor(31, 95, 168);
                break;
            case PosSoleil::SorteLigne::Analemme:
                couleur = QColor(150, 30, 30);
                break;
            case PosSoleil::SorteLigne::Babylonienne:
                couleur = QColor(20, 120, 40);
                style = Qt::DashLine;
                break;
            case PosSoleil::SorteLigne::Italique:
                couleur = QColor(120, 40, 140);
                style = Qt::DashLine;
                break;
        }
        p.setPen(QPen(couleur, largeur, style, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath chemin(point(l.points.front().first, l.points.front().second));
        for (const auto& [x, y] : l.points) chemin.lineTo(point(x, y));
        p.drawPath(chemin);
        p.drawText(point(l.points.front().first, l.points.front().second) + QPointF(2, -2),
                   QString::fromStdString(l.etiquette));
    }
    // The gnomon's foot, the substyle of a polar style, and the shadow at the main window's
    // instant: the style's own shadow from its foot, or the nodus' point.
    p.setPen(QPen(Qt::black, trait));
    p.setBrush(Qt::black);
    p.drawEllipse(point(0, 0), 2 * trait, 2 * trait);
    if (cadran.gnomon == PosSoleil::Gnomon::StylePolaire && std::isfinite(geometrie.sousStyle)) {
        const double l =
            cadran.longueur * std::cos(geometrie.hauteurStyle * std::numbers::pi / 180);
        const double a = geometrie.sousStyle * std::numbers::pi / 180;
        p.setPen(QPen(Qt::black, 3 * trait, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(point(0, 0), point(l * std::sin(a), l * std::cos(a)));
    }
    if (ombre.eclaire) {
        p.setPen(QPen(QColor(200, 60, 0), 2 * trait, Qt::SolidLine, Qt::RoundCap));
        if (cadran.gnomon == PosSoleil::Gnomon::StylePolaire)
            p.drawLine(point(0, 0), point(ombre.x, ombre.y));
        p.setBrush(QColor(200, 60, 0));
        p.drawEllipse(point(ombre.x, ombre.y), 3 * trait, 3 * trait);
    }
    p.restore();
}

// ---- The window ----

TCadran::TCadran(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "Cadran", QStringLiteral("Cadran solaire"), false);
    AzimutMur = ChampCadran(this, "AzimutMur", {0, 360}, 180, 1, QStringLiteral(" °"),
                            QStringLiteral("Azimut vers lequel regarde la face, depuis le nord"));
    AzimutMur->setWrapping(true);
    DeclinaisonLabel = new QLabel(this);
    DeclinaisonLabel->setObjectName(QStringLiteral("DeclinaisonLabel"));
    Inclinaison =
        ChampCadran(this, "Inclinaison", Contrat::InclinaisonPlan, 90, 1, QStringLiteral(" °"),
                    QStringLiteral("Inclinaison du plan, 0 horizontal, 90 vertical"));
    Gnomon = new QComboBox(this);
    Gnomon->setObjectName(QStringLiteral("Gnomon"));
    Gnomon->addItems({QStringLiteral("Style polaire"), QStringLiteral("Nodus")});
    Gnomon->setAccessibleName(QStringLiteral("Sorte de gnomon"));
    Longueur = ChampCadran(this, "Longueur", Contrat::LongueurGnomon, 100, 1, QStringLiteral(" mm"),
                           QStringLiteral("Longueur du style ou distance du nodus au plan"));
    Largeur = ChampCadran(this, "Largeur", Contrat::TailleCadran, 400, 0, QStringLiteral(" mm"),
                          QStringLiteral("Largeur du cadran"));
    Hauteur = ChampCadran(this, "Hauteur", Contrat::TailleCadran, 400, 0, QStringLiteral(" mm"),
                          QStringLiteral("Hauteur du cadran"));
    Heures = CaseCadran(this, "Heures", QStringLiteral("&Heures"), true);
    DemiHeures = CaseCadran(this, "DemiHeures", QStringLiteral("&Demi-heures"), false);
    Quarts = CaseCadran(this, "Quarts", QStringLiteral("&Quarts d'heure"), false);
    Dates = CaseCadran(this, "Dates", QStringLiteral("&Solstices et équinoxes"), true);
    Signes = CaseCadran(this, "Signes", QStringLiteral("Si&gnes du zodiaque"), false);
    Mois = CaseCadran(this, "Mois", QStringLiteral("Premiers du &mois"), false);
    Analemmes = CaseCadran(this, "Analemmes", QStringLiteral("&Temps moyen (analemmes)"), false);
    Babyloniennes =
        CaseCadran(this, "Babyloniennes", QStringLiteral("Heures &babyloniennes"), false);
    Italiques = CaseCadran(this, "Italiques", QStringLiteral("Heures &italiques"), false);
    RaisonLabel = new QLabel(this);
    RaisonLabel->setObjectName(QStringLiteral("RaisonLabel"));
    RaisonLabel->setWordWrap(true);
    RaisonLabel->setStyleSheet(QStringLiteral("color: #b00020"));
    DescriptionLabel = new QLabel(this);
    DescriptionLabel->setObjectName(QStringLiteral("DescriptionLabel"));
    DescriptionLabel->setWordWrap(true);
    DescriptionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Image = new TImageCadran(this);
    Enregistrer = new QPushButton(QStringLiteral("&Enregistrer…"), this);
    Enregistrer->setObjectName(QStringLiteral("Enregistrer"));
    Enregistrer->setAccessibleName(QStringLiteral("Enregistrer le cadran en SVG ou en PDF"));
    Enregistrer->setAutoDefault(false);

    auto* reglages = new QFormLayout;
    reglages->addRow(QStringLiteral("&Azimut de la face"), AzimutMur);
    reglages->addRow(QString(), DeclinaisonLabel);
    reglages->addRow(QStringLiteral("I&nclinaison"), Inclinaison);
    reglages->addRow(QStringLiteral("&Gnomon"), Gnomon);
    reglages->addRow(QStringLiteral("&Longueur"), Longueur);
    reglages->addRow(QStringLiteral("La&rgeur"), Largeur);
    reglages->addRow(QStringLiteral("Ha&uteur"), Hauteur);
    auto* cases = new QVBoxLayout;
    for (QCheckBox* c :
         {Heures, DemiHeures, Quarts, Dates, Signes, Mois, Analemmes, Babyloniennes, Italiques})
        cases->addWidget(c);
    auto* gauche = new QVBoxLayout;
    gauche->addLayout(reglages);
    gauche->addLayout(cases);
    gauche->addWidget(RaisonLabel);
    gauche->addStretch();
    gauche->addWidget(Enregistrer);
    auto* droite = new QVBoxLayout;
    droite->addWidget(DescriptionLabel);
    droite->addWidget(Image, 1);
    auto* tout = new QHBoxLayout(this);
    tout->addLayout(gauche);
    tout->addLayout(droite, 1);
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(QLatin1Char('0')) * 110, fm.height() * 34);
    Controles::AjusteALEcran(this);

    for (QDoubleSpinBox* c : {AzimutMur, Inclinaison, Longueur, Largeur, Hauteur})
        connect(c, &QDoubleSpinBox::valueChanged, this, &TCadran::ReglageChange);
    connect(Gnomon, &QComboBox::currentIndexChanged, this, &TCadran::ReglageChange);
    for (QCheckBox* c :
         {Heures, DemiHeures, Quarts, Dates, Signes, Mois, Analemmes, Babyloniennes, Italiques})
        connect(c, &QCheckBox::toggled, this, &TCadran::ReglageChange);
    connect(Enregistrer, &QPushButton::clicked, this, &TCadran::EnregistrerClick);
}

PosSoleil::Cadran TCadran::Cadran() const {
    PosSoleil::Cadran c;
    c.azimutMur = AzimutMur->value();
    c.inclinaison = Inclinaison->value();
    c.gnomon =
        Gnomon->currentIndex() == 1 ? PosSoleil::Gnomon::Nodus : PosSoleil::Gnomon::StylePolaire;
    c.longueur = Longueur->value();
    return c;
}

QString TCadran::Raison() const {
    const PosSoleil::DefautCadran d = PosSoleil::VerifieCadran(Cadran(), site.Latitude);
    if (d == PosSoleil::DefautCadran::Aucun) return {};
    return QStringLiteral("Cadran impossible : ") +
           QString::fromUtf8(Contrat::TexteDefautCadran(d)) + QLatin1Char('.');
}

PosSoleil::ChoixLignes TCadran::Choix() const {
    PosSoleil::ChoixLignes c;
    c.heures = Heures->isChecked();
    c.demiHeures = DemiHeures->isChecked();
    c.quarts = Quarts->isChecked();
    c.dates = Dates->isChecked();
    c.signes = Signes->isChecked();
    c.mois = Mois->isChecked();
    c.analemmes = Analemmes->isChecked();
    c.babyloniennes = Babyloniennes->isChecked();
    c.italiques = Italiques->isChecked();
    return c;
}

PosSoleil::Trace TCadran::Trace() const {
    PosSoleil::Trace t;
    t.largeur = Largeur->value();
    t.hauteur = Hauteur->value();
    t.annee = annee;
    // The mean time of the standard meridian nearest the site.
    t.meridien = 15 * std::round(site.Longitude / 15);
    t.TEmoinsTU = TEmoinsTU;
    t.centreX = centre.first;
    t.centreY = centre.second;
    return t;
}

QString TCadran::Description() const {
    const PosSoleil::Cadran c = Cadran();
    const PosSoleil::GeometrieCadran g = PosSoleil::Geometrie(c, site.Latitude);
    const double declinaison = std::remainder(c.azimutMur - 180, 360);
    QString texte =
        QString::fromStdString(Unit1::LigneSite(Unit1::SeparateurDecimal())) +
        QStringLiteral(" — face vers l'azimut %1° (déclinaison %2° %3), inclinaison %4° — ")
            .arg(NombreCadran(c.azimutMur), NombreCadran(std::fabs(declinaison)),
                 declinaison >= 0 ? QStringLiteral("O") : QStringLiteral("E"),
                 NombreCadran(c.inclinaison));
    texte += c.gnomon == PosSoleil::Gnomon::Nodus
                 ? QStringLiteral("nodus à %1 mm du plan").arg(NombreCadran(c.longueur))
                 : QStringLiteral(
                       "style polaire de %1 mm, hauteur %2°, sous-style à %3° de "
                       "midi")
                       .arg(NombreCadran(c.longueur), NombreCadran(g.hauteurStyle, 2),
                            NombreCadran(g.distanceSousStyle, 2));
    return texte + QStringLiteral(" — année %1").arg(annee);
}

void TCadran::Ouvre() {
    Calcule();
    show();
    raise();
    activateWindow();
}

void TCadran::ReglageChange() {
    Calcule();
}

void TCadran::Calcule() {
    site = {Unit1::Longitude, Unit1::Latitude, 0};
    TEmoinsTU = Unit3::TEmoinsTU;
    instantOmbre = Unit1::InstantAffiche();
    int a = 0, m = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
    PosSoleil::DecodeDateValeur(instantOmbre, a, m, j, h, mi, s, ms);
    annee = a;
    const double declinaison = std::remainder(AzimutMur->value() - 180, 360);
    DeclinaisonLabel->setText(
        QStringLiteral("déclinaison gnomonique %1° %2")
            .arg(NombreCadran(std::fabs(declinaison)),
                 declinaison >= 0 ? QStringLiteral("ouest") : QStringLiteral("est")));
    const PosSoleil::Cadran c = Cadran();
    const QString raison = Raison();
    refuse = !raison.isEmpty();
    RaisonLabel->setText(raison);
    Enregistrer->setEnabled(raison.isEmpty());
    DescriptionLabel->setText(Description());
    PosSoleil::Trace t = Trace();
    std::tie(t.centreX, t.centreY) = PosSoleil::CentreDesLignes(c, site, t);
    centre = {t.centreX, t.centreY};
    Image->Change(c, PosSoleil::Geometrie(c, site.Latitude), t,
                  PosSoleil::LignesCadran(c, site, Choix(), t),
                  raison.isEmpty() ? PosSoleil::OmbreA(c, instantOmbre, site, TEmoinsTU)
                                   : PosSoleil::Ombre{0, 0, false});
}

void TCadran::Actualise() {
    if (!isVisible()) return;
    int a = 0, m = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
    PosSoleil::DecodeDateValeur(Unit1::InstantAffiche(), a, m, j, h, mi, s, ms);
    if (Unit1::Longitude != site.Longitude || Unit1::Latitude != site.Latitude ||
        Unit3::TEmoinsTU != TEmoinsTU || a != annee) {
        Calcule();
        return;
    }
    // The shadow alone moves with the clock, a quarter of a second being smooth enough; a
    // change made by hand moves it at once.
    const double instant = Unit1::InstantAffiche();
    const bool enDirect = Unit1::Principale && Unit1::Principale->EnDirect();
    if (instant == instantOmbre || refuse ||
        (enDirect && derniereOmbre.isValid() && derniereOmbre.elapsed() < 250))
        return;
    derniereOmbre.start();
    instantOmbre = instant;
    Image->ChangeOmbre(PosSoleil::OmbreA(Cadran(), instant, site, TEmoinsTU));
}

bool TCadran::EnregistreImage(const QString& chemin) const {
    const PosSoleil::Trace t = Trace();
    const QSizeF page(t.largeur + 2 * Marge, t.hauteur + 2 * Marge + Legende);  // mm
    const auto dessine = [&](QPainter& p) {
        p.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
        Image->Dessine(p, QRectF(Marge, Marge, t.largeur, t.hauteur));
        PoliceEnUnites(p, 3.5);  // mm
        p.setPen(Qt::black);
        p.drawText(QRectF(Marge, Marge * 1.5 + t.hauteur, t.largeur, Legende),
                   Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, Description());
    };
    if (chemin.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(chemin);
        pdf.setPageSize(QPageSize(page, QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(1200);
        pdf.setTitle(windowTitle());
        QPainter p;
        if (!p.begin(&pdf)) return false;
        p.scale(1200 / 25.4, 1200 / 25.4);  // from millimetres to the writer's dots
        dessine(p);
        return p.end();
    }
    QSvgGenerator svg;
    svg.setFileName(chemin);
    // Ten pixels a millimetre at 254 dpi: the file's width and height come out in millimetres,
    // and its view box in millimetres too, the units the painter draws in.
    svg.setResolution(254);
    svg.setSize(QSize(qRound(page.width() * 10), qRound(page.height() * 10)));
    svg.setViewBox(QRectF(QPointF(0, 0), page));
    svg.setTitle(windowTitle());
    svg.setDescription(Description());
    QPainter p;
    if (!p.begin(&svg)) return false;
    dessine(p);
    return p.end();
}

void TCadran::EnregistrerClick() {
    const QString fichier = Controles::CheminAEnregistrer(
        this, QStringLiteral("Enregistrer le cadran"), QStringLiteral("cadran.svg"),
        QStringLiteral("Image SVG"), QStringLiteral("svg"), QStringLiteral("Document PDF"),
        QStringLiteral("pdf"));
    if (fichier.isEmpty()) return;
    if (!EnregistreImage(fichier))
        RapportErreur::Signale(QStringLiteral("Impossible d'écrire « %1 »").arg(fichier));
}
