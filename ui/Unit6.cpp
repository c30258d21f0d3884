#include "Unit6.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "Controles.h"
#include "RapportErreur.h"
#include "Tableau.h"
#include "JourneeLegale.h"
#include "Principale.h"

// ---- The window ----

TAnnee::TAnnee(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "Annee", QStringLiteral("Année solaire"), false);
    auto* label = new QLabel(QStringLiteral("A&nnée"), this);
    AnneeSpin = new QSpinBox(this);
    AnneeSpin->setObjectName(QStringLiteral("AnneeSpin"));
    AnneeSpin->setRange(Contrat::PremiereAnnee, Contrat::DerniereAnnee);
    AnneeSpin->setAccessibleName(QStringLiteral("Année affichée"));
    label->setBuddy(AnneeSpin);
    Enregistrer = new QPushButton(QStringLiteral("&Enregistrer l'image…"), this);
    Enregistrer->setObjectName(QStringLiteral("Enregistrer"));
    Enregistrer->setAccessibleName(QStringLiteral("Enregistrer l'image affichée en PNG ou en SVG"));
    Enregistrer->setAutoDefault(false);
    Copier = new QPushButton(QStringLiteral("&Copier la table"), this);
    Copier->setObjectName(QStringLiteral("Copier"));
    Copier->setAccessibleName(QStringLiteral("Copier la table de l'année"));
    Copier->setAutoDefault(false);
    Onglets = new QTabWidget(this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Onglets->setAccessibleName(QStringLiteral("Vues de l'année"));
    ImageAnnee = new TImageAnnee(this);
    ImageEquation = new TImageEquation(this);
    Table = new QTableWidget(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setAccessibleName(QStringLiteral("Table des événements de chaque date"));
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->setVisible(false);
    // One line of text a row.
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    Onglets->addTab(ImageAnnee, QStringLiteral("&Jours et nuits"));
    Onglets->addTab(ImageEquation, QStringLiteral("É&quation du temps et analemme"));
    Onglets->addTab(Table, QStringLiteral("&Table"));
    auto* haut = new QHBoxLayout;
    haut->addWidget(label);
    haut->addWidget(AnneeSpin);
    haut->addStretch();
    haut->addWidget(Enregistrer);
    haut->addWidget(Copier);
    DescriptionLabel = new QLabel(this);
    DescriptionLabel->setObjectName(QStringLiteral("DescriptionLabel"));
    DescriptionLabel->setWordWrap(true);
    DescriptionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* colonne = new QVBoxLayout(this);
    colonne->addLayout(haut);
    colonne->addWidget(DescriptionLabel);
    colonne->addWidget(Onglets, 1);
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(QLatin1Char('0')) * 100, fm.height() * 36);
    Controles::AjusteALEcran(this);
    connect(AnneeSpin, &QSpinBox::valueChanged, this, &TAnnee::AnneeSpinChange);
    connect(Enregistrer, &QPushButton::clicked, this, &TAnnee::EnregistrerClick);
    connect(Copier, &QPushButton::clicked, this, &TAnnee::CopierClick);
    Controles::CopieAuClavier(this, [this] { CopierClick(); }, {Table, AnneeSpin});
}

void TAnnee::Ouvre(int annee, const PosSoleil::Site& s, double TEmoinsTU,
                   const PosSoleil::Ciel& c) {
    site = s;
    TEmoinsTUAnnee = TEmoinsTU;
    ciel = c;
    {
        const QSignalBlocker bloque(AnneeSpin);
        AnneeSpin->setValue(annee);
    }
    Calcule();
    show();
    raise();
    activateWindow();
}

