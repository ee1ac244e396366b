#pragma once
// "Ordina i numeri": nine tiles carry the numbers 1 to 9 in a shuffled row; the child
// moves each onto its box in the row above, so that the boxes read 1 to 9: by dragging
// it, by tapping the tile and then the box, or by keys (Space or Enter on the tile,
// then on the box). All three end in Label4_DragDrop.
#include "frame/FormEsercizio.h"

#include <array>
#include <cstdint>

class Casella;
class Tessera;

class FormOrd : public FormEsercizio {
    Q_OBJECT
public:
    FormOrd();

    // The opening, run by the constructor: both counts read "0", then the first game.
    // The window has no activation handler, so coming back to it deals no new game.
    void Form_Load();

    // Deals a new game: new colour, empty boxes, the nine tiles shuffled and enabled.
    void NuovaDomanda() override;
    // Puts the numbers on the tiles and gives each tile a place in the bottom row.
    void ScombiccheraPosti();

    // A tile was dropped on box `Index`: right when it is the tile of that box.
    void Label4_DragDrop(std::int16_t Index, Tessera* Source);

    std::array<Casella*, 9> Label4{};
    std::array<Tessera*, 9> Label3{};

    // Tiles placed right in the current game.
    std::int16_t Sistemati() const { return sistemati_; }

    // The left edge of place j of the rows, in twips.
    static constexpr int SinistraPosto(int j) { return 120 + 1080 * j; }

private:
    std::int16_t sistemati_ = 0;
};
