// A fixed-length masked field: typing overwrites, deleting leaves an empty position shown
// as "_", fixed characters stay in place, and reading gives blanks for empty positions.
#pragma once

#include <QLineEdit>
#include <QString>

class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    // `masque` is written in Qt's mask letters ("0" optional digit, "9" required digit, "#"
    // digit or sign), with ";_" to show empty positions as "_".
    TMaskEdit(const QString& masque, QWidget* parent = nullptr);

    // The text with the fixed characters in place and every empty position as a blank.
    QString Lit() const;

    // True when the mask has required positions and one of them is empty.
    bool Incomplet() const;

    // Refuses an incomplete text as leaving the field does (once, however many callers ask):
    // for a command that would read the field, such as a button's accelerator pressed while
    // the focus is still in it.
    void Refuse();

    // Gives the text back as it was when the user came into the field, if it is incomplete:
    // for a window that closes with an edit left unfinished.
    void Abandonne();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RefuseSiIncomplet();

    // The text when the user came into the field, restored by Esc. The user is in the field
    // from the focus coming in until the focus goes to another control with a complete text:
    // a refusal, an error box or another window in between does not end the edit.
    QString texteEntree;
    bool dedans = false;
    bool requis = false;
    bool refusEnCours = false;
    bool refusEnAttente = false;
};
