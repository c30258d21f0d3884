// A read-only view of a long plain-text table: lines centred in a fixed-pitch font, a
// vertical scroll bar, select-all and copy. Appending a line costs a copy of its bytes and
// an offset, whatever the length of the table, and only the visible lines are ever drawn.
#pragma once

#include <string>
#include <vector>

#include <QAbstractScrollArea>
#include <QString>

class TVueTable : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TVueTable(QWidget* parent = nullptr);

    // The whole text, lines separated by "\n" (a final "\n" ends one last empty line).
    void ChangeTexte(const QString& texte);
    void Vide();
    void AjouteLigne(const std::string& ligneUtf8);
    void RemplaceLigne(int indice, const QString& ligne);

    int NombreLignes() const;
    QString Ligne(int indice) const;

    // Every line followed by CR LF, as the clipboard gets it.
    QString TexteCRLF() const;

    void SelectionneTout();
    bool ToutSelectionne() const { return toutSelectionne; }
    void CopieSelection() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void MetAJourDefilement();

    std::string texte;                // every line's UTF-8 bytes, back to back
    std::vector<std::size_t> debuts;  // where each line begins in `texte`
    bool toutSelectionne = false;
};
