#include "Unit2.h"

#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Controles.h"

namespace Unit2 {
TAboutBox* AboutBox = nullptr;
}

using Controles::Place;

namespace {

QLabel* Etiquette(QWidget* parent, const char* nom, const QString& texte, int l, int t, int w,
                  int h, bool plusieursLignes = false) {
    auto* label = Controles::Cree<QLabel>(parent, nom, texte, l, t, w, h);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(plusieursLignes);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Place(label, l, t, w, h);  // again, now that a wrapped label may keep the grid's width
    // A one-line label keeps its centre when the font needs more room than the grid gives.
    if (!plusieursLignes && label->width() > qRound(w * Controles::Echelle()))
        label->move(label->x() - (label->width() - qRound(w * Controles::Echelle())) / 2,
                    label->y());
    return label;
}

QFrame* Panneau(QWidget* parent, const char* nom, int l, int t, int w, int h) {
    auto* panneau = Controles::Cree<QFrame>(parent, nom, {}, l, t, w, h);
    panneau->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panneau->setLineWidth(2);
    return panneau;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "AboutBox", QStringLiteral("A Propos"), true);

    Panel2 = Panneau(this, "Panel2", 8, 8, 225, 105);
    Label3 = Etiquette(Panel2, "Label3", QStringLiteral("Générateur d'éphémérides Solaire"), 36, 8,
                       159, 13);
    Label4 = Etiquette(Panel2, "Label4", QStringLiteral("Version 1.01"), 76, 24, 59, 13);
    Label5 = Etiquette(
        Panel2, "Label5",
        QStringLiteral(
            "Ce générateur utilise une solution partielle de la théorie planétaire VSOP "
            "développée par le bureau des longitudes  https://www.bureau-des-longitudes.fr"),
        11, 44, 198, 52, true);

    Panel1 = Panneau(this, "Panel1", 8, 120, 225, 73);
    Panel1->setAutoFillBackground(true);
    Panel1->setBackgroundRole(QPalette::Base);  // in the window's colour
    LabelNom = Etiquette(Panel1, "LabelNom", QStringLiteral("Projet Orvanel"), 56, 6, 107, 13);
    Label1 = Etiquette(Panel1, "Label1", QStringLiteral("Logiciel libre"), 60, 22, 99, 13);
    Label2 = Etiquette(Panel1, "Label2", QStringLiteral("Code source livré avec le programme"), 48,
                       38, 123, 13);
    LabelCourriel = Etiquette(Panel1, "LabelCourriel",
                              QStringLiteral("Contact : voir le fichier README"), 32, 54, 159, 13);

    OKButton =
        Controles::Cree<QPushButton>(this, "OKButton", QStringLiteral("OK"), 87, 200, 75, 25);
    OKButton->setDefault(true);

    Controles::FixeEtCentre(this, 241, 230);

    // The theory note wraps over as many lines as the font needs: the boxes below move down.
    const int manque = std::max(0, Label5->heightForWidth(Label5->width()) - Label5->height());
    if (manque > 0) {
        Label5->resize(Label5->width(), Label5->height() + manque);
        Panel2->resize(Panel2->width(), Panel2->height() + manque);
        Panel1->move(Panel1->x(), Panel1->y() + manque);
        OKButton->move(OKButton->x(), OKButton->y() + manque);
        setFixedSize(width(), height() + manque);
    }
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    Controles::Centre(this);
    QDialog::showEvent(event);
}
