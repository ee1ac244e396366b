#pragma once
// A pad of keys for fingers: the digits 1 to 9 and 0, then a key that confirms, in a grid
// filled row by row, the confirm key taking what is left of the last row. The keys take the
// focus from Tab only, never from a tap, so a tap leaves the focus where it was.
#include <QWidget>

#include <array>

class QAbstractButton;
class QIcon;

class Tastierino : public QWidget {
    Q_OBJECT
public:
    // twips: the place of the whole pad; colonne: keys in a row.
    Tastierino(QWidget* padre, const QString& nome, const QRect& twips, int colonne, const QFont& font,
               const QIcon& conferma);

    QAbstractButton* TastoCifra(int cifra) const { return cifre_[std::size_t(cifra)]; }
    QAbstractButton* TastoConferma() const { return conferma_; }

    // The keys in the order the pad shows them, the confirm key last.
    QList<QAbstractButton*> Tasti() const;

signals:
    void Cifra(int cifra);
    void Conferma();

private:
    std::array<QAbstractButton*, 10> cifre_{};
    QAbstractButton* conferma_ = nullptr;
};
