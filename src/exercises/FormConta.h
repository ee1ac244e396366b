#pragma once
// What the two counting windows share: the answer box Text1 and the way it reads the
// child's number. A key other than Enter empties a box that holds text before the key
// takes effect, so the box holds only the character typed last; releasing Enter judges
// the number the text begins with against NumeroGiusto.
#include "frame/FormEsercizio.h"

class CasellaRisposta;

class FormConta : public FormEsercizio {
    Q_OBJECT
public:
    // text1: the place of the answer box, in twips.
    FormConta(const DatiCornice& dati, const QRect& text1);

    void Text1_KeyDown(int keyCode);
    void Text1_KeyUp(int keyCode);

    CasellaRisposta* Text1;

    // The full path of the picture file of the current question.
    QString FileFigura;

protected:
    QList<QWidget*> ControlliRisposta() const override;
};