namespace {

bool MemeCiel(const PosSoleil::Ciel& a, const PosSoleil::Ciel& b) {
    if (a.hauteurOeil != b.hauteurOeil || a.hauteurs != b.hauteurs ||
        a.horizon.size() != b.horizon.size())
        return false;
    for (std::size_t i = 0; i < a.horizon.size(); ++i)
        if (a.horizon[i].azimut != b.horizon[i].azimut ||
            a.horizon[i].hauteur != b.horizon[i].hauteur)
            return false;
    return true;
}

// The sky as words: "horizon plat", "œil à 30 m", "ligne d'horizon de 12 points", then the
// caller's altitudes.
QString TexteCiel(const PosSoleil::Ciel& c) {
    QString texte =
        !c.horizon.empty() ? QStringLiteral("ligne d'horizon de %1 points").arg(c.horizon.size())
        : c.hauteurOeil > 0
            ? QStringLiteral("œil à %1 m").arg(QLocale::system().toString(c.hauteurOeil))
            : QStringLiteral("horizon plat");
    if (!c.hauteurs.empty()) {
        QStringList hauteurs;
        for (const double h : c.hauteurs)
            hauteurs << QString::fromStdString(Tableau::TexteHauteur(h));
        texte += QStringLiteral(", hauteurs ") + hauteurs.join(QStringLiteral(" "));
    }
    return texte;
}

}  // namespace

QString TAnnee::SansEvenement(const PosSoleil::JourSolaire& j, const Tableau::Sorte& s) const {
    // Why a date has no such event, in a word: the threshold's state that day.
    PosSoleil::EtatSeuil etat = PosSoleil::EtatSeuil::Franchi;
    if (s.seuil == PosSoleil::Seuil::Hauteur) {
        const auto h = std::find(ciel.hauteurs.begin(), ciel.hauteurs.end(), s.hauteur);
        if (h != ciel.hauteurs.end())
            etat = j.etatsHauteurs[static_cast<std::size_t>(h - ciel.hauteurs.begin())];
    } else if (s.type != PosSoleil::TypeEvenement::Passage) {
        etat = j.etats[static_cast<int>(s.seuil)];
    }
    const bool dessus = etat == PosSoleil::EtatSeuil::ToujoursAuDessus;
    if (etat == PosSoleil::EtatSeuil::Franchi) return QStringLiteral("-");
    if (s.seuil == PosSoleil::Seuil::LeverCoucher) {
        if (!dessus && Tableau::CacheParLeRelief(j, ciel)) return QStringLiteral("relief");
        return dessus ? QStringLiteral("jour polaire") : QStringLiteral("nuit polaire");
    }
    if (s.seuil == PosSoleil::Seuil::Hauteur)
        return dessus ? QStringLiteral("au-dessus") : QStringLiteral("au-dessous");
    return dessus ? QStringLiteral("pas de nuit") : QStringLiteral("nuit");
}

void TAnnee::Suit(const PosSoleil::Site& s, double TEmoinsTU, const PosSoleil::Ciel& c) {
    if (!isVisible()) return;
    if (s.Longitude == site.Longitude && s.Latitude == site.Latitude &&
        s.Altitude == site.Altitude && TEmoinsTU == TEmoinsTUAnnee && MemeCiel(c, ciel))
        return;
    site = s;
    TEmoinsTUAnnee = TEmoinsTU;
    ciel = c;
    Calcule();
}

QString TAnnee::Description() const {
    return QStringLiteral("%1 — heure légale %2 — %3")
        .arg(donnees.site, QString::fromUtf8(QTimeZone::systemTimeZoneId()), TexteCiel(ciel));
}

void TAnnee::AnneeSpinChange() {
    Calcule();
}

