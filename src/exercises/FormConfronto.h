#pragma once
// The two comparison windows: two groups of pictures of two different kinds, and the
// child answers "<", "=" or ">" for how the first count compares with the second.
// Both windows have the same controls and the same question; they differ in where
// their 36 picture places stand and in which arrays of places the two groups may use.
#include "exercises/PostiFigure.h"
#include "frame/FormEsercizio.h"

#include <array>
#include <cstdint>
#include <utility>

class Pulsante;

class FormConfronto : public FormEsercizio {
    Q_OBJECT
public:
    // Left and top, in twips, of the nine places of Image1 to Image4.
    using PosizioniPosti = std::array<std::array<QPoint, 9>, 4>;

    // Makes a new question: new colour, every place emptied, two different kinds of
    // picture, two counts 1 to 9, the arrays of the two groups, the two groups
    // scattered, and one picture of each kind in the answer row.
    void NuovaDomanda() override;

    // The three answers: "<", ">" and "=".
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // How many pictures of the first and of the second kind the question shows.
    std::int16_t Quanti1 = 0;
    std::int16_t Quanti2 = 0;

    // The picture places, 615 x 615 twips each.
    PostiFigure::Posti Image1{};
    PostiFigure::Posti Image2{};
    PostiFigure::Posti Image3{};
    PostiFigure::Posti Image4{};

    QWidget* Line1;     // the line between the pictures and the answer row
    QLabel* Label3;     // the white panel under the answer row
    ControlloImmagine* Image5; // the first kind
    QLabel* Label4;     // the sign, once the answer is right
    ControlloImmagine* Image6; // the second kind
    Pulsante* Command1; // "<"
    Pulsante* Command3; // "="
    Pulsante* Command2; // ">"

protected:
    FormConfronto(const char* nome, const PosizioniPosti& posizioni);

    // Chooses the arrays of the two groups (1 to 4 for Image1 to Image4), drawing
    // from the program's generator; the two must differ.
    virtual std::pair<int, int> ScegliSchiere() = 0;

    QList<QWidget*> ControlliRisposta() const override;

private:
    PostiFigure::Posti& Schiera(int numero);
    // A right answer writes its sign into the answer row; a wrong one is only counted.
    void Risposta(bool giusta, const QString& segno);
};
