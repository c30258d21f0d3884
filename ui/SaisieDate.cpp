#include "SaisieDate.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

namespace {

// Typing more than this after the last key starts the field afresh, as in a list box.
constexpr qint64 PauseFrappe = 1500;

}  // namespace

TSaisieDate::TSaisieDate(QWidget* parent) : QDateEdit(parent) {}

TSaisieDate::Champ TSaisieDate::ChampDe(int index) const {
    // The format's runs of letters in order, quoted text skipped: "dddd d MMMM yyyy".
    const QString format = displayFormat();
    int n = 0;
    for (int i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            const int fin = format.indexOf(QLatin1Char('\''), i + 1);
            i = fin < 0 ? format.size() : fin + 1;
            continue;
        }
        int j = i;
        while (j < format.size() && format[j] == c) ++j;
        if (QStringLiteral("dMyhHmszaAt").contains(c)) {
            if (n == index) {
                if (c == QLatin1Char('d')) return j - i >= 3 ? Champ::Nom : Champ::Jour;
                if (c == QLatin1Char('M')) return Champ::Mois;
                if (c == QLatin1Char('y')) return Champ::Annee;
                return Champ::Autre;
            }
            ++n;
        }
        i = j;
    }
    return Champ::Autre;
}

int TSaisieDate::IndexDe(Champ champ) const {
    for (int i = 0; i < sectionCount(); ++i)
        if (ChampDe(i) == champ) return i;
    return -1;
}

void TSaisieDate::Prend(int annee, int mois, int jour) {
    // A year out of the range is held at its end, the month and day kept where they can be.
    annee = std::clamp(annee, minimumDate().year(), maximumDate().year());
    const QDate premier(annee, mois, 1);
    if (!premier.isValid()) return;
    const QDate date(annee, mois, std::clamp(jour, 1, premier.daysInMonth()));
    setDate(std::clamp(date, minimumDate(), maximumDate()));
}

void TSaisieDate::SectionSuivante() {
    for (int i = currentSectionIndex() + 1; i < sectionCount(); ++i) {
        if (ChampDe(i) != Champ::Nom) {
            setCurrentSectionIndex(i);
            return;
        }
    }
}

void TSaisieDate::focusOutEvent(QFocusEvent* event) {
    frappe.clear();
    QDateEdit::focusOutEvent(event);
}

void TSaisieDate::keyPressEvent(QKeyEvent* event) {
    const QString texte = event->text();
    const bool chiffre = texte.size() == 1 && texte[0].isDigit();
    const bool lettre = texte.size() == 1 && texte[0].isLetter();
    if (isReadOnly() || (!chiffre && !lettre) ||
        (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        frappe.clear();
        QDateEdit::keyPressEvent(event);
        return;
    }
    // Digits on the day's name are meant for the day of the month.
    int index = currentSectionIndex();
    Champ champ = ChampDe(index);
    if (champ == Champ::Nom && chiffre && IndexDe(Champ::Jour) >= 0) {
        index = IndexDe(Champ::Jour);
        champ = Champ::Jour;
        setCurrentSectionIndex(index);
    }
    if (index != sectionFrappe || !derniereTouche.isValid() ||
        derniereTouche.elapsed() > PauseFrappe)
        frappe.clear();
    sectionFrappe = index;
    derniereTouche.start();
    event->accept();

    const QDate d = date();
    if (champ == Champ::Mois && lettre) {
        // The first month whose name, in the picker's language, starts with the letters typed.
        frappe += texte;
        const QLocale langue = locale();
        for (int mois = 1; mois <= 12; ++mois) {
            for (const auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
                if (langue.monthName(mois, format).startsWith(frappe, Qt::CaseInsensitive)) {
                    Prend(d.year(), mois, d.day());
                    setCurrentSectionIndex(index);
                    return;
                }
            }
        }
        frappe.chop(1);
        return;
    }
    if (!chiffre) return;
    frappe += texte;
    const int n = frappe.toInt();
    switch (champ) {
        case Champ::Jour:
            if (n >= 1) Prend(d.year(), d.month(), n);
            setCurrentSectionIndex(index);
            // A day is whole at two digits, or when no second digit could follow.
            if (frappe.size() >= 2 || n * 10 > d.daysInMonth()) {
                frappe.clear();
                SectionSuivante();
            }
            break;
        case Champ::Mois:
            if (n >= 1 && n <= 12) Prend(d.year(), n, d.day());
            setCurrentSectionIndex(index);
            if (frappe.size() >= 2 || n > 1) {
                frappe.clear();
                SectionSuivante();
            }
            break;
        case Champ::Annee:
            // The year changes when its four digits are in: "2026" typed over 2000 never passes
            // through the years 2, 20 and 202, which the range would refuse.
            if (frappe.size() == 4) {
                Prend(n, d.month(), d.day());
                frappe.clear();
            }
            setCurrentSectionIndex(index);
            break;
        default:
            frappe.clear();
            break;
    }
}
