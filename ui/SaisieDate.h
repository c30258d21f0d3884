// A date picker in the long date format whose typing works as its arrows and its calendar do:
// digits typed on the day's name go to the day of the month, a day or a month is taken as soon
// as its digits make one, a year when its four digits are in, letters on the month choose it by
// its name; every date typed stays within the picker's range.
#pragma once

#include <QDateEdit>
#include <QElapsedTimer>
#include <QString>

class TSaisieDate : public QDateEdit {
    Q_OBJECT
public:
    explicit TSaisieDate(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // What each section of the display format holds: Qt names the day's name and the day of
    // the month alike (DaySection), so the format's letters tell them apart.
    enum class Champ { Nom, Jour, Mois, Annee, Autre };
    Champ ChampDe(int index) const;
    int IndexDe(Champ champ) const;

    // Takes the date with one field changed, brought within the range and the month's days.
    void Prend(int annee, int mois, int jour);
    // Moves to the next section that is not the day's name.
    void SectionSuivante();

    QString frappe;  // what has been typed in the present section
    int sectionFrappe = -1;
    QElapsedTimer derniereTouche;
};
