#pragma once
// "Corrispondenza 1 a 1": a set of 1 to 9 copies of one picture at the left; the child
// builds a set of copies of another picture, one per press of the blue button, and asks
// for a check with the green one. The red one empties the built set.
#include "exercises/PostiFigure.h"
#include "frame/FormEsercizio.h"

#include <cstdint>

class FormEs4 : public FormEsercizio {
    Q_OBJECT
public:
    FormEs4();

    // A new question: new colour, all places empty, two different pictures, how many
    // copies of the first, and where they stand.
    void NuovaDomanda() override;

    // One more picture into the answer grid (at most nine).
    void Command1_Click();
    // The check: right when the grid holds as many pictures as the given set.
    void Command2_Click();
    // Empties the answer grid.
    void Command3_Click();

    // The given set: a 3 x 3 block, or two uneven columns over the same area.
    PostiFigure::Posti Image1{};
    PostiFigure::Posti Image2{};
    // The answer grid, filled row by row.
    PostiFigure::Posti Image3{};

    PulsanteGrafico* Command1;
    PulsanteGrafico* Command2;
    PulsanteGrafico* Command3;

    QString FileFigura1; // the picture of the given set
    QString FileFigura2; // the picture the child adds
    QString NomeFigura2; // and what it shows, for screen readers
    std::int16_t Quanti = 0; // pictures in the given set
    // Pictures in the answer grid.
    std::int16_t Messi() const { return messi_; }

protected:
    // Command1, Command2 and Command3.
    QList<QWidget*> ControlliRisposta() const override;

private:
    std::int16_t messi_ = 0;
};
