#include "MaskEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "RapportErreur.h"

TMaskEdit::TMaskEdit(const QString& masque, QWidget* parent) : QLineEdit(parent) {
    setInputMask(masque);
    const QString positions = masque.section(QLatin1Char(';'), 0, 0);
    requis = positions.contains(QLatin1Char('9'));
}

QString TMaskEdit::Lit() const {
    QString texte = displayText();
    for (auto& c : texte) {
        if (c == QLatin1Char('_')) c = QLatin1Char(' ');
    }
    return texte;
}

bool TMaskEdit::Incomplet() const {
    return requis && !hasAcceptableInput();
}

void TMaskEdit::focusInEvent(QFocusEvent* event) {
    // The displayed text keeps the empty positions in place; setText() reads "_" back as empty.
    if (!dedans) texteEntree = displayText();
    dedans = true;
    QLineEdit::focusInEvent(event);
}

void TMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move of the focus to another control leaves the field; a window that opens on
    // top or a switch to another program does not.
    const auto raison = event->reason();
    if (raison != Qt::TabFocusReason && raison != Qt::BacktabFocusReason &&
        raison != Qt::MouseFocusReason && raison != Qt::ShortcutFocusReason &&
        raison != Qt::OtherFocusReason)
        return;
    if (!Incomplet()) {
        dedans = false;
        return;
    }
    Refuse();
}

void TMaskEdit::Refuse() {
    if (!refusEnCours) {
        refusEnCours = true;
        refusEnAttente = true;
        // After the focus change has finished, so the box does not fight it.
        QTimer::singleShot(0, this, &TMaskEdit::RefuseSiIncomplet);
    }
}

void TMaskEdit::Abandonne() {
    if (!Incomplet()) return;
    setText(texteEntree);
    refusEnAttente = false;
    dedans = false;
}

void TMaskEdit::RefuseSiIncomplet() {
    if (refusEnAttente && Incomplet()) {
        refusEnAttente = false;
        RapportErreur::Signale(QStringLiteral(
            "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"));
        setFocus(Qt::OtherFocusReason);
        window()->activateWindow();
    }
    refusEnAttente = false;
    refusEnCours = false;
}

void TMaskEdit::keyPressEvent(QKeyEvent* event) {
    // Esc belongs to the field, changed or not: it never reaches the window, which would close.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (displayText() != texteEntree) {
            setText(texteEntree);
            selectAll();
        }
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
