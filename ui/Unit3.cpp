#include "Unit3.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include "Conversions.h"
#include "Controles.h"
#include "MaskEdit.h"
#include "RapportErreur.h"
#include "Tableau.h"
#include "Principale.h"

namespace Unit3 {

TTEmoinsTUdlg* TEmoinsTUdlg = nullptr;
double TEmoinsTU = 0;

const char* const TexteExplicatif[19] = {
    "Le Temps des Ephémérides (TE) est lié au Temps ",
    "Universel (TU) et au Temps Atomique International (TAI)",
    "par la relation suivante : ",
    "",
    "TE = TAI +32.184s = TU + 32.184s + X.",
    "",
    "X est un décalage, variable au cours du temps TE",
    "qui exprimé en secondes entières. Il est une",
    "représentation de la non uniformité de la rotation diurne. ",
    "Ce décalage se déduit des observations astronomiques.",
    "",
    "Par exemple : ",
    "pour Janvier 1980,  X = 19s,",
    "pour Janvier 2000,  X = 32s.",
    "",
    "Cette valeur doit donc être actualisée pour conserver une ",
    "bonne précision sur l'éphéméride. Elle est disponible sur le ",
    "site Web du bureau international des poids et mesures.",
    "( https://www.bipm.org )",
};

}  // namespace Unit3

using Controles::Cree;

TTEmoinsTUdlg::TTEmoinsTUdlg(QWidget* parent) : QDialog(parent) {
    Controles::PrepareDialogue(this, "TEmoinsTUdlg", QStringLiteral("Temps des éphémérides"), true);

    Bevel1 = Cree<QFrame>(this, "Bevel1", {}, 8, 8, 313, 273);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Memo1 = Cree<QTextEdit>(this, "Memo1", {}, 16, 16, 297, 257);
    Memo1->setReadOnly(true);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    QStringList lignes;
    for (const char* ligne : Unit3::TexteExplicatif) lignes << QString::fromUtf8(ligne);
    Memo1->setPlainText(lignes.join(QLatin1Char('\n')));
    Memo1->selectAll();
    Memo1->setAlignment(Qt::AlignHCenter);
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));

    OKBtn = Cree<QPushButton>(this, "OKBtn", QStringLiteral("OK"), 55, 292, 75, 25);
    OKBtn->setDefault(true);
    Label1 = Cree<QLabel>(this, "Label1", QStringLiteral("TAI - UTC"), 144, 301, 48, 13);
    TAIEdit = Controles::CreeMasque(this, "TAIEdit", QStringLiteral("000;_"), QStringLiteral("032"),
                                    200, 296, 25, 21);
    Label2 = Cree<QLabel>(this, "Label2", QStringLiteral("Secondes"), 230, 301, 48, 13);

    // OK first, so it has the focus when the dialog opens.
    setTabOrder(OKBtn, Memo1);
    setTabOrder(Memo1, TAIEdit);
    Controles::FixeEtCentre(this, 329, 329);

    connect(OKBtn, &QPushButton::clicked, this, &TTEmoinsTUdlg::OKBtnClick);
}

void TTEmoinsTUdlg::showEvent(QShowEvent* event) {
    Controles::Centre(this);
    OKBtn->setFocus(Qt::OtherFocusReason);
    QDialog::showEvent(event);
}

void TTEmoinsTUdlg::OKBtnClick() {
    const std::string texte = TAIEdit->Lit().toStdString();
    int secondes = 0;
    if (!Conversions::LitEntier(texte, secondes)) {
        RapportErreur::Signale(QString::fromStdString(Conversions::MessageEntier(texte)));
        accept();  // the dialog closes all the same; the value in force stays
        return;
    }
    Unit3::TEmoinsTU = Tableau::TEmoinsTU(secondes);
    accept();
    Unit1::Principale->MiseAJour();
}
