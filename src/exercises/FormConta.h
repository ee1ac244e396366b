#pragma once
// What the two counting windows share: the answer box Text1 and the way it reads the
// child's number. A key other than Enter empties a box that holds text before the key
// takes effect, so the box holds only the character typed last; releasing Enter judges
// the number the text begins with against NumeroGiusto. Once the program has been touched
// by a finger, a pad of digits beside the pictures answers as the keys do.
#include "frame/FormEsercizio.h"

class CasellaRisposta;
class Tastierino;

class FormConta : public FormEsercizio {
    Q_OBJECT
public:
    // text1: the place of the answer box; tastierino: the place of the pad and its keys
    // in a row, clear of every picture and control of the window (twips).
    FormConta(const DatiCornice& dati, const QRect& text1, const QRect& tastierino, int colonne);

    void Text1_KeyDown(int keyCode);
    void Text1_KeyUp(int keyCode);

    CasellaRisposta* Text1;
    // Hidden until the program is first touched by a finger.
    Tastierino* Tastierino1;

    // The full path of the picture file of the current question.
    QString FileFigura;

protected:
    QList<QWidget*> ControlliRisposta() const override;

private:
    // A key of the pad does what the same key typed into Text1 does.
    void TastoCifra(int cifra);
    void TastoConferma();
    void MostraTastierino();
};
