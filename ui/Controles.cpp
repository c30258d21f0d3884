#include "Controles.h"

#include <algorithm>

#include <QAbstractButton>
#include <QDateEdit>
#include <QFileDialog>
#include <QDialog>
#include <QKeyEvent>
#include <QLocale>
#include <QTimeEdit>
#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QtMath>

#include "MaskEdit.h"
#include "SaisieDate.h"
#include "Tableau.h"

namespace Controles {

QImage ImageIcone(int taille) {
    QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(taille / 2.0, taille / 2.0);
    p.setPen(QPen(QColor(230, 140, 0), taille / 16.0));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * taille * 0.32,
                   centre + QPointF(std::cos(a), std::sin(a)) * taille * 0.48);
    }
    p.setBrush(QColor(255, 200, 0));
    p.drawEllipse(centre, taille * 0.26, taille * 0.26);
    return image;
}

QIcon IconeProgramme() {
    QIcon icone;
    for (const int taille : {16, 32, 64}) icone.addPixmap(QPixmap::fromImage(ImageIcone(taille)));
    return icone;
}

double Echelle() {
    // The grid was drawn for a font whose lines are 13 pixels high and in which a declination
    // such as -22°45'51.79" fits in 70 pixels, the room a result field leaves for its text.
    const QFontMetrics fm(QApplication::font());
    const double largeur = fm.horizontalAdvance(QStringLiteral("-22°45'51.79\"")) / 70.0;
    return std::max({1.0, fm.height() / 13.0, largeur});
}

void Place(QWidget* controle, int gauche, int haut, int largeur, int hauteur) {
    const double e = Echelle();
    int l = qRound(largeur * e);
    const int h = qRound(hauteur * e);
    if (qobject_cast<QLabel*>(controle) || qobject_cast<QAbstractButton*>(controle))
        l = std::max(l, controle->sizeHint().width());
    controle->setGeometry(qRound(gauche * e), qRound(haut * e), l, h);
}

TMaskEdit* CreeMasque(QWidget* parent, const char* nom, const QString& masque, const QString& texte,
                      int gauche, int haut, int largeur, int hauteur) {
    auto* champ = new TMaskEdit(masque, parent);
    champ->setObjectName(QLatin1String(nom));
    champ->setText(texte);
    Place(champ, gauche, haut, largeur, hauteur);
    return champ;
}

QDateEdit* CreeDate(QWidget* parent, const char* nom, QDate date, int gauche, int haut, int largeur,
                    int hauteur) {
    auto* picker = Cree<TSaisieDate>(parent, nom, QString(), gauche, haut, largeur, hauteur);
    picker->setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(Contrat::AnneeDebutFenetres, 1, 1),
                         QDate(Contrat::AnneeFinFenetres, 1, 1));
    picker->setDate(date);
    return picker;
}

QTimeEdit* CreeHeure(QWidget* parent, const char* nom, QTime heure, int gauche, int haut,
                     int largeur, int hauteur) {
    auto* picker = Cree<QTimeEdit>(parent, nom, QString(), gauche, haut, largeur, hauteur);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    picker->setTime(heure);
    return picker;
}

void PrepareDialogue(QDialog* dialogue, const char* nom, const QString& titre, bool modal) {
    dialogue->setObjectName(QLatin1String(nom));
    dialogue->setWindowTitle(titre);
    dialogue->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                             Qt::MSWindowsFixedSizeDialogHint);
    dialogue->setModal(modal);
}

void FixeEtCentre(QWidget* fenetre, int largeur, int hauteur) {
    const double e = Echelle();
    fenetre->setFixedSize(qRound(largeur * e), qRound(hauteur * e));
    Centre(fenetre);
}

namespace {

// The window manager's frame around the client area: as the window has it once shown, or room
// for a title bar and borders before.
QMargins Cadre(const QWidget* fenetre) {
    const QRect client = fenetre->geometry(), cadre = fenetre->frameGeometry();
    if (cadre != client)
        return {client.left() - cadre.left(), client.top() - cadre.top(),
                cadre.right() - client.right(), cadre.bottom() - client.bottom()};
    return {8, 32, 8, 8};
}

}  // namespace

void Centre(QWidget* fenetre) {
    if (const QScreen* ecran = QApplication::primaryScreen()) {
        const QRect zone = ecran->availableGeometry();
        const QMargins cadre = Cadre(fenetre);
        QPoint coin = zone.center() - QPoint(fenetre->width() / 2, fenetre->height() / 2);
        coin.setX(std::max(coin.x(), zone.left() + cadre.left()));
        coin.setY(std::max(coin.y(), zone.top() + cadre.top()));
        fenetre->setGeometry(QRect(coin, fenetre->size()));
    }
}

void AjusteALEcran(QWidget* fenetre) {
    if (const QScreen* ecran = QApplication::primaryScreen()) {
        const QMargins cadre = Cadre(fenetre);
        const QSize place = ecran->availableGeometry().size() -
                            QSize(cadre.left() + cadre.right(), cadre.top() + cadre.bottom());
        fenetre->resize(fenetre->size().boundedTo(place).expandedTo(fenetre->minimumSizeHint()));
    }
    Centre(fenetre);
}

namespace {

// Leaves Ctrl+C unclaimed by the control it watches, so that it reaches the window's shortcut.
class LaisseLaCopie : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* objet, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(objet, event);
    }
};

}  // namespace

void CopieAuClavier(QWidget* fenetre, std::function<void()> copie,
                    std::initializer_list<QWidget*> controles) {
    auto* raccourci = new QShortcut(QKeySequence::Copy, fenetre);
    raccourci->setContext(Qt::WindowShortcut);
    QObject::connect(raccourci, &QShortcut::activated, fenetre, std::move(copie));
    auto* filtre = new LaisseLaCopie(fenetre);
    for (QWidget* c : controles) c->installEventFilter(filtre);
}

QString CheminAEnregistrer(QWidget* parent, const QString& titre, const QString& defaut,
                           const QString& nom1, const QString& suffixe1, const QString& nom2,
                           const QString& suffixe2) {
    QString filtre;
    const QString chemin = QFileDialog::getSaveFileName(
        parent, titre, defaut,
        QStringLiteral("%1 (*.%2);;%3 (*.%4)").arg(nom1, suffixe1, nom2, suffixe2), &filtre);
    if (chemin.isEmpty()) return {};
    const auto finit = [&](const QString& s) {
        return chemin.endsWith(QLatin1Char('.') + s, Qt::CaseInsensitive);
    };
    if (finit(suffixe1) || finit(suffixe2)) return chemin;
    return chemin + QLatin1Char('.') + (filtre.contains(suffixe2) ? suffixe2 : suffixe1);
}

}  // namespace Controles