void TAnnee::Calcule() {
    donnees =
        CalculeAnnee(AnneeSpin->value(), site, TEmoinsTUAnnee, ciel, Unit1::SeparateurDecimal());
    ImageAnnee->Change(&donnees, QDate::currentDate());
    ImageEquation->Change(&donnees, QDate::currentDate());

    // The table: a column per kind of event, in legal time; several times when the Sun rises
    // twice behind a skyline, a dash when never.
    // The dawns first, then rise, transit and set, then the dusks, then the own altitudes.
    const std::vector<Tableau::Sorte> sortes = Tableau::Sortes(ciel.hauteurs);
    std::vector<Tableau::Sorte> colonnes;
    for (const std::size_t k : {7, 5, 3, 0, 1, 2, 4, 6, 8}) colonnes.push_back(sortes[k]);
    colonnes.insert(colonnes.end(), sortes.begin() + Tableau::SortesFixes, sortes.end());
    QStringList titres = {QStringLiteral("Date")};
    for (const Tableau::Sorte& c : colonnes) titres << QString::fromStdString(c.titre);
    titres << QStringLiteral("Durée du jour");
    Table->clear();
    Table->setColumnCount(static_cast<int>(titres.size()));
    Table->setHorizontalHeaderLabels(titres);
    Table->setRowCount(static_cast<int>(donnees.dates.size()));
    for (int i = 0; i < donnees.dates.size(); ++i) {
        const PosSoleil::JourSolaire& j = donnees.jours[i];
        Table->setItem(i, 0, new QTableWidgetItem(donnees.dates[i].toString(Qt::ISODate)));
        for (std::size_t k = 0; k < colonnes.size(); ++k) {
            QStringList heures;
            for (const PosSoleil::Evenement& e : j.evenements)
                if (colonnes[k].Est(e)) heures << Unit5::TexteLegal(e.t).mid(11, 8);
            Table->setItem(i, static_cast<int>(k) + 1,
                           new QTableWidgetItem(heures.isEmpty() ? SansEvenement(j, colonnes[k])
                                                                 : heures.join(QLatin1Char(' '))));
        }
        Table->setItem(
            i, static_cast<int>(colonnes.size()) + 1,
            new QTableWidgetItem(QString::fromStdString(Tableau::Duree(j.duree, false))));
    }
    Table->resizeColumnsToContents();
    setWindowTitle(QStringLiteral("Année solaire %1").arg(donnees.annee));
    DescriptionLabel->setText(Description());
    donnees.description = Description();
}

QString TAnnee::TexteTable() const {
    // What the table is of first: the site, the zone and the sky.
    QString texte = Description() + QStringLiteral("\r\n");
    QStringList ligne;
    for (int c = 0; c < Table->columnCount(); ++c) ligne << Table->horizontalHeaderItem(c)->text();
    texte += ligne.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    for (int r = 0; r < Table->rowCount(); ++r) {
        ligne.clear();
        for (int c = 0; c < Table->columnCount(); ++c) ligne << Table->item(r, c)->text();
        texte += ligne.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    return texte;
}

void TAnnee::CopierClick() {
    QApplication::clipboard()->setText(TexteTable());
}

bool TAnnee::EnregistreImage(const QString& chemin, int laquelle) const {
    if (laquelle < 0) laquelle = Onglets->currentIndex() == 1 ? 1 : 0;
    const QWidget* image = laquelle == 1 ? static_cast<const QWidget*>(ImageEquation) : ImageAnnee;
    const QSize taille = image->isVisible() ? image->size() : image->sizeHint();
    const auto dessine = [&](QPainter& p) {
        if (laquelle == 1)
            ImageEquation->Dessine(p, QRectF(QPointF(0, 0), taille));
        else
            ImageAnnee->Dessine(p, QRectF(QPointF(0, 0), taille));
    };
    if (chemin.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(chemin);
        svg.setSize(taille);
        svg.setViewBox(QRect(QPoint(0, 0), taille));
        svg.setTitle(windowTitle());
        svg.setDescription(image->accessibleName());
        QPainter p;
        if (!p.begin(&svg)) return false;
        dessine(p);
        return p.end();
    }
    QImage png(taille * 2, QImage::Format_ARGB32);
    png.setDevicePixelRatio(2);
    QPainter p(&png);
    dessine(p);
    p.end();
    return png.save(chemin, "PNG");
}

void TAnnee::EnregistrerClick() {
    const QString fichier = Controles::CheminAEnregistrer(
        this, QStringLiteral("Enregistrer l'image"),
        QStringLiteral("annee-%1.png").arg(donnees.annee), QStringLiteral("Image PNG"),
        QStringLiteral("png"), QStringLiteral("Image SVG"), QStringLiteral("svg"));
    if (fichier.isEmpty()) return;
    if (!EnregistreImage(fichier))
        RapportErreur::Signale(QStringLiteral("Impossible d'écrire « %1 »").arg(fichier));
}
