#include "VueTable.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

TVueTable::TVueTable(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont police = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    police.setPixelSize(12);
    setFont(police);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    debuts.push_back(0);
}

void TVueTable::ChangeTexte(const QString& nouveau) {
    const bool grande = texte.size() > (1u << 20);
    texte = nouveau.toStdString();
    std::vector<std::size_t>(1, 0).swap(debuts);
#ifdef __GLIBC__
    // The memory of a large table goes back to the system, not only to the allocator.
    if (grande) malloc_trim(0);
#else
    (void)grande;
#endif
    for (std::size_t i = 0; i < texte.size(); ++i)
        if (texte[i] == '\n') debuts.push_back(i + 1);
    toutSelectionne = false;
    MetAJourDefilement();
}

void TVueTable::Vide() {
    ChangeTexte(QString());
}

void TVueTable::AjouteLigne(const std::string& ligne) {
    // An empty view holds one empty line, which the first line appended takes over.
    if (texte.empty() && debuts.size() == 1) {
        texte = ligne;
    } else {
        texte += '\n';
        debuts.push_back(texte.size());
        texte += ligne;
    }
    toutSelectionne = false;
    if (isVisible()) MetAJourDefilement();
}

void TVueTable::RemplaceLigne(int indice, const QString& ligne) {
    if (indice < 0 || indice >= NombreLignes()) return;
    const auto i = static_cast<std::size_t>(indice);
    const std::size_t debut = debuts[i];
    const std::size_t fin = i + 1 < debuts.size() ? debuts[i + 1] - 1 : texte.size();
    const std::string nouvelle = ligne.toStdString();
    texte.replace(debut, fin - debut, nouvelle);
    const std::ptrdiff_t decalage =
        static_cast<std::ptrdiff_t>(nouvelle.size()) - static_cast<std::ptrdiff_t>(fin - debut);
    for (std::size_t j = i + 1; j < debuts.size(); ++j)
        debuts[j] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(debuts[j]) + decalage);
    viewport()->update();
}

int TVueTable::NombreLignes() const {
    return static_cast<int>(debuts.size());
}

QString TVueTable::Ligne(int indice) const {
    if (indice < 0 || indice >= NombreLignes()) return {};
    const auto i = static_cast<std::size_t>(indice);
    const std::size_t fin = i + 1 < debuts.size() ? debuts[i + 1] - 1 : texte.size();
    return QString::fromUtf8(texte.data() + debuts[i], static_cast<qsizetype>(fin - debuts[i]));
}

QString TVueTable::TexteCRLF() const {
    std::string crlf;
    crlf.reserve(texte.size() + 2 * debuts.size());
    for (const char c : texte) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    crlf += "\r\n";
    return QString::fromStdString(crlf);
}

void TVueTable::SelectionneTout() {
    toutSelectionne = true;
    viewport()->update();
}

void TVueTable::CopieSelection() const {
    if (toutSelectionne) QApplication::clipboard()->setText(TexteCRLF());
}

void TVueTable::MetAJourDefilement() {
    const int hauteurLigne = fontMetrics().lineSpacing();
    const int visibles = std::max(1, viewport()->height() / std::max(1, hauteurLigne));
    verticalScrollBar()->setPageStep(visibles);
    verticalScrollBar()->setRange(0, std::max(0, NombreLignes() - visibles));
    viewport()->update();
}

void TVueTable::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    MetAJourDefilement();
}

void TVueTable::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    MetAJourDefilement();  // lines appended while hidden
}

void TVueTable::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const int hauteurLigne = fontMetrics().lineSpacing();
    const int premiere = verticalScrollBar()->value();
    const int largeur = viewport()->width();
    const QPalette& palette = this->palette();
    if (toutSelectionne) p.fillRect(viewport()->rect(), palette.brush(QPalette::Highlight));
    p.setPen(palette.color(toutSelectionne ? QPalette::HighlightedText : QPalette::Text));
    for (int i = premiere, y = 0; i < NombreLignes() && y < viewport()->height();
         ++i, y += hauteurLigne)
        p.drawText(QRect(0, y, largeur, hauteurLigne), Qt::AlignHCenter | Qt::AlignTop, Ligne(i));
}

void TVueTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        SelectionneTout();
    } else if (event->matches(QKeySequence::Copy)) {
        CopieSelection();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TVueTable::mousePressEvent(QMouseEvent* event) {
    if (toutSelectionne) {
        toutSelectionne = false;
        viewport()->update();
    }
    QAbstractScrollArea::mousePressEvent(event);
}
