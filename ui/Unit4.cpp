#include "Unit4.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include "Conversions.h"
#include "Controles.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "RapportErreur.h"
#include "Tableau.h"
#include "Principale.h"
#include "Unit3.h"
#include "VueTable.h"

namespace Unit4 {

TEphemeride* Ephemeride = nullptr;
int Pas = 0;
int Nombre = 0;
bool Arret = false;

std::string LigneSite(const std::string& separateur, bool retenue) {
    return Unit1::LigneSite(separateur, retenue);
}

}  // namespace Unit4

using namespace Unit4;
using Controles::Cree;
using Controles::Place;

namespace {

// The right edge of the counter stays at x = 243 of the grid while its width follows its text.
constexpr int BordDroitCompteur = 243;

QString Texte(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

TEphemeride::TEphemeride(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "Ephemeride",
                               QStringLiteral("générateur d'éphémérides Solaire"), false);

    Label1 = Cree<QLabel>(this, "Label1", QStringLiteral("Date de début"), 8, 8, 68, 13);
    DatePicker = Controles::CreeDate(this, "DatePicker", QDate(2000, 1, 1), 8, 24, 169, 21);
    Label2 = Cree<QLabel>(this, "Label2", QStringLiteral("Heure de début"), 184, 8, 74, 13);
    TimePicker = Controles::CreeHeure(this, "TimePicker", QTime(12, 0, 0), 184, 24, 73, 21);
    Label3 = Cree<QLabel>(this, "Label3", QStringLiteral("Pas"), 272, 8, 18, 13);
    PasEdit = Controles::CreeMasque(this, "PasEdit", QStringLiteral("9999;_"),
                                    QStringLiteral("0001"), 272, 24, 33, 21);
    Label4 = Cree<QLabel>(this, "Label4", QStringLiteral("Type"), 312, 8, 24, 13);
    TypeBox = Cree<QComboBox>(this, "TypeBox", {}, 312, 24, 73, 21);
    TypeBox->setEditable(true);
    TypeBox->setInsertPolicy(QComboBox::NoInsert);
    TypeBox->addItems({QStringLiteral("Secondes"), QStringLiteral("Minutes"),
                       QStringLiteral("Heures"), QStringLiteral("Jours")});
    TypeBox->setCurrentIndex(-1);
    TypeBox->setEditText(QStringLiteral("Non Défini"));
    Label5 = Cree<QLabel>(this, "Label5", QStringLiteral("Nombre"), 392, 8, 37, 13);
    NombEdit = Controles::CreeMasque(this, "NombEdit", QStringLiteral("999999;_"),
                                     QStringLiteral("000005"), 392, 24, 49, 21);

    Copier =
        Cree<QPushButton>(this, "Copier", QStringLiteral("Vers presse-papier"), 8, 56, 105, 25);
    Copier->setAutoDefault(false);
    Memo2 = Cree<QPlainTextEdit>(this, "Memo2", {}, 120, 56, 25, 25);
    Memo2->setVisible(false);
    ZenithCheckB =
        Cree<QCheckBox>(this, "ZenithCheckB", QStringLiteral("Dist. Zénitale"), 128, 64, 81, 17);
    RefCheckB =
        Cree<QCheckBox>(this, "RefCheckB", QStringLiteral("Ref. Sud vrai"), 224, 64, 97, 17);
    Valid = Cree<QPushButton>(this, "Valid", QStringLiteral("&Génération"), 336, 56, 105, 25);
    Valid->setAutoDefault(false);

    Compteur = Cree<QLabel>(this, "Compteur", QStringLiteral("0000"), 219, 179, 24, 13);
    Compteur->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceCompteur();

    // The table view covers the counter, which shows only while the view is hidden.
    Memo1 = new TVueTable(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QStringList modele;
    for (const char* ligne : Modele) modele << QString::fromUtf8(ligne);
    Memo1->ChangeTexte(modele.join(QLatin1Char('\n')));
    Place(Memo1, 0, 91, 448, 197);

    QWidget* ordre[] = {Memo1,   Copier, DatePicker, TimePicker,   PasEdit,
                        TypeBox, Valid,  NombEdit,   ZenithCheckB, RefCheckB};
    for (std::size_t i = 1; i < std::size(ordre); ++i) setTabOrder(ordre[i - 1], ordre[i]);

    Controles::FixeEtCentre(this, 448, 288);
    Memo1->setGeometry(0, height() - Memo1->height(), width(),
                       Memo1->height());  // docked to the bottom
    Memo1->setFocus();                    // the table has the focus when the window first opens

    connect(Valid, &QPushButton::clicked, this, &TEphemeride::ValidClick);
    connect(Copier, &QPushButton::clicked, this, &TEphemeride::CopierClick);

    FormCreate();
}

void TEphemeride::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TEphemeride::hideEvent(QHideEvent* event) {
    // An unfinished step or count is not kept for the next opening.
    PasEdit->Abandonne();
    NombEdit->Abandonne();
    QDialog::hideEvent(event);
}

void TEphemeride::FormCreate() {
    TypeBox->setCurrentIndex(0);
    QStringList lignes;
    for (int i = 0; i < Memo1->NombreLignes(); ++i) lignes << Memo1->Ligne(i);
    Memo2->setPlainText(lignes.join(QLatin1Char('\n')));
}

void TEphemeride::PlaceCompteur() {
    Compteur->adjustSize();
    const int droite = qRound(BordDroitCompteur * Controles::Echelle());
    Compteur->move(droite - Compteur->width(), Compteur->y());
}

double TEphemeride::Diviseur() const {
    // A typed text counts as the item it spells, or as days if it spells none.
    const int indice = TypeBox->findText(TypeBox->currentText(), Qt::MatchExactly);
    return Tableau::Diviseur(indice >= 0 && indice < 4 ? static_cast<Tableau::Unite>(indice)
                                                       : Tableau::Unite::Jours);
}

void TEphemeride::ValidClick() {
    if (Valid->text() == QStringLiteral("&Génération")) {
        Arret = false;
        Valid->setText(QStringLiteral("&Stop"));
        Creation();
    } else {
        Valid->setText(QStringLiteral("&Génération"));
        Arret = true;
    }
}

void TEphemeride::ActiveSaisies(bool actif) {
    for (QWidget* w : std::initializer_list<QWidget*>{DatePicker, TimePicker, PasEdit, TypeBox,
                                                      NombEdit, ZenithCheckB, RefCheckB})
        w->setEnabled(actif);
}

void TEphemeride::Creation() {
    // Nothing starts on a step or count that is not a whole number: the run is never left
    // half-started with its inputs disabled. An incomplete field gets the refusal that leaving
    // it gives (the click that led here has usually scheduled it already).
    for (TMaskEdit* champ : {PasEdit, NombEdit}) {
        if (champ->Incomplet()) {
            Valid->setText(QStringLiteral("&Génération"));
            Arret = true;
            champ->Refuse();
            return;
        }
    }
    const std::string textePas = PasEdit->Lit().toStdString();
    const std::string texteNombre = NombEdit->Lit().toStdString();
    int pas = 0, nombre = 0;
    const bool pasLu = Conversions::LitEntier(textePas, pas);
    if (!pasLu || !Conversions::LitEntier(texteNombre, nombre)) {
        Valid->setText(QStringLiteral("&Génération"));
        Arret = true;
        RapportErreur::Signale(
            QString::fromStdString(Conversions::MessageEntier(pasLu ? texteNombre : textePas)));
        return;
    }

    ActiveSaisies(false);
    const QDate date = DatePicker->date();
    const QTime heure = TimePicker->time();
    const double debut =
        PosSoleil::EncodeDateValeur(date.year(), date.month(), date.day(), 0, 0, 0) +
        heure.msecsSinceStartOfDay() / static_cast<double>(PosSoleil::MsParJour);
    Pas = pas;
    Nombre = nombre;
    const double pasJours = Pas / Diviseur();

    Memo1->Vide();
    Memo1->ChangeTexte(Memo2->toPlainText());

    const std::string separateur = Unit1::SeparateurDecimal();
    Memo1->RemplaceLigne(5, Texte(LigneSite(separateur)));
    Memo1->RemplaceLigne(7, Texte(Tableau::LigneColonnes(ZenithCheckB->isChecked())));
    Memo1->RemplaceLigne(3, Texte(Tableau::LigneReference(RefCheckB->isChecked())));

    Memo1->hide();
    Compteur->setText(QStringLiteral("Calcul !!!"));
    PlaceCompteur();

    Tableau::Rangees(debut, pasJours, 0, Tableau::LignesDemandees(Nombre),
                     [&](const Tableau::Instant& c, long long i) {
                         // The site, the time difference and the two options are read afresh for
                         // every row.
                         double longitudeSoleil, rayon, alpha, delta, azimut, hauteur, equation;
                         PosSoleil::CalculPosition(c.annee, c.mois, c.jour, c.heure, c.minute,
                                                   c.seconde, Unit1::Longitude, Unit1::Latitude, 0,
                                                   Unit3::TEmoinsTU, longitudeSoleil, rayon, alpha,
                                                   delta, azimut, hauteur, equation);
                         hauteur = Tableau::HauteurOuZenith(hauteur, ZenithCheckB->isChecked());
                         azimut = Tableau::AzimutDepuis(azimut, RefCheckB->isChecked());
                         Memo1->AjouteLigne(Ligne(c.annee, c.mois, c.jour, c.heure, c.minute,
                                                  c.seconde, hauteur, azimut, separateur));
                         if ((i + 1) % 100 == 0) {
                             Compteur->setText(QString::number(i + 1));
                             PlaceCompteur();
                         }
                         QApplication::processEvents(QEventLoop::AllEvents);
                         return !Arret;
                     });

    Memo1->show();
    ActiveSaisies(true);
    Valid->setText(QStringLiteral("&Génération"));
    Arret = true;
}

std::string TEphemeride::Ligne(int annee, int mois, int jour, int heure, int minute, int seconde,
                               double hauteur, double azimut, const std::string& separateur) {
    return Tableau::Ligne(annee, mois, jour, heure, minute, seconde, hauteur, azimut, separateur);
}

void TEphemeride::CopierClick() {
    Memo1->SelectionneTout();
    Memo1->CopieSelection();
}
